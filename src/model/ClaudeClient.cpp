#include "model/ClaudeClient.h"

#include "common/ServiceUrl.h"
#include "model/ClaudeTurn.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QPointer>

namespace {

// One network manager for every turn of the process, living as long as the application.
QNetworkAccessManager* sharedNetwork()
{
    static QPointer<QNetworkAccessManager> network;
    if (!network)
        network = new QNetworkAccessManager(QCoreApplication::instance());
    return network;
}

} // namespace

ClaudeClient::ClaudeClient(QUrl serverUrl, Clock* clock, QNetworkAccessManager* network)
    : m_serverUrl(std::move(serverUrl)), m_clock(clock ? clock : &Clock::system()), m_network(network)
{}

TaskHandle ClaudeClient::streamTurn(const QString& system, const QJsonArray& messages, const RequestProfile& profile,
                                    const std::optional<QString>& token, EventHandler onEvent, Completion onDone) const
{
    ClaudeTurn::Setup setup;
    setup.network = m_network ? m_network : sharedNetwork();
    setup.clock = m_clock;
    setup.system = system;
    setup.messages = messages;
    setup.profile = profile;
    setup.maxContinuations = m_maxContinuations;
    setup.signedIn = token && !token->isEmpty();

    QNetworkRequest request(ServiceUrl::appending(m_serverUrl, QStringLiteral("api/ai/messages")));
    request.setRawHeader("content-type", "application/json");
    request.setRawHeader("Authorization", "Bearer " + token.value_or(QString()).toUtf8());
    request.setRawHeader("X-Halvora-Action", profile.actionHeader.toUtf8());
    setup.request = request;

    std::shared_ptr<CancelToken> cancelToken;
    TaskHandle handle = TaskHandle::create(&cancelToken);
    auto* turn = new ClaudeTurn(std::move(setup), std::move(onEvent), std::move(onDone), cancelToken);
    turn->start();
    return handle;
}

QJsonObject ClaudeClient::requestBody(const QString& system, const QJsonArray& messages, const RequestProfile& profile)
{
    QJsonObject body{
        {QStringLiteral("max_tokens"), profile.maxTokens},
        {QStringLiteral("stream"), true},
        {QStringLiteral("system"), system},
        {QStringLiteral("messages"), messages},
        {QStringLiteral("output_config"), QJsonObject{{QStringLiteral("effort"), profile.effort}}},
    };
    if (!profile.tools.isEmpty())
        body.insert(QStringLiteral("tools"), profile.tools);
    return body;
}
