#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

// A running application as the desktop knows it.
struct RunningApplication {
    qint32 pid = 0;
    // Null when the application has no name the desktop can show.
    QString name;
};

// The desktop's applications and documents.
class Workspace {
public:
    virtual ~Workspace() = default;

    // The application that has the keyboard focus, if any.
    virtual std::optional<RunningApplication> activeApplication() = 0;
    virtual qint32 ownProcessId() = 0;
    // The applications with a window on the desktop, each once, this program left out.
    virtual QList<RunningApplication> runningApplications() = 0;
    // Brings the application's window to the front; false when it no longer runs.
    virtual bool activateApplication(qint32 pid) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
    // Asks the window manager to show one of this program's top-level windows on every
    // workspace (virtual desktop); called as the window is about to be shown.
    virtual void showOnAllWorkspaces(quintptr window) = 0;
};
