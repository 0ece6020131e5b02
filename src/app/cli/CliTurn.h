#pragma once
#include "actions/AIAction.h"
#include "common/TaskHandle.h"
#include "model/ClaudeEvent.h"
#include "model/TurnResult.h"

#include <QFile>
#include <QUrl>
#include <functional>
#include <optional>

// Runs one turn for halvora-cli and prints it: answer text to standard output as it streams
// (for rewrites only the final text), status lines to standard error, then the numbered
// sources; or, with json, every event and the result as JSON lines.
class CliTurn {
public:
    enum ExitCode { Success = 0, SignedOut = 2, ServiceError = 3, NetworkError = 4, Interrupted = 130 };

    CliTurn(AIAction action, bool json, QFile& out, QFile& err);
    // Starts the turn; done runs once with the exit code (also after cancel()).
    void start(const QUrl& server, const std::optional<QString>& token, const QString& selection,
               const std::optional<QString>& question, std::function<void(int)> done);
    // Cancels the turn silently and finishes with Interrupted.
    void cancel();
    static int exitCode(const TurnError& error);

private:
    void onEvent(const ClaudeEvent& event);
    void onDone(const TurnOutcome& outcome);
    void printResult(const TurnResult& result);
    void write(QFile& file, const QString& text);

    AIAction m_action;
    bool m_json;
    QFile& m_out;
    QFile& m_err;
    QList<WebSource> m_sources;
    TaskHandle m_turn;
    std::function<void(int)> m_done;
};
