#include "SqliteDatabase.h"

#include <fcntl.h>
#include <filesystem>
#include <sqlite3.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

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

// SQLite spells numbered parameters ?N; the statements use $N for both databases.
std::string sqliteParameters(std::string sql)
{
    for (char& c : sql) {
        if (c == '$')
            c = '?';
    }
    return sql;
}

} // namespace

std::unique_ptr<SqliteDatabase> SqliteDatabase::open(const std::string& path, std::string* error)
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
    std::unique_ptr<SqliteDatabase> out(new SqliteDatabase(db));
    if (!out->execLocked("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;", error)) {
        *error = "cannot open database " + path + ": " + *error;
        return nullptr;
    }
    return out;
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close(m_db);
}

bool SqliteDatabase::execLocked(const std::string& sql, std::string* error)
{
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    *error = sqlite3_errmsg(m_db);
    return false;
}

Database::Result SqliteDatabase::run(const std::string& sql, const std::vector<Param>& params)
{
    std::lock_guard lock(m_mutex);
    return runLocked(sql, params);
}

Database::Result SqliteDatabase::runLocked(const std::string& sql, const std::vector<Param>& params)
{
    Result result;
    sqlite3_stmt* stmt = nullptr;
    std::string text = sqliteParameters(sql);
    if (sqlite3_prepare_v2(m_db, text.c_str(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        result.error = sqlite3_errmsg(m_db);
        return result;
    }
    for (std::size_t i = 0; i < params.size(); ++i) {
        int index = int(i + 1);
        if (const auto* n = std::get_if<std::int64_t>(&params[i]))
            sqlite3_bind_int64(stmt, index, *n);
        else {
            const auto& s = std::get<std::string>(params[i]);
            sqlite3_bind_text(stmt, index, s.data(), int(s.size()), SQLITE_TRANSIENT);
        }
    }
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
        auto& row = result.rows.emplace_back();
        for (int col = 0, n = sqlite3_column_count(stmt); col < n; ++col) {
            auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
            row.emplace_back(p ? std::string(p, sqlite3_column_bytes(stmt, col)) : std::string());
        }
    }
    result.ok = step == SQLITE_DONE;
    if (!result.ok)
        result.error = sqlite3_errmsg(m_db);
    result.changes = sqlite3_changes(m_db);
    sqlite3_finalize(stmt);
    return result;
}

bool SqliteDatabase::migrate(const std::vector<std::string>& steps, std::string* error)
{
    std::lock_guard lock(m_mutex);
    if (!execLocked("BEGIN IMMEDIATE; CREATE TABLE IF NOT EXISTS schema_version(version INTEGER NOT NULL);", error))
        return false;
    auto current = runLocked("SELECT version FROM schema_version", {});
    std::int64_t version = current.empty() ? 0 : current.integer(0, 0);
    bool ok = current.ok && (!current.empty() || runLocked("INSERT INTO schema_version VALUES(0)", {}).ok);
    if (ok && version > std::int64_t(steps.size())) {
        *error = "the database was made by a newer relay (schema version " + std::to_string(version) + ")";
        ok = false;
    }
    // Each step commits on its own, so an interrupted upgrade resumes where it stopped.
    for (std::size_t i = std::size_t(version); ok && i < steps.size(); ++i) {
        ok = execLocked(steps[i], error) &&
             runLocked("UPDATE schema_version SET version = $1", {std::int64_t(i + 1)}).ok &&
             execLocked("COMMIT; BEGIN IMMEDIATE;", error);
    }
    std::string ignored;
    execLocked(ok ? "COMMIT" : "ROLLBACK", &ignored);
    return ok;
}
