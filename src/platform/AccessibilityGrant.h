#pragma once

// Whether the user lets this program read and drive other applications, and the ways to ask.
class AccessibilityGrant {
public:
    virtual ~AccessibilityGrant() = default;

    // Whether the grant is present right now.
    virtual bool isGranted() = 0;
    // Asks the system for the grant: turns the desktop's accessibility support on. It changes the
    // user's desktop, so it is called only on the user's own choice. The outcome shows later
    // through isGranted().
    virtual void requestGrant() = 0;
    // Opens the system's accessibility settings; false when they could not be opened.
    virtual bool openSettings() = 0;
};
