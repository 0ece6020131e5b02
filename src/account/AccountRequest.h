#pragma once
#include "common/TaskHandle.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>

class QNetworkAccessManager;

// The answer to one request to the account service. status is 0 when no HTTP answer
// arrived (transport failure); transportError then holds the network layer's description.
struct AccountReply {
    int status = 0;
    QByteArray body;
    QString transportError;
};

// Sends one request to the account service as a cancellable job. The completion runs once
// on the main thread, unless the job was cancelled first.
namespace AccountRequest {
struct Options {
    QUrl url;
    QByteArray method = "GET";
    QByteArray body;
    bool json = false; // adds "Content-Type: application/json"
    QString bearer;    // adds "Authorization: Bearer …" when not empty
    int timeoutMs = 15000;
};
[[nodiscard]] TaskHandle send(QNetworkAccessManager* network, const Options& request,
                              std::function<void(const AccountReply&)> done);
} // namespace AccountRequest
