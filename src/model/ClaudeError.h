#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The failures of a model turn that the model client itself detects, each with the message
// the user sees. Transport and parse failures are not ClaudeErrors (see TurnError).
class ClaudeError {
public:
    enum class Kind { Http, Refused, SignedOut, InvalidResponse };

    // The service answered with a status other than 200, or the stream carried an error event.
    static ClaudeError http(int status, const std::optional<QString>& type, const QString& message);
    // The model stopped with the stop reason "refusal".
    static ClaudeError refused(const std::optional<QString>& explanation);
    // No account token, so nothing was sent.
    static ClaudeError signedOut();
    // The reply was not an HTTP response.
    static ClaudeError invalidResponse();

    Kind kind() const { return m_kind; }
    int status() const { return m_status; }
    const std::optional<QString>& type() const { return m_type; }
    const QString& message() const { return m_message; }
    const std::optional<QString>& explanation() const { return m_explanation; }

    // The user-facing message.
    QString userMessage() const;

    bool operator==(const ClaudeError& other) const = default;

private:
    QString httpDescription() const;

    Kind m_kind = Kind::InvalidResponse;
    int m_status = 0;
    std::optional<QString> m_type;
    QString m_message;
    std::optional<QString> m_explanation;
};

// The error type and message of a failed response's body ({"error": {"type", "message"}}).
// Anything else, including a body that is not JSON, gives no type and an empty message.
struct ErrorDetails {
    std::optional<QString> type;
    QString message;

    static ErrorDetails from(const QByteArray& body);
};
