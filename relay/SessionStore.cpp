#include "SessionStore.h"

#include "Database.h"
#include "Secrets.h"

#include <chrono>

namespace {

std::int64_t nowSeconds()
{
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace

std::string SessionStore::formToken()
{
    m_db.run("INSERT INTO settings(name, value) VALUES('form_token', $1) ON CONFLICT(name) DO NOTHING",
             {Secrets::randomToken(24)});
    auto found = m_db.run("SELECT value FROM settings WHERE name = 'form_token'");
    return found.empty() ? std::string() : found.text(0, 0);
}

std::string SessionStore::createCode(const std::string& state, const Account& account)
{
    std::string code = Secrets::randomToken(24);
    std::int64_t now = nowSeconds();
    m_db.run("DELETE FROM codes WHERE expires_at < $1", {now - 86400});
    auto added = m_db.run("INSERT INTO codes(code_hash, state, email, user_id, expires_at) VALUES($1, $2, $3, $4, $5)",
                          {Secrets::sha256Hex(code), state, account.email, account.userId, now + codeLifetimeSeconds});
    return added.ok ? code : std::string();
}

SessionStore::Exchange SessionStore::exchange(const std::string& code, const std::string& state, std::string* token,
                                              std::string* email)
{
    std::string hash = Secrets::sha256Hex(code);
    // One statement marks the code used and reads it, so two relays cannot both redeem it.
    auto taken = m_db.run("UPDATE codes SET used = 1 WHERE code_hash = $1 AND used = 0 "
                          "RETURNING state, user_id, expires_at",
                          {hash});
    if (!taken.ok)
        return Exchange::Unavailable;
    if (taken.empty()) {
        auto seen = m_db.run("SELECT 1 FROM codes WHERE code_hash = $1", {hash});
        return !seen.ok ? Exchange::Unavailable : seen.empty() ? Exchange::Unknown : Exchange::Used;
    }
    std::int64_t now = nowSeconds();
    if (taken.integer(0, 2) < now)
        return Exchange::Expired;
    if (!Secrets::equalConstantTime(taken.text(0, 0), state))
        return Exchange::StateMismatch;
    // The user may have been removed since the code was made.
    auto user = m_db.run("SELECT id, email FROM users WHERE id = $1", {taken.integer(0, 1)});
    if (!user.ok)
        return Exchange::Unavailable;
    if (user.empty())
        return Exchange::Unknown;
    std::string newToken = Secrets::randomToken(32);
    auto added = m_db.run("INSERT INTO sessions(token_hash, email, user_id, created_at, last_used_at) "
                          "VALUES($1, $2, $3, $4, $4)",
                          {Secrets::sha256Hex(newToken), user.text(0, 1), user.integer(0, 0), now});
    if (!added.ok)
        return Exchange::Unavailable;
    *token = newToken;
    *email = user.text(0, 1);
    return Exchange::Ok;
}

SessionStore::Lookup SessionStore::accountForToken(const std::string& token, Account* account)
{
    std::string hash = Secrets::sha256Hex(token);
    auto found = m_db.run("SELECT u.id, u.email, s.last_used_at FROM sessions s JOIN users u ON u.id = s.user_id "
                          "WHERE s.token_hash = $1 AND s.revoked = 0",
                          {hash});
    if (!found.ok)
        return Lookup::Unavailable;
    if (found.empty())
        return Lookup::NotFound;
    std::int64_t now = nowSeconds();
    // Coarse last-use times keep the hot path free of writes.
    if (now - found.integer(0, 2) >= 60)
        m_db.run("UPDATE sessions SET last_used_at = $1 WHERE token_hash = $2", {now, hash});
    *account = {found.integer(0, 0), found.text(0, 1)};
    return Lookup::Found;
}

void SessionStore::revokeToken(const std::string& token)
{
    m_db.run("UPDATE sessions SET revoked = 1 WHERE token_hash = $1", {Secrets::sha256Hex(token)});
}

bool SessionStore::revokeSession(std::int64_t id)
{
    return m_db.run("UPDATE sessions SET revoked = 1 WHERE id = $1 AND revoked = 0", {id}).changes > 0;
}

std::vector<SessionStore::Session> SessionStore::sessions()
{
    auto all = m_db.run("SELECT id, email, created_at, last_used_at, revoked FROM sessions ORDER BY id DESC LIMIT 500");
    std::vector<Session> out;
    for (std::size_t r = 0; r < all.rows.size(); ++r)
        out.push_back(
            {all.integer(r, 0), all.text(r, 1), all.integer(r, 2), all.integer(r, 3), all.integer(r, 4) != 0});
    return out;
}
