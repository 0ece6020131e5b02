#pragma once

#include "actions/AIAction.h"
#include "conversation/ConversationServices.h"
#include "conversation/ConversationTurn.h"
#include "conversation/TurnRunner.h"
#include "model/ErrorFix.h"
#include "model/TurnResult.h"
#include "model/WebSource.h"
#include "selection/Selection.h"

#include <QDateTime>
#include <QJsonArray>
#include <QObject>
#include <QUuid>

// The state and logic of one conversation about a selection in the floating result panel:
// runs the model turns, folds their streamed events into answers, a status line and source
// lists, handles follow-ups, retries, errors and their remedies, records the conversation in
// the history, and copies, replaces or hands the answer over to the main window.
// Main thread only; every property publishes its real changes.
class ResultViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(AIAction action READ action NOTIFY actionChanged)
    Q_PROPERTY(QList<ConversationTurn> turns READ turns NOTIFY turnsChanged)
    Q_PROPERTY(QString status READ statusText NOTIFY statusChanged)
    Q_PROPERTY(bool isStreaming READ isStreaming NOTIFY isStreamingChanged)
    Q_PROPERTY(QString errorMessage READ errorText NOTIFY errorMessageChanged)
    Q_PROPERTY(ErrorFix errorFix READ errorFix NOTIFY errorFixChanged)
    Q_PROPERTY(QString draft READ draft WRITE setDraft NOTIFY draftChanged)
    Q_PROPERTY(QString latestAnswer READ latestAnswer NOTIFY turnsChanged)
    Q_PROPERTY(bool canFollowUp READ canFollowUp NOTIFY turnsChanged)
    Q_PROPERTY(bool needsFirstQuestion READ needsFirstQuestion NOTIFY needsFirstQuestionChanged)

public:
    ResultViewModel(const Selection& selection, const AIAction& action, const ConversationServices& services,
                    QObject* parent = nullptr);
    ~ResultViewModel() override;

    const Selection& selection() const { return m_selection; }
    const AIAction& action() const { return m_action; }
    const QList<ConversationTurn>& turns() const { return m_turns; }
    const std::optional<QString>& status() const { return m_status; }
    QString statusText() const { return m_status.value_or(QString()); }
    bool isStreaming() const { return m_isStreaming; }
    const std::optional<QString>& errorMessage() const { return m_errorMessage; }
    QString errorText() const { return m_errorMessage.value_or(QString()); }
    ErrorFix errorFix() const { return m_errorFix; }
    const QString& draft() const { return m_draft; }
    void setDraft(const QString& draft);
    QUuid historyID() const { return m_historyID; }
    QDateTime createdAt() const { return m_createdAt; }
    // The messages the next request continues from (user and assistant, alternating).
    const QJsonArray& messages() const { return m_messages; }

    QString latestAnswer() const;
    bool canFollowUp() const;
    bool needsFirstQuestion() const;

    // Starts one turn; the panel controller calls it for the opening turn. A turn that is still
    // streaming is stopped first.
    void run(const std::optional<QString>& question);
    void submitDraft();
    void retry();
    // Stops the running turn: an empty turn disappears, a partial answer stays, no error shows.
    void stop();
    void switchRewrite(const AIAction& action);
    void copyLatest();
    void replaceSelection();
    void continueInWindow();
    void recordHistory();

Q_SIGNALS:
    void actionChanged();
    void turnsChanged();
    void statusChanged();
    void isStreamingChanged();
    void errorMessageChanged();
    void errorFixChanged();
    void draftChanged();
    void needsFirstQuestionChanged();
    // The conversation is done with the panel: its text went in place, or it moves to the main window.
    void closeRequested();

private:
    void apply(const ClaudeEvent& event, const QUuid& turnID);
    void succeed(const TurnResult& result, const QUuid& turnID);
    void fail(const TurnError& error, const QUuid& turnID);
    void endTurn();
    void restart();
    QString historyTitle() const;

    void setAction(const AIAction& action);
    void setTurns(const QList<ConversationTurn>& turns);
    void setStatus(const std::optional<QString>& status);
    void setStreaming(bool streaming);
    void setErrorMessage(const std::optional<QString>& message);
    void setErrorFix(ErrorFix fix);

    Selection m_selection;
    AIAction m_action;
    QList<ConversationTurn> m_turns;
    std::optional<QString> m_status;
    bool m_isStreaming = false;
    std::optional<QString> m_errorMessage;
    ErrorFix m_errorFix = ErrorFix::Retry;
    QString m_draft;
    QUuid m_historyID = QUuid::createUuid();
    QDateTime m_createdAt;
    QJsonArray m_messages;
    std::optional<QString> m_lastQuestion;
    ConversationServices m_services;
    // Runs the turns and stops a running one when this object goes.
    TurnRunner m_runner;
};
