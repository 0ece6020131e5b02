#pragma once

#include "platform/Workspace.h"
#include "platform/linux/X11Connection.h"

#include <initializer_list>
#include <memory>

// Applications through the window manager: the frontmost one is the owner of the active window
// (_NET_ACTIVE_WINDOW and _NET_WM_PID), activation asks the window manager to activate one of
// its windows, and addresses open with the desktop's default handlers.
class X11Workspace : public Workspace {
public:
    explicit X11Workspace(std::unique_ptr<X11Connection> connection);

    std::optional<RunningApplication> activeApplication() override;
    QList<RunningApplication> runningApplications() override;
    qint32 ownProcessId() override;
    bool activateApplication(qint32 pid) override;
    bool openUrl(const QUrl& url) override;
    void showOnAllWorkspaces(quintptr window) override;

    // Whether a process with this id still exists.
    static bool isRunning(qint32 pid);

private:
    std::optional<unsigned long> windowOf(qint32 pid);
    QString applicationName(unsigned long window);
    void sendToWindowManager(unsigned long window, const char* messageType, std::initializer_list<long> data);

    std::unique_ptr<X11Connection> m_x11;
};
