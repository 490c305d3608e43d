#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "db/IBClientCalls.h"
#include "db/IBDatabase.h"
#include "db/IBError.h"
#include "db/IBQuery.h"
#include "db/IBSQL.h"
#include "tests/support/FirebirdTestDb.h"

namespace {

using db::EIBError;
using testsupport::FirebirdTestDb;
using testsupport::IBErrorOf;

// A closed connection to a fresh database holding table T (A integer, B
// varchar(10)), with its default transaction.
class IBQueryTest : public ::testing::Test {
protected:
    explicit IBQueryTest(int dialect = 3) : file_(dialect) {
        file_.Execute("create table T (A integer, B varchar(10))");
        database_.DatabaseName = file_.name();
        database_.Params = FirebirdTestDb::ConnectParams();
        database_.LoginPrompt = false;
        database_.SetDefaultTransaction(&transaction_);
        query_.SetDatabase(&database_);
    }

    std::string Count() const { return file_.QueryText("select count(*) from T"); }

    FirebirdTestDb file_;
    db::TIBTransaction transaction_;
    db::TIBDatabase database_;
    db::TIBQuery query_;
};

TEST_F(IBQueryTest, OpenConnectsAndStartsTheTransactionAndLeavesItActive) {
    file_.Execute("insert into T values (1, 'um')");
    file_.Execute("insert into T values (2, 'dois')");
    query_.SetSQL({"select A, B", "from T order by A"});
    query_.Open();
    EXPECT_TRUE(database_.Connected());
    EXPECT_TRUE(transaction_.InTransaction());
    EXPECT_TRUE(query_.Active());
    EXPECT_FALSE(query_.Eof());
    EXPECT_EQ(query_.FieldByName("a").AsInteger(), 1);
    EXPECT_EQ(query_.FieldByName("B").AsString(), "um");
    query_.Next();
    EXPECT_EQ(query_.FieldByName("B").AsString(), "dois");
    query_.Next();
    EXPECT_TRUE(query_.Eof());
    query_.Close();
    EXPECT_FALSE(query_.Active());
    EXPECT_TRUE(transaction_.InTransaction()) << "closing the query leaves the transaction";
    EXPECT_EQ(IBErrorOf([&] { query_.FieldByName("C"); }), "Field 'C' not found");
}

TEST_F(IBQueryTest, EndingTheTransactionClosesOpenQueriesUnlessRetaining) {
    query_.SetSQL({"select * from RDB$DATABASE"});
    query_.Open();
    transaction_.CommitRetaining();
    EXPECT_TRUE(query_.Active());
    transaction_.RollbackRetaining();
    EXPECT_TRUE(query_.Active());
    transaction_.Rollback();
    EXPECT_FALSE(query_.Active());
    EXPECT_FALSE(transaction_.InTransaction());

    query_.Open();
    database_.Close();
    EXPECT_FALSE(query_.Active());
}

TEST_F(IBQueryTest, ExecuteRunsInTheOpenTransactionUntilItEnds) {
    query_.SetSQL({"insert into T values (1, 'um')"});
    query_.ExecSQL();
    EXPECT_TRUE(transaction_.InTransaction());
    transaction_.Rollback();
    EXPECT_EQ(Count(), "0");
    query_.ExecSQL();
    transaction_.Commit();
    EXPECT_EQ(Count(), "1");
}

TEST_F(IBQueryTest, EmptySqlFailsBeforeAnythingIsSent) {
    database_.DatabaseName = "/nonexistent/folder/x.fdb";
    query_.SetSQL({"", "  "});
    EXPECT_EQ(IBErrorOf([&] { query_.ExecSQL(); }), "Empty query");
    EXPECT_EQ(IBErrorOf([&] { query_.Open(); }), "Empty query");
    EXPECT_FALSE(database_.Connected());
}

TEST_F(IBQueryTest, RespectsAllowAutoStartAndRefusesToOpenNonSelects) {
    transaction_.AllowAutoStart = false;
    query_.SetSQL({"select * from T"});
    EXPECT_EQ(IBErrorOf([&] { query_.Open(); }), "Transaction is not active");
    transaction_.AllowAutoStart = true;
    query_.SetSQL({"delete from T"});
    EXPECT_EQ(IBErrorOf([&] { query_.Open(); }), "Cannot open a statement that returns no rows");
}

TEST_F(IBQueryTest, FieldsReadAsTextAndInteger) {
    file_.Execute("create table V (I integer, S smallint, N numeric(15,2), M numeric(4,1), D double precision, "
                  "C char(5), DT date, TS timestamp, BL blob sub_type text, NUL integer, NUMTXT varchar(5))");
    file_.Execute("insert into V values (-42, 7, -12.05, 3.5, 2.5, 'ab', '2024-02-29', '2024-02-29 13:45:06', "
                  "'a long text', null, ' 12 ')");
    query_.SetSQL({"select * from V"});
    query_.Open();
    const struct {
        const char* field;
        const char* text;
    } texts[] = {
        {"I", "-42"},          {"S", "7"},     {"N", "-12.05"},      {"M", "3.5"},
        {"D", "2.5"},          {"C", "ab   "}, {"DT", "2024-02-29"}, {"TS", "2024-02-29 13:45:06"},
        {"BL", "a long text"}, {"NUL", ""},    {"NUMTXT", " 12 "},
    };
    for (const auto& c : texts)
        EXPECT_EQ(query_.FieldByName(c.field).AsString(), c.text) << c.field;
    EXPECT_EQ(query_.FieldByName("N").AsInteger(), -12);
    EXPECT_EQ(query_.FieldByName("NUL").AsInteger(), 0);
    EXPECT_TRUE(query_.FieldByName("NUL").IsNull());
    EXPECT_EQ(query_.FieldByName("NUMTXT").AsInteger(), 12);
    EXPECT_EQ(IBErrorOf([&] { query_.FieldByName("C").AsInteger(); }), "'ab   ' is not a valid integer value");
}

TEST_F(IBQueryTest, StatementsWithAndWithoutParameterChecking) {
    database_.Open();
    transaction_.StartTransaction();
    db::TIBSQL statement(&database_);
    statement.SetSQL("select A from T where A = :wanted or B = :other");
    statement.Prepare();
    EXPECT_EQ(statement.SQLType(), db::TIBSQLTypes::SQLSelect);
    EXPECT_EQ(statement.ParamCount(), 2);
    EXPECT_EQ(statement.ParamNames(), (std::vector<std::string>{"wanted", "other"}));
    statement.ExecQuery();
    EXPECT_TRUE(statement.Open());
    EXPECT_TRUE(statement.Eof()) << "parameters are NULL and match nothing";

    const std::string procedure = "create procedure P (X integer) returns (R integer) as begin R = :X + 1; end";
    statement.SetSQL(procedure);
    EXPECT_FALSE(statement.Open());
    EXPECT_THROW(statement.ExecQuery(), EIBError) << "with checking on the body's :X becomes a marker";
    statement.ParamCheck = false;
    statement.SetSQL(procedure);
    statement.ExecQuery();
    EXPECT_EQ(statement.SQLType(), db::TIBSQLTypes::SQLDDL);
    transaction_.Commit();

    transaction_.StartTransaction();
    statement.SetSQL("execute procedure P 41");
    statement.ExecQuery();
    EXPECT_EQ(statement.SQLType(), db::TIBSQLTypes::SQLExecProcedure);
    EXPECT_EQ(statement.FieldByName("R").AsInteger(), 42);
}

TEST_F(IBQueryTest, StatementsNeedAnOpenConnectionAndAnActiveTransaction) {
    db::TIBSQL statement;
    statement.SetSQL("select * from T");
    EXPECT_EQ(IBErrorOf([&] { statement.ExecQuery(); }), "Database not assigned");
    statement.SetDatabase(&database_);
    EXPECT_EQ(IBErrorOf([&] { statement.ExecQuery(); }), "Cannot perform operation -- DB is not open");
    database_.Open();
    EXPECT_EQ(IBErrorOf([&] { statement.ExecQuery(); }), "Transaction is not active");
    statement.SetSQL(" ");
    EXPECT_EQ(IBErrorOf([&] { statement.ExecQuery(); }), "Empty query");
}

TEST_F(IBQueryTest, SavepointsUndoPartOfATransaction) {
    database_.Open();
    transaction_.StartTransaction();
    EXPECT_EQ(IBErrorOf([&] {
                  db::TIBTransaction idle;
                  db::StartSavepoint(idle, "S0");
              }),
              "Transaction is not active");
    query_.SetSQL({"insert into T values (1, 'kept')"});
    query_.ExecSQL();
    db::StartSavepoint(transaction_, "S1");
    query_.SetSQL({"insert into T values (2, 'undone')"});
    query_.ExecSQL();
    db::RollbackSavepoint(transaction_, "S1");
    db::StartSavepoint(transaction_, "S2");
    query_.SetSQL({"insert into T values (3, 'kept')"});
    query_.ExecSQL();
    db::ReleaseSavepoint(transaction_, "S2");
    EXPECT_THROW(db::RollbackSavepoint(transaction_, "S2"), EIBError) << "a released savepoint is gone";
    transaction_.Commit();
    EXPECT_EQ(file_.QueryText("select list(A) from T"), "1,3");
}

TEST_F(IBQueryTest, BatchRunsItsStatementsInOrderInTheTransaction) {
    database_.Open();
    transaction_.StartTransaction();
    db::BatchExecuteImmediate(
        database_, transaction_, database_.SQLDialect(),
        {"insert into T values (1, 'a')", "update T set A = A + 10", "insert into T values (2, 'b')"});
    EXPECT_THROW(db::BatchExecuteImmediate(
                     database_, transaction_, database_.SQLDialect(),
                     {"insert into T values (3, 'c')", "insert into NADA values (1)", "insert into T values (4, 'd')"}),
                 EIBError);
    transaction_.Commit();
    EXPECT_EQ(file_.QueryText("select list(A) from (select A from T order by A)"), "2,3,11");
}

} // namespace
