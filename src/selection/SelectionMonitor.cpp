#include "selection/SelectionMonitor.h"

#include "common/Timings.h"
#include "platform/Platform.h"
#include "selection/SelectionReader.h"

#include <cmath>

const QSet<Qt::Key> SelectionMonitor::arrowAndNavigationKeys = {
    Qt::Key_Left, Qt::Key_Right, Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown,
};

SelectionMonitor::SelectionMonitor(Clock& clock, QObject* parent) : QObject(parent), m_clock(clock) {}

void SelectionMonitor::start()
{
    stop();
    add(InputEvent::Type::LeftMouseDown, &SelectionMonitor::mouseDown);
    add(InputEvent::Type::LeftMouseUp, &SelectionMonitor::mouseUp);
    add(InputEvent::Type::KeyDown, &SelectionMonitor::keyDown);
    add(InputEvent::Type::KeyUp, &SelectionMonitor::keyUp);
    add(InputEvent::Type::ScrollWheel, &SelectionMonitor::scrolled);
    m_activationObserver = Platform::globalEvents().observeApplicationActivation([this] { applicationActivated(); });
    m_activeSinceMs = m_clock.monotonicMs();
}

void SelectionMonitor::stop()
{
    m_monitors.clear();
    m_activationObserver.cancel();
    m_pendingCheck.cancel();
}

// The subscription handles live in this object, so no handler can run after it is gone.
void SelectionMonitor::add(InputEvent::Type type, void (SelectionMonitor::*handler)(const InputEvent&))
{
    TaskHandle token = Platform::globalEvents().addMonitor(
        type, [this, handler](const InputEvent& event) { (this->*handler)(event); });
    if (token.isActive())
        m_monitors.push_back(std::move(token));
}

std::optional<qint64> SelectionMonitor::activeApplicationSinceMs() const
{
    if (!m_activationObserver.isActive())
        return std::nullopt;
    return m_activeSinceMs;
}

void SelectionMonitor::mouseDown(const InputEvent& event)
{
    m_mouseDownPoint = event.position;
    cancelAndDismiss();
    m_gestureStartMs = m_clock.monotonicMs();
}

void SelectionMonitor::mouseUp(const InputEvent& event)
{
    const QPointF point = event.position;
    const QPointF delta = point - m_mouseDownPoint;
    const bool dragged = std::hypot(delta.x(), delta.y()) > dragThreshold;
    const bool multiClick = event.clickCount >= 2;
    if (dragged || multiClick)
        scheduleCheck(multiClick ? multiClickDelayMs : dragDelayMs, {m_mouseDownPoint, point});
}

void SelectionMonitor::keyDown(const InputEvent& event)
{
    if (isSelectionKey(event)) {
        if (!m_gestureStartMs)
            m_gestureStartMs = m_clock.monotonicMs();
        return;
    }
    // Shortcuts such as copy leave the selection alone; Escape always dismisses.
    if (event.modifiers.testFlag(Qt::ControlModifier) && event.key != Qt::Key_Escape)
        return;
    cancelAndDismiss();
}

void SelectionMonitor::keyUp(const InputEvent& event)
{
    if (isSelectionKey(event))
        scheduleCheck(keyboardDelayMs, {});
}

// A scroll hides the pill but lets a check still waiting run: the selection itself is unchanged.
void SelectionMonitor::scrolled(const InputEvent&)
{
    Q_EMIT dismissed();
}

void SelectionMonitor::applicationActivated()
{
    m_activeSinceMs = m_clock.monotonicMs();
    cancelAndDismiss();
}

void SelectionMonitor::cancelAndDismiss()
{
    m_pendingCheck.cancel();
    m_gestureStartMs.reset();
    Q_EMIT dismissed();
}

bool SelectionMonitor::isSelectionKey(const InputEvent& event)
{
    if (event.modifiers.testFlag(Qt::ShiftModifier) && arrowAndNavigationKeys.contains(event.key))
        return true;
    return event.modifiers.testFlag(Qt::ControlModifier) && event.key == Qt::Key_A;
}

// Only the latest gesture's check can run: a new one replaces (and so cancels) the previous.
void SelectionMonitor::scheduleCheck(int delayMs, const QList<QPointF>& near)
{
    Timings::markGestureEnd();
    const qint64 startMs = m_gestureStartMs.value_or(m_clock.monotonicMs());
    m_pendingCheck = m_clock.after(delayMs, [this, near, startMs] { check(near, startMs, false); });
}

void SelectionMonitor::check(const QList<QPointF>& near, qint64 gestureStartMs, bool isRetry)
{
    m_gestureStartMs.reset();
    if (m_autoPopup && !m_autoPopup())
        return;
    const std::optional<Selection> selection = SelectionReader::read(gestureStartMs);
    if (!selection)
        return;
    // Text from an element whose place is not known yet: the pill would go to the pointer. An
    // application that gave no place on the second read either is not waited for again until
    // one of its reads comes with a place (some never give one).
    if (selection->element && !selection->rect) {
        if (!isRetry && !m_unplacedApplications.contains(selection->pid)) {
            m_pendingCheck =
                m_clock.after(placeRetryMs, [this, near, gestureStartMs] { check(near, gestureStartMs, true); });
            return;
        }
        if (isRetry)
            m_unplacedApplications.insert(selection->pid);
    } else if (selection->rect) {
        m_unplacedApplications.remove(selection->pid);
    }
    if (!near.isEmpty() && selection->rect) {
        const double m = proximityMargin;
        const QRectF grown = selection->rect->adjusted(-m, -m, m, m);
        const bool nearMouse =
            std::any_of(near.begin(), near.end(), [&](const QPointF& p) { return grown.contains(p); });
        // A selection away from where the mouse acted is stale (elsewhere in the window).
        if (!nearMouse)
            return;
    }
    Q_EMIT selected(*selection);
}
