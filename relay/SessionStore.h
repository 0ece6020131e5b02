#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Database;

// One-time sign-in codes and account sessions. Only SHA-256 digests of codes and tokens are
// stored, so a copy of the database signs nobody in. Every check reads the database, so a
// session ended by one relay is refused by every other relay on the same database at once.
class SessionStore {
public:
    struct Session {
        std::int64_t id = 0;
        std::string email;
        std::int64_t createdAt = 0;
        std::int64_t lastUsedAt = 0;
        bool revoked = false;
    };
    struct Account {
        std::int64_t userId = 0;
        std::string email;
    };
    enum class Exchange { Ok, Unknown, Used, Expired, StateMismatch, Unavailable };
    enum class Lookup { Found, NotFound, Unavailable };

    static constexpr std::int64_t codeLifetimeSeconds = 600;

    explicit SessionStore(Database& db) : m_db(db) {}

    // The value that sign-in forms carry, the same for every relay on the database; empty when
    // the database cannot be reached.
    std::string formToken();
    // A new single-use code for the user, bound to the sign-in `state`; empty on failure.
    std::string createCode(const std::string& state, const Account& account);
    // Consumes `code` (every attempt uses it up) and, when it is valid for `state`, creates a session.
    Exchange exchange(const std::string& code, const std::string& state, std::string* token, std::string* email);
    // The account of the live session holding `token`.
    Lookup accountForToken(const std::string& token, Account* account);
    void revokeToken(const std::string& token);
    bool revokeSession(std::int64_t id);
    std::vector<Session> sessions();

private:
    Database& m_db;
};
