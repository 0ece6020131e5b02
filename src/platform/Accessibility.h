#pragma once

#include "platform/AccessibilityElement.h"

#include <QSet>

// Entry into other applications' accessibility trees.
class Accessibility {
public:
    virtual ~Accessibility() = default;

    // The root element of the running application with this process id; null when none.
    virtual AccessibilityElementRef applicationElement(qint32 pid) = 0;
    // The process ids of the applications on the accessibility bus now.
    virtual QSet<qint32> applicationsOnBus() = 0;
};
