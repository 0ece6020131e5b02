#include "ApiError.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <httplib.h>

namespace ApiError {

namespace {

std::string compact(const QJsonObject& o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString();
}

} // namespace

std::string messagesBody(const std::string& type, const std::string& message)
{
    QJsonObject error{{"type", QString::fromStdString(type)}, {"message", QString::fromStdString(message)}};
    return compact(QJsonObject{{"type", "error"}, {"error", error}});
}

void sendMessagesError(httplib::Response& res, int status, const std::string& type, const std::string& message)
{
    res.status = status;
    res.set_content(messagesBody(type, message), "application/json");
}

void sendAccountError(httplib::Response& res, int status, const std::string& message)
{
    res.status = status;
    res.set_content(compact(QJsonObject{{"error", QString::fromStdString(message)}}), "application/json");
}

std::string typeForStatus(int status)
{
    switch (status) {
    case 401:
        return "authentication_error";
    case 403:
        return "permission_error";
    case 404:
        return "not_found_error";
    case 413:
        return "request_too_large";
    case 429:
        return "rate_limit_error";
    case 529:
        return "overloaded_error";
    default:
        return status >= 500 ? "api_error" : "invalid_request_error";
    }
}

} // namespace ApiError
