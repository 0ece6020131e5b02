#include "platform/linux/X11PrimarySelection.h"

#include "platform/linux/X11ClientProcess.h"
#include "platform/linux/X11Log.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <poll.h>

namespace {

// UTF-8 takes at most three bytes for each UTF-16 unit of the decoded text.
constexpr long maxBytes = 3 * PrimarySelection::maxLength;

} // namespace

std::shared_ptr<X11PrimarySelection> X11PrimarySelection::create(std::unique_ptr<X11Connection> connection,
                                                                 Clock& clock)
{
    if (!connection)
        return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    int major = 2;
    int minor = 0;
    if (!XFixesQueryExtension(connection->display(), &eventBase, &errorBase) ||
        !XFixesQueryVersion(connection->display(), &major, &minor)) {
        qCWarning(x11Log) << "The X server has no XFIXES extension: the primary selection is not read";
        return nullptr;
    }
    return std::shared_ptr<X11PrimarySelection>(new X11PrimarySelection(std::move(connection), eventBase, clock));
}

X11PrimarySelection::X11PrimarySelection(std::unique_ptr<X11Connection> connection, int fixesEventBase, Clock& clock)
    : m_x11(std::move(connection)), m_fixesEventBase(fixesEventBase), m_clock(clock)
{
    Display* display = m_x11->display();
    m_window = XCreateWindow(display, m_x11->root(), -10, -10, 1, 1, 0, CopyFromParent, InputOnly, nullptr, 0, nullptr);
    m_property = m_x11->atom("HALVORA_PRIMARY");
    XFixesSelectSelectionInput(display, m_window, XA_PRIMARY,
                               XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                   XFixesSelectionClientCloseNotifyMask);
    XFlush(display);
    auto* notifier = new QSocketNotifier(ConnectionNumber(display), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &X11PrimarySelection::readEvents);
}

X11PrimarySelection::~X11PrimarySelection()
{
    XDestroyWindow(m_x11->display(), m_window);
}

// Answers to conversions that gave up waiting arrive here too, and are dropped.
void X11PrimarySelection::readEvents()
{
    Display* display = m_x11->display();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != m_fixesEventBase + XFixesSelectionNotify)
            continue;
        const auto& notify = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
        if (notify.selection == XA_PRIMARY)
            m_claimedAtMs = m_clock.monotonicMs();
    }
}

std::optional<qint32> X11PrimarySelection::ownerClaimedSince(qint64 sinceMs)
{
    XSync(m_x11->display(), False);
    readEvents();
    if (!m_claimedAtMs || *m_claimedAtMs < sinceMs)
        return std::nullopt;
    const Window owner = XGetSelectionOwner(m_x11->display(), XA_PRIMARY);
    if (owner == None)
        return std::nullopt;
    return X11ClientProcess::of(*m_x11, owner);
}

std::optional<QString> X11PrimarySelection::text()
{
    const QDeadlineTimer deadline(conversionTimeoutMs);
    bool refused = false;
    std::optional<QString> text;
    if (const auto utf8 = convert(m_x11->atom("UTF8_STRING"), deadline, &refused)) {
        text = QString::fromUtf8(*utf8);
    } else if (refused) {
        if (const auto latin1 = convert(XA_STRING, deadline, &refused))
            text = QString::fromLatin1(*latin1);
    }
    // Claims that came in while waiting are still counted.
    readEvents();
    if (text && text->size() > maxLength)
        return std::nullopt;
    return text;
}

std::optional<QByteArray> X11PrimarySelection::convert(unsigned long target, const QDeadlineTimer& deadline,
                                                       bool* refused)
{
    Display* display = m_x11->display();
    readEvents();
    XDeleteProperty(display, m_window, m_property);
    XConvertSelection(display, XA_PRIMARY, target, m_property, m_window, CurrentTime);
    XFlush(display);
    *refused = false;
    if (!waitForConversion(target, deadline, refused)) {
        if (!*refused)
            qCInfo(x11Log) << "The owner of the primary selection did not answer in time";
        return std::nullopt;
    }
    return takeProperty();
}

bool X11PrimarySelection::waitForConversion(unsigned long target, const QDeadlineTimer& deadline, bool* refused)
{
    Display* display = m_x11->display();
    XEvent event;
    for (;;) {
        while (XCheckTypedWindowEvent(display, m_window, SelectionNotify, &event)) {
            if (event.xselection.selection != XA_PRIMARY || event.xselection.target != target)
                continue;
            *refused = event.xselection.property == None;
            return !*refused;
        }
        const qint64 remaining = deadline.remainingTime();
        if (remaining <= 0)
            return false;
        pollfd socket{ConnectionNumber(display), POLLIN, 0};
        poll(&socket, 1, int(remaining));
    }
}

std::optional<QByteArray> X11PrimarySelection::takeProperty()
{
    Display* display = m_x11->display();
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, m_window, m_property, 0, maxBytes / 4 + 1, True, AnyPropertyType,
                                          &type, &format, &count, &remaining, &data);
    const bool incremental = type == m_x11->atom("INCR");
    std::optional<QByteArray> bytes;
    if (status == Success && format == 8 && remaining == 0 && !incremental)
        bytes = QByteArray(reinterpret_cast<const char*>(data), int(count));
    else if (status == Success && (remaining > 0 || incremental))
        qCInfo(x11Log) << "The primary selection is too long to read";
    if (data)
        XFree(data);
    XDeleteProperty(display, m_window, m_property);
    return bytes;
}
