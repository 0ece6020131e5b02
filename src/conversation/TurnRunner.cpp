#include "conversation/TurnRunner.h"

#include "conversation/ConversationServices.h"
#include "conversation/TokenSource.h"

TurnRunner::StreamTurn TurnRunner::streamTurnOf(const ClaudeClient& client)
{
    return [&client](const QString& system, const QJsonArray& messages, const AIAction& action,
                     const std::optional<QString>& token, ClaudeClient::EventHandler onEvent,
                     ClaudeClient::Completion onDone) {
        return client.streamTurn(system, messages, action, token, std::move(onEvent), std::move(onDone));
    };
}

void TurnRunner::start(const ConversationServices& services, const QUuid& turnID, const QString& system,
                       const QJsonArray& messages, const AIAction& action)
{
    abandon();
    const quint64 number = ++m_lastStarted;
    *m_current = number;
    m_turnID = turnID;
    // Weak: a callback that outlives the runner finds nothing and does nothing. The handlers
    // are reached through the runner, which is alive whenever its turn number is.
    std::weak_ptr<quint64> current = m_current;
    auto events = [this, current, number, turnID](const ClaudeEvent& event) {
        const auto running = current.lock();
        if (running && *running == number)
            m_handlers.event(turnID, event);
    };
    auto done = [this, current, number, turnID](const TurnOutcome& outcome) {
        const auto running = current.lock();
        if (!running || *running != number)
            return;
        *running = 0;
        finish(turnID, outcome);
    };
    const auto token = services.account ? services.account->token() : std::nullopt;
    m_task = services.streamTurn(system, messages, action, token, std::move(events), std::move(done));
}

void TurnRunner::cancel()
{
    if (!isRunning())
        return;
    abandon();
    m_handlers.failed(m_turnID, TurnError::cancelled());
}

void TurnRunner::abandon()
{
    *m_current = 0;
    m_task.cancel();
}

void TurnRunner::finish(const QUuid& turnID, const TurnOutcome& outcome) const
{
    if (const auto* result = std::get_if<TurnResult>(&outcome))
        m_handlers.succeeded(turnID, *result);
    else
        m_handlers.failed(turnID, std::get<TurnError>(outcome));
}
