#include "platform/fake/FakeGlobalEvents.h"

#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeScreens.h"

#include <QKeySequence>
#include <QStringList>

namespace {

struct Subscription {
    TaskHandle handle;
    std::weak_ptr<CancelToken> token;
};

Subscription subscribe()
{
    std::shared_ptr<CancelToken> token;
    TaskHandle handle = TaskHandle::create(&token);
    return {std::move(handle), token};
}

std::optional<QPointF> point(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    bool okX = false;
    bool okY = false;
    const double x = parts.value(0).toDouble(&okX);
    const double y = parts.value(1).toDouble(&okY);
    if (parts.size() != 2 || !okX || !okY)
        return std::nullopt;
    return QPointF(x, y);
}

// One key with its modifiers, written as Qt writes shortcuts ("Shift+Right", "Ctrl+A", "Esc").
std::optional<QKeyCombination> keystroke(const QString& text)
{
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
        return std::nullopt;
    return sequence[0];
}

} // namespace

TaskHandle FakeGlobalEvents::addMonitor(InputEvent::Type type, std::function<void(const InputEvent&)> handler)
{
    if (refuseMonitors)
        return {};
    Subscription subscription = subscribe();
    m_monitors.push_back({subscription.token, [type, handler = std::move(handler)](const InputEvent& event) {
                              if (event.type == type)
                                  handler(event);
                          }});
    return std::move(subscription.handle);
}

TaskHandle FakeGlobalEvents::observeApplicationActivation(std::function<void()> handler)
{
    Subscription subscription = subscribe();
    m_observers.push_back({subscription.token, [handler = std::move(handler)](const InputEvent&) { handler(); }});
    return std::move(subscription.handle);
}

bool FakeGlobalEvents::live(const Subscriber& subscriber)
{
    const auto token = subscriber.token.lock();
    return token && !token->isCancelled();
}

void FakeGlobalEvents::dispatch(const InputEvent& event)
{
    if (pointerRunsAhead)
        m_screens.mouse = event.position + QPointF(300, 300);
    // A handler may add or end subscriptions; deliver to those present when the event came.
    const std::vector<Subscriber> monitors = m_monitors;
    for (const Subscriber& monitor : monitors) {
        if (live(monitor))
            monitor.handler(event);
    }
}

void FakeGlobalEvents::press(QPointF at)
{
    m_screens.mouse = at;
    dispatch({InputEvent::Type::LeftMouseDown, 1, Qt::Key_unknown, {}, at});
}

void FakeGlobalEvents::release(QPointF at, int clickCount)
{
    m_screens.mouse = at;
    dispatch({InputEvent::Type::LeftMouseUp, clickCount, Qt::Key_unknown, {}, at});
}

void FakeGlobalEvents::key(InputEvent::Type type, QKeyCombination keystroke)
{
    dispatch({type, 0, keystroke.key(), keystroke.keyboardModifiers(), m_screens.mouse});
}

void FakeGlobalEvents::scroll()
{
    dispatch({InputEvent::Type::ScrollWheel, 0, Qt::Key_unknown, {}, m_screens.mouse});
}

void FakeGlobalEvents::activateApplication()
{
    const std::vector<Subscriber> observers = m_observers;
    for (const Subscriber& observer : observers) {
        if (live(observer))
            observer.handler({});
    }
}

bool FakeGlobalEvents::play(const QString& script)
{
    for (const QString& part : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!step(part.trimmed()))
            return false;
    }
    return true;
}

bool FakeGlobalEvents::step(const QString& step)
{
    const QStringList words = step.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString verb = words.value(0);
    bool ok = true;
    if (verb == QLatin1String("down") || verb == QLatin1String("up")) {
        const auto at = point(words.value(1));
        const int clicks = words.size() > 2 ? words[2].toInt(&ok) : 1;
        if (!at || !ok)
            return false;
        verb == QLatin1String("down") ? press(*at) : release(*at, clicks);
    } else if (verb == QLatin1String("keydown") || verb == QLatin1String("keyup")) {
        const auto pressed = keystroke(words.value(1));
        if (!pressed || words.size() != 2)
            return false;
        key(verb == QLatin1String("keydown") ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp, *pressed);
    } else if (verb == QLatin1String("wait")) {
        const int ms = words.value(1).toInt(&ok);
        if (!ok)
            return false;
        m_clock.advance(ms);
    } else if (verb == QLatin1String("scroll")) {
        scroll();
    } else if (verb == QLatin1String("activate")) {
        activateApplication();
    } else {
        return false;
    }
    return true;
}

int FakeGlobalEvents::monitorCount() const
{
    return int(std::count_if(m_monitors.begin(), m_monitors.end(), live));
}

int FakeGlobalEvents::observerCount() const
{
    return int(std::count_if(m_observers.begin(), m_observers.end(), live));
}
