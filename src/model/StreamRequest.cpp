#include "model/StreamRequest.h"

#include "model/JsonText.h"
#include "model/ModelLog.h"
#include "model/TextDeltaEvent.h"
#include "platform/Clock.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {

// The JSON text of a "data:" line, without the prefix and surrounding spaces and tabs.
QByteArrayView payloadOf(QByteArrayView line)
{
    qsizetype begin = 5;
    qsizetype end = line.size();
    while (begin < end && (line[begin] == ' ' || line[begin] == '\t'))
        ++begin;
    while (end > begin && (line[end - 1] == ' ' || line[end - 1] == '\t'))
        --end;
    return line.sliced(begin, end - begin);
}

// One line for the log on how a request ended: kinds, statuses and counts, never text (an
// error's message may quote the request, a refusal's explanation is the model's answer).
void logOutcome(const TurnOutcome& outcome)
{
    if (const auto* result = std::get_if<TurnResult>(&outcome)) {
        qCDebug(modelLog) << "Model request finished:" << result->content.size() << "content blocks, stop reason"
                          << result->stopReason.value_or(QString());
        return;
    }
    const TurnError& error = std::get<TurnError>(outcome);
    if (error.isCancellation())
        return;
    if (const ClaudeError* claude = error.claudeError())
        qCWarning(modelLog) << "Model request failed: kind" << int(claude->kind()) << "HTTP status" << claude->status()
                            << "type" << claude->type().value_or(QString());
    else
        qCWarning(modelLog) << "Model request failed: kind" << int(error.kind()) << "network error"
                            << int(error.networkCode());
}

} // namespace

StreamRequest::StreamRequest(QNetworkAccessManager& network, Clock& clock, StreamAccumulator::EventHandler onEvent,
                             Completion onDone)
    : m_network(network), m_clock(clock), m_onEvent(std::move(onEvent)), m_onDone(std::move(onDone))
{}

StreamRequest::~StreamRequest()
{
    dropReply();
}

void StreamRequest::start(const QNetworkRequest& request, const QByteArray& body)
{
    qCDebug(modelLog) << "Model request:" << body.size() << "bytes to" << request.url().path();
    m_reply = m_network.post(request, body);
    connect(m_reply, &QNetworkReply::readyRead, this, &StreamRequest::readAvailable);
    connect(m_reply, &QNetworkReply::finished, this, &StreamRequest::replyFinished);
    m_lastActivityMs = m_clock.monotonicMs();
    watchIdleTime();
}

void StreamRequest::abort()
{
    m_done = true;
    m_idleCheck.cancel();
    dropReply();
}

void StreamRequest::dropReply()
{
    if (!m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

// The idle limit is checked through the clock: one wake-up per period of silence at most,
// instead of a timer restarted for every piece of the stream.
void StreamRequest::watchIdleTime()
{
    const qint64 idle = m_clock.monotonicMs() - m_lastActivityMs;
    if (idle >= kIdleTimeoutMs) {
        complete(TurnError::network(QNetworkReply::TimeoutError, tr("Operation timed out")));
        return;
    }
    m_idleCheck = m_clock.after(int(kIdleTimeoutMs - idle), [this] { watchIdleTime(); });
}

void StreamRequest::readAvailable()
{
    if (m_done || !m_reply)
        return;
    m_lastActivityMs = m_clock.monotonicMs();
    if (!m_status) {
        const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!status.isValid())
            return;
        m_status = status.toInt();
        if (*m_status == 200)
            m_accumulator.emplace(m_onEvent);
    }
    const QByteArray bytes = m_reply->readAll();
    if (*m_status != 200) {
        m_errorBody += bytes;
        return;
    }
    m_lines.feed(bytes, [this](QByteArrayView line) { return handleLine(line); });
    if (m_failure)
        complete(*m_failure);
}

bool StreamRequest::handleLine(QByteArrayView line)
{
    if (m_done || m_failure)
        return false;
    if (!line.startsWith("data:"))
        return true;
    const QByteArrayView payload = payloadOf(line);
    // Text deltas make up nearly all of an answer: they skip the JSON document.
    if (const std::optional<TextDeltaEvent> delta = TextDeltaEvent::scan(payload))
        m_accumulator->appendText(delta->index, delta->text);
    else
        handleEvent(payload);
    // An event handler may have aborted this request; nothing more is read then.
    return !m_failure && !m_done;
}

void StreamRequest::handleEvent(QByteArrayView payload)
{
    QString parseError;
    const std::optional<QJsonValue> value = JsonText::parse(payload.toByteArray(), &parseError);
    if (!value) {
        m_failure = TurnError::parse(parseError);
        return;
    }
    if (!value->isObject())
        return;
    if (value->toObject().value(QStringLiteral("type")).toString() == QStringLiteral("message_stop"))
        m_sawMessageStop = true;
    if (std::optional<ClaudeError> error = m_accumulator->handle(value->toObject()))
        m_failure = *error;
}

void StreamRequest::replyFinished()
{
    if (m_done || !m_reply)
        return;
    readAvailable();
    if (m_done)
        return;
    const QNetworkReply::NetworkError error = m_reply->error();
    if (m_status && *m_status != 200) {
        const ErrorDetails details = ErrorDetails::from(m_errorBody);
        complete(ClaudeError::http(*m_status, details.type, details.message));
    } else if (error != QNetworkReply::NoError) {
        complete(TurnError::network(error, m_reply->errorString()));
    } else if (!m_status) {
        complete(ClaudeError::invalidResponse());
    } else {
        finishStream();
    }
}

void StreamRequest::finishStream()
{
    m_lines.finish([this](QByteArrayView line) { return handleLine(line); });
    if (m_done)
        return;
    if (m_failure)
        return complete(*m_failure);
    // Qt ends a chunked body that the connection cut short like a complete one. A stream that
    // stopped before both the stop reason and the end of the message was cut off, and is
    // reported as the broken connection it is rather than as a finished answer.
    if (!m_sawMessageStop && !m_accumulator->stopReason())
        return complete(TurnError::network(QNetworkReply::RemoteHostClosedError, tr("Connection closed")));
    if (m_accumulator->stopReason() == QStringLiteral("refusal"))
        return complete(ClaudeError::refused(m_accumulator->refusalExplanation()));
    complete(TurnResult{m_accumulator->orderedContent(), m_accumulator->stopReason()});
}

void StreamRequest::complete(const TurnOutcome& outcome)
{
    if (m_done)
        return;
    m_done = true;
    m_idleCheck.cancel();
    dropReply();
    logOutcome(outcome);
    if (m_onDone)
        m_onDone(outcome);
}
