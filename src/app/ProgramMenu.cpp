#include "app/ProgramMenu.h"

#include "selection/AccessibilityPermission.h"
#include "settings/AppSettings.h"

#include <QMenu>

ProgramMenu::ProgramMenu(AppSettings& settings, AccessibilityPermission& permission, std::function<bool()> isSignedIn,
                         QMenu* menu)
    : QObject(menu), m_settings(settings), m_permission(permission), m_isSignedIn(std::move(isSignedIn)), m_menu(menu)
{
    build();
    connect(m_menu, &QMenu::aboutToShow, this, &ProgramMenu::refresh);
    refresh();
}

template <typename Slot> QAction* ProgramMenu::add(const QString& text, Slot slot, const QKeySequence& shortcut)
{
    QAction* action = m_menu->addAction(text);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void ProgramMenu::build()
{
    m_granted = m_menu->addAction(tr("Accessibility: granted"));
    m_granted->setEnabled(false);
    m_grant = add(tr("Grant Accessibility Access…"), [this] { m_permission.openSystemSettings(); });
    m_signIn = add(tr("Sign In"), &ProgramMenu::signInRequested);
    m_menu->addSeparator();
    add(
        tr("Open Halvora"), [this] { Q_EMIT mainWindowRequested(false); }, QKeySequence(Qt::CTRL | Qt::Key_O));
    add(
        tr("New Chat"), [this] { Q_EMIT mainWindowRequested(true); }, QKeySequence(Qt::CTRL | Qt::Key_N));
    m_menu->addSeparator();
    m_autoPopup = m_menu->addAction(tr("Show Actions on Selection"));
    m_autoPopup->setCheckable(true);
    connect(m_autoPopup, &QAction::toggled, &m_settings, &AppSettings::setAutoPopup);
    add(tr("Show Actions for Current Selection"), &ProgramMenu::showActionsRequested);
    m_menu->addSeparator();
    add(tr("Settings"), &ProgramMenu::settingsRequested, QKeySequence(Qt::CTRL | Qt::Key_Comma));
    add(tr("Check for Updates…"), &ProgramMenu::updateCheckRequested);
    add(tr("Quit Halvora"), &ProgramMenu::quitRequested, QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void ProgramMenu::refresh()
{
    m_permission.refresh();
    const bool trusted = m_permission.isGranted();
    m_granted->setVisible(trusted);
    m_grant->setVisible(!trusted);
    m_signIn->setVisible(!(m_isSignedIn && m_isSignedIn()));
    const QSignalBlocker block(m_autoPopup);
    m_autoPopup->setChecked(m_settings.autoPopup());
}

QAction* ProgramMenu::action(const QString& text) const
{
    for (QAction* action : m_menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}
