#include "model/ClaudeError.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

ClaudeError ClaudeError::http(int status, const std::optional<QString>& type, const QString& message)
{
    ClaudeError error;
    error.m_kind = Kind::Http;
    error.m_status = status;
    error.m_type = type;
    error.m_message = message;
    return error;
}

ClaudeError ClaudeError::refused(const std::optional<QString>& explanation)
{
    ClaudeError error;
    error.m_kind = Kind::Refused;
    error.m_explanation = explanation;
    return error;
}

ClaudeError ClaudeError::signedOut()
{
    ClaudeError error;
    error.m_kind = Kind::SignedOut;
    return error;
}

ClaudeError ClaudeError::invalidResponse()
{
    return ClaudeError();
}

QString ClaudeError::userMessage() const
{
    switch (m_kind) {
    case Kind::SignedOut:
        return QCoreApplication::translate("ClaudeError", "Sign in to use Halvora.");
    case Kind::InvalidResponse:
        return QCoreApplication::translate("ClaudeError", "Received an unexpected response from the API.");
    case Kind::Refused: {
        const QString declined = QCoreApplication::translate("ClaudeError", "Claude declined this request.");
        return m_explanation ? declined + QLatin1Char(' ') + *m_explanation : declined;
    }
    case Kind::Http:
        break;
    }
    return httpDescription();
}

QString ClaudeError::httpDescription() const
{
    const QString busy =
        QCoreApplication::translate("ClaudeError", "The AI service is busy right now. Try again shortly.");
    const QString generic =
        QCoreApplication::translate("ClaudeError", "Something went wrong (%1). Try again.").arg(m_status);
    if (m_status == 529)
        return busy;
    if (!m_message.isEmpty())
        return m_status >= 500 && m_status != 502 && m_status != 503 ? generic : m_message;
    switch (m_status) {
    case 401:
        return QCoreApplication::translate("ClaudeError", "Your session has ended. Sign in again.");
    case 413:
        return QCoreApplication::translate("ClaudeError", "The selection is too large to send.");
    case 429:
        return QCoreApplication::translate("ClaudeError", "Too many requests. Wait a moment and try again.");
    default:
        return generic;
    }
}

ErrorDetails ErrorDetails::from(const QByteArray& body)
{
    const QJsonValue error = QJsonDocument::fromJson(body).object().value(QStringLiteral("error"));
    if (!error.isObject())
        return {};
    const QJsonObject object = error.toObject();
    const QJsonValue type = object.value(QStringLiteral("type"));
    ErrorDetails details;
    if (type.isString())
        details.type = type.toString();
    details.message = object.value(QStringLiteral("message")).toString();
    return details;
}
