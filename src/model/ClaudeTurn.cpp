#include "model/ClaudeTurn.h"

#include "model/ClaudeClient.h"
#include "platform/Clock.h"

#include <QJsonDocument>

ClaudeTurn::ClaudeTurn(Setup setup, StreamAccumulator::EventHandler onEvent, Completion onDone,
                       std::shared_ptr<CancelToken> token)
    : m_setup(std::move(setup)), m_onDone(std::move(onDone)), m_token(std::move(token))
{
    // Events stop the moment the turn is cancelled, also between two events of one stream line.
    m_onEvent = [token = m_token, onEvent = std::move(onEvent)](const ClaudeEvent& event) {
        if (!token->isCancelled() && onEvent)
            onEvent(event);
    };
    QPointer<ClaudeTurn> self(this);
    m_token->onCancel([self] {
        if (self)
            self->cancel();
    });
}

void ClaudeTurn::start()
{
    // A signed-out turn fails without sending anything, but still after streamTurn returned.
    if (!m_setup.signedIn) {
        QMetaObject::invokeMethod(
            this, [this] { finish(TurnError(ClaudeError::signedOut())); }, Qt::QueuedConnection);
        return;
    }
    sendRequest();
}

void ClaudeTurn::sendRequest()
{
    m_retried = false;
    QJsonArray messages = m_setup.messages;
    if (!m_content.isEmpty()) {
        QJsonArray content;
        for (const QJsonObject& block : m_content)
            content.append(block);
        messages.append(
            QJsonObject{{QStringLiteral("role"), QStringLiteral("assistant")}, {QStringLiteral("content"), content}});
    }
    const QJsonObject body = ClaudeClient::requestBody(m_setup.system, messages, m_setup.profile);
    m_body = QJsonDocument(body).toJson(QJsonDocument::Compact);
    sendBody();
}

void ClaudeTurn::sendBody()
{
    auto* request = new StreamRequest(*m_setup.network, *m_setup.clock, m_onEvent,
                                      [this](const TurnOutcome& outcome) { requestEnded(outcome); });
    request->setParent(this);
    m_request = request;
    request->start(m_setup.request, m_body);
}

void ClaudeTurn::requestEnded(const TurnOutcome& outcome)
{
    if (m_request)
        m_request->deleteLater();
    if (const auto* result = std::get_if<TurnResult>(&outcome))
        return requestSucceeded(*result);
    const TurnError& error = std::get<TurnError>(outcome);
    if (!shouldRetry(error))
        return finish(error);
    m_retried = true;
    m_retryWait = m_setup.clock->after(kRetryDelayMs, [this] { sendBody(); });
}

void ClaudeTurn::requestSucceeded(const TurnResult& result)
{
    m_content.append(result.content);
    if (result.stopReason == QStringLiteral("pause_turn") && m_continuations < m_setup.maxContinuations) {
        ++m_continuations;
        return sendRequest();
    }
    finish(TurnResult{m_content, result.stopReason});
}

// Busy or failing service, or a rate limit, while the turn has produced nothing yet: one more try.
bool ClaudeTurn::shouldRetry(const TurnError& error) const
{
    const ClaudeError* claude = error.claudeError();
    if (m_retried || !m_content.isEmpty() || !claude || claude->kind() != ClaudeError::Kind::Http)
        return false;
    return claude->status() >= 500 || (claude->status() == 429 && claude->type() == QStringLiteral("rate_limit_error"));
}

void ClaudeTurn::cancel()
{
    m_retryWait.cancel();
    if (m_request)
        m_request->abort();
    deleteLater();
}

void ClaudeTurn::finish(const TurnOutcome& outcome)
{
    if (m_token->isCancelled() || m_token->isFinished())
        return;
    m_token->finish();
    deleteLater();
    if (m_onDone)
        m_onDone(outcome);
}
