#pragma once

#include "actions/AIAction.h"
#include "common/TaskHandle.h"
#include "model/ClaudeClient.h"

#include <memory>

// Runs one model turn at a time for a conversation and ties every callback to the turn that
// started it: once a turn is abandoned, superseded by a newer one or its runner destroyed,
// none of its events or its completion reaches the owner, whatever the network still delivers.
class TurnRunner {
public:
    // How a turn is started: ClaudeClient::streamTurn or a stand-in with the same contract.
    using StreamTurn = std::function<TaskHandle(const QString& system, const QJsonArray& messages,
                                                const AIAction& action, const std::optional<QString>& token,
                                                ClaudeClient::EventHandler onEvent, ClaudeClient::Completion onDone)>;

    TurnRunner() = default;
    TurnRunner(const TurnRunner&) = delete;
    TurnRunner& operator=(const TurnRunner&) = delete;

    // The client's streamTurn as a StreamTurn; the client must outlive every turn started with it.
    static StreamTurn streamTurnOf(const ClaudeClient& client);

    // Starts a turn, abandoning any turn still running. onDone runs once, after which the
    // runner is idle again (also when the client fails the turn before sending anything).
    void start(const StreamTurn& stream, const QString& system, const QJsonArray& messages, const AIAction& action,
               const std::optional<QString>& token, ClaudeClient::EventHandler onEvent,
               ClaudeClient::Completion onDone);
    // Stops the running turn silently: none of its callbacks runs any more.
    void abandon();
    bool isRunning() const { return *m_current != 0; }

private:
    // The number of the running turn, 0 when idle; callbacks compare it with their own.
    std::shared_ptr<quint64> m_current = std::make_shared<quint64>(0);
    quint64 m_lastStarted = 0;
    TaskHandle m_task;
};
