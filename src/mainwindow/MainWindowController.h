#pragma once

#include "mainwindow/MainView.h"
#include "ui/MainWindowOpener.h"

#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class Preferences;

// Owns the main window: made on show() when there is none, and taken apart once it is closed,
// so that a window off the screen holds no memory. A window shown again is made anew with what
// the user left: the conversation selected (kept by the navigation), the search, the filter and
// the sidebar's width, and its last frame, which is also kept in the preferences (when it closes
// and when the program quits with it open) so the next start opens it where it was. A pane with
// work of its own (a running answer, an unsent question) keeps the closed window until it is done.
class MainWindowController : public QObject, public MainWindowOpener {
    Q_OBJECT
public:
    // Whether the pane shown on the right still has work the window must not drop.
    using DetailBusy = std::function<bool(const QWidget* detail)>;
    struct Services {
        MainNavigation& nav;
        HistoryStore& store;
        Clock& clock;
        Preferences& defaults;
        MainView::ChatFactory chatFactory;
        DetailBusy detailBusy;
    };

    // How often a closed window whose pane is busy asks again whether it may go.
    static constexpr int busyRetryMs = 1000;

    explicit MainWindowController(Services services, QObject* parent = nullptr);
    ~MainWindowController() override;

    // Shows the conversation with this id, or (for a null id) a fresh new chat, or (with
    // neither) whatever the window showed before; then brings the window to the front.
    void show(const QUuid& conversation, bool newChat) override;
    void show() { show(QUuid(), false); }

    // The window, null while none is made.
    QMainWindow* window() const { return m_window; }
    MainView* view() const { return m_view; }
    // Puts the program's commands in the window's menu bar (where there is no tray), in the
    // window shown now and in every window made later.
    void setProgramMenu(std::function<void(QMenu*)> fill);

    static QString frameKey();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a window made anew takes over from the last one.
    struct ViewState {
        QString search;
        MainView::Filter filter = MainView::Filter::All;
        QByteArray splitter;
    };

    void create();
    void addProgramMenu();
    void restoreFrame();
    void saveFrame();
    void release();

    Services m_services;
    QPointer<QMainWindow> m_window;
    MainView* m_view = nullptr;
    QMenu* m_editMenu = nullptr;
    std::function<void(QMenu*)> m_fillProgramMenu;
    std::optional<ViewState> m_viewState;
    QTimer m_release;
};
