#pragma once

#include "mainwindow/MainView.h"
#include "ui/MainWindowOpener.h"

#include <QMainWindow>
#include <QObject>
#include <QPointer>

class Preferences;

// Owns the main window: made on the first show(), kept when closed and shown again with its
// last frame, which is also kept in the preferences (when it closes and when the program
// quits with it open) so the next start opens it where it was.
class MainWindowController : public QObject, public MainWindowOpener {
    Q_OBJECT
public:
    struct Services {
        MainNavigation& nav;
        HistoryStore& store;
        Clock& clock;
        Preferences& defaults;
        MainView::ChatFactory chatFactory;
    };

    explicit MainWindowController(Services services, QObject* parent = nullptr);
    ~MainWindowController() override;

    // Shows the conversation with this id, or (for a null id) a fresh new chat, or (with
    // neither) whatever the window showed before; then brings the window to the front.
    void show(const QUuid& conversation, bool newChat) override;
    void show() { show(QUuid(), false); }

    QMainWindow* window() const { return m_window; }
    MainView* view() const { return m_view; }
    // Commands added by the program to the window's menu (used where there is no tray).
    QMenu* programMenu();

    static QString frameKey();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void create();
    void restoreFrame();
    void saveFrame();

    Services m_services;
    QPointer<QMainWindow> m_window;
    MainView* m_view = nullptr;
    QMenu* m_programMenu = nullptr;
    QMenu* m_editMenu = nullptr;
};
