#pragma once

#include <QKeySequence>
#include <QObject>
#include <functional>

class AppSettings;
class AccessibilityPermission;
class QAction;
class QMenu;

// The program's own menu, in the tray or, where the desktop has no tray, in the main window:
// the grant's state, Sign In while signed out, the windows, the pop-up switch, showing the
// actions now, settings, updates and Quit. Each time it opens it reflects the current state.
class ProgramMenu : public QObject {
    Q_OBJECT
public:
    struct Commands {
        std::function<bool()> hasToken;
        std::function<void()> signIn;
        std::function<void(bool newChat)> openMainWindow;
        std::function<void()> showActions;
        std::function<void()> showSettings;
        std::function<void()> checkForUpdates;
        std::function<void()> quit;
    };

    ProgramMenu(AppSettings& settings, AccessibilityPermission& permission, Commands commands, QMenu* menu);

    // Shows and hides the items by the grant and the sign-in; runs whenever the menu opens.
    void refresh();
    QMenu* menu() const { return m_menu; }
    // The item with this text, for tests.
    QAction* action(const QString& text) const;

private:
    void build();
    QAction* add(const QString& text, std::function<void()> run, const QKeySequence& shortcut = {});

    AppSettings& m_settings;
    AccessibilityPermission& m_permission;
    Commands m_commands;
    QMenu* m_menu;
    QAction* m_granted = nullptr;
    QAction* m_grant = nullptr;
    QAction* m_signIn = nullptr;
    QAction* m_autoPopup = nullptr;
};
