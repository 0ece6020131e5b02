#include "selection/AccessibilityPermission.h"

#include "platform/Platform.h"
#include "platform/PreferenceKeys.h"
#include "platform/Preferences.h"

AccessibilityPermission::AccessibilityPermission(Clock& clock, QObject* parent)
    : AccessibilityPermission(clock, Preferences::instance(), parent)
{}

AccessibilityPermission::AccessibilityPermission(Clock& clock, Preferences& preferences, QObject* parent)
    : QObject(parent), m_clock(clock), m_preferences(preferences), m_granted(Platform::accessibilityGrant().isGranted())
{
    const QVariant switchesOn = m_preferences.value(PreferenceKeys::switchAccessibilityOn);
    m_switchesOn = switchesOn.typeId() == QMetaType::Bool && switchesOn.toBool();
}

AccessibilityPermission& AccessibilityPermission::shared()
{
    static AccessibilityPermission* permission = new AccessibilityPermission;
    return *permission;
}

void AccessibilityPermission::refresh()
{
    const bool trusted = Platform::accessibilityGrant().isGranted();
    if (trusted == m_granted)
        return;
    m_granted = trusted;
    Q_EMIT grantedChanged(trusted);
}

void AccessibilityPermission::requestIfNeeded()
{
    refresh();
    if (m_granted)
        return;
    if (m_switchesOn)
        Platform::accessibilityGrant().requestGrant();
    startPolling();
}

void AccessibilityPermission::setSwitchesOn(bool switchesOn)
{
    if (switchesOn == m_switchesOn)
        return;
    m_switchesOn = switchesOn;
    m_preferences.setValue(PreferenceKeys::switchAccessibilityOn, switchesOn);
    Q_EMIT switchesOnChanged(switchesOn);
    if (switchesOn)
        requestIfNeeded();
}

// The poll starts even when the settings could not be opened: the user may open them alone.
void AccessibilityPermission::openSystemSettings()
{
    Platform::accessibilityGrant().openSettings();
    startPolling();
}

void AccessibilityPermission::startPolling()
{
    if (m_pollTask.isActive())
        return;
    m_pollTask = m_clock.after(pollIntervalMs, [this] { poll(); });
}

// The handle lives in this object, so a poll never outlives it.
void AccessibilityPermission::poll()
{
    refresh();
    if (m_granted)
        return;
    m_pollTask = m_clock.after(pollIntervalMs, [this] { poll(); });
}
