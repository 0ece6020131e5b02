#pragma once

#include "platform/AccessibilityGrant.h"

#include <QStringList>

// A grant the test turns on and off, counting the prompts and settings openings asked for.
class FakeAccessibilityGrant : public AccessibilityGrant {
public:
    bool granted = true;
    bool settingsOpen = true;
    int checks = 0;
    int requests = 0;
    int settingsOpenings = 0;

    bool isGranted() override
    {
        ++checks;
        return granted;
    }
    void requestGrant() override { ++requests; }
    bool openSettings() override
    {
        ++settingsOpenings;
        return settingsOpen;
    }
};
