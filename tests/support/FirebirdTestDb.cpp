#include "tests/support/FirebirdTestDb.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "db/IBDatabase.h"
#include "db/IBSQL.h"

namespace testsupport {

namespace fs = std::filesystem;

namespace {

// The engine's installed files that the private root links to.
const char* const kInstalledParts[] = {"plugins", "intl", "firebird.msg", "plugins.conf", "UDF"};

void MakeRoot(const fs::path& root) {
    fs::create_directories(root);
    const fs::path installed = UPDATER_FIREBIRD_ROOT;
    for (const char* part : kInstalledParts)
        if (fs::exists(installed / part))
            fs::create_symlink(installed / part, root / part);
    std::ofstream conf(root / "firebird.conf");
    conf << "Providers = Engine12\n"
         << "ServerMode = Super\n";
    if (!conf)
        throw std::runtime_error("cannot write " + (root / "firebird.conf").string());
}

// A connection with its own transaction to the test database.
struct Session {
    db::TIBDatabase database;
    db::TIBTransaction transaction;

    Session(const std::string& name, int dialect) {
        database.DatabaseName = name;
        database.Params = FirebirdTestDb::ConnectParams();
        database.LoginPrompt = false;
        database.SetSQLDialect(dialect);
        database.SetDefaultTransaction(&transaction);
        database.Open();
        transaction.StartTransaction();
    }
};

} // namespace

void UseEmbeddedFirebird() {
    static TempDir base;
    static const bool ready = [] {
        MakeRoot(base / "root");
        fs::create_directories(base / "lock");
        fs::create_directories(base / "tmp");
        setenv("FIREBIRD", (base / "root").c_str(), 1);
        setenv("FIREBIRD_LOCK", (base / "lock").c_str(), 1);
        setenv("FIREBIRD_TMP", (base / "tmp").c_str(), 1);
        return true;
    }();
    (void)ready;
}

FirebirdTestDb::FirebirdTestDb(int dialect) : file_(dir_ / "test.fdb"), dialect_(dialect) {
    UseEmbeddedFirebird();
    db::TIBDatabase creator;
    creator.DatabaseName = file_.string();
    creator.Params = {std::string("USER '") + kUser + "'", std::string("PASSWORD '") + kPassword + "'"};
    creator.SetSQLDialect(dialect);
    creator.CreateDatabase();
    creator.Close();
}

std::vector<std::string> FirebirdTestDb::ConnectParams() {
    return {std::string("user_name=") + kUser, std::string("password=") + kPassword};
}

void FirebirdTestDb::Execute(const std::string& sql) const {
    Session session(name(), dialect_);
    db::TIBSQL statement(&session.database);
    statement.ParamCheck = false;
    statement.SetSQL(sql);
    statement.ExecQuery();
    session.transaction.Commit();
}

std::string FirebirdTestDb::QueryText(const std::string& sql) const {
    Session session(name(), dialect_);
    db::TIBSQL statement(&session.database);
    statement.SetSQL(sql);
    statement.ExecQuery();
    return statement.Eof() ? std::string() : statement.Fields().at(0).AsString();
}

} // namespace testsupport
