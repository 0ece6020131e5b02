#pragma once

#include <string>

class Database;

// The relay's tables, created and upgraded by the relay itself. The version is kept in the
// table schema_version; databases made before it existed are version 1's tables.
namespace Schema {

bool migrate(Database& db, std::string* error);

} // namespace Schema
