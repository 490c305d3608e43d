#include "scripts/IBSQLParser.h"

#include "scripts/ScriptText.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <sys/stat.h>

using namespace scripts;

using namespace std::string_literals;

namespace {

using Lines = std::vector<std::string>;

// One report of the parser: a statement (kind name) or a parse error
// ("error: " + message), with its text, its tokens and its line.
struct Event {
    std::string what;
    std::string text;
    Lines tokens;
    int line = 0;
    bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
    out << e.what << " [" << e.text << "] line " << e.line << " tokens:";
    for (const std::string& token : e.tokens)
        out << " <" << token << ">";
    return out;
}

class Recorder {
public:
    explicit Recorder(TIBSQLParser& parser) {
        parser.OnParse = [this](TIBSQLParser& sender, TIBParseKind kind, const std::string& text) {
            events.push_back({ParseKindName(kind), text, sender.Tokens(), sender.LineIndex()});
        };
        parser.OnError = [this](TIBSQLParser&, const std::string& error, const std::string& text, int line) {
            events.push_back({"error: " + error, text, {}, line});
        };
    }
    std::vector<Event> events;
};

struct ParseCase {
    std::string name;
    std::vector<Lines> runs; // scripts handed to the same parser, one Parse each
    std::vector<Event> expected;
    std::map<std::string, std::string> files = {};
    std::string terminatorAfter = ";";
};

const std::vector<ParseCase>& Cases() {
    static const std::vector<ParseCase> cases = {
        {"StatementsOnTheirLines",
         {{"CREATE TABLE T (A INTEGER);", "", "", "insert into T values (1);"}},
         {{"stmtDDL", "CREATE TABLE T (A INTEGER)", {"CREATE", "TABLE", "T", "(A", "INTEGER)"}, 1},
          {"stmtDML", "insert into T values (1)", {"insert", "into", "T", "values", "(1)"}, 4}}},
        {"StatementAcrossLinesKeepsTheLineBreaks",
         {{"SELECT *", "FROM T;"}},
         {{"stmtDML", "SELECT *\r\nFROM T", {"SELECT", "*", "FROM", "T"}, 1}}},
        {"SeveralStatementsOnOneLine",
         {{"DELETE FROM T; DELETE FROM U;"}},
         {{"stmtDML", "DELETE FROM T", {"DELETE", "FROM", "T"}, 1},
          {"stmtDML", "DELETE FROM U", {"DELETE", "FROM", "U"}, 1}}},
        {"SetTermAroundATriggerBody",
         {{"SET TERM ^ ;", "CREATE TRIGGER TR FOR T BEFORE INSERT AS", "BEGIN", "  NEW.A = 1;", "END^", "SET TERM ; ^",
           "INSERT INTO T VALUES (2);"}},
         {{"stmtTERM", "^", {"SET", "TERM", "^"}, 1},
          {"stmtDDL",
           "CREATE TRIGGER TR FOR T BEFORE INSERT AS\r\nBEGIN\r\n  NEW.A = 1;\r\nEND",
           {"CREATE", "TRIGGER", "TR", "FOR", "T", "BEFORE", "INSERT", "AS", "BEGIN", "NEW.A", "=", "1;", "END"},
           2},
          {"stmtTERM", ";", {"SET", "TERM", ";"}, 6},
          {"stmtDML", "INSERT INTO T VALUES (2)", {"INSERT", "INTO", "T", "VALUES", "(2)"}, 7}}},
        {"BlockModeEndsAtEndSemicolonAndTakesTheNextCharacter",
         {{"CREATE PROCEDURE P AS", "BEGIN", "  DELETE FROM T;", "END;", "COMMIT;"}},
         {{"stmtDDL",
           "CREATE PROCEDURE P AS\r\nBEGIN\r\n  DELETE FROM T;\r\nEND",
           {"CREATE", "PROCEDURE", "P", "AS", "BEGIN", "DELETE", "FROM", "T;", "END", ";"},
           1},
          {"stmtCOMMIT", "COMMIT", {"COMMIT"}, 5}}},
        {"BlockModeAtTheEndOfTheScriptKeepsTheSemicolon",
         {{"alter procedure P as", "begin", "end;"}},
         {{"stmtDDL",
           "alter procedure P as\r\nbegin\r\nend;",
           {"alter", "procedure", "P", "as", "begin", "end", ";"},
           1}}},
        // The character after END; goes only when it is a blank or a line
        // break; a statement on the same line keeps its first letter.
        {"EndSemicolonFollowedOnItsLineByAStatement",
         {{"CREATE PROCEDURE P AS", "BEGIN", "  DELETE FROM T;", "END; SELECT 1 FROM Y;",
           "ALTER TRIGGER TR ACTIVE; COMMIT;"}},
         {{"stmtDDL",
           "CREATE PROCEDURE P AS\r\nBEGIN\r\n  DELETE FROM T;\r\nEND",
           {"CREATE", "PROCEDURE", "P", "AS", "BEGIN", "DELETE", "FROM", "T;", "END", ";"},
           1},
          {"stmtDML", "SELECT 1 FROM Y", {"SELECT", "1", "FROM", "Y"}, 4},
          {"stmtDDL", "ALTER TRIGGER TR ACTIVE", {"ALTER", "TRIGGER", "TR", "ACTIVE", ";"}, 5},
          {"stmtCOMMIT", "COMMIT", {"COMMIT"}, 5}}},
        {"AlterTriggerActiveEndsInBlockMode",
         {{"ALTER TRIGGER TR INACTIVE;", "COMMIT;"}},
         {{"stmtDDL", "ALTER TRIGGER TR INACTIVE", {"ALTER", "TRIGGER", "TR", "INACTIVE", ";"}, 1},
          {"stmtCOMMIT", "COMMIT", {"COMMIT"}, 2}}},
        {"QuotesHoldTerminatorsBlanksAndLineBreaks",
         {{"INSERT INTO T VALUES ('a; b', \"x y\");", "INSERT INTO T VALUES ('line one", "line two');"}},
         {{"stmtDML",
           "INSERT INTO T VALUES ('a; b', \"x y\")",
           {"INSERT", "INTO", "T", "VALUES", "('a; b'", ",", "\"x y\"", ")"},
           1},
          {"stmtDML",
           "INSERT INTO T VALUES ('line one\r\nline two')",
           {"INSERT", "INTO", "T", "VALUES", "('line one", "line two'", ")"},
           2}}},
        {"CommentsBeforeAndInsideStatements",
         {{"/* header", "   still header */ /* second */", "INSERT /* a; b */ INTO T VALUES (1);"}},
         {{"stmtDML",
           "INSERT /* a; b */ INTO T VALUES (1)",
           {"INSERT", "/* a; b */", "INTO", "T", "VALUES", "(1)"},
           1}}},
        {"TabsDoNotSeparateTokens", {{"DELETE\tFROM T;"}}, {{"error: Invalid statement", "DELETE\tFROM T", {}, 1}}},
        {"StrayTerminatorsAreSkipped", {{";", "  ;  ;", "COMMIT;"}}, {{"stmtCOMMIT", "COMMIT", {"COMMIT"}, 3}}},
        {"LastStatementWithoutTerminator",
         {{"COMMIT;", "delete from t"}},
         {{"stmtCOMMIT", "COMMIT", {"COMMIT"}, 1}, {"stmtDML", "delete from t", {"delete", "from", "t"}, 2}}},
        {"SetStatementsHandOnTheirWords",
         {{"SET AUTODDL off;", "set sql dialect 3;"}},
         {{"stmtSET", "AUTODDL OFF", {"SET", "AUTODDL", "OFF"}, 1},
          {"stmtSET", "sql dialect 3", {"set", "sql", "dialect", "3"}, 2}}},
        {"SetTermGoMatchesOnlyUpperCaseGo",
         {{"SET TERM go;", "SELECT 1 FROM T go", "SELECT 2 FROM T GO"}},
         {{"stmtTERM", "GO", {"SET", "TERM", "GO"}, 1},
          {"stmtDML",
           "SELECT 1 FROM T go\r\nSELECT 2 FROM T ",
           {"SELECT", "1", "FROM", "T", "go", "SELECT", "2", "FROM", "T"},
           2}},
         {},
         "GO"},
        {"SetTermWordBeforeABlankKeepsItsCase",
         {{"SET TERM go ;"}},
         {{"stmtTERM", "go", {"SET", "TERM", "go"}, 1}},
         {},
         "go"},
        {"TerminatorStaysForTheNextRun",
         {{"SET TERM ^ ;"}, {"SELECT 1 FROM T; SELECT 2 FROM T^"}},
         {{"stmtTERM", "^", {"SET", "TERM", "^"}, 1},
          {"stmtDML",
           "SELECT 1 FROM T; SELECT 2 FROM T",
           {"SELECT", "1", "FROM", "T;", "SELECT", "2", "FROM", "T"},
           1}},
         {},
         "^"},
        {"RestOfTheLineIsReadFirstAfterAnError",
         {{"BOGUS; DELETE FROM A;", "DELETE FROM B;"}, {"DELETE FROM C;"}},
         {{"error: Invalid statement", "BOGUS", {}, 1},
          {"stmtDML", "DELETE FROM A", {"DELETE", "FROM", "A"}, 0},
          {"stmtDML", "DELETE FROM C", {"DELETE", "FROM", "C"}, 1}}},
        {"DoubleDashIsNotAComment",
         {{"-- comment", "CREATE TABLE X (A INT);", "COMMIT;"}},
         {{"error: Invalid statement", "-- comment\r\nCREATE TABLE X (A INT)", {}, 1}}},
        {"CommitWorkIsInvalid", {{"COMMIT WORK;", "COMMIT;"}}, {{"error: Invalid statement", "COMMIT WORK", {}, 1}}},
        {"UnterminatedCommentStopsTheScript",
         {{"COMMIT;", "/* never", "ends"}},
         {{"stmtCOMMIT", "COMMIT", {"COMMIT"}, 1}, {"error: Invalid Comment", "", {}, 2}}},
        {"InputSplicesAFile",
         {{"INPUT 'part.sql';", "COMMIT;"}},
         {{"stmtDML", "DELETE FROM T", {"DELETE", "FROM", "T"}, 1},
          {"stmtDML", "DELETE FROM U", {"DELETE", "FROM", "U"}, 1},
          {"stmtCOMMIT", "COMMIT", {"COMMIT"}, 2}},
         {{"part.sql", "DELETE FROM T;\r\n\r\nDELETE FROM U;\n\n"}}},
        {"InputNameReadAsTheUpperCaseLastTokenStillFindsTheFile",
         {{"INPUT .\\Parts\\part.sql;"}},
         {{"stmtDML", "DELETE FROM T", {"DELETE", "FROM", "T"}, 1}},
         {{"parts/part.sql", "DELETE FROM T;"}}},
        {"InputOfAMissingFileIsAParseError",
         {{"INPUT \"absent.sql\";", "COMMIT;"}},
         {{"error: Cannot open file \"absent.sql\". The system cannot find the file specified.",
           "INPUT \"absent.sql\"",
           {},
           1}}},
        // A file that reads itself, directly or through another, would be read
        // again and again for ever: the second INPUT of it is a parse error.
        {"InputOfAFileAlreadyBeingReadIsAParseError",
         {{"INPUT a.sql;", "COMMIT;"}},
         {{"stmtDML", "DELETE FROM A", {"DELETE", "FROM", "A"}, 1},
          {"stmtDML", "DELETE FROM B", {"DELETE", "FROM", "B"}, 1},
          {"error: Input file \"A.SQL\" is already being read", "INPUT a.sql", {}, 1}},
         {{"a.sql", "DELETE FROM A;\nINPUT b.sql;"}, {"b.sql", "DELETE FROM B;\nINPUT a.sql;"}}},
        {"TheSameFileMayBeReadAgainFromTheScript",
         {{"INPUT a.sql;", "INPUT a.sql;"}},
         {{"stmtDML", "DELETE FROM A", {"DELETE", "FROM", "A"}, 1},
          {"stmtDML", "DELETE FROM A", {"DELETE", "FROM", "A"}, 2}},
         {{"a.sql", "DELETE FROM A;"}}},
    };
    return cases;
}

class ParserCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParserCases, ReportsStatementsKindsTokensAndLines) {
    const ParseCase& c = GetParam();
    testsupport::TempDir dir;
    for (const auto& [name, content] : c.files)
        dir.write(name, content);
    testsupport::CurrentDirGuard inDir(dir.path());

    TIBSQLParser parser;
    Recorder recorder(parser);
    for (const Lines& run : c.runs) {
        parser.SetScript(run);
        parser.Parse();
    }
    EXPECT_EQ(recorder.events, c.expected);
    EXPECT_EQ(parser.Terminator(), c.terminatorAfter);
}

INSTANTIATE_TEST_SUITE_P(Scripts, ParserCases, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

// Files that are not regular files would be read for ever or not at all.
TEST(ParserInput, OnlyRegularFilesAreRead) {
    testsupport::TempDir dir;
    const std::string fifo = (dir / "pipe.sql").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& name : {std::string("/dev/zero"), fifo, dir.path().string()}) {
        TIBSQLParser parser;
        Recorder recorder(parser);
        parser.SetScript({"INPUT '" + name + "';", "COMMIT;"});
        parser.Parse();
        const Event expected{
            "error: Cannot open file \"" + name + "\". It is not a regular file.", "INPUT '" + name + "'", {}, 1};
        EXPECT_EQ(recorder.events, std::vector<Event>{expected});
    }
}

// A quoted text that never closes runs to the end of the script: the parser
// tells where it began, and the statement is one the engine must not get.
TEST(ParserOpenQuotes, TellTheLineWhereTheQuotedTextBegan) {
    struct Case {
        Lines script;
        std::map<std::string, std::string> files;
        int openQuoteLine;
    };
    const std::vector<Case> cases = {
        {{"INSERT INTO T VALUES ('a');", "INSERT INTO T VALUES ('b);", "COMMIT;", ""}, {}, 2},
        {{"INSERT INTO T", "VALUES ('x''y', \"ok\",", "", "  \"never);"}, {}, 4},
        {{"INSERT INTO T VALUES ('one", "two');", "SELECT 'it''s' FROM T"}, {}, 0},
        {{"/* it's */ DELETE FROM T /* don't */"}, {}, 0},
        {{"COMMIT;", "INPUT part.sql;"}, {{"part.sql", "DELETE FROM T;\nDELETE FROM 'U;\n"}}, 2},
    };
    for (const Case& c : cases) {
        testsupport::TempDir dir;
        for (const auto& [name, content] : c.files)
            dir.write(name, content);
        testsupport::CurrentDirGuard inDir(dir.path());
        TIBSQLParser parser;
        int line = -1;
        std::string fault;
        parser.OnParse = [&](TIBSQLParser& sender, TIBParseKind, const std::string& text) {
            line = sender.OpenQuoteLine();
            fault = sender.StatementFault(text);
        };
        parser.SetScript(c.script);
        parser.Parse();
        EXPECT_EQ(line, c.openQuoteLine) << c.script[0];
        EXPECT_EQ(fault, c.openQuoteLine == 0
                             ? ""
                             : "Unterminated quoted text starting at line " + std::to_string(c.openQuoteLine))
            << c.script[0];
    }
}

TEST(ParserFaults, ANulCharacterIsAFaultOfItsStatement) {
    TIBSQLParser parser;
    std::vector<std::string> faults;
    parser.OnParse = [&](TIBSQLParser& sender, TIBParseKind, const std::string& text) {
        faults.push_back(sender.StatementFault(text));
    };
    parser.SetScript({"DELETE FROM T\0 WHERE ID = 2;"s, "DELETE FROM T WHERE ID = 3;"});
    parser.Parse();
    EXPECT_EQ(faults, (Lines{"Statement contains a NUL character", ""}));
}

TEST(StatementText, AnythingButBlanksCommentsAndDashLines) {
    const std::vector<std::pair<std::string, bool>> table = {
        {"", false},
        {" \r\n\t ", false},
        {"/* a; b */ \r\n/* c\r\n d */", false},
        {"-- note\r\n   -- another; with text\r\n", false},
        {"/* x */ -- y", false},
        {"DELETE FROM T", true},
        {"/* x */ ;", true},
        {"a -- b", true},
        {"- - x", true},
        {"/* never closed", true},
        {"-- x\r\nCOMMIT", true},
    };
    for (const auto& [text, holds] : table)
        EXPECT_EQ(HoldsStatementText(text), holds) << text;
}

// What is not read yet goes: the rest of the line, of an INPUT file and of
// the script; the next Parse starts with the next script's own lines.
TEST(ParserDiscard, DropsTheRestAndTellsWhetherItHeldStatementText) {
    struct Case {
        Lines script;
        bool statementText;
    };
    const std::vector<Case> cases = {
        {{"BOGUS; /* c */", "-- end of script", ""}, false},
        {{"BOGUS; -- the reason"}, false},
        {{"BOGUS;", "  /* one", " two */"}, false},
        {{"BOGUS; DELETE FROM T;"}, true},
        {{"BOGUS;", "", "DELETE FROM T;"}, true},
        {{"BOGUS;", "/* never closed"}, true},
        {{"INPUT part.sql;", "COMMIT;"}, true},
        {{"INPUT part.sql;"}, true},
    };
    testsupport::TempDir dir;
    dir.write("part.sql", "DELETE FROM T;\nBOGUS;\n-- fim\nDELETE FROM U;\n");
    testsupport::CurrentDirGuard inDir(dir.path());
    for (const Case& c : cases) {
        TIBSQLParser parser;
        parser.SetScript(c.script);
        parser.Parse();
        ASSERT_TRUE(parser.Paused()) << c.script[0];
        EXPECT_EQ(parser.DiscardRest(), c.statementText) << c.script[0];

        Recorder recorder(parser);
        parser.SetScript({"COMMIT;"});
        parser.Parse();
        EXPECT_EQ(recorder.events, (std::vector<Event>{{"stmtCOMMIT", "COMMIT", {"COMMIT"}, 1}})) << c.script[0];
    }
}

TEST(ParserClassification, FollowsTheRulesInOrder) {
    const std::vector<std::pair<Lines, TIBParseKind>> table = {
        {{}, stmtEMPTY},
        {{"commit"}, stmtCOMMIT},
        {{"COMMIT", "WORK", "RETAINING"}, stmtCOMMIT},
        {{"COMMIT", "RETAINING"}, stmtCOMMITRetaining},
        {{"COMMIT", "retaining"}, stmtERR},
        {{"Rollback"}, stmtROLLBACK},
        {{"ROLLBACK", "RETAINING"}, stmtROLLBACKRetaining},
        {{"ROLLBACK", "TO", "SAVEPOINT", "SP1"}, stmtRollbackSavePoint},
        {{"ROLLBACK", "WORK", "TO", "SAVEPOINT", "SP1"}, stmtRollbackSavePoint},
        {{"ROLLBACK", "to", "savepoint", "SP1"}, stmtERR},
        {{"ROLLBACK", "WORK"}, stmtERR},
        {{"reconnect"}, stmtReconnect},
        {{"SAVEPOINT", "SP1"}, stmtStartSavepoint},
        {{"INSERT"}, stmtERR},
        {{"batch", "start"}, stmtBatchStart},
        {{"BATCH", "EXECUTE"}, stmtBatchExecute},
        {{"BATCH", "GO"}, stmtERR},
        {{"release", "savepoint", "SP1"}, stmtReleaseSavePoint},
        {{"RELEASE", "SP1"}, stmtERR},
        {{"insert", "into"}, stmtDML},
        {{"DELETE", "FROM"}, stmtDML},
        {{"select", "1"}, stmtDML},
        {{"UPDATE", "T"}, stmtDML},
        {{"EXECUTE", "PROCEDURE"}, stmtDML},
        {{"input", "f.sql"}, stmtINPUT},
        {{"CONNECT", "'db.fdb'"}, stmtCONNECT},
        {{"create", "database", "'x.fdb'"}, stmtCREATE},
        {{"CREATE", "SCHEMA", "'x.fdb'"}, stmtCREATE},
        {{"drop", "database"}, stmtDrop},
        {{"CREATE", "TABLE", "T"}, stmtDDL},
        {{"DECLARE", "EXTERNAL"}, stmtDDL},
        {{"alter", "table"}, stmtDDL},
        {{"GRANT", "ALL"}, stmtDDL},
        {{"REVOKE", "ALL"}, stmtDDL},
        {{"DROP", "TABLE"}, stmtDDL},
        {{"SET", "GENERATOR", "G", "TO", "5"}, stmtDDL},
        {{"set", "statistics", "index", "IX"}, stmtDDL},
        {{"SET", "STATISTICS", "ON"}, stmtSET},
        {{"SET", "STATISTICS", "ON", "NOW"}, stmtERR},
        {{"SET", "TERM", "^"}, stmtTERM},
        {{"SET", "TERM", "^", ";"}, stmtERR},
        {{"SET", "SQL", "DIALECT", "3"}, stmtSET},
        {{"SET", "SQL", "DIALECT"}, stmtERR},
        {{"SET", "SQL", "MODE", "3"}, stmtERR},
        {{"set", "autoddl", "ON"}, stmtSET},
        {{"SET", "NAMES", "WIN1252"}, stmtSET},
        {{"SET", "SAVEPOINTS", "OFF"}, stmtSET},
        {{"SET", "AUTODDL"}, stmtERR},
        {{"SET", "BAIL", "ON"}, stmtERR},
        {{"RECREATE", "TABLE"}, stmtERR},
    };
    for (const auto& [tokens, kind] : table) {
        std::string shown;
        for (const std::string& token : tokens)
            shown += token + " ";
        EXPECT_EQ(TIBSQLParser::ClassifyStatement(tokens), kind) << shown;
    }
}

TEST(ParserPause, ClearingThePauseOutsideTheLoopResumesInsideTheCall) {
    TIBSQLParser parser;
    Recorder recorder(parser);
    auto record = parser.OnParse;
    parser.OnParse = [&](TIBSQLParser& sender, TIBParseKind kind, const std::string& text) {
        record(sender, kind, text);
        sender.SetPaused(true);
    };
    parser.SetScript({"DELETE FROM A; DELETE FROM B;", "DELETE FROM C;"});
    parser.Parse();
    ASSERT_EQ(recorder.events.size(), 1u);

    parser.OnParse = record;
    parser.SetPaused(false);
    ASSERT_EQ(recorder.events.size(), 3u);
    EXPECT_EQ(recorder.events[1].text, "DELETE FROM B");
    EXPECT_EQ(recorder.events[2].text, "DELETE FROM C");
    EXPECT_FALSE(parser.Paused());
}

TEST(ParserPause, PausingAndResumingFromEveryEventGoesThroughALongScriptOnce) {
    TIBSQLParser parser;
    int count = 0;
    parser.OnParse = [&](TIBSQLParser& sender, TIBParseKind, const std::string& text) {
        ASSERT_EQ(text, "DELETE FROM T" + std::to_string(count));
        ++count;
        sender.SetPaused(true);
        sender.SetPaused(false);
    };
    Lines script;
    for (int i = 0; i < 50000; ++i)
        script.push_back("DELETE FROM T" + std::to_string(i) + ";");
    parser.SetScript(script);
    parser.Parse();
    EXPECT_EQ(count, 50000);
}

} // namespace
