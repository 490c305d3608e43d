#include "scripts/IBScript.h"

#include "db/IBError.h"
#include "tests/support/FirebirdTestDb.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

using namespace scripts;
using testsupport::FirebirdTestDb;

using namespace std::string_literals;

namespace {

using Lines = std::vector<std::string>;

// The program's setting: a runner on an open connection whose default
// transaction is also the runner's Transaction, over a database holding an
// empty table A (X INTEGER).
class ScriptRun : public ::testing::Test {
protected:
    explicit ScriptRun(int fileDialect = 3, int componentDialect = 3) : file(fileDialect) {
        file.Execute("CREATE TABLE A (X INTEGER)");
        database.DatabaseName = file.name();
        database.Params = FirebirdTestDb::ConnectParams();
        database.LoginPrompt = false;
        database.SetSQLDialect(componentDialect);
        database.SetDefaultTransaction(&transaction);
        database.Open();
        script.SetDatabase(&database);
        script.SetTransaction(&transaction);
    }

    void Run(const Lines& lines) {
        script.SetScript(lines);
        script.RunScript();
    }
    // Runs a script that must stop with a database error, and gives the error.
    std::optional<db::EIBError> RunFailing(const Lines& lines) {
        try {
            Run(lines);
        } catch (const db::EIBError& error) {
            return error;
        }
        return std::nullopt;
    }
    // What another connection sees.
    std::string Committed(const std::string& sql) const { return file.QueryText(sql); }
    int CommittedRows() const { return std::stoi(Committed("SELECT COUNT(*) FROM A")); }
    bool TableExists(const std::string& name) const {
        return Committed("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = '" + name + "'") == "1";
    }

    FirebirdTestDb file;
    db::TIBDatabase database;
    db::TIBTransaction transaction;
    TIBScript script;
};

TEST_F(ScriptRun, DdlIsCommittedSinglyAndSurvivesALaterFailureWhileDmlStaysOpen) {
    const auto error = RunFailing({"CREATE TABLE B (X INTEGER);", "INSERT INTO A VALUES (1);",
                                   "CREATE TABLE B (Y INTEGER);", "CREATE TABLE C (X INTEGER);"});
    ASSERT_TRUE(error);
    EXPECT_STREQ(error->what(), "unsuccessful metadata update\r\nCREATE TABLE B failed\r\nTable B already exists");
    EXPECT_TRUE(TableExists("B"));
    EXPECT_FALSE(TableExists("C"));
    EXPECT_TRUE(transaction.InTransaction());
    EXPECT_EQ(CommittedRows(), 0);
    transaction.Commit();
    EXPECT_EQ(CommittedRows(), 1);
}

TEST_F(ScriptRun, DatabaseErrorCarriesTheLibraryTextsAndTheRestOfTheScriptIsDiscarded) {
    const auto error =
        RunFailing({"INSERT INTO NOPE VALUES (1); INSERT INTO A VALUES (7);", "INSERT INTO A VALUES (8);"});
    ASSERT_TRUE(error);
    EXPECT_STREQ(error->what(),
                 "Dynamic SQL Error\r\nSQL error code = -204\r\nTable unknown\r\nNOPE\r\nAt line 1, column 13");
    EXPECT_EQ(error->SQLCode(), -204);
    EXPECT_FALSE(script.Executing());
    EXPECT_TRUE(script.LastStop().early);
    Run({"COMMIT;"});
    EXPECT_EQ(Committed("SELECT COUNT(*) FROM A"), "0");
}

// Three scripts through one runner, the second stopping at a statement the
// parser does not know: the rest of its line must not run in the third.
TEST_F(ScriptRun, TextAfterAnEarlyStopDoesNotRunInTheNextScript) {
    Run({"CREATE TABLE T (X INTEGER);", "INSERT INTO T VALUES (1);"});
    Run({"INSERT INTO T VALUES (2);", "RECREATE TABLE Q (X INTEGER); DELETE FROM T;"});
    EXPECT_TRUE(script.LastStop().early);
    EXPECT_TRUE(script.LastStop().statementText);
    EXPECT_EQ(script.LastStop().parseError, "Invalid statement, line 2");
    Run({"INSERT INTO T VALUES (3);"});
    EXPECT_FALSE(script.LastStop().early);
    EXPECT_EQ(script.LastStop().parseError, "");
    transaction.Commit();
    EXPECT_EQ(Committed("SELECT LIST(X) FROM T"), "1,2,3");
}

TEST_F(ScriptRun, AnEarlyStopTellsWhetherStatementTextWentUnrun) {
    struct Case {
        Lines script;
        bool early;
        bool statementText;
    };
    const std::vector<Case> cases = {
        {{"INSERT INTO A VALUES (1);", "/* end */", "", "-- fim"}, true, false},
        {{"INSERT INTO A VALUES (1); -- fim"}, true, false},
        {{"INSERT INTO A VALUES (1);", "-- fim", "COMMIT;"}, true, true},
        {{"COMMIT WORK;"}, true, true},
        {{"INSERT INTO A VALUES (1);", "/* never closed"}, true, true},
        {{"INSERT INTO A VALUES ('x'); /* only a comment */"}, true, true},
        {{"BATCH START;", "INSERT INTO A VALUES (1);", "-- fim"}, true, true},
        {{"INSERT INTO A VALUES (1);", "/* end */"}, false, false},
    };
    for (const Case& c : cases) {
        try {
            Run(c.script);
        } catch (const db::EIBError&) {
            EXPECT_TRUE(c.early) << c.script[0];
        }
        EXPECT_EQ(script.LastStop().early, c.early) << c.script[0];
        EXPECT_EQ(script.LastStop().statementText, c.statementText) << c.script[0];
    }
}

// Statements the engine would take otherwise than written never reach it.
TEST_F(ScriptRun, StatementsTheEngineWouldMisreadAreRefused) {
    file.Execute("INSERT INTO A VALUES (1)");
    file.Execute("INSERT INTO A VALUES (2)");
    struct Case {
        Lines script;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"DELETE FROM A\0 WHERE X = 2;"s}, "Statement contains a NUL character"},
        {{"INSERT INTO A VALUES (3);", "INSERT INTO A VALUES ('4);", "COMMIT;"},
         "Unterminated quoted text starting at line 2"},
        {{"BATCH START;", "DELETE FROM A;", "INSERT INTO A VALUES (5);"},
         "2 statement(s) after BATCH START were not run: BATCH EXECUTE is missing"},
    };
    for (const Case& c : cases) {
        const auto error = RunFailing(c.script);
        ASSERT_TRUE(error) << c.error;
        EXPECT_EQ(error->what(), c.error);
        EXPECT_TRUE(script.LastStop().statementText) << c.error;
        if (transaction.InTransaction())
            transaction.Commit();
        EXPECT_EQ(Committed("SELECT LIST(X) FROM A"), c.error == "Statement contains a NUL character" ? "1,2" : "1,2,3")
            << c.error;
    }
}

TEST_F(ScriptRun, CommitAndRollbackWithAndWithoutRetaining) {
    struct Step {
        Lines script;
        int committedRows;
        bool inTransaction;
    };
    const std::vector<Step> steps = {
        {{"INSERT INTO A VALUES (1);", "COMMIT RETAINING;"}, 1, true},
        {{"INSERT INTO A VALUES (2);", "ROLLBACK RETAINING;"}, 1, true},
        {{"INSERT INTO A VALUES (3);", "COMMIT;"}, 2, false},
        {{"INSERT INTO A VALUES (4);", "ROLLBACK;"}, 2, false},
        {{"INSERT INTO A VALUES (5);", "RECONNECT;"}, 3, false},
    };
    for (const Step& step : steps) {
        Run(step.script);
        EXPECT_EQ(CommittedRows(), step.committedRows) << step.script[1];
        EXPECT_EQ(transaction.InTransaction(), step.inTransaction) << step.script[1];
    }
    EXPECT_TRUE(database.Connected());
}

TEST_F(ScriptRun, SavepointsUndoAndReleasePartsOfTheTransaction) {
    Run({"INSERT INTO A VALUES (1);", "SAVEPOINT SP1;", "INSERT INTO A VALUES (2);", "ROLLBACK TO SAVEPOINT SP1;",
         "INSERT INTO A VALUES (3);", "SAVEPOINT SP2;", "RELEASE SAVEPOINT SP2;"});
    EXPECT_THROW(Run({"ROLLBACK TO SAVEPOINT SP2;"}), db::EIBError);
    Run({"COMMIT;"});
    EXPECT_EQ(Committed("SELECT LIST(X) FROM A"), "1,3");
}

TEST_F(ScriptRun, ExecuteErrorEventWithIgnoreGoesOnAndWithoutItStopsQuietly) {
    struct Report {
        std::string error;
        std::string text;
        int line;
    };
    std::vector<Report> reports;
    bool ignore = true;
    script.OnExecuteError = [&](TIBScript&, const std::string& error, const std::string& text, int line, bool& go) {
        reports.push_back({error, text, line});
        go = ignore;
    };
    const Lines lines = {"INSERT INTO A VALUES (1);", "INSERT INTO A VALUES ('x');", "INSERT INTO A VALUES (3);"};
    Run(lines);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].error.find("conversion error from string \"x\""), std::string::npos) << reports[0].error;
    EXPECT_EQ(reports[0].text, "INSERT INTO A VALUES ('x')");
    EXPECT_EQ(reports[0].line, 2);
    EXPECT_FALSE(script.Parser().Paused());

    ignore = false;
    Run(lines);
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_TRUE(script.Parser().Paused());
    Run({"COMMIT;"});
    EXPECT_EQ(Committed("SELECT LIST(X) FROM A"), "1,3,1");
}

TEST_F(ScriptRun, ParseErrorStopsQuietlyAfterTheStatementsBeforeIt) {
    std::vector<std::string> errors;
    script.OnParseError = [&](TIBScript&, const std::string& error, const std::string& text, int line) {
        errors.push_back(error + "|" + text + "|" + std::to_string(line));
    };
    Run({"INSERT INTO A VALUES (1);", "COMMIT WORK;", "INSERT INTO A VALUES (2);"});
    EXPECT_EQ(errors, Lines{"Invalid statement|COMMIT WORK|2"});
    EXPECT_TRUE(transaction.InTransaction());
    transaction.Commit();
    EXPECT_EQ(Committed("SELECT LIST(X) FROM A"), "1");
}

TEST_F(ScriptRun, OtherExceptionsPassAtOnceEvenWithTheErrorEvent) {
    bool called = false;
    script.OnExecuteError = [&](TIBScript&, const std::string&, const std::string&, int, bool&) { called = true; };
    try {
        Run({"SET SQL DIALECT three;", "INSERT INTO A VALUES (1);"});
        FAIL() << "a dialect that is not a number must fail";
    } catch (const db::EIBError&) {
        FAIL() << "not a database error";
    } catch (const base::Exception& error) {
        EXPECT_EQ(std::string(error.what()), "'THREE' is not a valid integer value");
    }
    EXPECT_FALSE(called);
    EXPECT_FALSE(transaction.InTransaction());
}

TEST_F(ScriptRun, SetStatementsChangeTheRunnerAndPersist) {
    Run({"SET AUTODDL OFF;", "SET SAVEPOINTS OFF;", "SET STATISTICS off;"});
    EXPECT_FALSE(script.AutoDDL);
    // No savepoints: the transaction keeps no undo log.
    EXPECT_EQ(transaction.Params, Lines{"no_auto_undo"});
    EXPECT_FALSE(script.Statistics());
    Run({"INSERT INTO A VALUES (1);", "COMMIT;"});
    EXPECT_EQ(CommittedRows(), 1);

    // With AutoDDL off, DDL runs in Transaction and waits for its commit.
    Run({"SET SAVEPOINTS ON;", "CREATE TABLE B (X INTEGER);"});
    EXPECT_TRUE(transaction.Params.empty());
    EXPECT_FALSE(TableExists("B"));
    Run({"COMMIT;", "set autoddl on;", "SET STATISTICS ON;"});
    EXPECT_TRUE(TableExists("B"));
    EXPECT_TRUE(script.AutoDDL);
    EXPECT_TRUE(script.Statistics());
}

TEST_F(ScriptRun, OnAndOffAreReadInAnyLetterCaseAlsoBeforeABlank) {
    struct Case {
        std::string statement;
        bool autoDDL;
        bool statistics;
        Lines params;
    };
    const std::vector<Case> cases = {
        {"SET AUTODDL off ;", false, true, {}},
        {"SET AUTODDL on ;", true, true, {}},
        {"set statistics Off ;", true, false, {}},
        {"SET STATISTICS oN;", true, true, {}},
        {"SET SAVEPOINTS off ;", true, true, {"no_auto_undo"}},
        {"SET SAVEPOINTS On ;", true, true, {}},
    };
    for (const Case& c : cases) {
        Run({c.statement});
        EXPECT_EQ(script.AutoDDL, c.autoDDL) << c.statement;
        EXPECT_EQ(script.Statistics(), c.statistics) << c.statement;
        EXPECT_EQ(transaction.Params, c.params) << c.statement;
    }
}

TEST_F(ScriptRun, StatisticsCountWhatTheRunDid) {
    Run({"INSERT INTO A VALUES (1);", "SELECT * FROM A;"});
    EXPECT_GT(script.Stats().Totals().Fetches, 0);
    EXPECT_GT(script.Stats().Totals().SeqReads, 0);
    EXPECT_GT(script.Stats().Totals().Buffers, -1);
}

TEST_F(ScriptRun, BatchSendsItsStatementsInTheTransactionAndRefusesOtherKinds) {
    Run({"BATCH START;", "INSERT INTO A VALUES (1);", "SET TERM ^ ;", "INSERT INTO A VALUES (2)^", "BATCH EXECUTE^",
         "SET TERM ; ^"});
    EXPECT_EQ(script.Terminator(), ";");
    EXPECT_EQ(CommittedRows(), 0);
    const auto error = RunFailing({"BATCH START;", "COMMIT;"});
    ASSERT_TRUE(error);
    EXPECT_STREQ(error->what(), "Only DDL and DML (excluding Select statements) allowed within a Batch block");
    EXPECT_EQ(error->SQLCode(), -1);
    transaction.Commit();
    EXPECT_EQ(Committed("SELECT LIST(X) FROM A"), "1,2");
}

TEST_F(ScriptRun, ParameterCheckCanPauseBeforeTheStatementAndResumeAfterIt) {
    int checks = 0;
    script.OnParamCheck = [&](TIBScript&, bool& pause) {
        ++checks;
        pause = true;
    };
    Run({"INSERT INTO A VALUES (1);", "INSERT INTO A VALUES (:X);", "INSERT INTO A VALUES (3);"});
    EXPECT_EQ(checks, 1);
    EXPECT_TRUE(script.Parser().Paused());
    EXPECT_FALSE(script.LastStop().early) << "a pause keeps the rest for resuming";
    script.Parser().SetPaused(false);
    transaction.Commit();
    EXPECT_EQ(Committed("SELECT LIST(X) FROM A"), "1,3");
}

class DialectOneComponent : public ScriptRun {
protected:
    DialectOneComponent() : ScriptRun(3, 1) {}
};

TEST_F(DialectOneComponent, SetSqlDialectStaysOnTheDatabaseComponentForLaterScripts) {
    EXPECT_EQ(database.SQLDialect(), 1);
    Run({"INSERT INTO A VALUES (1);", "SET SQL DIALECT 3;"});
    EXPECT_EQ(database.SQLDialect(), 3);
    EXPECT_TRUE(database.Connected());
    EXPECT_EQ(CommittedRows(), 1); // reopening committed the open transaction
    Run({"CREATE TABLE \"Mixed\" (X INTEGER);"});
    EXPECT_EQ(script.SQLDialect(), 3);
    EXPECT_TRUE(TableExists("Mixed"));
}

class DialectOneFile : public ScriptRun {
protected:
    DialectOneFile() : ScriptRun(1, 3) {}
};

TEST_F(DialectOneFile, DoubleQuotedTextsAreStringsInDialectOne) {
    EXPECT_EQ(database.SQLDialect(), 1);
    Run({"CREATE TABLE B (S VARCHAR(10));", "INSERT INTO B VALUES (\"a;b\");", "SET SQL DIALECT 3;", "COMMIT;"});
    EXPECT_EQ(database.SQLDialect(), 1);
    EXPECT_EQ(Committed("SELECT S FROM B"), "a;b");
}

TEST_F(ScriptRun, ConnectGivesTheRunnerItsOwnConnectionWithUserRoleAndCharacterSet) {
    file.Execute("CREATE TABLE WHO (U VARCHAR(31), R VARCHAR(31), C VARCHAR(31))");
    file.Execute("CREATE ROLE WRITER");
    file.Execute("GRANT INSERT ON WHO TO WRITER");
    file.Execute("GRANT WRITER TO SCRIPTER");
    Run({"INSERT INTO A VALUES (1);", "SET NAMES UTF8;",
         "CONNECT '" + file.name() + "' USER 'SCRIPTER' PASSWORD 'secret' ROLE writer;",
         "INSERT INTO WHO SELECT CURRENT_USER, CURRENT_ROLE, TRIM(C.RDB$CHARACTER_SET_NAME)",
         "  FROM MON$ATTACHMENTS M JOIN RDB$CHARACTER_SETS C ON C.RDB$CHARACTER_SET_ID = M.MON$CHARACTER_SET_ID",
         "  WHERE M.MON$ATTACHMENT_ID = CURRENT_CONNECTION;", "COMMIT;"});
    EXPECT_EQ(Committed("SELECT U || ',' || R || ',' || C FROM WHO"), "SCRIPTER,WRITER,UTF8");
    ASSERT_NE(script.Database(), &database);
    EXPECT_EQ(script.Database()->Params,
              (Lines{"user_name=SCRIPTER", "password=secret", "sql_role_name=WRITER", "lc_ctype=UTF8"}));
    EXPECT_NE(script.Transaction(), &transaction);
    // The program's own transaction still holds its uncommitted row.
    EXPECT_TRUE(transaction.InTransaction());
    EXPECT_EQ(CommittedRows(), 0);
}

TEST_F(ScriptRun, FreeingTheRunnerClosesItsOwnConnectionAndSoCommitsIt) {
    {
        TIBScript other;
        other.SetScript({"CONNECT '" + file.name() + "' USER 'ROOT';", "INSERT INTO A VALUES (6);"});
        other.RunScript();
        EXPECT_EQ(CommittedRows(), 0);
    }
    EXPECT_EQ(CommittedRows(), 1);
}

TEST_F(ScriptRun, CreateDatabaseThenStatementsInItThenDropIt) {
    const std::filesystem::path created = file.path().parent_path() / "created.fdb";
    Run({"CREATE DATABASE '" + created.string() + "' USER 'ROOT' PASSWORD '718352' PAGE_SIZE 8192;",
         "CREATE TABLE N (X INTEGER);", "INSERT INTO N VALUES (5);", "COMMIT;"});
    ASSERT_TRUE(std::filesystem::exists(created));
    ASSERT_NE(script.Database(), &database);
    EXPECT_EQ(script.Database()->DatabaseName, created.string());
    {
        db::TIBSQL query(script.Database());
        query.SetSQL("SELECT X FROM N");
        script.Transaction()->StartTransaction();
        query.ExecQuery();
        EXPECT_EQ(query.Fields().at(0).AsInteger(), 5);
        script.Transaction()->Commit();
    }
    Run({"DROP DATABASE;"});
    EXPECT_FALSE(std::filesystem::exists(created));

    const auto error = RunFailing({"CREATE DATABASE;"});
    ASSERT_TRUE(error);
    EXPECT_STREQ(error->what(), "Database name is missing");
}

TEST_F(ScriptRun, DatasetRunsTheDataStatementsAndIsForgottenOnceFreed) {
    auto dataset = std::make_shared<db::TIBQuery>();
    dataset->SetDatabase(&database);
    dataset->SetTransaction(&transaction);
    script.SetDataset(dataset);
    Run({"INSERT INTO A VALUES (4);", "SELECT X FROM A;"});
    ASSERT_TRUE(dataset->Active());
    EXPECT_EQ(dataset->FieldByName("X").AsInteger(), 4);

    dataset.reset();
    EXPECT_EQ(script.Dataset(), nullptr);
    Run({"INSERT INTO A VALUES (5);", "COMMIT;"});
    EXPECT_EQ(Committed("SELECT LIST(X) FROM A"), "4,5");
}

TEST(ScriptComponents, FreeingTheDatabaseOrTransactionClearsTheRunnersReference) {
    TIBScript script;
    auto database = std::make_unique<db::TIBDatabase>();
    auto transaction = std::make_unique<db::TIBTransaction>();
    script.SetDatabase(database.get());
    script.SetTransaction(transaction.get());
    transaction.reset();
    EXPECT_EQ(script.Transaction(), nullptr);
    database.reset();
    EXPECT_EQ(script.Database(), nullptr);
    script.SetScript({"COMMIT;", "ROLLBACK;"});
    script.RunScript();
    EXPECT_EQ(script.LastKind(), stmtROLLBACK);
}

} // namespace
