#include "platform/linux/X11GlobalEvents.h"

#include "common/KeyboardGrab.h"
#include "platform/linux/DevicePixels.h"
#include "platform/linux/X11KeyMap.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QStyleHints>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

constexpr int leftButton = 1;
constexpr int firstScrollButton = 4;
constexpr int lastScrollButton = 7;

} // namespace

std::shared_ptr<X11GlobalEvents> X11GlobalEvents::create(std::unique_ptr<X11Connection> connection)
{
    if (!connection)
        return nullptr;
    std::shared_ptr<X11GlobalEvents> events(new X11GlobalEvents(std::move(connection)));
    if (!events->startRecording())
        return nullptr;
    return events;
}

X11GlobalEvents::X11GlobalEvents(std::unique_ptr<X11Connection> connection)
    : m_x11(std::move(connection)), m_clicks(QGuiApplication::styleHints()->mouseDoubleClickInterval(),
                                             QGuiApplication::styleHints()->mouseDoubleClickDistance())
{
    if (const auto window = m_x11->activeWindow()) {
        m_activeWindow = *window;
        m_activePid = m_x11->windowPid(*window);
    }
}

X11GlobalEvents::~X11GlobalEvents() = default;

bool X11GlobalEvents::startRecording()
{
    m_record = X11Record::start([this](const X11Record::Event& event) { recorded(event); });
    if (!m_record)
        return false;
    auto* input = new QSocketNotifier(m_record->socket(), QSocketNotifier::Read, this);
    connect(input, &QSocketNotifier::activated, this, [this] { m_record->process(); });

    XSelectInput(m_x11->display(), m_x11->root(), PropertyChangeMask);
    XFlush(m_x11->display());
    auto* windows = new QSocketNotifier(ConnectionNumber(m_x11->display()), QSocketNotifier::Read, this);
    connect(windows, &QSocketNotifier::activated, this, &X11GlobalEvents::readWindowEvents);
    return true;
}

void X11GlobalEvents::readWindowEvents()
{
    Display* display = m_x11->display();
    const unsigned long activeWindow = m_x11->atom("_NET_ACTIVE_WINDOW");
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == PropertyNotify && event.xproperty.atom == activeWindow)
            activeWindowChanged();
    }
}

void X11GlobalEvents::recorded(const X11Record::Event& event)
{
    if (event.type == ButtonPress || event.type == ButtonRelease)
        button(event);
    else if (event.type == KeyPress || event.type == KeyRelease)
        key(event);
}

void X11GlobalEvents::button(const X11Record::Event& event)
{
    const bool press = event.type == ButtonPress;
    const bool scroll = event.detail >= firstScrollButton && event.detail <= lastScrollButton;
    const QPointF position = DevicePixels::toLogical(QPointF(event.rootX, event.rootY));
    if ((event.detail != leftButton && !scroll) || (scroll && !press) ||
        QGuiApplication::topLevelAt(position.toPoint()))
        return;
    InputEvent input;
    if (scroll) {
        input.type = InputEvent::Type::ScrollWheel;
    } else if (press) {
        m_lastClickCount = m_clicks.press(quint32(event.time), position.toPoint());
        input.type = InputEvent::Type::LeftMouseDown;
    } else {
        input.type = InputEvent::Type::LeftMouseUp;
    }
    input.clickCount = scroll ? 0 : m_lastClickCount;
    input.modifiers = X11KeyMap::modifiers(event.state);
    deliver(input, position);
}

void X11GlobalEvents::key(const X11Record::Event& event)
{
    const bool press = event.type == KeyPress;
    const unsigned long keysym = XkbKeycodeToKeysym(m_x11->display(), static_cast<unsigned char>(event.detail), 0, 0);
    // Modifier keys alone are no typing.
    if (X11KeyMap::modifier(keysym) != X11KeyMap::Modifier::Plain)
        return;
    Qt::KeyboardModifiers modifiers = X11KeyMap::modifiers(event.state);
    if (press)
        m_pressModifiers.insert(event.detail, modifiers);
    else
        modifiers = m_pressModifiers.take(event.detail) | modifiers;
    // A key typed into one of this program's own windows is that window's business.
    if (QGuiApplication::focusWindow() || KeyboardGrab::held())
        return;
    InputEvent input;
    input.type = press ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
    input.key = X11KeyMap::key(keysym);
    input.modifiers = modifiers;
    deliver(input, DevicePixels::toLogical(QPointF(event.rootX, event.rootY)));
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

void X11GlobalEvents::deliver(InputEvent event, QPointF position)
{
    event.position = position;
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
    // A copy on purpose: a handler may change the list.
    const std::vector<Subscriber> current = list; // NOLINT(performance-unnecessary-copy-initialization)
    for (const Subscriber& subscriber : current) {
        const auto token = subscriber.token.lock();
        if (!token || token->isCancelled())
            continue;
        if (!subscriber.type || *subscriber.type == event.type)
            subscriber.handler(event);
    }
}
