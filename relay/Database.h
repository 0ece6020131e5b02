#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

// A connection to the relay's database, SQLite or PostgreSQL. Statements are written once for
// both, with numbered parameters ($1, $2, ...); values come back as text. Safe to use from any
// thread.
class Database {
public:
    using Param = std::variant<std::int64_t, std::string>;
    enum class Kind { Sqlite, Postgres };

    struct Result {
        bool ok = false;
        std::vector<std::vector<std::string>> rows;
        std::int64_t changes = 0; // rows changed by INSERT, UPDATE or DELETE
        std::string error;

        bool empty() const { return rows.empty(); }
        const std::string& text(std::size_t row, std::size_t col) const { return rows.at(row).at(col); }
        std::int64_t integer(std::size_t row, std::size_t col) const;
    };

    // A location starting with postgresql:// or postgres:// opens PostgreSQL, anything else
    // is a SQLite file (created owner-only, folders 0700).
    static std::unique_ptr<Database> open(const std::string& location, std::string* error);
    static bool isPostgres(const std::string& location);
    virtual ~Database() = default;

    virtual Kind kind() const = 0;
    virtual Result run(const std::string& sql, const std::vector<Param>& params = {}) = 0;
    // Brings the schema to the newest version: `steps[i]` moves it from version i to i + 1.
    // Each step runs in its own transaction; concurrent relays starting together apply each
    // step once.
    virtual bool migrate(const std::vector<std::string>& steps, std::string* error) = 0;
};
