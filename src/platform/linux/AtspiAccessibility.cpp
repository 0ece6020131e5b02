#include "platform/linux/AtspiAccessibility.h"

#include "platform/linux/AtspiElement.h"

#include <atspi/atspi.h>

bool AtspiAccessibility::connect()
{
    // 0: connected now; 1: connected before. Anything else: no bus.
    const int status = atspi_init();
    return status == 0 || status == 1;
}

// The process ids come from the bus daemon: an application that hangs costs nothing here.
QSet<qint32> AtspiAccessibility::applicationsOnBus()
{
    QSet<qint32> pids;
    AtspiAccessible* desktop = atspi_get_desktop(0);
    if (!desktop)
        return pids;
    const gint count = atspi_accessible_get_child_count(desktop, nullptr);
    for (gint i = 0; i < count; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, nullptr);
        if (!application)
            continue;
        const qint32 pid = qint32(atspi_accessible_get_process_id(application, nullptr));
        if (pid > 0)
            pids.insert(pid);
        g_object_unref(application);
    }
    g_object_unref(desktop);
    return pids;
}

AccessibilityElementRef AtspiAccessibility::applicationElement(qint32 pid)
{
    auto budget = std::make_shared<AtspiBudget>();
    AtspiAccessible* desktop = atspi_get_desktop(0);
    if (!desktop)
        return {};
    const gint count = atspi_accessible_get_child_count(desktop, nullptr);
    AccessibilityElementRef found;
    for (gint i = 0; i < count && !found; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, nullptr);
        if (!application)
            continue;
        // The process id comes from the bus daemon, so an application that hangs costs nothing here.
        if (qint32(atspi_accessible_get_process_id(application, nullptr)) == pid)
            found = std::make_shared<AtspiElement>(application, budget);
        else
            g_object_unref(application);
    }
    g_object_unref(desktop);
    return found;
}
