#pragma once

#include <QString>
#include <optional>

// Where the conversations get the account token from, and how they end a session that the
// account service rejected. The account manager provides it in the program; tests use a stub.
class TokenSource {
public:
    virtual ~TokenSource() = default;

    // The current account token; none when signed out.
    virtual std::optional<QString> token() const = 0;
    // Forgets the local sign-in after the service answered 401, leaving the account's message.
    virtual void clearLocalSession() = 0;
};
