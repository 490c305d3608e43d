#include "db/DBTables.h"
#include "db/EngineError.h"
#include "tests/support/LoopbackPort.h"
#include "tests/support/MariaDbServer.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace db;
using ::testing::AllOf;
using ::testing::HasSubstr;
using testsupport::MariaDbServer;

namespace {

// Database1 of the wait window on alias "Check", pointed at the given port and database.
class MySQLConnection : public ::testing::Test {
protected:
    void useAlias(unsigned port, const std::string& database) {
        dir_.write("aliases.ini", "[Check]\nTYPE=MYSQL\nHOST=127.0.0.1\nPORT=" + std::to_string(port) +
                                      "\nDATABASE NAME=" + database + "\n");
        Database1.AliasName = "Check";
        Database1.DatabaseName = "Sistema_my";
        Database1.LoginPrompt = false;
    }

    std::string openError() {
        try {
            Database1.Open();
        } catch (const EDatabaseError& error) {
            EXPECT_FALSE(Database1.Connected());
            return error.what();
        }
        return "<opened>";
    }

    testsupport::TempDir dir_;
    testsupport::EnvGuard alias_{AliasFileVariable, (dir_ / "aliases.ini").string()};
    TDatabase Database1;
};

} // namespace

TEST_F(MySQLConnection, AnUnreachableServerIsAnErrorNamingTheTarget) {
    useAlias(testsupport::FreeLoopbackPort(), "sistema");
    Database1.Params = {"USER NAME=tester", "PASSWORD=x"};
    EXPECT_THAT(openError(), HasSubstr("Cannot connect to the MySQL database sistema at 127.0.0.1: "));
}

TEST_F(MySQLConnection, ARefusedAccountOrDatabaseIsAnErrorWithTheServersMessage) {
    MariaDbServer& server = MariaDbServer::Shared();
    const std::string database = server.CreateDatabase();
    useAlias(server.Port(), database);

    Database1.Params = {"USER NAME=" + server.User(), "PASSWORD=wrong"};
    EXPECT_THAT(openError(), AllOf(HasSubstr("Cannot connect"), HasSubstr("Access denied for user 'tester'")));
    Database1.Params = {"USER NAME=nobody", "PASSWORD=" + server.Password()};
    EXPECT_THAT(openError(), HasSubstr("Access denied for user 'nobody'"));

    useAlias(server.Port(), "missing_database");
    Database1.Params = {"USER NAME=" + server.User(), "PASSWORD=" + server.Password()};
    EXPECT_THAT(openError(), HasSubstr("Unknown database 'missing_database'"));

    // The account may also come from the alias itself.
    dir_.write("aliases.ini", "[Check]\nTYPE=MYSQL\nHOST=127.0.0.1\nPORT=" + std::to_string(server.Port()) +
                                  "\nDATABASE NAME=" + database + "\nUSER NAME=" + server.User() +
                                  "\nPASSWORD=" + server.Password() + "\n");
    Database1.Params.clear();
    Database1.Open();
    EXPECT_TRUE(Database1.Connected());
}

TEST_F(MySQLConnection, MasterValuesWithBackslashesQuotesAndZeroBytesFindTheirRow) {
    MariaDbServer& server = MariaDbServer::Shared();
    const std::string database = server.CreateDatabase();
    server.Execute("create table scripts (programa varchar(20), versao varchar(10), texto text)", database);
    server.Execute("insert into scripts values ('A\\\\B''C', '1', 'found'), ('A\\0', '2', 'zero'), "
                   "('AB''C', '1', 'decoy')",
                   database);
    useAlias(server.Port(), database);
    Database1.Params = {"USER NAME=" + server.User(), "PASSWORD=" + server.Password()};

    TQuery Query2(Database1);
    TTable Table2(Database1);
    Table2.TableName = "scripts";
    Table2.MasterFields = "programa;versao";
    Table2.MasterSource = &Query2;
    Query2.SQL = {"select programa, versao from scripts where texto <> 'decoy' order by versao"};
    Query2.Open();
    EXPECT_EQ(Query2.FieldByName("programa").AsString(), "A\\B'C");
    Table2.Open();
    EXPECT_EQ(Table2.FieldByName("texto").AsString(), "found");
    Table2.Close();
    Query2.Next();
    EXPECT_EQ(Query2.FieldByName("programa").AsString(), std::string("A\0", 2));
    Table2.Open();
    EXPECT_EQ(Table2.FieldByName("texto").AsString(), "zero");
}
