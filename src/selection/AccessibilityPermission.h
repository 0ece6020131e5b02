#pragma once

#include "common/TaskHandle.h"
#include "platform/Clock.h"

#include <QObject>

// Tracks whether the user has granted this program accessibility access, asks for it, opens
// the system's settings for it, and polls once a second while waiting so the grant is noticed
// without a restart. grantedChanged tells each time a check finds the grant newly present or gone.
class AccessibilityPermission : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool granted READ isGranted NOTIFY grantedChanged)

public:
    static constexpr int pollIntervalMs = 1000;

    explicit AccessibilityPermission(Clock& clock = Clock::system(), QObject* parent = nullptr);
    static AccessibilityPermission& shared();

    bool isGranted() const { return m_granted; }
    bool isPolling() const { return m_pollTask.isActive(); }

    // Re-checks the grant now.
    void refresh();
    // When the grant is missing: asks the system to prompt for it and starts polling.
    void requestIfNeeded();
    // Opens the system's accessibility settings and starts polling.
    void openSystemSettings();

Q_SIGNALS:
    void grantedChanged(bool granted);

private:
    void startPolling();
    void poll();

    Clock& m_clock;
    bool m_granted = false;
    TaskHandle m_pollTask;
};
