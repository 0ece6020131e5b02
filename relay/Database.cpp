#include "Database.h"

#include "PostgresDatabase.h"
#include "SqliteDatabase.h"

#include <charconv>

std::int64_t Database::Result::integer(std::size_t row, std::size_t col) const
{
    const std::string& s = text(row, col);
    std::int64_t value = 0;
    std::from_chars(s.data(), s.data() + s.size(), value);
    return value;
}

bool Database::isPostgres(const std::string& location)
{
    return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

std::unique_ptr<Database> Database::open(const std::string& location, std::string* error)
{
    if (isPostgres(location))
        return PostgresDatabase::open(location, error);
    return SqliteDatabase::open(location, error);
}
