#include "result/ResultViewModel.h"

#include "conversation/StreamedTurn.h"
#include "conversation/TokenSource.h"
#include "history/HistoryStore.h"
#include "model/ConversationHistory.h"
#include "platform/Platform.h"
#include "ui/MainWindowOpener.h"

namespace {

QJsonObject message(const QString& role, const QJsonValue& content)
{
    return {{QStringLiteral("role"), role}, {QStringLiteral("content"), content}};
}

QJsonArray toArray(const QList<QJsonObject>& blocks)
{
    QJsonArray array;
    for (const QJsonObject& block : blocks)
        array.append(block);
    return array;
}

} // namespace

ResultViewModel::ResultViewModel(const Selection& selection, const AIAction& action,
                                 const ConversationServices& services, QObject* parent)
    : QObject(parent), m_selection(selection), m_action(action), m_services(services.completed()),
      m_runner({[this](const QUuid& turnID, const ClaudeEvent& event) { apply(event, turnID); },
                [this](const QUuid& turnID, const TurnResult& result) { succeed(result, turnID); },
                [this](const QUuid& turnID, const TurnError& error) { fail(error, turnID); }})
{
    m_createdAt = m_services.clock->now();
}

// The runner member cancels a running turn; none of its callbacks reaches this object.
ResultViewModel::~ResultViewModel() = default;

QString ResultViewModel::latestAnswer() const
{
    return m_turns.isEmpty() ? QString() : m_turns.last().answer;
}

bool ResultViewModel::canFollowUp() const
{
    return m_action.allowsFollowUps() && !m_turns.isEmpty();
}

bool ResultViewModel::needsFirstQuestion() const
{
    return m_action.actionCase() == AIAction::Case::Ask && m_turns.isEmpty() && !m_isStreaming;
}

void ResultViewModel::run(const std::optional<QString>& question)
{
    // A turn still running is stopped first, so that its user message and empty turn do not
    // stay behind in the conversation the new turn continues.
    stop();
    setErrorMessage(std::nullopt);
    m_lastQuestion = question;
    const QString content =
        m_messages.isEmpty() ? m_action.firstUserMessage(m_selection.text, question) : question.value_or(QString());
    m_messages.append(message(QStringLiteral("user"), content));
    ConversationTurn turn;
    turn.question = question;
    m_turns.append(turn);
    Q_EMIT turnsChanged();
    setStreaming(true);
    setStatus(m_action.openingStatus());
    m_runner.start(m_services, turn.id, m_action.systemPrompt(), m_messages, m_action);
}

void ResultViewModel::apply(const ClaudeEvent& event, const QUuid& turnID)
{
    const auto setStatus = [this](const std::optional<QString>& status) { this->setStatus(status); };
    if (StreamedTurn::apply(m_turns, turnID, event, setStatus))
        Q_EMIT turnsChanged();
}

void ResultViewModel::succeed(const TurnResult& result, const QUuid& turnID)
{
    m_messages.append(message(QStringLiteral("assistant"), toArray(ConversationHistory::sanitized(result.content))));
    if (StreamedTurn::settle(m_turns, turnID, ConversationHistory::text(result.content)))
        Q_EMIT turnsChanged();
    recordHistory();
    if (result.stopReason == QStringLiteral("max_tokens"))
        setErrorMessage(StreamedTurn::lengthLimitNotice());
    m_services.announce(tr("%1 answer ready").arg(m_action.title()));
    endTurn();
}

void ResultViewModel::fail(const TurnError& error, const QUuid& turnID)
{
    // Only the running turn ever fails here, so the last message is its own user message.
    if (!m_messages.isEmpty())
        m_messages.removeLast();
    // The partial text of a refused answer goes; from another failure it stays.
    const ClaudeError* claude = error.claudeError();
    const bool refused = claude && claude->kind() == ClaudeError::Kind::Refused;
    if (StreamedTurn::dropUnanswered(m_turns, turnID, refused))
        Q_EMIT turnsChanged();
    if (!error.isCancellation()) {
        setErrorFix(StreamedTurn::fix(error, m_services.account));
        setErrorMessage(error.message());
        m_services.announce(error.message());
    }
    endTurn();
}

void ResultViewModel::endTurn()
{
    setStreaming(false);
    setStatus(std::nullopt);
}

void ResultViewModel::stop()
{
    m_runner.cancel();
}

void ResultViewModel::submitDraft()
{
    const QString question = m_draft.trimmed();
    if (question.isEmpty() || m_isStreaming)
        return;
    setDraft(QString());
    run(question);
}

void ResultViewModel::retry()
{
    if (m_isStreaming)
        return;
    if (!m_messages.isEmpty() && !m_action.isRewriting()) {
        if (m_lastQuestion)
            run(m_lastQuestion);
        return;
    }
    restart();
}

void ResultViewModel::restart()
{
    m_messages = QJsonArray();
    setTurns({});
    if (m_action.actionCase() != AIAction::Case::Ask)
        run(std::nullopt);
    else if (m_lastQuestion)
        run(m_lastQuestion);
}

void ResultViewModel::switchRewrite(const AIAction& action)
{
    // The superseded turn is dropped whole: none of its callbacks runs again, and the new turn
    // takes over the streaming state without it ever being cleared in between.
    m_runner.abandon();
    setAction(action);
    m_messages = QJsonArray();
    setTurns({});
    run(std::nullopt);
}

void ResultViewModel::copyLatest()
{
    Clipboard& clipboard = Platform::clipboard();
    clipboard.clear();
    clipboard.setString(latestAnswer().trimmed());
}

void ResultViewModel::replaceSelection()
{
    if (!m_selection.isEditable || m_isStreaming)
        return;
    // An answer of only blank space would erase the selection rather than replace it.
    const QString text = latestAnswer().trimmed();
    if (text.isEmpty())
        return;
    Q_EMIT closeRequested();
    Platform::workspace().activateApplication(m_selection.pid);
    m_services.replaceText(m_selection, text);
}

void ResultViewModel::continueInWindow()
{
    recordHistory();
    stop();
    Q_EMIT closeRequested();
    if (m_services.mainWindow)
        m_services.mainWindow->show(m_historyID, false);
}

void ResultViewModel::recordHistory()
{
    HistoryStore::Conversation conversation;
    for (const ConversationTurn& turn : std::as_const(m_turns)) {
        if (!turn.answer.isEmpty())
            conversation.turns.append(
                {QUuid::createUuid(), turn.question, turn.answer, StreamedTurn::historySources(turn.sources()), false});
    }
    if (m_action.isRewriting() && conversation.turns.size() > 1)
        conversation.turns = {conversation.turns.last()};
    conversation.id = m_historyID;
    conversation.kind = HistoryStore::kindFromString(m_action.historyKindName()).value_or(HistoryStore::Kind::Ask);
    conversation.title = HistoryStore::title(historyTitle(), HistoryStore::titleLimit);
    conversation.selection = m_selection.text;
    conversation.appName = m_selection.appName;
    conversation.style = m_action.historyStyle();
    conversation.createdAt = m_createdAt;
    conversation.updatedAt = m_services.clock->now();
    if (m_services.history)
        m_services.history->upsert(conversation);
}

QString ResultViewModel::historyTitle() const
{
    if (m_action.actionCase() == AIAction::Case::Ask && !m_turns.isEmpty() && m_turns.first().question)
        return *m_turns.first().question;
    return m_selection.text;
}
