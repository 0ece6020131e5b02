#pragma once

#include "Database.h"

#include <condition_variable>
#include <mutex>

struct pg_conn;

// A PostgreSQL server shared by several relays: a small pool of connections, each re-opened
// once when the server dropped it. The connection string is never logged (it may hold a password).
class PostgresDatabase : public Database {
public:
    static constexpr int poolSize = 8;

    static std::unique_ptr<PostgresDatabase> open(const std::string& url, std::string* error);
    ~PostgresDatabase() override;

    Kind kind() const override { return Kind::Postgres; }
    Result run(const std::string& sql, const std::vector<Param>& params = {}) override;
    bool migrate(const std::vector<std::string>& steps, std::string* error) override;

private:
    PostgresDatabase() = default;
    pg_conn* acquire();
    void release(pg_conn* conn);

    std::vector<pg_conn*> m_all;
    std::vector<pg_conn*> m_idle;
    std::mutex m_mutex;
    std::condition_variable m_available;
};
