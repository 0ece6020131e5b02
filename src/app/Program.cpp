#include "app/Program.h"

#include "account/AccountManager.h"
#include "app/AppController.h"
#include "app/ProgramMenu.h"
#include "app/UpdateDialog.h"
#include "app/Updater.h"
#include "chat/ChatView.h"
#include "chat/ChatViewModel.h"
#include "common/Timings.h"
#include "history/HistoryStore.h"
#include "history/MainNavigation.h"
#include "history/MainWindowController.h"
#include "model/ClaudeClient.h"
#include "pill/ActionPillController.h"
#include "pill/FloatingPanel.h"
#include "platform/UserDefaults.h"
#include "platform/linux/LinuxPlatform.h"
#include "result/ResultPanelController.h"
#include "result/TokenSource.h"
#include "result/WindowAnnouncer.h"
#include "settings/AccountSection.h"
#include "settings/AppSettings.h"
#include "settings/SettingsWindowController.h"
#include "settings/WritingModeStore.h"

#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>

// The account manager as the app controller and the conversations see it. A token the service
// rejected ends the session with the signed-out message, so that settings and menu show it.
class Program::Account : public AccountStatus, public TokenSource {
public:
    bool hasToken() const override { return AccountManager::shared().token().has_value(); }
    void refresh() override { AccountManager::shared().refresh(); }
    std::optional<QString> token() const override { return AccountManager::shared().token(); }
    void clearLocalSession() override { AccountManager::shared().endSession(); }
};

Program::Program(QObject* parent)
    : QObject(parent), m_account(std::make_unique<Account>()),
      m_client(std::make_unique<ClaudeClient>(AccountManager::serverURL())),
      m_announcer(std::make_unique<WindowAnnouncer>([this] {
          // The settings window too: a sign-in finished in the browser is announced while
          // it is often the only window of ours on screen.
          return QList<QWidget*>{m_results ? m_results->panel() : nullptr,
                                 m_mainWindow ? m_mainWindow->window() : nullptr,
                                 m_settingsWindow ? m_settingsWindow->window() : nullptr};
      }))
{}

Program::~Program() = default;

void Program::start()
{
    buildMainWindow();
    buildUpdater();
    buildController();
    buildMenu();
    connect(&AccountManager::shared(), &AccountManager::signedIn, this,
            [this](const QString& announcement) { m_announcer->announce(announcement); });
    AppController::shared().start();
}

void Program::buildController()
{
    auto settingsWindow = std::make_unique<SettingsWindowController>(SettingsView::Services{
        AppSettings::shared(), AccessibilityPermission::shared(), HistoryStore::shared(), WritingModeStore::shared(),
        [this] { m_account->refresh(); }, LinuxPlatform::unavailableReason(), LinuxPlatform::accessibilityHelp(),
        [] {
            AccountManager& account = AccountManager::shared();
            return new AccountSection(account, {[&account] { account.signIn(); }, [&account] { account.signOut(); },
                                                [&account] { account.openAccountPage(); }});
        }});
    m_settingsWindow = settingsWindow.get();
    AppController::Parts parts;
    parts.monitor = std::make_unique<SelectionMonitor>(Clock::system());
    parts.pill = std::make_unique<ActionPillController>(Clock::system(), WritingModeStore::shared());
    auto results = std::make_unique<ResultPanelController>(Clock::system(), UserDefaults::standard(),
                                                           WritingModeStore::shared(), conversationServices());
    results->setSignIn([] { AccountManager::shared().signIn(); });
    m_results = results.get();
    parts.results = std::move(results);
    parts.settingsWindow = std::move(settingsWindow);
    parts.permission = &AccessibilityPermission::shared();
    parts.account = m_account.get();
    parts.startUpdater = [this] { m_updater->checkInBackground(); };
    parts.beep = [] { QApplication::beep(); };
    AppController::setShared(std::make_unique<AppController>(std::move(parts)));
}

void Program::buildMainWindow()
{
    auto chat = [this](const std::optional<HistoryStore::Conversation>& conversation, const QUuid& newChatID,
                       QWidget* parent) -> QWidget* {
        const ConversationServices services = conversationServices();
        auto* model =
            conversation ? new ChatViewModel(*conversation, services) : new ChatViewModel(newChatID, services);
        auto* view = new ChatView(
            model, m_account->hasToken(), [] { AccountManager::shared().signIn(); }, parent);
        // Signing in, signing out and a rejected token all change the token.
        connect(&AccountManager::shared(), &AccountManager::tokenChanged, view,
                [this, view] { view->setSignedIn(m_account->hasToken()); });
        return view;
    };
    m_mainWindow = new MainWindowController(
        {MainNavigation::shared(), HistoryStore::shared(), Clock::system(), UserDefaults::standard(), chat}, this);
}

// The main window is made before the conversations need it.
ConversationServices Program::conversationServices() const
{
    ConversationServices services;
    services.client = m_client.get();
    services.account = m_account.get();
    services.history = &HistoryStore::shared();
    services.navigation = &MainNavigation::shared();
    services.mainWindow = m_mainWindow;
    services.announcer = m_announcer.get();
    return services.completed();
}

void Program::buildUpdater()
{
    m_updater = new Updater(Updater::builtInFeed(), QCoreApplication::applicationVersion(), UserDefaults::standard(),
                            Clock::system(), this);
    m_updater->onOutcome = [](const Updater::Outcome& outcome) {
        UpdateDialog::show(outcome, QCoreApplication::applicationVersion());
    };
}

void Program::buildMenu()
{
    ProgramMenu::Commands commands{
        [this] { return m_account->hasToken(); },
        [] { AccountManager::shared().signIn(); },
        [this](bool newChat) { m_mainWindow->show(QUuid(), newChat); },
        [] { AppController::shared().showActionsForCurrentSelection(); },
        [] { AppController::shared().showSettings(); },
        [this] { m_updater->checkNow(); },
        [] { QCoreApplication::quit(); },
    };
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        auto* menu = new QMenu;
        connect(this, &QObject::destroyed, menu, [menu] { delete menu; });
        new ProgramMenu(AppSettings::shared(), AccessibilityPermission::shared(), commands, menu);
        m_tray = new QSystemTrayIcon(QIcon(QStringLiteral(":/halvora/MenuBarIcon.svg")), this);
        m_tray->setToolTip(QStringLiteral("Halvora"));
        m_tray->setContextMenu(menu);
        m_tray->show();
        reportTrayShown();
        return;
    }
    new ProgramMenu(AppSettings::shared(), AccessibilityPermission::shared(), commands, m_mainWindow->programMenu());
    m_mainWindow->show();
    auto* note = new QMessageBox(QMessageBox::Information, QStringLiteral("Halvora"),
                                 tr("This desktop has no system tray, so Halvora shows no icon there. Its commands "
                                    "are in the Halvora menu of this window."),
                                 QMessageBox::Ok, m_mainWindow->window());
    note->setAttribute(Qt::WA_DeleteOnClose);
    note->open();
}

// The tray's icon window belongs to Qt; it is found by the name Qt gives it.
void Program::reportTrayShown()
{
    if (!Timings::enabled())
        return;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("QSystemTrayIconSys") && widget->windowHandle()) {
            Timings::reportWhenExposed(widget->windowHandle(), QStringLiteral("tray icon shown"),
                                       Timings::Since::processStart);
            return;
        }
    }
    Timings::report(QStringLiteral("tray icon requested"), Timings::Since::processStart);
}

void Program::run(const LaunchCommand& command)
{
    switch (command.kind) {
    case LaunchCommand::Kind::ShowActions:
        AppController::shared().showActionsForCurrentSelection();
        break;
    case LaunchCommand::Kind::OpenMainWindow:
        m_mainWindow->show();
        break;
    case LaunchCommand::Kind::AccountCallback:
        AccountManager::shared().handle(command.url);
        break;
    case LaunchCommand::Kind::Reopen: {
        // A start while nothing is on screen brings the main window; otherwise the windows
        // already open stay as they are.
        const QWidgetList windows = QApplication::topLevelWidgets();
        const bool anyVisible = std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
            return window->isVisible() && !window->inherits("QMenu") && window->isWindow();
        });
        if (!anyVisible)
            m_mainWindow->show();
        break;
    }
    }
}
