#include "SessionStore.h"

#include "Secrets.h"

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::int64_t nowSeconds()
{
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

// A prepared statement that finalizes itself.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement& bind(int i, const std::string& v)
    {
        sqlite3_bind_text(m_stmt, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bind(int i, std::int64_t v)
    {
        sqlite3_bind_int64(m_stmt, i, v);
        return *this;
    }
    bool row() { return m_stmt && sqlite3_step(m_stmt) == SQLITE_ROW; }
    bool run() { return m_stmt && sqlite3_step(m_stmt) == SQLITE_DONE; }
    std::int64_t integer(int col) { return sqlite3_column_int64(m_stmt, col); }
    std::string text(int col)
    {
        auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col));
        return p ? std::string(p, sqlite3_column_bytes(m_stmt, col)) : std::string();
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

const char* const schema = R"(
PRAGMA journal_mode=WAL;
PRAGMA synchronous=NORMAL;
CREATE TABLE IF NOT EXISTS codes(
    code_hash TEXT PRIMARY KEY, state TEXT NOT NULL, email TEXT NOT NULL,
    expires_at INTEGER NOT NULL, used INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS sessions(
    id INTEGER PRIMARY KEY, token_hash TEXT UNIQUE NOT NULL, email TEXT NOT NULL,
    created_at INTEGER NOT NULL, last_used_at INTEGER NOT NULL, revoked INTEGER NOT NULL DEFAULT 0);
)";

bool preparePrivateFile(const std::string& path, std::string* error)
{
    std::error_code ec;
    auto folder = std::filesystem::path(path).parent_path();
    if (!folder.empty() && !std::filesystem::exists(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        if (!ec)
            ::chmod(folder.c_str(), 0700);
    }
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = "cannot open " + path + ": " + std::generic_category().message(errno);
        return false;
    }
    ::fchmod(fd, 0600);
    ::close(fd);
    return true;
}

} // namespace

std::unique_ptr<SessionStore> SessionStore::open(const std::string& path, std::string* error)
{
    if (!preparePrivateFile(path, error))
        return nullptr;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        *error = "cannot open database " + path + ": " + sqlite3_errmsg(db);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    std::unique_ptr<SessionStore> store(new SessionStore(db));
    if (!store->exec(schema)) {
        *error = "cannot prepare database " + path + ": " + sqlite3_errmsg(db);
        return nullptr;
    }
    return store;
}

SessionStore::SessionStore(sqlite3* db) : m_db(db) {}

SessionStore::~SessionStore()
{
    sqlite3_close(m_db);
}

bool SessionStore::exec(const char* sql)
{
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string SessionStore::createCode(const std::string& state, const std::string& email)
{
    std::string code = Secrets::randomToken(24);
    std::lock_guard lock(m_mutex);
    std::int64_t now = nowSeconds();
    Statement(m_db, "DELETE FROM codes WHERE expires_at < ?").bind(1, now - 86400).run();
    Statement(m_db, "INSERT INTO codes(code_hash, state, email, expires_at) VALUES(?, ?, ?, ?)")
        .bind(1, Secrets::sha256Hex(code))
        .bind(2, state)
        .bind(3, email)
        .bind(4, now + codeLifetimeSeconds)
        .run();
    return code;
}

SessionStore::Exchange SessionStore::exchange(const std::string& code, const std::string& state, std::string* token,
                                              std::string* email)
{
    std::lock_guard lock(m_mutex);
    std::string hash = Secrets::sha256Hex(code);
    Statement find(m_db, "SELECT state, email, expires_at, used FROM codes WHERE code_hash = ?");
    if (!find.bind(1, hash).row())
        return Exchange::Unknown;
    if (find.integer(3) != 0)
        return Exchange::Used;
    Statement(m_db, "UPDATE codes SET used = 1 WHERE code_hash = ?").bind(1, hash).run();
    if (find.integer(2) < nowSeconds())
        return Exchange::Expired;
    if (!Secrets::equalConstantTime(find.text(0), state))
        return Exchange::StateMismatch;
    *email = find.text(1);
    *token = Secrets::randomToken(32);
    std::int64_t now = nowSeconds();
    Statement(m_db, "INSERT INTO sessions(token_hash, email, created_at, last_used_at) VALUES(?, ?, ?, ?)")
        .bind(1, Secrets::sha256Hex(*token))
        .bind(2, *email)
        .bind(3, now)
        .bind(4, now)
        .run();
    return Exchange::Ok;
}

std::optional<std::string> SessionStore::emailForToken(const std::string& token)
{
    std::string hash = Secrets::sha256Hex(token);
    std::lock_guard lock(m_mutex);
    Statement find(m_db, "SELECT email, last_used_at FROM sessions WHERE token_hash = ? AND revoked = 0");
    if (!find.bind(1, hash).row())
        return std::nullopt;
    std::int64_t now = nowSeconds();
    // Coarse last-use times keep the hot path free of writes.
    if (now - find.integer(1) >= 60)
        Statement(m_db, "UPDATE sessions SET last_used_at = ? WHERE token_hash = ?").bind(1, now).bind(2, hash).run();
    return find.text(0);
}

void SessionStore::revokeToken(const std::string& token)
{
    std::string hash = Secrets::sha256Hex(token);
    std::lock_guard lock(m_mutex);
    Statement(m_db, "UPDATE sessions SET revoked = 1 WHERE token_hash = ?").bind(1, hash).run();
}

bool SessionStore::revokeSession(std::int64_t id)
{
    std::lock_guard lock(m_mutex);
    Statement(m_db, "UPDATE sessions SET revoked = 1 WHERE id = ? AND revoked = 0").bind(1, id).run();
    return sqlite3_changes(m_db) > 0;
}

std::vector<SessionStore::Session> SessionStore::sessions()
{
    std::lock_guard lock(m_mutex);
    Statement all(m_db, "SELECT id, email, created_at, last_used_at, revoked FROM sessions ORDER BY id DESC LIMIT 500");
    std::vector<Session> out;
    while (all.row())
        out.push_back({all.integer(0), all.text(1), all.integer(2), all.integer(3), all.integer(4) != 0});
    return out;
}
