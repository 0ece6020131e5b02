#include "platform/linux/X11Record.h"

#include "platform/linux/X11Log.h"

#include <QtGlobal>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>

namespace {

void intercept(XPointer self, XRecordInterceptData* data)
{
    if (data->category == XRecordFromServer && data->data_len * 4 >= sizeof(xEvent)) {
        const auto* wire = reinterpret_cast<const xEvent*>(data->data);
        X11Record::Event event;
        event.type = wire->u.u.type & 0x7f;
        event.detail = wire->u.u.detail;
        event.rootX = wire->u.keyButtonPointer.rootX;
        event.rootY = wire->u.keyButtonPointer.rootY;
        event.state = wire->u.keyButtonPointer.state;
        event.time = wire->u.keyButtonPointer.time;
        reinterpret_cast<X11Record*>(self)->deliver(event);
    }
    XRecordFreeData(data);
}

} // namespace

std::unique_ptr<X11Record> X11Record::start(std::function<void(const Event&)> handler)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    Display* control = XOpenDisplay(nullptr);
    Display* data = control ? XOpenDisplay(nullptr) : nullptr;
    int major = 0;
    int minor = 0;
    if (!data || !XRecordQueryVersion(control, &major, &minor)) {
        qCWarning(x11Log) << (data ? "The X server has no RECORD extension; selections made with the mouse go unnoticed"
                                   : "Cannot open the X display for RECORD");
        if (data)
            XCloseDisplay(data);
        if (control)
            XCloseDisplay(control);
        return nullptr;
    }
    XRecordRange* range = XRecordAllocRange();
    range->device_events.first = KeyPress;
    range->device_events.last = ButtonRelease;
    XRecordClientSpec clients = XRecordAllClients;
    const XRecordContext context = XRecordCreateContext(control, 0, &clients, 1, &range, 1);
    XFree(range);
    XSync(control, False);
    std::unique_ptr<X11Record> record(new X11Record(control, data, context, std::move(handler)));
    if (!context || !XRecordEnableContextAsync(data, context, &intercept, reinterpret_cast<char*>(record.get()))) {
        qCWarning(x11Log) << "The X server refused a RECORD context";
        return nullptr;
    }
    return record;
}

X11Record::X11Record(_XDisplay* control, _XDisplay* data, unsigned long context,
                     std::function<void(const Event&)> handler)
    : m_control(control), m_data(data), m_context(context), m_handler(std::move(handler))
{}

X11Record::~X11Record()
{
    // Closing the connections reads what the server still sends, which calls intercept().
    m_handler = nullptr;
    if (m_context) {
        XRecordDisableContext(m_control, m_context);
        XRecordFreeContext(m_control, m_context);
        XSync(m_control, False);
    }
    XCloseDisplay(m_data);
    XCloseDisplay(m_control);
}

int X11Record::socket() const
{
    return ConnectionNumber(m_data);
}

void X11Record::process()
{
    XRecordProcessReplies(m_data);
}
