#include "platform/linux/X11GlobalEvents.h"

#include "platform/linux/X11KeyMap.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QStyleHints>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace {

constexpr int leftButton = 1;
constexpr int firstScrollButton = 4;
constexpr int lastScrollButton = 7;

bool selectRawInput(Display* display, Window root)
{
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, int(sizeof(bits)), bits};
    return XISelectEvents(display, root, &mask, 1) == Success;
}

} // namespace

std::shared_ptr<X11GlobalEvents> X11GlobalEvents::create(std::unique_ptr<X11Connection> connection)
{
    if (!connection)
        return nullptr;
    Display* display = connection->display();
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &firstEvent, &firstError))
        return nullptr;
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(display, &major, &minor) != Success || major < 2)
        return nullptr;
    if (!selectRawInput(display, connection->root()))
        return nullptr;
    XSelectInput(display, connection->root(), PropertyChangeMask);
    XFlush(display);
    return std::shared_ptr<X11GlobalEvents>(new X11GlobalEvents(std::move(connection), opcode));
}

X11GlobalEvents::X11GlobalEvents(std::unique_ptr<X11Connection> connection, int inputOpcode)
    : m_x11(std::move(connection)), m_inputOpcode(inputOpcode),
      m_clicks(QGuiApplication::styleHints()->mouseDoubleClickInterval(),
               QGuiApplication::styleHints()->mouseDoubleClickDistance())
{
    if (const auto window = m_x11->activeWindow()) {
        m_activeWindow = *window;
        m_activePid = m_x11->windowPid(*window);
    }
    m_notifier = new QSocketNotifier(ConnectionNumber(m_x11->display()), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11GlobalEvents::readEvents);
    // Events may already wait in the connection's queue, where the socket no longer shows them.
    QMetaObject::invokeMethod(this, &X11GlobalEvents::readEvents, Qt::QueuedConnection);
}

X11GlobalEvents::~X11GlobalEvents() = default;

void X11GlobalEvents::readEvents()
{
    Display* display = m_x11->display();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == PropertyNotify) {
            if (event.xproperty.atom == m_x11->atom("_NET_ACTIVE_WINDOW"))
                activeWindowChanged();
            continue;
        }
        XGenericEventCookie* cookie = &event.xcookie;
        if (event.type != GenericEvent || cookie->extension != m_inputOpcode || !XGetEventData(display, cookie))
            continue;
        const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
        rawEvent(cookie->evtype, raw->detail, raw->time);
        XFreeEventData(display, cookie);
    }
}

void X11GlobalEvents::rawEvent(int type, int detail, unsigned long time)
{
    switch (type) {
    case XI_RawButtonPress:
        return button(true, detail, time);
    case XI_RawButtonRelease:
        return button(false, detail, time);
    case XI_RawKeyPress:
        return key(true, detail);
    case XI_RawKeyRelease:
        return key(false, detail);
    default:
        return;
    }
}

void X11GlobalEvents::button(bool press, int button, unsigned long time)
{
    const bool scroll = button >= firstScrollButton && button <= lastScrollButton;
    if ((button != leftButton && !scroll) || (scroll && !press) || pointerOverOwnWindow())
        return;
    InputEvent event;
    if (scroll) {
        event.type = InputEvent::Type::ScrollWheel;
    } else if (press) {
        Window root = 0;
        Window child = 0;
        int x = 0;
        int y = 0;
        int winX = 0;
        int winY = 0;
        unsigned int mask = 0;
        XQueryPointer(m_x11->display(), m_x11->root(), &root, &child, &x, &y, &winX, &winY, &mask);
        m_lastClickCount = m_clicks.press(quint32(time), QPoint(x, y));
        event.type = InputEvent::Type::LeftMouseDown;
    } else {
        event.type = InputEvent::Type::LeftMouseUp;
    }
    event.clickCount = scroll ? 0 : m_lastClickCount;
    event.modifierFlags = modifierFlags();
    deliver(event);
}

void X11GlobalEvents::key(bool press, int keycode)
{
    const unsigned long keysym = XkbKeycodeToKeysym(m_x11->display(), static_cast<unsigned char>(keycode), 0, 0);
    const X11KeyMap::Modifier modifier = X11KeyMap::modifier(keysym);
    if (modifier != X11KeyMap::Modifier::Plain) {
        QSet<int>* held = modifier == X11KeyMap::Modifier::Shift     ? &m_shiftKeys
                          : modifier == X11KeyMap::Modifier::Control ? &m_controlKeys
                                                                     : nullptr;
        if (held && press)
            held->insert(keycode);
        else if (held)
            held->remove(keycode);
        return;
    }
    // A key typed into one of this program's own windows is that window's business.
    if (QGuiApplication::focusWindow())
        return;
    InputEvent event;
    event.type = press ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
    event.keyCode = X11KeyMap::keyCode(keysym);
    event.modifierFlags = modifierFlags();
    deliver(event);
}

quint64 X11GlobalEvents::modifierFlags() const
{
    return X11KeyMap::flags(!m_shiftKeys.isEmpty(), !m_controlKeys.isEmpty());
}

// Window managers pass through no window (0x0) and repeat the same one while focus moves; only
// a real change of application counts, and becoming active ourselves is not reported.
void X11GlobalEvents::activeWindowChanged()
{
    const auto window = m_x11->activeWindow();
    if (!window || *window == m_activeWindow)
        return;
    m_activeWindow = *window;
    const std::optional<qint32> pid = m_x11->windowPid(*window);
    const bool sameApplication = pid && m_activePid == pid;
    m_activePid = pid;
    if (sameApplication || pid == qint32(QCoreApplication::applicationPid()))
        return;
    notify(m_observers, InputEvent{});
}

bool X11GlobalEvents::pointerOverOwnWindow()
{
    return QGuiApplication::topLevelAt(QCursor::pos()) != nullptr;
}

void X11GlobalEvents::deliver(const InputEvent& event)
{
    notify(m_monitors, event);
}

TaskHandle X11GlobalEvents::addMonitor(InputEvent::Type type, std::function<void(const InputEvent&)> handler)
{
    return subscribe(m_monitors, {{}, type, std::move(handler)});
}

TaskHandle X11GlobalEvents::observeApplicationActivation(std::function<void()> handler)
{
    return subscribe(m_observers, {{}, std::nullopt, [handler = std::move(handler)](const InputEvent&) { handler(); }});
}

TaskHandle X11GlobalEvents::subscribe(std::vector<Subscriber>& list, Subscriber subscriber)
{
    std::erase_if(list, [](const Subscriber& s) {
        const auto token = s.token.lock();
        return !token || token->isCancelled();
    });
    std::shared_ptr<CancelToken> token;
    TaskHandle handle = TaskHandle::create(&token);
    subscriber.token = token;
    list.push_back(std::move(subscriber));
    return handle;
}

// Handlers may subscribe or cancel while being told; those present when the event came hear it.
void X11GlobalEvents::notify(std::vector<Subscriber>& list, const InputEvent& event)
{
    const std::vector<Subscriber> current = list;
    for (const Subscriber& subscriber : current) {
        const auto token = subscriber.token.lock();
        if (!token || token->isCancelled())
            continue;
        if (!subscriber.type || *subscriber.type == event.type)
            subscriber.handler(event);
    }
}
