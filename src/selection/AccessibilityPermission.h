#pragma once

#include "common/TaskHandle.h"
#include "platform/Clock.h"

#include <QObject>

class Preferences;

// Tracks whether the user has granted this program accessibility access, asks for it, opens
// the system's settings for it, and polls once a second while waiting so the grant is noticed
// without a restart. grantedChanged tells each time a check finds the grant newly present or gone.
//
// Asking for the grant changes the user's desktop (its accessibility support, shared with screen
// readers), so it is asked for only when the user has chosen so: switchesOn is that choice, kept
// in the preferences, and honoured now and at every start.
class AccessibilityPermission : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool granted READ isGranted NOTIFY grantedChanged)
    Q_PROPERTY(bool switchesOn READ switchesOn WRITE setSwitchesOn NOTIFY switchesOnChanged)

public:
    static constexpr int pollIntervalMs = 1000;

    explicit AccessibilityPermission(Clock& clock = Clock::system(), QObject* parent = nullptr);
    AccessibilityPermission(Clock& clock, Preferences& preferences, QObject* parent = nullptr);
    static AccessibilityPermission& shared();

    bool isGranted() const { return m_granted; }
    bool isPolling() const { return m_pollTask.isActive(); }

    // Re-checks the grant now.
    void refresh();
    // When the grant is missing: asks for it if the user chose so, and starts polling.
    void requestIfNeeded();
    bool switchesOn() const { return m_switchesOn; }
    // Keeps the choice; choosing it asks for a missing grant at once. Turning it off switches
    // nothing off: a screen reader may need it.
    void setSwitchesOn(bool switchesOn);
    // Opens the system's accessibility settings and starts polling.
    void openSystemSettings();

Q_SIGNALS:
    void grantedChanged(bool granted);
    void switchesOnChanged(bool switchesOn);

private:
    void startPolling();
    void poll();

    Clock& m_clock;
    Preferences& m_preferences;
    bool m_granted = false;
    bool m_switchesOn = false;
    TaskHandle m_pollTask;
};
