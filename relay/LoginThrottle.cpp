#include "LoginThrottle.h"

#include "Database.h"

#include <algorithm>

std::int64_t LoginThrottle::remainingWait(const std::string& subject, const Rule& rule, std::int64_t now)
{
    auto r = m_db.run("SELECT failures, last_at FROM login_failures WHERE subject = $1", {subject});
    if (r.empty())
        return 0;
    std::int64_t lastAt = r.integer(0, 1);
    if (now - lastAt >= forgetAfterSeconds)
        return 0;
    return std::max<std::int64_t>(0, lastAt + waitAfter(int(r.integer(0, 0)), rule) - now);
}

void LoginThrottle::recordFailure(const std::string& subject, std::int64_t now)
{
    // Forgotten counts go, so that guesses from many addresses do not pile up.
    m_db.run("DELETE FROM login_failures WHERE last_at < $1", {now - forgetAfterSeconds});
    m_db.run("INSERT INTO login_failures(subject, failures, last_at) VALUES($1, 1, $2) "
             "ON CONFLICT(subject) DO UPDATE SET last_at = $2, failures = CASE WHEN login_failures.last_at < $3 "
             "THEN 1 ELSE login_failures.failures + 1 END",
             {subject, now, now - forgetAfterSeconds});
}

void LoginThrottle::clear(const std::string& subject)
{
    m_db.run("DELETE FROM login_failures WHERE subject = $1", {subject});
}
