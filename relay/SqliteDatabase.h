#pragma once

#include "Database.h"

#include <mutex>

struct sqlite3;

// The embedded database: one SQLite file, one connection behind a mutex.
class SqliteDatabase : public Database {
public:
    static std::unique_ptr<SqliteDatabase> open(const std::string& path, std::string* error);
    ~SqliteDatabase() override;

    Kind kind() const override { return Kind::Sqlite; }
    Result run(const std::string& sql, const std::vector<Param>& params = {}) override;
    bool migrate(const std::vector<std::string>& steps, std::string* error) override;

private:
    explicit SqliteDatabase(sqlite3* db) : m_db(db) {}
    Result runLocked(const std::string& sql, const std::vector<Param>& params);
    bool execLocked(const std::string& sql, std::string* error);

    sqlite3* m_db;
    std::mutex m_mutex;
};
