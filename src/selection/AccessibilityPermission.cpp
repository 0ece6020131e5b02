#include "selection/AccessibilityPermission.h"

#include "platform/Platform.h"

AccessibilityPermission::AccessibilityPermission(Clock& clock, QObject* parent)
    : QObject(parent), m_clock(clock), m_granted(Platform::accessibilityGrant().isGranted())
{}

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
    Platform::accessibilityGrant().requestGrant();
    startPolling();
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
