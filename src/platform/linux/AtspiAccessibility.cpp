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
void AtspiAccessibility::forEachApplication(const std::function<bool(AtspiAccessible*, qint32)>& visit)
{
    AtspiAccessible* desktop = atspi_get_desktop(0);
    if (!desktop)
        return;
    const gint count = atspi_accessible_get_child_count(desktop, nullptr);
    bool done = false;
    for (gint i = 0; i < count && !done; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, nullptr);
        if (!application)
            continue;
        done = visit(application, qint32(atspi_accessible_get_process_id(application, nullptr)));
        g_object_unref(application);
    }
    g_object_unref(desktop);
}

QSet<qint32> AtspiAccessibility::applicationsOnBus()
{
    QSet<qint32> pids;
    forEachApplication([&](AtspiAccessible*, qint32 pid) {
        if (pid > 0)
            pids.insert(pid);
        return false;
    });
    return pids;
}

AccessibilityElementRef AtspiAccessibility::applicationElement(qint32 pid)
{
    AccessibilityElementRef found;
    forEachApplication([&](AtspiAccessible* application, qint32 own) {
        if (own != pid)
            return false;
        found = std::make_shared<AtspiElement>(ATSPI_ACCESSIBLE(g_object_ref(application)),
                                               std::make_shared<AtspiBudget>());
        return true;
    });
    return found;
}
