#include "PostgresDatabase.h"

#include <algorithm>
#include <cstdlib>
#include <libpq-fe.h>

namespace {

Database::Result execute(PGconn* conn, const std::string& sql, const std::vector<Database::Param>& params)
{
    std::vector<std::string> texts;
    texts.reserve(params.size());
    for (const auto& p : params)
        texts.push_back(std::holds_alternative<std::string>(p) ? std::get<std::string>(p)
                                                               : std::to_string(std::get<std::int64_t>(p)));
    std::vector<const char*> values;
    values.reserve(texts.size());
    for (const auto& t : texts)
        values.push_back(t.c_str());
    PGresult* res = PQexecParams(conn, sql.c_str(), int(values.size()), nullptr, values.data(), nullptr, nullptr, 0);
    Database::Result result;
    ExecStatusType status = PQresultStatus(res);
    result.ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    if (!result.ok)
        result.error = PQerrorMessage(conn);
    for (int r = 0, rows = PQntuples(res); r < rows; ++r) {
        auto& row = result.rows.emplace_back();
        for (int c = 0, cols = PQnfields(res); c < cols; ++c)
            row.emplace_back(PQgetvalue(res, r, c), std::size_t(PQgetlength(res, r, c)));
    }
    result.changes = std::atoll(PQcmdTuples(res));
    PQclear(res);
    return result;
}

bool script(PGconn* conn, const std::string& sql, std::string* error)
{
    PGresult* res = PQexec(conn, sql.c_str());
    bool ok = PQresultStatus(res) == PGRES_COMMAND_OK || PQresultStatus(res) == PGRES_TUPLES_OK;
    if (!ok)
        *error = PQerrorMessage(conn);
    PQclear(res);
    return ok;
}

} // namespace

std::unique_ptr<PostgresDatabase> PostgresDatabase::open(const std::string& url, std::string* error)
{
    std::unique_ptr<PostgresDatabase> db(new PostgresDatabase());
    for (int i = 0; i < poolSize; ++i) {
        PGconn* conn = PQconnectdb(url.c_str());
        if (PQstatus(conn) != CONNECTION_OK) {
            *error = std::string("cannot connect to PostgreSQL: ") + PQerrorMessage(conn);
            while (!error->empty() && error->back() == '\n')
                error->pop_back();
            PQfinish(conn);
            return nullptr;
        }
        PQsetNoticeProcessor(
            conn, [](void*, const char*) {}, nullptr); // "already exists, skipping" and such
        db->m_all.push_back(conn);
        db->m_idle.push_back(conn);
    }
    return db;
}

PostgresDatabase::~PostgresDatabase()
{
    for (PGconn* conn : m_all)
        PQfinish(conn);
}

PGconn* PostgresDatabase::acquire()
{
    std::unique_lock lock(m_mutex);
    m_available.wait(lock, [this] { return !m_idle.empty(); });
    PGconn* conn = m_idle.back();
    m_idle.pop_back();
    return conn;
}

void PostgresDatabase::release(PGconn* conn)
{
    {
        std::lock_guard lock(m_mutex);
        m_idle.push_back(conn);
    }
    m_available.notify_one();
}

Database::Result PostgresDatabase::run(const std::string& sql, const std::vector<Param>& params)
{
    PGconn* conn = acquire();
    Result result = execute(conn, sql, params);
    // A restarted server or a dropped connection: reconnect and try once more.
    if (!result.ok && PQstatus(conn) != CONNECTION_OK) {
        PQreset(conn);
        if (PQstatus(conn) == CONNECTION_OK)
            result = execute(conn, sql, params);
    }
    release(conn);
    return result;
}

bool PostgresDatabase::migrate(const std::vector<std::string>& steps, std::string* error)
{
    PGconn* conn = acquire();
    // The advisory lock makes relays that start together upgrade one after the other.
    bool ok = script(conn,
                     "SELECT pg_advisory_lock(4812937); "
                     "CREATE TABLE IF NOT EXISTS schema_version(version BIGINT NOT NULL)",
                     error);
    Result current = ok ? execute(conn, "SELECT version FROM schema_version", {}) : Result();
    ok = ok && current.ok && (!current.empty() || execute(conn, "INSERT INTO schema_version VALUES(0)", {}).ok);
    std::int64_t version = current.empty() ? 0 : current.integer(0, 0);
    if (ok && version > std::int64_t(steps.size())) {
        *error = "the database was made by a newer relay (schema version " + std::to_string(version) + ")";
        ok = false;
    }
    for (std::size_t i = std::size_t(std::max<std::int64_t>(version, 0)); ok && i < steps.size(); ++i) {
        ok = script(conn, "BEGIN; " + steps[i], error) &&
             execute(conn, "UPDATE schema_version SET version = $1", {std::int64_t(i + 1)}).ok &&
             script(conn, "COMMIT", error);
    }
    std::string ignored;
    if (!ok)
        script(conn, "ROLLBACK", &ignored);
    script(conn, "SELECT pg_advisory_unlock(4812937)", &ignored);
    release(conn);
    return ok;
}
