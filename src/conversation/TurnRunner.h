#pragma once

#include "actions/AIAction.h"
#include "common/TaskHandle.h"
#include "model/ClaudeClient.h"

#include <QUuid>
#include <memory>

struct ConversationServices;

// Runs one model turn at a time for a conversation and ties every callback to the turn that
// started it: once a turn is abandoned, superseded by a newer one or its runner destroyed,
// none of its events or its completion reaches the owner, whatever the network still delivers.
// Each turn streams into one turn item of the owner's transcript, named by its id.
class TurnRunner {
public:
    // How a turn is started: ClaudeClient::streamTurn or a stand-in with the same contract.
    using StreamTurn = std::function<TaskHandle(const QString& system, const QJsonArray& messages,
                                                const AIAction& action, const std::optional<QString>& token,
                                                ClaudeClient::EventHandler onEvent, ClaudeClient::Completion onDone)>;

    // What the owner does with a turn's events and with its end, each told the turn item's id.
    struct Handlers {
        std::function<void(const QUuid& turnID, const ClaudeEvent& event)> event;
        std::function<void(const QUuid& turnID, const TurnResult& result)> succeeded;
        std::function<void(const QUuid& turnID, const TurnError& error)> failed;
    };

    explicit TurnRunner(Handlers handlers) : m_handlers(std::move(handlers)) {}
    TurnRunner(const TurnRunner&) = delete;
    TurnRunner& operator=(const TurnRunner&) = delete;

    // The client's streamTurn as a StreamTurn; the client must outlive every turn started with it.
    static StreamTurn streamTurnOf(const ClaudeClient& client);

    // Starts a turn into the turn item turnID with the account's current token, abandoning any
    // turn still running. Unless it is abandoned, exactly one of succeeded and failed runs for
    // it, after which the runner is idle again (also when the client fails it before sending).
    void start(const ConversationServices& services, const QUuid& turnID, const QString& system,
               const QJsonArray& messages, const AIAction& action);
    // Ends the running turn as cancelled: failed gets a cancellation for its turn item, and
    // nothing else of that turn runs any more. Nothing happens when idle.
    void cancel();
    // Stops the running turn silently: none of its callbacks runs any more.
    void abandon();
    bool isRunning() const { return *m_current != 0; }

private:
    void finish(const QUuid& turnID, const TurnOutcome& outcome) const;

    Handlers m_handlers;
    // The number of the running turn, 0 when idle; callbacks compare it with their own.
    std::shared_ptr<quint64> m_current = std::make_shared<quint64>(0);
    quint64 m_lastStarted = 0;
    QUuid m_turnID;
    TaskHandle m_task;
};
