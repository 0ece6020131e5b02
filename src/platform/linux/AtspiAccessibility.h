#pragma once

#include "platform/Accessibility.h"

#include <functional>

using AtspiAccessible = struct _AtspiAccessible;

// Other applications' trees on the desktop's accessibility bus. An application is found among
// the desktop's children by its process id; each lookup starts a fresh call budget shared by
// every element reached from it.
class AtspiAccessibility : public Accessibility {
public:
    // Connects to the accessibility bus; false when there is none to connect to.
    static bool connect();

    AccessibilityElementRef applicationElement(qint32 pid) override;
    QSet<qint32> applicationsOnBus() override;

private:
    // Visits each application on the bus with its process id (0 when unknown) until visit
    // returns true; visit gets no reference of its own.
    static void forEachApplication(const std::function<bool(AtspiAccessible*, qint32)>& visit);
};
