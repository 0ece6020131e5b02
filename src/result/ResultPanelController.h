#pragma once

#include "conversation/ConversationServices.h"
#include "result/ResultViewData.h"
#include "ui/ResultPresenter.h"

#include <QObject>
#include <QPointer>
#include <memory>

class Clock;
class FloatingPanel;
class ResultView;
class ResultViewModel;
class Preferences;
class WritingModeStore;

// Shows the result of an action in a floating panel beside the selection: it makes the panel when
// none is open (focusable, with the close button and the resize grip, at least 360 by 260), opens
// it at the remembered size next to the selection with fresh content for every result, remembers
// its size under "resultPanelSize" whenever it closes, however it is closed, and then takes the
// closed panel apart, so that a panel off the screen holds no memory. Each result is one
// ResultViewModel, made with the given services: the view shows its state and hands the user's
// commands to it; a new result or closing the panel stops the turn still running, so at most one
// conversation streams at a time. Main thread only.
class ResultPanelController : public QObject, public ResultPresenter {
    Q_OBJECT

public:
    ResultPanelController(Clock& clock, Preferences& defaults, WritingModeStore& modes,
                          const ConversationServices& services, QObject* parent = nullptr);
    ~ResultPanelController() override;

    void show(const AIAction& action, const Selection& selection) override;
    // What "Sign In" beside an error does: starts the account's sign-in.
    // Stops the running turn and closes the panel when there is one.
    void close();

    // The panel open now or just closed; null once a closed panel is gone.
    FloatingPanel* panel() const { return m_panel; }
    ResultView* view() const;
    // The conversation shown now; none before the first result.
    ResultViewModel* model() const { return m_model.get(); }

    // What the view shows of a conversation.
    static ResultViewData viewData(const ResultViewModel& model);

Q_SIGNALS:
    // The failed answer's remedy: a sign-in through the browser.
    void signInRequested();

private:
    void createPanel();
    void panelAboutToClose();
    void stopModel();
    void connectModel(ResultView* view);
    ResultView* makeView();

    Clock& m_clock;
    Preferences& m_preferences;
    WritingModeStore& m_modes;
    ConversationServices m_services;
    QPointer<FloatingPanel> m_panel;
    // The panel has closed and goes away with the next turn of the event loop.
    bool m_panelClosed = false;
    std::unique_ptr<ResultViewModel> m_model;
};
