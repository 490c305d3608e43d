#include "tests/support/InternetDb.h"

#include "db/AliasConfig.h"
#include "tests/support/MariaDbServer.h"
#include "tests/support/TempDir.h"

#include <sqlite3.h>

#include <stdexcept>

namespace {

class SQLiteBackend : public Backend {
public:
    explicit SQLiteBackend(const std::string& moreAliases)
        : alias_(db::AliasFileVariable, (dir_ / "aliases.ini").string()) {
        dir_.write("aliases.ini", "[Check]\nTYPE=SQLITE\nDATABASE NAME=check.db\n" + moreAliases);
        if (sqlite3_open((dir_ / "check.db").c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error("cannot create the SQLite test database");
    }
    ~SQLiteBackend() override { sqlite3_close(db_); }

    void Execute(const std::string& sql) override {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            std::string text = message ? message : "unknown error";
            sqlite3_free(message);
            throw std::runtime_error(text + " in: " + sql);
        }
    }

    db::Account Account() const override { return {"ignored", "ignored"}; }

private:
    testsupport::TempDir dir_;
    testsupport::EnvGuard alias_;
    sqlite3* db_ = nullptr;
};

// A fresh database on the process's MariaDB server.
class MySQLBackend : public Backend {
public:
    explicit MySQLBackend(const std::string& moreAliases)
        : server_(testsupport::MariaDbServer::Shared()), database_(server_.CreateDatabase()),
          alias_(db::AliasFileVariable, (dir_ / "aliases.ini").string()) {
        dir_.write("aliases.ini", "[Check]\nTYPE=MYSQL\nHOST=" + server_.Host() +
                                      "\nPORT=" + std::to_string(server_.Port()) + "\nDATABASE NAME=" + database_ +
                                      "\n" + moreAliases);
    }
    ~MySQLBackend() override { server_.Execute("DROP DATABASE " + database_); }

    void Execute(const std::string& sql) override { server_.Execute(sql, database_); }
    db::Account Account() const override { return {server_.User(), server_.Password()}; }

private:
    testsupport::MariaDbServer& server_;
    std::string database_;
    testsupport::TempDir dir_;
    testsupport::EnvGuard alias_;
};

} // namespace

std::unique_ptr<Backend> MakeBackend(BackendKind kind, const std::string& moreAliases) {
    if (kind == BackendKind::MySQL)
        return std::make_unique<MySQLBackend>(moreAliases);
    return std::make_unique<SQLiteBackend>(moreAliases);
}

std::string BackendName(const testing::TestParamInfo<BackendKind>& info) {
    return info.param == BackendKind::MySQL ? "MySQL" : "SQLite";
}
