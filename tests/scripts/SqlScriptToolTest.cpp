#include "tests/support/FirebirdTestDb.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using testsupport::FirebirdTestDb;

using namespace std::string_literals;

namespace {

using ToolRun = testsupport::ProgramRun;

ToolRun RunTool(const std::vector<std::string>& args) {
    return testsupport::RunProgram(SQLSCRIPT_PROGRAM, args);
}

class SqlScriptTool : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text) const { return dir.write(name, text).string(); }

    // A dialect-1 database, as the updater's local databases are.
    FirebirdTestDb file{1};
    testsupport::TempDir dir;
};

TEST_F(SqlScriptTool, RunsProceduresTriggersAndSetTermAndReportsEachStatement) {
    const std::string script = Write("update.sql", "/* release 1.2 */\r\n"
                                                   "CREATE TABLE ITEMS (ID INTEGER, NAME VARCHAR(20));\r\n"
                                                   "CREATE TABLE LOG (ID INTEGER);\r\n"
                                                   "SET TERM ^ ;\r\n"
                                                   "CREATE TRIGGER ITEMS_BI FOR ITEMS BEFORE INSERT AS\r\n"
                                                   "BEGIN\r\n"
                                                   "  INSERT INTO LOG VALUES (NEW.ID);\r\n"
                                                   "END^\r\n"
                                                   "SET TERM ; ^\r\n"
                                                   "CREATE PROCEDURE ADD_ITEM (ID INTEGER, NAME VARCHAR(20)) AS\r\n"
                                                   "BEGIN\r\n"
                                                   "  INSERT INTO ITEMS VALUES (:ID, :NAME);\r\n"
                                                   "END;\r\n"
                                                   "EXECUTE PROCEDURE ADD_ITEM(1, 'one; two');\r\n"
                                                   "commit work;\r\n"
                                                   "INSERT INTO ITEMS VALUES (2, \"two\");\r\n");
    const ToolRun run = RunTool({file.name(), script});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string at = script + ":";
    EXPECT_EQ(run.output, at + "1: stmtDDL: ok\n" + at + "3: stmtDDL: ok\n" + at + "4: stmtTERM: ok\n" + at +
                              "5: stmtDDL: ok\n" + at + "9: stmtTERM: ok\n" + at + "10: stmtDDL: ok\n" + at +
                              "14: stmtDML: ok\n" + at + "16: stmtDML: ok\n");
    EXPECT_EQ(file.QueryText("SELECT LIST(ID || ':' || NAME, '|') FROM ITEMS"), "1:one; two|2:two");
    EXPECT_EQ(file.QueryText("SELECT LIST(ID) FROM LOG"), "1,2");
}

// A parse error with only a remark after it ends its script alone, the
// terminator carrying over; an execution error ends the run.
TEST_F(SqlScriptTool, AQuietParseErrorEndsItsScriptAndAnExecutionErrorTheRun) {
    const std::string first = Write("first.sql", "SET TERM ^ ;\n"
                                                 "CREATE TABLE T (X INTEGER)^\n"
                                                 "-- the end\n");
    const std::string second = Write("second.sql", "INSERT INTO T VALUES (1)^\n"
                                                   "INSERT INTO T VALUES ('x')^\n"
                                                   "INSERT INTO T VALUES (3)^\n");
    const std::string third = Write("third.sql", "INSERT INTO T VALUES (4)^\n");
    const ToolRun run = RunTool({file.name(), first, second, third, "--user", "ROOT", "--dialect", "3"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, first + ":1: stmtTERM: ok\n" + first + ":2: stmtDDL: ok\n" + first +
                              ":3: parse error: Invalid statement\n  -- the end\n" + second + ":1: stmtDML: ok\n" +
                              second + ":2: stmtDML: error\n  conversion error from string \"x\"\n");
    EXPECT_EQ(file.QueryText("SELECT LIST(X) FROM T"), "1");
}

// A script fails as in the updater and ends the run: a parse error that
// leaves statements unrun, or a commit the database refuses.
TEST_F(SqlScriptTool, AParseErrorLeavingStatementsOrARefusedCommitEndsTheRun) {
    const std::string a = Write("a.sql", "CREATE TABLE T (X INTEGER);\nINSERT INTO T VALUES (1);\n");
    const std::string b = Write("b.sql", "INSERT INTO T VALUES (2);\nRECREATE TABLE Q (X INTEGER); DELETE FROM T;\n");
    const std::string c = Write("c.sql", "INSERT INTO T VALUES (3);\n");
    const ToolRun parse = RunTool({file.name(), a, b, c});
    EXPECT_EQ(parse.exitCode, 1);
    EXPECT_EQ(parse.output, a + ":1: stmtDDL: ok\n" + a + ":2: stmtDML: ok\n" + b + ":1: stmtDML: ok\n" + b +
                                ":2: parse error: Invalid statement\n  RECREATE TABLE Q (X INTEGER)\n");
    EXPECT_EQ(file.QueryText("SELECT LIST(X) FROM T"), "1,2");

    file.Execute("CREATE TABLE BLOCK (X INTEGER)");
    file.Execute("CREATE EXCEPTION REFUSED 'Commit refused'");
    file.Execute("CREATE TRIGGER REFUSE_COMMIT ON TRANSACTION COMMIT AS BEGIN "
                 "IF (EXISTS(SELECT 1 FROM BLOCK)) THEN EXCEPTION REFUSED; END");
    const std::string blocking = Write("blocking.sql", "INSERT INTO T VALUES (4);\nINSERT INTO BLOCK VALUES (1);\n");
    const ToolRun commit = RunTool({file.name(), blocking, c});
    EXPECT_EQ(commit.exitCode, 1);
    EXPECT_EQ(commit.output.substr(0, commit.output.find('\n', commit.output.find(": commit: error\n"))),
              blocking + ":1: stmtDML: ok\n" + blocking + ":2: stmtDML: ok\n" + blocking + ": commit: error");
    EXPECT_NE(commit.output.find("Commit refused"), std::string::npos) << commit.output;
    EXPECT_EQ(file.QueryText("SELECT LIST(X) FROM T"), "1,2");
}

TEST_F(SqlScriptTool, CheckPrintsWhatTheUpdaterWouldDoUnexpectedly) {
    const std::string first = Write("first.sql", "CREATE TABLE T (X INTEGER); COMMIT WORK;\n"
                                                 "  commit work ;\n"
                                                 "BATCH START;\n"
                                                 "INSERT INTO T VALUES (1);\n"
                                                 "INSERT INTO T VALUES (2);\n"
                                                 "SET TERM ^ ;\n");
    const std::string second = Write("second.sql", "DELETE FROM T\0 WHERE X = 2^\n"
                                                   "DELETE FROM T^\n"s);
    const std::string third = Write("third.sql", "SET TERM ; ^\n"
                                                 "-- a remark\n"
                                                 "DELETE FROM T;\n");
    const std::string fourth = Write("fourth.sql", "INSERT INTO T VALUES (3);\n"
                                                   "INSERT INTO T VALUES ('4);\n"
                                                   "COMMIT;\n");
    const ToolRun run = RunTool({"--check", first, second, third, fourth});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, first +
                              ":1: warning: the whole line is blanked for its COMMIT WORK\n"
                              "  CREATE TABLE T (X INTEGER); COMMIT WORK;\n" +
                              first +
                              ":3: stmtBatchStart: error\n"
                              "  2 statement(s) after BATCH START were not run: BATCH EXECUTE is missing\n" +
                              second + ":1: stmtDML: error\n  Statement contains a NUL character\n" + third +
                              ":2: parse error: Invalid statement\n  -- a remark\n  DELETE FROM T\n" + fourth +
                              ":2: stmtDML: error\n  Unterminated quoted text starting at line 2\n");

    const std::string clean = Write("clean.sql", "/* release */\nINSERT INTO T VALUES ('a; b');\nCOMMIT WORK;\n");
    const ToolRun cleanRun = RunTool({"--check", clean});
    EXPECT_EQ(cleanRun.exitCode, 0) << cleanRun.output;
    EXPECT_EQ(cleanRun.output, "");
}

TEST_F(SqlScriptTool, OnlyRegularFilesAreReadAsScripts) {
    const ToolRun run = RunTool({"--parse-only", "/dev/zero"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "sqlscript: Cannot open file \"/dev/zero\". It is not a regular file.\n");
}

TEST_F(SqlScriptTool, ParseOnlyListsStatementsWithoutADatabase) {
    const std::string script = Write("list.sql", "SET AUTODDL OFF;\nSELECT *\nFROM T;\nCOMMIT WORK;\nROLLBACK WORK;\n");
    const ToolRun run = RunTool({"--parse-only", script});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, script + ":1: stmtSET\n  AUTODDL OFF\n" + script + ":2: stmtDML\n  SELECT *\n  FROM T\n" +
                              script + ":5: parse error: Invalid statement\n  ROLLBACK WORK\n");
}

TEST_F(SqlScriptTool, BadUsageExitsWithTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {file.name()},
                                               {"--parse-only"},
                                               {"--check"},
                                               {"--check", "--parse-only", "x.sql"},
                                               {file.name(), "x.sql", "--dialect", "2"},
                                               {"--user"}}) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.exitCode, 2) << run.output;
        EXPECT_EQ(run.output.rfind("usage: sqlscript", 0), 0u) << run.output;
    }
}

} // namespace
