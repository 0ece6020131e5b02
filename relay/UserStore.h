#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Database;

// The relay's users. A user has a password (an Argon2id hash) when an administrator added
// them; the demo sign-in of a relay on this computer makes users without one. Removing a
// user or changing a password ends that user's sessions at once.
class UserStore {
public:
    struct User {
        std::int64_t id = 0;
        std::string email;
        std::string passwordHash; // empty: cannot sign in with a password
        std::int64_t createdAt = 0;
    };
    enum class Change { Ok, Exists, Unknown, Failed };

    explicit UserStore(Database& db) : m_db(db) {}

    // Addresses are compared without regard to case.
    static std::string normalizedEmail(const std::string& email);

    // The user with `email`, made without a password when there is none; nullopt when the
    // database cannot be reached.
    std::optional<User> ensure(const std::string& email);
    // nullopt when there is no such user; `failed` tells an unreachable database apart.
    std::optional<User> find(const std::string& email, bool* failed = nullptr);
    // Adds a user, or gives a password to a user who has none.
    Change add(const std::string& email, const std::string& passwordHash);
    Change setPassword(const std::string& email, const std::string& passwordHash);
    Change remove(const std::string& email);
    std::vector<User> all(bool* failed = nullptr);

private:
    Database& m_db;
};
