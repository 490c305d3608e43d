#pragma once

#include "db/AliasConfig.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The one driver interface under the engine's connections and data sets.
// Every call that fails raises EDatabaseError with the driver's own message.
namespace db {

// A column value as text; nothing for SQL NULL.
using FieldValue = std::optional<std::string>;

// The rows of one executed statement, read front to back.
class Cursor {
public:
    virtual ~Cursor() = default;
    virtual const std::vector<std::string>& ColumnNames() const = 0;
    // Reads the next row into row (one value per column); false after the last row.
    virtual bool Fetch(std::vector<FieldValue>& row) = 0;
};

// One open connection. Its cursors must be released before it is.
class Connection {
public:
    virtual ~Connection() = default;
    // Runs one SQL statement; a statement without rows gives a cursor without columns.
    virtual std::unique_ptr<Cursor> Execute(const std::string& sql) = 0;
    // The value written as an SQL text literal of this engine, quotes and escapes included.
    virtual std::string QuoteText(std::string_view value) const = 0;
};

struct Account {
    std::string user;
    std::string password;
};

struct MySQLTarget {
    std::string host;  // empty: localhost
    unsigned port = 0; // 0: the client's default port
    std::string database;
};

std::unique_ptr<Connection> ConnectSQLite(const std::filesystem::path& file);
std::unique_ptr<Connection> ConnectMySQL(const MySQLTarget& target, const Account& account);

// Connects to what the alias describes: SQLite to the file in DATABASE NAME (relative to
// the alias file's folder), MySQL to HOST, PORT and DATABASE NAME. Firebird aliases are
// served by the local database layer, not here.
std::unique_ptr<Connection> ConnectAlias(const Alias& alias, const Account& account);

} // namespace db
