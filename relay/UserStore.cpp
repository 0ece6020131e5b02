#include "UserStore.h"

#include "Database.h"

#include <chrono>

namespace {

std::int64_t nowSeconds()
{
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

UserStore::User userFrom(const Database::Result& r, std::size_t row)
{
    return {r.integer(row, 0), r.text(row, 1), r.text(row, 2), r.integer(row, 3)};
}

} // namespace

std::string UserStore::normalizedEmail(const std::string& email)
{
    std::string out = email;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return out;
}

std::optional<UserStore::User> UserStore::ensure(const std::string& email)
{
    m_db.run("INSERT INTO users(email, created_at) VALUES($1, $2) ON CONFLICT(email) DO NOTHING",
             {email, nowSeconds()});
    return find(email);
}

std::optional<UserStore::User> UserStore::find(const std::string& email, bool* failed)
{
    auto r = m_db.run("SELECT id, email, password_hash, created_at FROM users WHERE email = $1", {email});
    if (failed)
        *failed = !r.ok;
    if (r.empty())
        return std::nullopt;
    return userFrom(r, 0);
}

UserStore::Change UserStore::add(const std::string& email, const std::string& passwordHash)
{
    auto r = m_db.run("INSERT INTO users(email, password_hash, created_at) VALUES($1, $2, $3) "
                      "ON CONFLICT(email) DO UPDATE SET password_hash = excluded.password_hash "
                      "WHERE users.password_hash = ''",
                      {email, passwordHash, nowSeconds()});
    return !r.ok ? Change::Failed : r.changes > 0 ? Change::Ok : Change::Exists;
}

UserStore::Change UserStore::setPassword(const std::string& email, const std::string& passwordHash)
{
    auto r = m_db.run("UPDATE users SET password_hash = $2 WHERE email = $1", {email, passwordHash});
    if (!r.ok)
        return Change::Failed;
    if (r.changes == 0)
        return Change::Unknown;
    auto ended =
        m_db.run("UPDATE sessions SET revoked = 1 WHERE user_id = (SELECT id FROM users WHERE email = $1)", {email});
    return ended.ok ? Change::Ok : Change::Failed;
}

UserStore::Change UserStore::remove(const std::string& email)
{
    // Sessions are looked up together with their user, so deleting the user alone already
    // ends them; they are marked revoked too, for the account page.
    m_db.run("UPDATE sessions SET revoked = 1 WHERE user_id = (SELECT id FROM users WHERE email = $1)", {email});
    auto r = m_db.run("DELETE FROM users WHERE email = $1", {email});
    return !r.ok ? Change::Failed : r.changes > 0 ? Change::Ok : Change::Unknown;
}

std::vector<UserStore::User> UserStore::all(bool* failed)
{
    auto r = m_db.run("SELECT id, email, password_hash, created_at FROM users ORDER BY email");
    if (failed)
        *failed = !r.ok;
    std::vector<User> out;
    for (std::size_t i = 0; i < r.rows.size(); ++i)
        out.push_back(userFrom(r, i));
    return out;
}
