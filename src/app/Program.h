#pragma once

#include "app/LaunchCommand.h"
#include "result/ConversationServices.h"

#include <QObject>
#include <memory>

class ClaudeClient;
class MainWindowController;
class ProgramMenu;
class QSystemTrayIcon;
class ResultPanelController;
class SettingsWindowController;
class Updater;
class WindowAnnouncer;

// The running program: builds the app controller with the real pill, result panel and
// settings window, the main window, the tray icon with its menu (or that menu in the main
// window where there is no tray) and the updater, and carries out the commands that later
// starts of the program send it.
class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(QObject* parent = nullptr);
    ~Program() override;

    void start();
    void run(const LaunchCommand& command);

private:
    void buildController();
    void buildMainWindow();
    void buildMenu();
    void buildUpdater();
    void reportTrayShown();
    ConversationServices conversationServices() const;

    class Account;
    std::unique_ptr<Account> m_account;
    std::unique_ptr<ClaudeClient> m_client;
    std::unique_ptr<WindowAnnouncer> m_announcer;
    SettingsWindowController* m_settingsWindow = nullptr;
    MainWindowController* m_mainWindow = nullptr;
    ResultPanelController* m_results = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    Updater* m_updater = nullptr;
};
