#include "platform/fake/FakeWorkspace.h"

#include <algorithm>

void FakeWorkspace::launch(qint32 pid, const QString& name)
{
    running.insert(pid, name);
    frontmost = pid;
}

std::optional<RunningApplication> FakeWorkspace::activeApplication()
{
    if (!frontmost)
        return std::nullopt;
    return RunningApplication{*frontmost, running.value(*frontmost)};
}

// In pid order, so that tests see a stable list.
QList<RunningApplication> FakeWorkspace::runningApplications()
{
    QList<qint32> pids = running.keys();
    std::sort(pids.begin(), pids.end());
    QList<RunningApplication> applications;
    for (qint32 pid : pids) {
        if (pid != ownPid)
            applications.append({pid, running.value(pid)});
    }
    return applications;
}

bool FakeWorkspace::activateApplication(qint32 pid)
{
    if (journal)
        journal->append(QStringLiteral("activate %1").arg(pid));
    if (!running.contains(pid))
        return false;
    activations.append(pid);
    frontmost = pid;
    return true;
}

bool FakeWorkspace::openUrl(const QUrl& url)
{
    openedUrls.append(url);
    return true;
}
