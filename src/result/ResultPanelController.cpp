#include "result/ResultPanelController.h"

#include "common/FreedMemory.h"
#include "platform/Platform.h"
#include "result/ResultPanelSize.h"
#include "result/ResultView.h"
#include "result/ResultViewModel.h"
#include "ui/FloatingPanel.h"
#include "ui/ScreenPlacement.h"

ResultPanelController::ResultPanelController(Clock& clock, Preferences& defaults, WritingModeStore& modes,
                                             const ConversationServices& services, QObject* parent)
    : QObject(parent), m_clock(clock), m_preferences(defaults), m_modes(modes), m_services(services)
{}

// The panel goes first: closing it stops the model, which must still exist then.
ResultPanelController::~ResultPanelController()
{
    delete m_panel;
    m_model.reset();
}

void ResultPanelController::createPanel()
{
    const QSize size = ResultPanelSize::read(m_preferences).toSize();
    m_panel = new FloatingPanel(size, true, true);
    m_panelClosed = false;
    m_panel->setMinimumSize(int(ResultPanelSize::minimumWidth), int(ResultPanelSize::minimumHeight));
    m_panel->setAccessibleName(tr("Halvora result"));
    connect(m_panel, &FloatingPanel::aboutToClose, this, &ResultPanelController::panelAboutToClose);
}

// Each result gets a new conversation and new content at the remembered size (not the size
// the reused panel had). The earlier conversation is stopped before the new one starts.
void ResultPanelController::show(const AIAction& action, const Selection& selection)
{
    stopModel();
    m_model = std::make_unique<ResultViewModel>(selection, action, m_services);
    connect(m_model.get(), &ResultViewModel::closeRequested, this, &ResultPanelController::close);
    if (!m_panel || m_panelClosed)
        createPanel();
    m_panel->setContentWidget(makeView());
    m_panel->setWindowTitle(action.title());
    const QSizeF size = ResultPanelSize::read(m_preferences);
    const QPointF origin = ScreenPlacement::resultOrigin(size, selection.rect, Platform::screens().cursorPosition(),
                                                         ScreenPlacement::current());
    m_panel->setGeometry(QRectF(origin, size).toRect());
    m_panel->showAndActivate();
    if (action.actionCase() != AIAction::Case::Ask)
        m_model->run(std::nullopt);
}

// The view's commands go to the conversation shown now; an old view is gone by the time a
// new conversation replaces the model.
ResultView* ResultPanelController::makeView()
{
    auto* view = new ResultView(viewData(*m_model), m_clock, m_modes);
    connect(view, &ResultView::rewriteRequested, this,
            [this](const AIAction& action) { m_model->switchRewrite(action); });
    connect(view, &ResultView::continueRequested, this, [this] { m_model->continueInWindow(); });
    connect(view, &ResultView::stopRequested, this, [this] { m_model->stop(); });
    connect(view, &ResultView::retryRequested, this, [this] { m_model->retry(); });
    connect(view, &ResultView::copyRequested, this, [this] { m_model->copyLatest(); });
    connect(view, &ResultView::replaceRequested, this, [this] { m_model->replaceSelection(); });
    connect(view, &ResultView::closeRequested, this, &ResultPanelController::close);
    connect(view, &ResultView::signInRequested, this, &ResultPanelController::signInRequested);
    connect(view, &ResultView::questionSubmitted, this, [this](const QString& text) {
        m_model->setDraft(text);
        m_model->submitDraft();
        // An accepted question leaves the field it was typed in empty, also when its turn fails
        // (Retry asks it again).
        if (m_model->draft().isEmpty())
            if (ResultView* current = this->view())
                current->clearQuestionFields();
    });
    connectModel(view);
    return view;
}

void ResultPanelController::connectModel(ResultView* view)
{
    ResultViewModel* model = m_model.get();
    const auto update = [view, model] { view->setData(viewData(*model)); };
    connect(model, &ResultViewModel::actionChanged, view, update);
    connect(model, &ResultViewModel::turnsChanged, view, update);
    connect(model, &ResultViewModel::statusChanged, view, update);
    connect(model, &ResultViewModel::isStreamingChanged, view, update);
    connect(model, &ResultViewModel::errorMessageChanged, view, update);
    connect(model, &ResultViewModel::errorFixChanged, view, update);
    connect(model, &ResultViewModel::needsFirstQuestionChanged, view, update);
}

ResultViewData ResultPanelController::viewData(const ResultViewModel& model)
{
    ResultViewData data;
    data.action = model.action();
    data.selectionText = model.selection().text;
    data.appName = model.selection().appName;
    data.isEditable = model.selection().isEditable;
    for (const ConversationTurn& turn : model.turns()) {
        ResultViewData::Turn shown{turn.question.value_or(QString()), turn.answer, {}};
        for (const WebSource& source : turn.sources())
            shown.sources.append({source.title, source.url});
        data.turns.append(shown);
    }
    data.isStreaming = model.isStreaming();
    data.status = model.statusText();
    data.errorMessage = model.errorText();
    data.errorFix = model.errorFix() == ErrorFix::SignIn ? ResultViewData::Fix::SignIn : ResultViewData::Fix::Retry;
    data.needsFirstQuestion = model.needsFirstQuestion();
    data.canFollowUp = model.canFollowUp();
    return data;
}

void ResultPanelController::close()
{
    stopModel();
    if (m_panel)
        m_panel->close();
}

ResultView* ResultPanelController::view() const
{
    return m_panel ? qobject_cast<ResultView*>(m_panel->contentWidget()) : nullptr;
}

void ResultPanelController::stopModel()
{
    if (m_model)
        m_model->stop();
}

// Every way of closing ends here (the close button, Escape, Replace, Continue in window). The
// closed panel is taken apart once control is back in the event loop (the press that closed it
// may still be on its way); the next result gets a new one. The conversation stays until then.
void ResultPanelController::panelAboutToClose()
{
    stopModel();
    ResultPanelSize::write(m_preferences, QSizeF(m_panel->size()));
    if (m_panelClosed)
        return;
    m_panelClosed = true;
    m_panel->deleteLater();
    FreedMemory::returnAfterDestroyed(m_panel);
}
