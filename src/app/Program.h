#pragma once

#include "app/LaunchCommand.h"
#include "app/ProgramMenu.h"
#include "conversation/ConversationServices.h"

#include <QList>
#include <QObject>
#include <functional>
#include <memory>

class ClaudeClient;
class MainWindowController;
class QMenu;
class QSystemTrayIcon;
class QWindow;
class ResultPanelController;
class SettingsWindowController;
class Updater;
class WindowAnnouncer;

// The running program: builds the app controller with the real pill, result panel and
// settings window, the main window, the tray icon with its menu (or that menu in the main
// window where there is no tray) and the updater, and carries out the commands that later
// starts of the program send it. The tray icon comes first and alone: the desktop services,
// the windows, the menu's items and the history wait until the icon is on screen, and
// commands that arrive meanwhile wait with them.
class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(QObject* parent = nullptr);
    ~Program() override;

    // How long the rest of the start waits for a tray that never shows the icon.
    static constexpr int trayIconWaitLimitMs = 2000;

    void start();
    void run(const LaunchCommand& command);

private:
    void showTrayIcon();
    void whenTrayIconShown(std::function<void()> then);
    void finishStart();
    void installPlatform();
    void carryOut(const LaunchCommand& command);
    void buildController();
    void buildMainWindow();
    // The program's menu in `menu`, its commands connected.
    void buildMenu(QMenu* menu);
    void showWithoutTray();
    static QWindow* trayIconWindow();
    void buildUpdater();
    void reportTrayShown();
    bool anyWindowOnScreen() const;
    ConversationServices conversationServices() const;

    class Account;
    std::unique_ptr<Account> m_account;
    std::unique_ptr<ClaudeClient> m_client;
    std::unique_ptr<WindowAnnouncer> m_announcer;
    SettingsWindowController* m_settingsWindow = nullptr;
    MainWindowController* m_mainWindow = nullptr;
    ResultPanelController* m_results = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    Updater* m_updater = nullptr;
    bool m_started = false;
    QList<LaunchCommand> m_waiting;
};
