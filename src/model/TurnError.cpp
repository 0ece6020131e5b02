#include "model/TurnError.h"

TurnError TurnError::cancelled()
{
    TurnError error(Kind::Cancelled);
    error.m_networkCode = QNetworkReply::OperationCanceledError;
    error.m_description = QStringLiteral("cancelled");
    return error;
}

TurnError TurnError::network(QNetworkReply::NetworkError code, const QString& description)
{
    if (code == QNetworkReply::OperationCanceledError)
        return cancelled();
    TurnError error(Kind::Network);
    error.m_networkCode = code;
    error.m_description = description;
    return error;
}

TurnError TurnError::parse(const QString& description)
{
    TurnError error(Kind::Parse);
    error.m_description = description;
    return error;
}

QString TurnError::message() const
{
    return m_kind == Kind::Claude ? m_claude.userMessage() : m_description;
}
