#include "app/AppController.h"

#include "selection/SelectionReader.h"
#include "settings/AppSettings.h"

namespace {

std::unique_ptr<AppController>& sharedSlot()
{
    static std::unique_ptr<AppController> controller;
    return controller;
}

} // namespace

AppController::AppController(Parts parts) : m_parts(std::move(parts))
{
    if (!m_parts.clock)
        m_parts.clock = &Clock::system();
    if (!m_parts.autoPopup)
        m_parts.autoPopup = [] { return AppSettings::shared().autoPopup(); };
}

// The grant outlives the controller; its connection ends with the monitor this controller owns.
AppController::~AppController() = default;

AppController& AppController::shared()
{
    Q_ASSERT(sharedSlot());
    return *sharedSlot();
}

void AppController::setShared(std::unique_ptr<AppController> controller)
{
    sharedSlot() = std::move(controller);
}

void AppController::start()
{
    wireComponents();
    m_parts.permission->requestIfNeeded();
    m_parts.monitor->start();
    sendNewUsersToSettings();
    m_parts.account->refresh();
    if (m_parts.startUpdater)
        m_parts.startUpdater();
}

// Every callback lands in a component this controller owns, so none can outlive it.
void AppController::wireComponents()
{
    SelectionMonitor& monitor = *m_parts.monitor;
    monitor.setAutoPopup(m_parts.autoPopup);
    QObject::connect(&monitor, &SelectionMonitor::selected, &monitor,
                     [this](const Selection& selection) { m_parts.pill->show(selection); });
    QObject::connect(&monitor, &SelectionMonitor::dismissed, &monitor, [this] { m_parts.pill->hidePanel(); });
    QObject::connect(
        m_parts.pill.get(), &PillPresenter::actionChosen, &monitor,
        [this](const AIAction& action, const Selection& selection) { m_parts.results->show(action, selection); });
    // Only a grant newly present restarts the monitor; a revoked one is just recorded.
    QObject::connect(m_parts.permission, &AccessibilityPermission::grantedChanged, &monitor, [this](bool granted) {
        if (granted)
            m_parts.monitor->start();
    });
}

// The token is looked at only when the grant is present: either gap leads to the settings window.
void AppController::sendNewUsersToSettings()
{
    const bool ready = m_parts.permission->isGranted() && m_parts.account->hasToken();
    if (!ready)
        showSettings();
}

void AppController::showSettings()
{
    m_parts.pill->hidePanel();
    m_parts.settingsWindow->show();
}

void AppController::showActionsForCurrentSelection(PillKeyboard keyboard)
{
    m_showActionsTask = m_parts.clock->after(showActionsDelayMs, [this, keyboard] { showActionsNow(keyboard); });
}

void AppController::showActionsNow(PillKeyboard keyboard)
{
    // No gesture to date the selection by: the primary selection counts when the active
    // application claimed it after it last became the active one.
    const std::optional<Selection> selection = SelectionReader::read(m_parts.monitor->activeApplicationSinceMs());
    if (!selection) {
        if (m_parts.beep)
            m_parts.beep();
        return;
    }
    m_parts.pill->show(*selection);
    if (keyboard == PillKeyboard::Take)
        m_parts.pill->focusPill();
}
