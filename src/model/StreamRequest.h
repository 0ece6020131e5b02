#pragma once

#include "common/TaskHandle.h"
#include "model/StreamAccumulator.h"
#include "model/StreamLineReader.h"
#include "model/TurnResult.h"

#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <optional>

class Clock;
class QNetworkAccessManager;
class QNetworkReply;

// One streaming model request: posts a finished body and decodes the server-sent events of
// a 200 response as its bytes arrive, handing each decoded event on at once. Any other
// status fails with the error read from the response body. Reports its outcome once, unless
// it is aborted first. Main thread only; delete it with deleteLater().
class StreamRequest : public QObject {
    Q_OBJECT

public:
    // The longest the connection may stay silent before the request fails.
    static constexpr int kIdleTimeoutMs = 600000;

    using Completion = std::function<void(const TurnOutcome& outcome)>;

    StreamRequest(QNetworkAccessManager& network, Clock& clock, StreamAccumulator::EventHandler onEvent,
                  Completion onDone);
    ~StreamRequest() override;

    void start(const QNetworkRequest& request, const QByteArray& body);
    // Stops the request without reporting anything.
    void abort();

private:
    void readAvailable();
    void replyFinished();
    bool handleLine(QByteArrayView line);
    void handleEvent(QByteArrayView payload);
    void finishStream();
    void watchIdleTime();
    void complete(const TurnOutcome& outcome);
    void dropReply();

    QNetworkAccessManager& m_network;
    Clock& m_clock;
    StreamAccumulator::EventHandler m_onEvent;
    Completion m_onDone;
    QPointer<QNetworkReply> m_reply;
    std::optional<int> m_status;
    QByteArray m_errorBody;
    StreamLineReader m_lines;
    std::optional<StreamAccumulator> m_accumulator;
    std::optional<TurnError> m_failure;
    qint64 m_lastActivityMs = 0;
    bool m_sawMessageStop = false;
    bool m_done = false;
    TaskHandle m_idleCheck;
};
