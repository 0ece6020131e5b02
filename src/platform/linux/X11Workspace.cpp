#include "platform/linux/X11Workspace.h"

#include "platform/linux/DesktopEntries.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QSet>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cerrno>
#include <csignal>

X11Workspace::X11Workspace(std::unique_ptr<X11Connection> connection) : m_x11(std::move(connection)) {}

std::optional<RunningApplication> X11Workspace::activeApplication()
{
    const auto window = m_x11->activeClient();
    if (!window)
        return std::nullopt;
    const auto pid = m_x11->windowPid(*window);
    if (!pid)
        return std::nullopt;
    return RunningApplication{*pid, applicationName(*window)};
}

QList<RunningApplication> X11Workspace::runningApplications()
{
    QList<RunningApplication> applications;
    QSet<qint32> seen{ownProcessId()};
    for (unsigned long window : m_x11->cardinals(m_x11->root(), "_NET_CLIENT_LIST")) {
        const auto pid = m_x11->windowPid(window);
        if (!pid || seen.contains(*pid))
            continue;
        seen.insert(*pid);
        applications.append({*pid, applicationName(window)});
    }
    return applications;
}

// The desktop entry's name where the window class leads to one, else the window class itself.
QString X11Workspace::applicationName(unsigned long window)
{
    const QStringList windowClass = m_x11->strings(window, "WM_CLASS");
    if (windowClass.isEmpty())
        return {};
    const QString fromEntry = DesktopEntries::applicationName({windowClass.last(), windowClass.first()});
    return fromEntry.isEmpty() ? windowClass.last() : fromEntry;
}

qint32 X11Workspace::ownProcessId()
{
    return qint32(QCoreApplication::applicationPid());
}

bool X11Workspace::isRunning(qint32 pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

// The topmost of the application's client windows.
std::optional<unsigned long> X11Workspace::windowOf(qint32 pid)
{
    const QList<unsigned long> clients = m_x11->cardinals(m_x11->root(), "_NET_CLIENT_LIST_STACKING");
    for (auto it = clients.crbegin(); it != clients.crend(); ++it) {
        if (m_x11->windowPid(*it) == pid)
            return *it;
    }
    return std::nullopt;
}

bool X11Workspace::activateApplication(qint32 pid)
{
    if (!isRunning(pid))
        return false;
    const auto window = windowOf(pid);
    if (!window)
        return true;
    // Source 2 (a pager): the request comes from the user, so focus-stealing rules do not apply.
    sendToWindowManager(*window, "_NET_ACTIVE_WINDOW", {2, CurrentTime});
    XFlush(m_x11->display());
    return true;
}

void X11Workspace::sendToWindowManager(unsigned long window, const char* messageType, std::initializer_list<long> data)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = m_x11->atom(messageType);
    event.xclient.format = 32;
    int index = 0;
    for (long value : data)
        event.xclient.data.l[index++] = value;
    XSendEvent(m_x11->display(), m_x11->root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

// Before the window is mapped the window manager reads its properties; once it is mapped only
// requests sent to the root window count. Both are sent, so it works either way.
void X11Workspace::showOnAllWorkspaces(quintptr window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    constexpr long everyDesktop = 0xFFFFFFFF;
    const long sticky = long(m_x11->atom("_NET_WM_STATE_STICKY"));
    XChangeProperty(m_x11->display(), window, m_x11->atom("_NET_WM_DESKTOP"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&everyDesktop), 1);
    XChangeProperty(m_x11->display(), window, m_x11->atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeAppend,
                    reinterpret_cast<const unsigned char*>(&sticky), 1);
    sendToWindowManager(window, "_NET_WM_DESKTOP", {everyDesktop, 2});
    sendToWindowManager(window, "_NET_WM_STATE", {1, sticky, 0, 2});
    XFlush(m_x11->display());
}

bool X11Workspace::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
