#pragma once

#include <QString>

// Installs the Linux implementations of the platform services for the running program (a
// QGuiApplication must exist). Everything that needs X11 (the desktop-wide gestures, the
// active window, synthetic keystrokes) is left to the stand-ins that report nothing when
// there is no X11 display; the program runs all the same.
namespace LinuxPlatform {
void install();

// Why selections cannot pop up the actions automatically here; null when they can.
QString unavailableReason();

// Which applications expose their text to this program, for the settings window.
QString accessibilityHelp();
} // namespace LinuxPlatform
