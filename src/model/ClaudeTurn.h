#pragma once

#include "common/TaskHandle.h"
#include "model/RequestProfile.h"
#include "model/StreamRequest.h"

#include <QJsonArray>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>

// One conversation turn in flight: sends the request, continues a paused answer up to the
// continuation limit, and repeats a request once after a short wait when the service was
// busy or failing and nothing has been produced yet. Owned by its cancel token: cancelling
// stops the request or the wait at once and nothing is reported afterwards.
class ClaudeTurn : public QObject {
    Q_OBJECT

public:
    struct Setup {
        QNetworkAccessManager* network = nullptr;
        Clock* clock = nullptr;
        QNetworkRequest request;
        QString system;
        QJsonArray messages;
        RequestProfile profile;
        bool signedIn = false;
        int maxContinuations = 5;
    };
    using Completion = std::function<void(const TurnOutcome& outcome)>;

    static constexpr int kRetryDelayMs = 1500;

    ClaudeTurn(Setup setup, StreamAccumulator::EventHandler onEvent, Completion onDone,
               std::shared_ptr<CancelToken> token);

    void start();

private:
    void sendRequest();
    void sendBody();
    void requestEnded(const TurnOutcome& outcome);
    void requestSucceeded(const TurnResult& result);
    bool shouldRetry(const TurnError& error) const;
    void cancel();
    void finish(const TurnOutcome& outcome);

    Setup m_setup;
    StreamAccumulator::EventHandler m_onEvent;
    Completion m_onDone;
    std::shared_ptr<CancelToken> m_token;
    QByteArray m_body;
    QList<QJsonObject> m_content;
    int m_continuations = 0;
    bool m_retried = false;
    QPointer<StreamRequest> m_request;
    TaskHandle m_retryWait;
};
