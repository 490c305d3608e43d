#include "base/StrUtils.h"
#include "db/Driver.h"
#include "db/EngineError.h"

#include <sqlite3.h>

namespace db {

namespace {

struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementCloser>;

struct DatabaseCloser {
    void operator()(sqlite3* handle) const { sqlite3_close_v2(handle); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;

class SQLiteCursor : public Cursor {
public:
    SQLiteCursor(sqlite3* db, StatementHandle statement) : db_(db), statement_(std::move(statement)) {
        int count = sqlite3_column_count(statement_.get());
        for (int i = 0; i < count; ++i)
            columns_.emplace_back(sqlite3_column_name(statement_.get(), i));
        // Statements without rows run to completion here.
        if (columns_.empty())
            step();
    }

    const std::vector<std::string>& ColumnNames() const override { return columns_; }

    bool Fetch(std::vector<FieldValue>& row) override {
        if (columns_.empty() || !step())
            return false;
        row.assign(columns_.size(), std::nullopt);
        for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
            if (sqlite3_column_type(statement_.get(), i) == SQLITE_NULL)
                continue;
            // Text is read through the blob accessor so that embedded zero bytes stay.
            const void* bytes = sqlite3_column_blob(statement_.get(), i);
            int size = sqlite3_column_bytes(statement_.get(), i);
            row[i] = bytes ? std::string(static_cast<const char*>(bytes), size) : std::string();
        }
        return true;
    }

private:
    bool step() {
        if (done_)
            return false;
        int rc = sqlite3_step(statement_.get());
        if (rc == SQLITE_ROW)
            return true;
        done_ = true;
        if (rc != SQLITE_DONE)
            throw EDatabaseError(sqlite3_errmsg(db_));
        return false;
    }

    sqlite3* db_;
    StatementHandle statement_;
    std::vector<std::string> columns_;
    bool done_ = false;
};

class SQLiteConnection : public Connection {
public:
    explicit SQLiteConnection(const std::filesystem::path& file) {
        sqlite3* handle = nullptr;
        int rc = sqlite3_open_v2(file.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
        db_.reset(handle);
        if (rc != SQLITE_OK)
            throw EDatabaseError("Cannot open SQLite database " + file.string() + ": " +
                                 (handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc)));
    }

    std::unique_ptr<Cursor> Execute(const std::string& sql) override {
        sqlite3_stmt* statement = nullptr;
        const char* rest = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql.c_str(), static_cast<int>(sql.size()), &statement, &rest) != SQLITE_OK)
            throw EDatabaseError(sqlite3_errmsg(db_.get()));
        StatementHandle handle(statement);
        if (statement == nullptr)
            throw EDatabaseError("No SQL statement in: " + sql);
        return std::make_unique<SQLiteCursor>(db_.get(), std::move(handle));
    }

    std::string QuoteText(std::string_view value) const override { return base::QuotedStr(value); }

private:
    DatabaseHandle db_;
};

} // namespace

std::unique_ptr<Connection> ConnectSQLite(const std::filesystem::path& file) {
    return std::make_unique<SQLiteConnection>(file);
}

} // namespace db
