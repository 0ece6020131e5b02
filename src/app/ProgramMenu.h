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
// The commands it cannot carry out itself are its signals.
class ProgramMenu : public QObject {
    Q_OBJECT
public:
    // `isSignedIn` tells, each time the menu opens, whether Sign In is hidden.
    ProgramMenu(AppSettings& settings, AccessibilityPermission& permission, std::function<bool()> isSignedIn,
                QMenu* menu);

    // Shows and hides the items by the grant and the sign-in; runs whenever the menu opens.
    void refresh();
    QMenu* menu() const { return m_menu; }
    // The item with this text, for tests.
    QAction* action(const QString& text) const;

Q_SIGNALS:
    void signInRequested();
    // "Open Halvora" (false) or "New Chat" (true).
    void mainWindowRequested(bool newChat);
    void showActionsRequested();
    void settingsRequested();
    void updateCheckRequested();
    void quitRequested();

private:
    void build();
    template <typename Slot> QAction* add(const QString& text, Slot slot, const QKeySequence& shortcut = {});

    AppSettings& m_settings;
    AccessibilityPermission& m_permission;
    std::function<bool()> m_isSignedIn;
    QMenu* m_menu;
    QAction* m_granted = nullptr;
    QAction* m_grant = nullptr;
    QAction* m_signIn = nullptr;
    QAction* m_autoPopup = nullptr;
};
