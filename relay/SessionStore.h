#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

// The relay's SQLite database: one-time sign-in codes and account sessions. Only SHA-256
// digests of codes and tokens are stored, so a copy of the file signs nobody in. Safe to use
// from any thread (one connection behind a mutex).
class SessionStore {
public:
    struct Session {
        std::int64_t id = 0;
        std::string email;
        std::int64_t createdAt = 0;
        std::int64_t lastUsedAt = 0;
        bool revoked = false;
    };
    enum class Exchange { Ok, Unknown, Used, Expired, StateMismatch };

    static constexpr std::int64_t codeLifetimeSeconds = 600;

    // Opens or creates the database at `path` (owner-only permissions, folders created 0700).
    static std::unique_ptr<SessionStore> open(const std::string& path, std::string* error);
    ~SessionStore();

    // A new single-use code for `email`, bound to the sign-in `state`.
    std::string createCode(const std::string& state, const std::string& email);
    // Consumes `code` (every attempt uses it up) and, when it is valid for `state`, creates a session.
    Exchange exchange(const std::string& code, const std::string& state, std::string* token, std::string* email);
    // The e-mail of the live session holding `token`.
    std::optional<std::string> emailForToken(const std::string& token);
    void revokeToken(const std::string& token);
    bool revokeSession(std::int64_t id);
    std::vector<Session> sessions();

private:
    explicit SessionStore(sqlite3* db);
    bool exec(const char* sql);

    sqlite3* m_db;
    std::mutex m_mutex;
};
