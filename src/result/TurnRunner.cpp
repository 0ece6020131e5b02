#include "result/TurnRunner.h"

TurnRunner::StreamTurn TurnRunner::streamTurnOf(const ClaudeClient& client)
{
    return [&client](const QString& system, const QJsonArray& messages, const AIAction& action,
                     const std::optional<QString>& token, ClaudeClient::EventHandler onEvent,
                     ClaudeClient::Completion onDone) {
        return client.streamTurn(system, messages, action, token, std::move(onEvent), std::move(onDone));
    };
}

void TurnRunner::start(const StreamTurn& stream, const QString& system, const QJsonArray& messages,
                       const AIAction& action, const std::optional<QString>& token, ClaudeClient::EventHandler onEvent,
                       ClaudeClient::Completion onDone)
{
    abandon();
    const quint64 number = ++m_lastStarted;
    *m_current = number;
    // Weak: a callback that outlives the runner finds nothing and does nothing.
    std::weak_ptr<quint64> current = m_current;
    auto events = [current, number, onEvent = std::move(onEvent)](const ClaudeEvent& event) {
        const auto running = current.lock();
        if (running && *running == number)
            onEvent(event);
    };
    auto done = [current, number, onDone = std::move(onDone)](const TurnOutcome& outcome) {
        const auto running = current.lock();
        if (!running || *running != number)
            return;
        *running = 0;
        onDone(outcome);
    };
    m_task = stream(system, messages, action, token, std::move(events), std::move(done));
}

void TurnRunner::abandon()
{
    *m_current = 0;
    m_task.cancel();
}
