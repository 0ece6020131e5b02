#include "account/AccountRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

namespace AccountRequest {

namespace {

QNetworkRequest makeRequest(const Options& options)
{
    QNetworkRequest request(options.url);
    request.setTransferTimeout(options.timeoutMs);
    if (options.json)
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    if (!options.bearer.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + options.bearer.toUtf8());
    return request;
}

// A failure of the connection itself (refused, reset, timed out, a proxy, a broken
// response), as opposed to an HTTP status the service answered with.
bool isTransportFailure(QNetworkReply::NetworkError error)
{
    return (error > QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied) ||
           error == QNetworkReply::ProtocolFailure;
}

AccountReply replyOf(QNetworkReply* reply)
{
    AccountReply answer;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    answer.status = status.isValid() ? status.toInt() : 0;
    answer.body = reply->readAll();
    // A success whose connection broke after the status line leaves half a body: that is a
    // transport failure, not an answer of the service. (An error status keeps its meaning.)
    if (answer.status / 100 == 2 && isTransportFailure(reply->error())) {
        answer.status = 0;
        answer.body.clear();
    }
    if (answer.status == 0)
        answer.transportError = reply->errorString();
    return answer;
}

} // namespace

TaskHandle send(QNetworkAccessManager* network, const Options& options, std::function<void(const AccountReply&)> done)
{
    std::shared_ptr<CancelToken> token;
    TaskHandle handle = TaskHandle::create(&token);
    QPointer<QNetworkReply> reply = network->sendCustomRequest(makeRequest(options), options.method, options.body);
    token->onCancel([reply] {
        if (reply) {
            reply->disconnect();
            reply->abort();
            reply->deleteLater();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, token, done = std::move(done)] {
        reply->deleteLater();
        if (token->isCancelled())
            return;
        token->finish();
        done(replyOf(reply));
    });
    return handle;
}

} // namespace AccountRequest
