#pragma once

#include "platform/AccessibilityElement.h"

// Entry into other applications' accessibility trees.
class Accessibility {
public:
    virtual ~Accessibility() = default;

    // The root element of the running application with this process id; null when none.
    virtual AccessibilityElementRef applicationElement(qint32 pid) = 0;
};
