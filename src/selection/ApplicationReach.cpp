#include "selection/ApplicationReach.h"

#include "platform/Platform.h"

QList<ApplicationReach> ApplicationReach::now()
{
    const QSet<qint32> onBus = Platform::accessibility().applicationsOnBus();
    QList<ApplicationReach> reach;
    for (const RunningApplication& application : Platform::workspace().runningApplications()) {
        if (!application.name.isEmpty())
            reach.append({application.name, onBus.contains(application.pid)});
    }
    return reach;
}
