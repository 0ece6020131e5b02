#pragma once

#include "actions/AIAction.h"
#include "common/TaskHandle.h"
#include "model/ClaudeError.h"
#include "model/ClaudeEvent.h"
#include "model/RequestProfile.h"
#include "model/TurnResult.h"

#include <QJsonArray>
#include <QUrl>
#include <functional>
#include <optional>

class Clock;
class QNetworkAccessManager;

// Sends one conversation turn to the account service's model relay and streams the answer
// back as events. Keeps no state between turns; create one wherever it is needed. Each turn
// is one job with its own handle; cancelling it is silent (no completion is called).
class ClaudeClient {
public:
    using EventHandler = std::function<void(const ClaudeEvent& event)>;
    using Completion = std::function<void(const TurnOutcome& outcome)>;

    // serverUrl: the account service's base URL. network: defaults to one shared manager.
    explicit ClaudeClient(QUrl serverUrl, Clock* clock = nullptr, QNetworkAccessManager* network = nullptr);

    // The most requests a turn adds to continue a paused answer.
    int maxContinuations() const { return m_maxContinuations; }

    // Runs one turn: events arrive on the main thread in stream order, then the completion
    // once with the turn's result or failure. Without a token it fails with signedOut and
    // sends nothing.
    [[nodiscard]] TaskHandle streamTurn(const QString& system, const QJsonArray& messages, const AIAction& action,
                                        const std::optional<QString>& token, EventHandler onEvent,
                                        Completion onDone) const
    {
        return streamTurn(system, messages, RequestProfile::forAction(action), token, std::move(onEvent),
                          std::move(onDone));
    }
    // The same with the action's request settings given directly.
    [[nodiscard]] TaskHandle streamTurn(const QString& system, const QJsonArray& messages,
                                        const RequestProfile& profile, const std::optional<QString>& token,
                                        EventHandler onEvent, Completion onDone) const;

    // The JSON body of a request.
    static QJsonObject requestBody(const QString& system, const QJsonArray& messages, const AIAction& action)
    {
        return requestBody(system, messages, RequestProfile::forAction(action));
    }
    static QJsonObject requestBody(const QString& system, const QJsonArray& messages, const RequestProfile& profile);
    // The error type and message of a failed response's body.
    static ErrorDetails errorDetails(const QByteArray& from) { return ErrorDetails::from(from); }

private:
    QUrl m_serverUrl;
    Clock* m_clock;
    QNetworkAccessManager* m_network;
    int m_maxContinuations = 5;
};
