#include "chat/ChatViewModel.h"

#include "conversation/StreamedTurn.h"
#include "conversation/TokenSource.h"
#include "history/MainNavigation.h"
#include "model/ConversationHistory.h"
#include "platform/Platform.h"

namespace {

QJsonObject message(const QString& role, const QString& content)
{
    return {{QStringLiteral("role"), role}, {QStringLiteral("content"), content}};
}

} // namespace

ChatViewModel::ChatViewModel(const QUuid& newChatID, const ConversationServices& services, QObject* parent)
    : QObject(parent), m_id(newChatID), m_title(tr("New chat")), m_services(services.completed()),
      m_runner(turnHandlers())
{
    m_createdAt = m_services.clock->now();
}

ChatViewModel::ChatViewModel(const HistoryStore::Conversation& conversation, const ConversationServices& services,
                             QObject* parent)
    : QObject(parent), m_id(conversation.id), m_kind(conversation.kind), m_selection(conversation.selection),
      m_appName(conversation.appName), m_title(conversation.title), m_createdAt(conversation.createdAt),
      m_baseAction(baseAction(conversation.kind)), m_services(services.completed()), m_runner(turnHandlers())
{
    for (const HistoryStore::Turn& stored : conversation.turns) {
        ConversationTurn turn{stored.id, stored.question, stored.answer, stored.deep, {}, {}};
        for (const HistoryStore::Source& source : stored.sources)
            turn.citedSources.append({source.title, source.url});
        m_turns.append(turn);
    }
}

// The runner member cancels a running turn; none of its callbacks reaches this object.
ChatViewModel::~ChatViewModel() = default;

TurnRunner::Handlers ChatViewModel::turnHandlers()
{
    return {[this](const QUuid& turnID, const ClaudeEvent& event) { apply(event, turnID); },
            [this](const QUuid& turnID, const TurnResult& result) { succeed(result, turnID); },
            [this](const QUuid& turnID, const TurnError& error) { fail(error, turnID); }};
}

std::optional<AIAction> ChatViewModel::baseAction(HistoryStore::Kind kind)
{
    switch (kind) {
    case HistoryStore::Kind::Ask:
        return AIAction::ask();
    case HistoryStore::Kind::Explain:
        return AIAction::explain();
    case HistoryStore::Kind::Translate:
        return AIAction::translate();
    case HistoryStore::Kind::Search:
        return AIAction::webSearch();
    case HistoryStore::Kind::Research:
        return AIAction::research();
    case HistoryStore::Kind::Chat:
    case HistoryStore::Kind::Rewrite:
        break;
    }
    return std::nullopt;
}

AIAction ChatViewModel::chosenAction() const
{
    if (!m_baseAction)
        return AIAction::chat(m_deepResearch);
    const AIAction::Case base = m_baseAction->actionCase();
    if (base == AIAction::Case::Research || base == AIAction::Case::WebSearch)
        return *m_baseAction;
    return AIAction::ask();
}

QString ChatViewModel::systemPrompt(const AIAction& chosen) const
{
    return m_selection && m_baseAction ? AIAction::ask().systemPrompt() : chosen.systemPrompt();
}

QJsonArray ChatViewModel::apiMessages(const QString& adding, const AIAction& chosen) const
{
    const bool aboutSelection = m_selection && m_baseAction;
    QJsonArray messages;
    for (qsizetype i = 0; i < m_turns.size(); ++i) {
        const ConversationTurn& turn = m_turns[i];
        if (turn.answer.isEmpty())
            continue;
        const QString question = i == 0 && aboutSelection ? m_baseAction->firstUserMessage(*m_selection, turn.question)
                                                          : turn.question.value_or(QString());
        messages.append(message(QStringLiteral("user"), question));
        messages.append(message(QStringLiteral("assistant"), turn.answer));
    }
    const bool opening = aboutSelection && messages.isEmpty();
    messages.append(message(QStringLiteral("user"), opening ? chosen.firstUserMessage(*m_selection, adding) : adding));
    return messages;
}

void ChatViewModel::send()
{
    const QString question = m_draft.trimmed();
    if (question.isEmpty() || m_isStreaming)
        return;
    setDraft(QString());
    run(question);
}

void ChatViewModel::retry()
{
    if (!m_isStreaming && m_lastQuestion)
        run(*m_lastQuestion);
}

void ChatViewModel::run(const QString& question)
{
    cancel(); // a turn still running would otherwise stay in the transcript without an end
    const AIAction action = chosenAction();
    setErrorMessage(std::nullopt);
    setLastQuestion(question);
    const QJsonArray messages = apiMessages(question, action);
    ConversationTurn turn;
    turn.question = question;
    turn.deep = action.actionCase() == AIAction::Case::Chat && action.isDeep();
    m_turns.append(turn);
    Q_EMIT turnsChanged();
    if (m_kind == HistoryStore::Kind::Chat && m_turns.size() == 1)
        setTitle(HistoryStore::title(question, HistoryStore::titleLimit));
    setStreaming(true);
    setStatus(action.isWeb() ? tr("Searching the web…") : tr("Thinking…"));
    m_runner.start(m_services, turn.id, systemPrompt(action), messages, action);
}

void ChatViewModel::apply(const ClaudeEvent& event, const QUuid& turnID)
{
    const auto setStatus = [this](const std::optional<QString>& status) { this->setStatus(status); };
    if (StreamedTurn::apply(m_turns, turnID, event, setStatus))
        Q_EMIT turnsChanged();
}

void ChatViewModel::succeed(const TurnResult& result, const QUuid& turnID)
{
    if (StreamedTurn::settle(m_turns, turnID, ConversationHistory::text(result.content)))
        Q_EMIT turnsChanged();
    if (result.stopReason == QStringLiteral("max_tokens"))
        setErrorMessage(StreamedTurn::lengthLimitNotice());
    save();
    m_services.announce(tr("Answer ready"));
    endTurn();
}

void ChatViewModel::fail(const TurnError& error, const QUuid& turnID)
{
    if (StreamedTurn::dropUnanswered(m_turns, turnID))
        Q_EMIT turnsChanged();
    if (error.isCancellation()) {
        save();
    } else {
        setErrorFix(StreamedTurn::fix(error, m_services.account));
        setErrorMessage(error.message());
        m_services.announce(error.message());
    }
    endTurn();
}

void ChatViewModel::endTurn()
{
    setStreaming(false);
    setStatus(std::nullopt);
}

void ChatViewModel::cancel()
{
    m_runner.cancel();
}

void ChatViewModel::copy(const ConversationTurn& turn)
{
    Clipboard& clipboard = Platform::clipboard();
    clipboard.clear();
    clipboard.setString(turn.answer.trimmed());
    m_services.announce(tr("Copied"));
}

void ChatViewModel::save()
{
    HistoryStore::Conversation conversation{
        m_id, m_kind, m_title, m_selection, m_appName, std::nullopt, m_createdAt, m_services.clock->now(), {}};
    for (const ConversationTurn& turn : std::as_const(m_turns)) {
        if (!turn.answer.isEmpty())
            conversation.turns.append({QUuid::createUuid(), turn.question, turn.answer,
                                       StreamedTurn::historySources(turn.sources()), turn.deep});
    }
    if (!m_services.history)
        return;
    m_services.history->upsert(conversation);
    selectIfNewChat();
}

// A new chat that has just reached the history becomes the selected entry of the list.
void ChatViewModel::selectIfNewChat()
{
    MainNavigation* navigation = m_services.navigation;
    if (navigation && navigation->selectedID().isNull() && navigation->newChatID() == m_id &&
        m_services.history->conversation(m_id))
        navigation->setSelectedID(m_id);
}
