#pragma once

#include "common/TaskHandle.h"
#include "platform/Clock.h"
#include "platform/GlobalEvents.h"
#include "selection/Selection.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QSet>
#include <functional>
#include <optional>
#include <vector>

// Watches mouse and keyboard in all other applications. A selection gesture (a drag, a double or
// triple click, Shift with a navigation key, select-all) schedules one selection read after a short
// delay and signals the result (selected()); text read without a place on screen is read once more
// after placeRetryMs, as a browser may give the place of a fresh selection later than its text (not
// for an application whose second read gave no place either, until it gives one). A click, typing,
// a scroll or a switch of application signals dismissed(). Main thread only.
class SelectionMonitor : public QObject {
    Q_OBJECT

public:
    static const QSet<Qt::Key> arrowAndNavigationKeys;
    static constexpr double dragThreshold = 4.0;
    static constexpr int dragDelayMs = 150;
    static constexpr int multiClickDelayMs = 250;
    static constexpr int keyboardDelayMs = 200;
    static constexpr int placeRetryMs = 150;
    static constexpr double proximityMargin = 60.0;

    explicit SelectionMonitor(Clock& clock = Clock::system(), QObject* parent = nullptr);

    // Whether a freshly read selection may be shown; asked when the delay has passed. Always on
    // until set. Gestures are watched and dismissals reported either way.
    void setAutoPopup(std::function<bool()> isOn) { m_autoPopup = std::move(isOn); }

    // Installs the event monitors; calling it again replaces them rather than doubling them.
    void start();
    // Removes the monitors and cancels the pending check.
    void stop();
    bool hasPendingCheck() const { return m_pendingCheck.isActive(); }
    // Since when (monotonic, see Clock) the active application has been the active one, as far
    // as this monitor has seen: from its start, or the latest switch of application after it.
    // Nothing when switches cannot be watched.
    std::optional<qint64> activeApplicationSinceMs() const;

Q_SIGNALS:
    void selected(const Selection& selection);
    void dismissed();

private:
    void add(InputEvent::Type type, void (SelectionMonitor::*handler)(const InputEvent&));
    void mouseDown(const InputEvent& event);
    void mouseUp(const InputEvent& event);
    void keyDown(const InputEvent& event);
    void keyUp(const InputEvent& event);
    void scrolled(const InputEvent& event);
    void applicationActivated();
    void cancelAndDismiss();
    void scheduleCheck(int delayMs, const QList<QPointF>& near);
    void check(const QList<QPointF>& near, qint64 gestureStartMs, bool isRetry);
    static bool isSelectionKey(const InputEvent& event);

    Clock& m_clock;
    std::function<bool()> m_autoPopup;
    std::vector<TaskHandle> m_monitors;
    TaskHandle m_activationObserver;
    QPointF m_mouseDownPoint;
    // When the gesture under way began: its mouse press, or the first key of a run of selection
    // keys. The primary selection counts only when claimed after it.
    std::optional<qint64> m_gestureStartMs;
    qint64 m_activeSinceMs = 0;
    // Process ids of applications whose text came without a place on the second read as well.
    QSet<qint32> m_unplacedApplications;
    TaskHandle m_pendingCheck;
};
