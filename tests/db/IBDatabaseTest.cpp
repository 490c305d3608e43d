#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "db/IBDatabase.h"
#include "db/IBError.h"
#include "db/IBSQL.h"
#include "tests/support/FirebirdTestDb.h"

namespace {

using db::EIBError;
using db::TIBDatabase;
using db::TIBTransaction;
using testsupport::FirebirdTestDb;
using testsupport::IBErrorOf;

void Connect(TIBDatabase& database, const FirebirdTestDb& file) {
    database.DatabaseName = file.name();
    database.Params = FirebirdTestDb::ConnectParams();
    database.LoginPrompt = false;
}

void Execute(TIBDatabase& database, const std::string& sql) {
    db::TIBSQL statement(&database);
    statement.SetSQL(sql);
    statement.ExecQuery();
}

class IBDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { testsupport::UseEmbeddedFirebird(); }
};

TEST_F(IBDatabaseTest, OpenLowersTheDialectToTheDatabasesOwnAndCloseResetsIt) {
    FirebirdTestDb dialect1(1);
    TIBDatabase database;
    Connect(database, dialect1);
    EXPECT_EQ(database.SQLDialect(), 3);
    database.Open();
    EXPECT_TRUE(database.Connected());
    EXPECT_EQ(database.DBSQLDialect(), 1);
    EXPECT_EQ(database.SQLDialect(), 1);
    database.Close();
    EXPECT_FALSE(database.Connected());
    EXPECT_EQ(database.DBSQLDialect(), 1);

    FirebirdTestDb dialect3(3);
    Connect(database, dialect3);
    database.Open();
    EXPECT_EQ(database.DBSQLDialect(), 3);
    EXPECT_EQ(database.SQLDialect(), 1) << "a lower dialect than the database's stays";
    database.SetSQLDialect(3);
    EXPECT_EQ(database.SQLDialect(), 3);
}

TEST_F(IBDatabaseTest, DialectSetterRejectsValuesOutOfRange) {
    FirebirdTestDb file(1);
    TIBDatabase database;
    Connect(database, file);
    EXPECT_EQ(IBErrorOf([&] { database.SetSQLDialect(0); }), "SQL Dialect Invalid");
    database.SetSQLDialect(3);
    database.Open();
    EXPECT_EQ(IBErrorOf([&] { database.SetSQLDialect(3); }), "SQL Dialect Invalid");
    EXPECT_EQ(IBErrorOf([&] { database.SetSQLDialect(2); }), "SQL Dialect Invalid");
    EXPECT_EQ(database.SQLDialect(), 1);
    database.Close();
    database.SetSQLDialect(3);
    EXPECT_EQ(database.SQLDialect(), 3);
}

TEST_F(IBDatabaseTest, OpenChecksItsOwnPreconditionsFirst) {
    FirebirdTestDb file;
    TIBDatabase database;
    EXPECT_EQ(IBErrorOf([&] { database.Open(); }), "Database name is missing");
    Connect(database, file);
    database.Open();
    EXPECT_EQ(IBErrorOf([&] { database.Open(); }), "Cannot perform operation -- DB is currently open");
    database.Close();
    database.Close();
    EXPECT_FALSE(database.Connected());
}

TEST_F(IBDatabaseTest, LoginPromptSuppliesTheAccountSent) {
    FirebirdTestDb file;
    TIBDatabase database;
    Connect(database, file);
    database.LoginPrompt = true;
    std::string offeredUser;
    std::string offeredPassword;
    database.OnLogin = [&](std::string& user, std::string& password) {
        offeredUser = user;
        offeredPassword = password;
        user = "CAIXA";
    };
    TIBTransaction transaction;
    database.SetDefaultTransaction(&transaction);
    database.Open();
    EXPECT_EQ(offeredUser, "ROOT");
    EXPECT_EQ(offeredPassword, "718352");
    transaction.StartTransaction();
    db::TIBSQL user(&database);
    user.SetSQL("select current_user from RDB$DATABASE");
    user.ExecQuery();
    EXPECT_EQ(user.Fields().at(0).AsString(), "CAIXA");
}

TEST_F(IBDatabaseTest, ParameterErrorsComeBeforeAnyAttach) {
    testsupport::TempDir dir;
    TIBDatabase database;
    database.DatabaseName = (dir / "absent.fdb").string();
    database.Params = {"user_name=ROOT", "usuario=ROOT"};
    // An attach would report the missing file; the parameter error comes first.
    EXPECT_EQ(IBErrorOf([&] { database.Open(); }), "DPB Constant (usuario) is unknown");
    database.Params = {"user_name=ROOT", "isc_dpb_trace=1"};
    EXPECT_EQ(IBErrorOf([&] { database.Open(); }), "DPB Constant (isc_dpb_trace) is unsupported");
    EXPECT_FALSE(database.Connected());
}

TEST_F(IBDatabaseTest, LibraryErrorsCarryCodesAndCrLfJoinedTexts) {
    testsupport::TempDir dir;
    const std::string missing = (dir / "absent.fdb").string();
    TIBDatabase database;
    database.DatabaseName = missing;
    database.Params = FirebirdTestDb::ConnectParams();
    try {
        database.Open();
        FAIL() << "opening a missing file succeeded";
    } catch (const EIBError& error) {
        EXPECT_EQ(std::string(error.what()), "I/O error during \"open\" operation for file \"" + missing +
                                                 "\"\r\nError while trying to open file\r\nNo such file or directory");
        EXPECT_EQ(error.SQLCode(), -902);
        EXPECT_EQ(error.IBErrorCode(), isc_io_error);
    }
    EXPECT_FALSE(database.Connected());

    FirebirdTestDb file;
    Connect(database, file);
    TIBTransaction transaction;
    database.SetDefaultTransaction(&transaction);
    database.Open();
    transaction.StartTransaction();
    try {
        Execute(database, "select * from NADA");
        FAIL() << "selecting from an unknown table succeeded";
    } catch (const EIBError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Dynamic SQL Error\r\nSQL error code = -204\r\nTable unknown\r\nNADA\r\nAt line 1, column 15");
        EXPECT_EQ(error.SQLCode(), -204);
        EXPECT_EQ(error.IBErrorCode(), isc_dsql_error);
    }
}

TEST_F(IBDatabaseTest, TransactionStateErrors) {
    FirebirdTestDb file;
    TIBDatabase database;
    TIBTransaction transaction;
    EXPECT_EQ(IBErrorOf([&] { transaction.StartTransaction(); }), "No databases in list");
    Connect(database, file);
    transaction.SetDefaultDatabase(&database);
    EXPECT_EQ(database.DefaultTransaction(), nullptr);
    EXPECT_EQ(IBErrorOf([&] { transaction.StartTransaction(); }), "Cannot perform operation -- DB is not open");
    EXPECT_EQ(IBErrorOf([&] { transaction.Commit(); }), "Transaction is not active");
    EXPECT_EQ(IBErrorOf([&] { transaction.Rollback(); }), "Transaction is not active");
    EXPECT_EQ(IBErrorOf([&] { transaction.CommitRetaining(); }), "Transaction is not active");
    EXPECT_EQ(IBErrorOf([&] { transaction.RollbackRetaining(); }), "Transaction is not active");
    database.Open();
    transaction.StartTransaction();
    EXPECT_TRUE(transaction.InTransaction());
    EXPECT_EQ(IBErrorOf([&] { transaction.StartTransaction(); }), "Transaction is active");
    transaction.Params = {"read_committed", "no_savepoint"};
    transaction.Commit();
    EXPECT_EQ(IBErrorOf([&] { transaction.StartTransaction(); }), "TPB Constant (no_savepoint) is unknown");
    EXPECT_FALSE(transaction.InTransaction());
    transaction.Params = {"read_committed", "rec_version", "nowait"};
    transaction.StartTransaction();
    EXPECT_TRUE(transaction.InTransaction());
}

TEST_F(IBDatabaseTest, ClosingEndsActiveTransactionsWithTheirDefaultAction) {
    FirebirdTestDb file;
    file.Execute("create table T (A integer)");
    TIBDatabase database;
    TIBTransaction transaction;
    Connect(database, file);
    database.SetDefaultTransaction(&transaction);

    database.Open();
    transaction.StartTransaction();
    Execute(database, "insert into T values (1)");
    database.Close();
    EXPECT_FALSE(transaction.InTransaction());
    EXPECT_EQ(file.QueryText("select count(*) from T"), "1") << "the default action commits";

    transaction.DefaultAction = db::TTransactionAction::TARollbackRetaining;
    database.Open();
    transaction.StartTransaction();
    Execute(database, "insert into T values (2)");
    database.Close();
    EXPECT_FALSE(transaction.InTransaction());
    EXPECT_EQ(file.QueryText("select count(*) from T"), "1") << "a rollback action drops the insert";
}

TEST_F(IBDatabaseTest, OneTransactionSpansSeveralConnections) {
    FirebirdTestDb first;
    FirebirdTestDb second;
    first.Execute("create table T (A integer)");
    second.Execute("create table T (A integer)");
    TIBDatabase one;
    TIBDatabase two;
    Connect(one, first);
    Connect(two, second);
    TIBTransaction transaction;
    transaction.SetDefaultDatabase(&one);
    transaction.AddDatabase(&two);
    one.Open();
    EXPECT_EQ(IBErrorOf([&] { transaction.StartTransaction(); }), "Cannot perform operation -- DB is not open");
    two.Open();
    transaction.StartTransaction();
    for (TIBDatabase* database : {&one, &two}) {
        db::TIBSQL insert(database);
        insert.SetTransaction(&transaction);
        insert.SetSQL("insert into T values (7)");
        insert.ExecQuery();
    }
    transaction.Rollback();
    EXPECT_EQ(first.QueryText("select count(*) from T"), "0");
    EXPECT_EQ(second.QueryText("select count(*) from T"), "0");
}

TEST_F(IBDatabaseTest, CreatesReportsOnAndDropsADatabase) {
    testsupport::UseEmbeddedFirebird();
    testsupport::TempDir dir;
    TIBDatabase database;
    database.DatabaseName = (dir / "it's new.fdb").string();
    database.Params = {"USER 'ROOT'", "PASSWORD '718352'", "PAGE_SIZE 8192"};
    database.SetSQLDialect(1);
    database.CreateDatabase();
    EXPECT_TRUE(database.Connected());
    EXPECT_EQ(database.DBSQLDialect(), 1);
    EXPECT_EQ(database.InfoInteger(isc_info_page_size), 8192);

    TIBTransaction transaction;
    database.SetDefaultTransaction(&transaction);
    transaction.StartTransaction();
    Execute(database, "select count(*) from RDB$RELATIONS");
    long long reads = 0;
    for (const std::string& line : database.InfoTableCounts(isc_info_read_seq_count))
        reads += std::stoll(line.substr(line.find('=') + 1));
    EXPECT_GT(reads, 0);

    EXPECT_EQ(IBErrorOf([&] { database.DropDatabase(); }), "Cannot drop database -- transactions are active");
    transaction.Commit();
    database.DropDatabase();
    EXPECT_FALSE(database.Connected());
    EXPECT_FALSE(std::filesystem::exists(database.DatabaseName));
}

TEST_F(IBDatabaseTest, ComponentsOutliveEachOtherSafely) {
    FirebirdTestDb file;
    auto transaction = std::make_unique<TIBTransaction>();
    db::TIBSQL statement;
    {
        TIBDatabase database;
        Connect(database, file);
        database.SetDefaultTransaction(transaction.get());
        statement.SetDatabase(&database);
        EXPECT_EQ(statement.Transaction(), transaction.get());
        database.Open();
        transaction->StartTransaction();
        statement.SetSQL("select * from RDB$DATABASE");
        statement.ExecQuery();
    }
    EXPECT_EQ(statement.Database(), nullptr);
    EXPECT_FALSE(statement.Open());
    EXPECT_FALSE(transaction->InTransaction());
    EXPECT_TRUE(transaction->Databases().empty());
    transaction.reset();
    EXPECT_EQ(statement.Transaction(), nullptr);
}

TEST_F(IBDatabaseTest, DemoHelperCreatesADialectOneDatabaseOnce) {
    testsupport::TempDir dir;
    const std::string file = (dir / "loja" / "dados.fdb").string();
    const std::string command =
        (testsupport::SourceDir() / "tools/create-local-db").string() + " '" + file + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    TIBDatabase database;
    database.DatabaseName = file;
    database.Params = FirebirdTestDb::ConnectParams();
    database.Open();
    EXPECT_EQ(database.DBSQLDialect(), 1);
    database.Close();
    EXPECT_NE(std::system(command.c_str()), 0) << "an existing file is left alone";
}

} // namespace
