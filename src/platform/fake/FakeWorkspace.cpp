#include "platform/fake/FakeWorkspace.h"

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
