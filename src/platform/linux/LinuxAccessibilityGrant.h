#pragma once

#include "platform/AccessibilityGrant.h"

#include <QString>
#include <QStringList>

// The grant on a Linux desktop: applications expose their text on the session's accessibility
// bus while its IsEnabled switch is on, and nothing else stands between this program and
// them. Asking for the grant turns the switch on (which the user chooses in the settings); the settings are the
// desktop's accessibility panel where the desktop is known (GNOME, KDE), else the README's help.
class LinuxAccessibilityGrant : public AccessibilityGrant {
public:
    // How long a question to the session bus may take.
    static constexpr int busTimeoutMs = 250;

    bool isGranted() override;
    void requestGrant() override;
    bool openSettings() override;

    // The program and arguments that open the accessibility settings of the desktop named by
    // XDG_CURRENT_DESKTOP ("GNOME", "ubuntu:GNOME", "KDE"…); empty for an unknown desktop.
    static QStringList settingsCommand(const QString& currentDesktop);
    // The README with the help on accessibility, where one is installed; null when none is.
    static QString helpFile();
};
