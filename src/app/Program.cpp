#include "app/Program.h"

#include "account/AccountManager.h"
#include "app/AppController.h"
#include "app/FirstExposure.h"
#include "app/ProgramMenu.h"
#include "app/TrayIconArt.h"
#include "app/UpdateDialog.h"
#include "app/Updater.h"
#include "chat/ChatView.h"
#include "chat/ChatViewModel.h"
#include "common/Timings.h"
#include "conversation/TokenSource.h"
#include "history/HistoryStore.h"
#include "history/MainNavigation.h"
#include "mainwindow/MainWindowController.h"
#include "model/ClaudeClient.h"
#include "pill/ActionPillController.h"
#include "platform/Preferences.h"
#include "platform/linux/LinuxPlatform.h"
#include "result/ResultPanelController.h"
#include "result/WindowAnnouncer.h"
#include "settings/AccountSection.h"
#include "settings/AppSettings.h"
#include "settings/SettingsWindowController.h"
#include "settings/WritingModeStore.h"
#include "ui/FloatingPanel.h"
#include "ui/PaletteAppearanceApplier.h"

#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>

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
    : QObject(parent), m_account(std::make_unique<Account>()), m_announcer(std::make_unique<WindowAnnouncer>([this] {
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
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        finishStart();
        showWithoutTray();
        return;
    }
    showTrayIcon();
    whenTrayIconShown([this] { finishStart(); });
}

// The menu's items are added once the program is complete.
void Program::showTrayIcon()
{
    m_trayMenu = new QMenu;
    connect(this, &QObject::destroyed, m_trayMenu, [menu = m_trayMenu] { delete menu; });
    m_tray = new QSystemTrayIcon(TrayIconArt::icon(), this);
    m_tray->setToolTip(tr("Halvora"));
    m_tray->setContextMenu(m_trayMenu);
    m_tray->show();
    reportTrayShown();
}

// A tray that shows the icon through D-Bus gives no window to watch: the rest follows at once.
void Program::whenTrayIconShown(std::function<void()> then)
{
    if (QWindow* icon = trayIconWindow())
        new FirstExposure(icon, trayIconWaitLimitMs, std::move(then), this);
    else
        QTimer::singleShot(0, this, std::move(then));
}

void Program::finishStart()
{
    installPlatform();
    m_client = std::make_unique<ClaudeClient>(AccountManager::serverURL());
    buildMainWindow();
    buildUpdater();
    buildController();
    if (m_trayMenu)
        buildMenu(m_trayMenu);
    connect(&AccountManager::shared(), &AccountManager::signedIn, this,
            [this](const QString& announcement) { m_announcer->announce(announcement); });
    AppController::shared().start();
    m_started = true;
    for (const LaunchCommand& command : std::exchange(m_waiting, {}))
        carryOut(command);
}

void Program::installPlatform()
{
    LinuxPlatform::install();
    AppearanceApplier::setInstance(std::make_unique<PaletteAppearanceApplier>());
    AppSettings::shared().applyAppearance();
}

void Program::buildController()
{
    auto settingsWindow = std::make_unique<SettingsWindowController>(SettingsView::Services{
        AppSettings::shared(), AccessibilityPermission::shared(), HistoryStore::shared(), WritingModeStore::shared(),
        [this] { m_account->refresh(); }, LinuxPlatform::unavailableReason(), LinuxPlatform::accessibilityHelp(),
        [] {
            AccountManager& account = AccountManager::shared();
            auto* section = new AccountSection(account);
            connect(section, &AccountSection::signInRequested, &account, &AccountManager::signIn);
            connect(section, &AccountSection::signOutRequested, &account, &AccountManager::signOut);
            connect(section, &AccountSection::accountPageRequested, &account, &AccountManager::openAccountPage);
            return section;
        }});
    m_settingsWindow = settingsWindow.get();
    AppController::Parts parts;
    parts.monitor = std::make_unique<SelectionMonitor>(Clock::system());
    parts.pill = std::make_unique<ActionPillController>(Clock::system(), WritingModeStore::shared());
    auto results = std::make_unique<ResultPanelController>(Clock::system(), Preferences::instance(),
                                                           WritingModeStore::shared(), conversationServices());
    connect(results.get(), &ResultPanelController::signInRequested, &AccountManager::shared(), &AccountManager::signIn);
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
        ChatView* view = ChatView::open(conversation, newChatID, conversationServices(), m_account->hasToken(), parent);
        connect(view, &ChatView::signInRequested, &AccountManager::shared(), &AccountManager::signIn);
        // Signing in, signing out and a rejected token all change the token.
        connect(&AccountManager::shared(), &AccountManager::tokenChanged, view,
                [this, view] { view->setSignedIn(m_account->hasToken()); });
        return view;
    };
    // A chat still answering, or holding a question not yet sent, keeps the closed window.
    auto busy = [](const QWidget* detail) {
        const auto* view = qobject_cast<const ChatView*>(detail);
        return view && (view->model().isStreaming() || !view->model().draft().trimmed().isEmpty());
    };
    m_mainWindow = new MainWindowController(
        {MainNavigation::shared(), HistoryStore::shared(), Clock::system(), Preferences::instance(), chat, busy}, this);
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
    m_updater = new Updater(Updater::builtInFeed(), QCoreApplication::applicationVersion(), Preferences::instance(),
                            Clock::system(), this);
    connect(m_updater, &Updater::outcomeReady, this, [](const Updater::Outcome& outcome) {
        UpdateDialog::show(outcome, QCoreApplication::applicationVersion());
    });
}

void Program::buildMenu(QMenu* menu)
{
    auto* program = new ProgramMenu(
        AppSettings::shared(), AccessibilityPermission::shared(), [this] { return m_account->hasToken(); }, menu);
    connect(program, &ProgramMenu::signInRequested, this, [] { AccountManager::shared().signIn(); });
    connect(program, &ProgramMenu::mainWindowRequested, this,
            [this](bool newChat) { m_mainWindow->show(QUuid(), newChat); });
    connect(program, &ProgramMenu::showActionsRequested, this,
            [] { AppController::shared().showActionsForCurrentSelection(); });
    connect(program, &ProgramMenu::settingsRequested, this, [] { AppController::shared().showSettings(); });
    connect(program, &ProgramMenu::updateCheckRequested, m_updater, &Updater::checkNow);
    connect(program, &ProgramMenu::quitRequested, this, &QCoreApplication::quit);
}

void Program::showWithoutTray()
{
    m_mainWindow->setProgramMenu([this](QMenu* menu) { buildMenu(menu); });
    m_mainWindow->show();
    auto* note = new QMessageBox(QMessageBox::Information, tr("Halvora"),
                                 tr("This desktop has no system tray, so Halvora shows no icon there. Its commands "
                                    "are in the Halvora menu of this window."),
                                 QMessageBox::Ok, m_mainWindow->window());
    note->setAttribute(Qt::WA_DeleteOnClose);
    note->open();
}

// Trays that embed the icon (XEmbed) give it a window of its own. It belongs to Qt and is found
// by the name Qt gives it.
QWindow* Program::trayIconWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("QSystemTrayIconSys") && widget->windowHandle())
            return widget->windowHandle();
    }
    return nullptr;
}

void Program::reportTrayShown()
{
    if (QWindow* icon = trayIconWindow())
        Timings::reportWhenExposed(icon, QStringLiteral("tray icon shown"), Timings::Since::ProcessStart);
    else
        Timings::report(QStringLiteral("tray icon requested"), Timings::Since::ProcessStart);
}

void Program::run(const LaunchCommand& command)
{
    if (m_started)
        carryOut(command);
    else
        m_waiting.append(command);
}

void Program::carryOut(const LaunchCommand& command)
{
    switch (command.kind) {
    case LaunchCommand::Kind::ShowActions:
        AppController::shared().showActionsForCurrentSelection(AppController::PillKeyboard::Take);
        break;
    case LaunchCommand::Kind::OpenMainWindow:
        m_mainWindow->show();
        break;
    case LaunchCommand::Kind::AccountCallback:
        AccountManager::shared().handle(command.url);
        break;
    case LaunchCommand::Kind::Reopen:
        // A start while none of our windows is on screen brings the main window; otherwise the
        // windows already open stay as they are.
        if (!anyWindowOnScreen())
            m_mainWindow->show();
        break;
    }
}

// Our windows are the ones the user opens and closes. The tray's icon (a window of its own on
// some trays), the pill and menus are not, and neither is a window left minimised.
bool Program::anyWindowOnScreen() const
{
    const QList<QWidget*> windows{m_mainWindow->window(), m_settingsWindow->window(),
                                  m_results ? m_results->panel() : nullptr};
    return std::any_of(windows.begin(), windows.end(),
                       [](const QWidget* window) { return window && window->isVisible() && !window->isMinimized(); });
}
