#pragma once

#include "model/ClaudeError.h"

#include <QNetworkReply>

// Why a model turn ended without a result: a ClaudeError, a cancellation, a transport failure
// (with Qt's own description) or a malformed JSON line in the stream (with the parser's).
class TurnError {
public:
    enum class Kind { Claude, Cancelled, Network, Parse };

    TurnError(const ClaudeError& error) : m_kind(Kind::Claude), m_claude(error) {} // NOLINT: implicit by design
    static TurnError cancelled();
    static TurnError network(QNetworkReply::NetworkError code, const QString& description);
    static TurnError parse(const QString& description);

    Kind kind() const { return m_kind; }
    // The model client's own error, or null for the other kinds.
    const ClaudeError* claudeError() const { return m_kind == Kind::Claude ? &m_claude : nullptr; }
    QNetworkReply::NetworkError networkCode() const { return m_networkCode; }
    // A cancellation (the caller's, or an aborted request) is never shown to the user.
    bool isCancellation() const { return m_kind == Kind::Cancelled; }

    // The text shown to the user: ClaudeError's message, otherwise the underlying description.
    QString message() const;

    bool operator==(const TurnError& other) const = default;

private:
    explicit TurnError(Kind kind) : m_kind(kind) {}

    Kind m_kind;
    ClaudeError m_claude;
    QNetworkReply::NetworkError m_networkCode = QNetworkReply::NoError;
    QString m_description;
};
