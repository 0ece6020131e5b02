#include "app/cli/CliTurn.h"

#include "model/ClaudeClient.h"
#include "model/ConversationHistory.h"

#include <QJsonDocument>

CliTurn::CliTurn(AIAction action, bool json, QFile& out, QFile& err)
    : m_action(std::move(action)), m_json(json), m_out(out), m_err(err)
{}

void CliTurn::start(const QUrl& server, const std::optional<QString>& token, const QString& selection,
                    const std::optional<QString>& question, std::function<void(int)> done)
{
    m_done = std::move(done);
    const QJsonArray messages{
        QJsonObject{{"role", "user"}, {"content", m_action.firstUserMessage(selection, question)}}};
    m_turn = ClaudeClient(server).streamTurn(
        m_action.systemPrompt(), messages, m_action, token, [this](const ClaudeEvent& event) { onEvent(event); },
        [this](const TurnOutcome& outcome) { onDone(outcome); });
}

void CliTurn::cancel()
{
    if (!m_turn.isActive())
        return;
    m_turn.cancel();
    write(m_err, QStringLiteral("Interrupted.\n"));
    m_done(Interrupted);
}

int CliTurn::exitCode(const TurnError& error)
{
    if (error.isCancellation())
        return Interrupted;
    if (error.kind() == TurnError::Kind::Network)
        return NetworkError;
    const ClaudeError* claude = error.claudeError();
    const bool signedOut = claude && (claude->kind() == ClaudeError::Kind::SignedOut ||
                                      (claude->kind() == ClaudeError::Kind::Http && claude->status() == 401));
    return signedOut ? SignedOut : ServiceError;
}

void CliTurn::onEvent(const ClaudeEvent& event)
{
    if (m_json) {
        write(m_out, QString::fromUtf8(QJsonDocument(event.toJson()).toJson(QJsonDocument::Compact)) + '\n');
        return;
    }
    if (event.kind == ClaudeEvent::Kind::TextDelta && !m_action.isRewriting())
        write(m_out, event.text);
    else if (event.kind == ClaudeEvent::Kind::Status && event.status)
        write(m_err, *event.status + '\n');
    else if (event.kind == ClaudeEvent::Kind::Source && !m_sources.contains(event.source))
        m_sources << event.source;
}

void CliTurn::onDone(const TurnOutcome& outcome)
{
    if (const auto* error = std::get_if<TurnError>(&outcome)) {
        write(m_err, error->message() + '\n');
        m_done(exitCode(*error));
        return;
    }
    printResult(std::get<TurnResult>(outcome));
    m_done(Success);
}

void CliTurn::printResult(const TurnResult& result)
{
    if (m_json) {
        QJsonArray content;
        for (const QJsonObject& block : result.content)
            content.append(block);
        QJsonObject line{{"type", "result"}, {"content", content}};
        if (result.stopReason)
            line.insert("stop_reason", *result.stopReason);
        write(m_out, QString::fromUtf8(QJsonDocument(line).toJson(QJsonDocument::Compact)) + '\n');
        return;
    }
    if (m_action.isRewriting())
        write(m_out, ConversationHistory::text(result.content));
    write(m_out, QStringLiteral("\n"));
    for (int i = 0; i < m_sources.size(); ++i)
        write(m_out, QStringLiteral("[%1] %2 %3\n").arg(i + 1).arg(m_sources[i].title, m_sources[i].url.toString()));
}

void CliTurn::write(QFile& file, const QString& text)
{
    file.write(text.toUtf8());
    file.flush();
}
