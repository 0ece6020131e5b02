#pragma once

#include <cstdint>
#include <string>

class Database;

// Slows down password guessing: after a few failed sign-ins for one account, or more from one
// address, further attempts must wait, twice as long after each new failure (up to 15
// minutes). Counts live in the database, so every relay on it sees them; an hour without a
// failure forgets them. Unknown accounts are counted like known ones.
class LoginThrottle {
public:
    struct Rule {
        int freeAttempts;
        std::int64_t firstWaitSeconds;
    };
    static constexpr Rule perAccount{5, 30};
    static constexpr Rule perAddress{20, 30};
    static constexpr std::int64_t maxWaitSeconds = 900;
    static constexpr std::int64_t forgetAfterSeconds = 3600;

    explicit LoginThrottle(Database& db) : m_db(db) {}

    static std::string accountSubject(const std::string& email) { return "account:" + email; }
    static std::string addressSubject(const std::string& address) { return "address:" + address; }
    // How long after the last failure the next attempt must wait.
    static constexpr std::int64_t waitAfter(int failures, const Rule& rule)
    {
        if (failures < rule.freeAttempts)
            return 0;
        int doublings = failures - rule.freeAttempts < 16 ? failures - rule.freeAttempts : 16;
        std::int64_t wait = rule.firstWaitSeconds << doublings;
        return wait < maxWaitSeconds ? wait : maxWaitSeconds;
    }

    // Seconds still to wait before `subject` may try again (0: now).
    std::int64_t remainingWait(const std::string& subject, const Rule& rule, std::int64_t now);
    void recordFailure(const std::string& subject, std::int64_t now);
    void clear(const std::string& subject);

private:
    Database& m_db;
};
