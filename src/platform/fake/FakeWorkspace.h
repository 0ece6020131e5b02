#pragma once

#include "platform/Workspace.h"

#include <QHash>
#include <QList>
#include <QStringList>

// Pretend running applications: the test sets which ones run and which is in front; activating
// a running one brings it to the front. Activations and opened addresses are recorded.
class FakeWorkspace : public Workspace {
public:
    // Running applications by pid, with their names (null for a nameless one).
    QHash<qint32, QString> running;
    std::optional<qint32> frontmost;
    qint32 ownPid = 4242;
    QList<qint32> activations;
    QList<QUrl> openedUrls;
    QList<quintptr> windowsOnAllWorkspaces;
    QStringList* journal = nullptr;

    // Starts (or renames) an application and brings it to the front.
    void launch(qint32 pid, const QString& name = QString());

    std::optional<RunningApplication> activeApplication() override;
    qint32 ownProcessId() override { return ownPid; }
    QList<RunningApplication> runningApplications() override;
    bool activateApplication(qint32 pid) override;
    bool openUrl(const QUrl& url) override;
    void showOnAllWorkspaces(quintptr window) override { windowsOnAllWorkspaces.append(window); }
};
