#pragma once

#include "actions/AIAction.h"
#include "conversation/ConversationServices.h"
#include "conversation/ConversationTurn.h"
#include "conversation/TurnRunner.h"
#include "history/HistoryStore.h"
#include "model/ErrorFix.h"
#include "model/TurnResult.h"
#include "model/WebSource.h"

#include <QDateTime>
#include <QJsonArray>
#include <QObject>
#include <QUuid>

// The state of one chat in the main window: a new free chat, or a stored conversation
// reopened from the history (a result conversation continues here as questions about its
// selection). Turns the user's questions into model turns, folds the streamed events into the
// transcript and saves the conversation after every finished turn. Main thread only; every
// property publishes its real changes.
class ChatViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString title READ title NOTIFY titleChanged)
    Q_PROPERTY(QList<ConversationTurn> turns READ turns NOTIFY turnsChanged)
    Q_PROPERTY(bool isStreaming READ isStreaming NOTIFY isStreamingChanged)
    Q_PROPERTY(QString status READ statusText NOTIFY statusChanged)
    Q_PROPERTY(QString errorMessage READ errorText NOTIFY errorMessageChanged)
    Q_PROPERTY(ErrorFix errorFix READ errorFix NOTIFY errorFixChanged)
    Q_PROPERTY(QString draft READ draft WRITE setDraft NOTIFY draftChanged)
    Q_PROPERTY(bool deepResearch READ deepResearch WRITE setDeepResearch NOTIFY deepResearchChanged)
    Q_PROPERTY(QString lastQuestion READ lastQuestionText NOTIFY lastQuestionChanged)

public:
    // A new, empty chat with this id.
    ChatViewModel(const QUuid& newChatID, const ConversationServices& services, QObject* parent = nullptr);
    // A stored conversation, to be continued.
    ChatViewModel(const HistoryStore::Conversation& conversation, const ConversationServices& services,
                  QObject* parent = nullptr);
    ~ChatViewModel() override;

    QUuid id() const { return m_id; }
    HistoryStore::Kind kind() const { return m_kind; }
    const std::optional<QString>& selection() const { return m_selection; }
    const std::optional<QString>& appName() const { return m_appName; }
    const QString& title() const { return m_title; }
    QDateTime createdAt() const { return m_createdAt; }
    const std::optional<AIAction>& baseAction() const { return m_baseAction; }
    const QList<ConversationTurn>& turns() const { return m_turns; }
    bool isStreaming() const { return m_isStreaming; }
    const std::optional<QString>& status() const { return m_status; }
    QString statusText() const { return m_status.value_or(QString()); }
    const std::optional<QString>& errorMessage() const { return m_errorMessage; }
    QString errorText() const { return m_errorMessage.value_or(QString()); }
    ErrorFix errorFix() const { return m_errorFix; }
    const QString& draft() const { return m_draft; }
    void setDraft(const QString& draft);
    bool deepResearch() const { return m_deepResearch; }
    void setDeepResearch(bool deep);
    const std::optional<QString>& lastQuestion() const { return m_lastQuestion; }
    QString lastQuestionText() const { return m_lastQuestion.value_or(QString()); }

    // Sends the composer's text, trimmed; nothing while streaming or when it is blank.
    void send();
    // Asks the latest question again; nothing while streaming or before any question.
    void retry();
    // Stops the running turn: an empty turn disappears and the chat is saved without it.
    void cancel();
    // Copies a turn's answer and announces "Copied".
    void copy(const ConversationTurn& turn);

    // What the next turn is sent as, the system prompt it is answered with, and its messages.
    AIAction chosenAction() const;
    QString systemPrompt(const AIAction& chosen) const;
    QJsonArray apiMessages(const QString& adding, const AIAction& chosen) const;

    static std::optional<AIAction> baseAction(HistoryStore::Kind kind);

Q_SIGNALS:
    void titleChanged();
    void turnsChanged();
    void isStreamingChanged();
    void statusChanged();
    void errorMessageChanged();
    void errorFixChanged();
    void draftChanged();
    void deepResearchChanged();
    void lastQuestionChanged();

private:
    // The runner's handlers, calling apply, succeed and fail below.
    TurnRunner::Handlers turnHandlers();
    void run(const QString& question);
    void apply(const ClaudeEvent& event, const QUuid& turnID);
    void succeed(const TurnResult& result, const QUuid& turnID);
    void fail(const TurnError& error, const QUuid& turnID);
    void endTurn();
    void save();
    void selectIfNewChat();

    void setTitle(const QString& title);
    void setStreaming(bool streaming);
    void setStatus(const std::optional<QString>& status);
    void setErrorMessage(const std::optional<QString>& message);
    void setErrorFix(ErrorFix fix);
    void setLastQuestion(const std::optional<QString>& question);

    QUuid m_id;
    HistoryStore::Kind m_kind = HistoryStore::Kind::Chat;
    std::optional<QString> m_selection;
    std::optional<QString> m_appName;
    QString m_title;
    QDateTime m_createdAt;
    std::optional<AIAction> m_baseAction;
    QList<ConversationTurn> m_turns;
    bool m_isStreaming = false;
    std::optional<QString> m_status;
    std::optional<QString> m_errorMessage;
    ErrorFix m_errorFix = ErrorFix::Retry;
    QString m_draft;
    bool m_deepResearch = false;
    std::optional<QString> m_lastQuestion;
    ConversationServices m_services;
    // Runs the turns and stops a running one when this object goes.
    TurnRunner m_runner;
};
