#include "db/DBTables.h"
#include "db/EngineError.h"
#include "tests/support/InternetDb.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace db;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// The internet database's two tables, filled as the maker publishes scripts.
class EngineQuery : public ::testing::TestWithParam<BackendKind> {
protected:
    void SetUp() override {
        backend_ = MakeBackend(GetParam());
        backend_->Execute("create table scripts (programa varchar(20) not null, versao varchar(10) not null, "
                          "liberado char(1), texto text not null)");
        backend_->Execute("create table principal (senha_ftp varchar(40), tentativas int)");
        backend_->Execute("insert into scripts values "
                          "('QUILLMARK', '1', 'S', 'one'), "
                          "('QUILLMARK', '2', 'S', 'create table t (x int);\r\ninsert into t values (1);\r\n"
                          "\r\nlast line'), "
                          "('QUILLMARK', '3', 'N', 'not released'), "
                          "('QUILLMARK', '10', 'S', 'ten\nlf only\rcr only'), "
                          "('OUTRO', '5', 'S', 'other program'), "
                          "('D''AVILA', '1', 'S', 'quoted master')");
        Database1.AliasName = "Check";
        Database1.DatabaseName = "Sistema_my";
        Database1.LoginPrompt = false;
        Database1.Params = {"USER NAME=" + backend_->Account().user, "PASSWORD=" + backend_->Account().password};
    }

    // Opens a query on one statement.
    void open(TQuery& query, const std::string& sql) {
        query.Close();
        query.SQL = {sql};
        query.Open();
    }

    std::unique_ptr<Backend> backend_;
    TDatabase Database1;
    TQuery Query2{Database1};
    TQuery Query3{Database1};
};

const std::string ScriptsAfterVersion1 = "select programa,versao from scripts where programa='QUILLMARK' and "
                                         "versao>'1' and liberado='S' order by versao";

} // namespace

TEST_P(EngineQuery, WalksReleasedScriptsInTextOrderAndStaysOnTheLastRowAtTheEnd) {
    Database1.Open();
    EXPECT_TRUE(Database1.Connected());
    open(Query2, ScriptsAfterVersion1);
    std::vector<std::string> versions;
    while (!Query2.Eof()) {
        versions.push_back(Query2.FieldByName("VERSAO").AsString());
        EXPECT_EQ(Query2.FieldByName("Programa").AsString(), "QUILLMARK");
        Query2.Next();
    }
    EXPECT_THAT(versions, ElementsAre("10", "2"));
    EXPECT_EQ(Query2.FieldByName("versao").AsString(), "2");
    Query2.Next();
    EXPECT_TRUE(Query2.Eof());
    EXPECT_EQ(Query2.FieldByName("versao").AsString(), "2");
}

TEST_P(EngineQuery, ReadsCountsAsIntegersAndEmptyResultsAsEmptyFields) {
    open(Query3, "select count(*) ct from scripts where programa='QUILLMARK' and versao>'1' and liberado='S' "
                 "order by versao");
    EXPECT_EQ(Query3.FieldByName("CT").AsInteger(), 2);
    EXPECT_EQ(Query3.FieldByName("ct").AsString(), "2");

    open(Query3, "select senha_ftp, tentativas from principal");
    EXPECT_TRUE(Query3.Eof());
    EXPECT_EQ(Query3.FieldByName("senha_ftp").AsString(), "");
    EXPECT_EQ(Query3.FieldByName("tentativas").AsInteger(), 0);

    backend_->Execute("insert into principal values ('4ftp-secret', null)");
    open(Query3, "select senha_ftp, tentativas from principal");
    EXPECT_FALSE(Query3.Eof());
    EXPECT_EQ(Query3.FieldByName("senha_ftp").AsString(), "4ftp-secret");
    EXPECT_EQ(Query3.FieldByName("tentativas").AsInteger(), 0);
}

TEST_P(EngineQuery, LinkedTableReadsTheScriptOfTheMasterRowAsLines) {
    TTable Table2(Database1);
    Table2.TableName = "scripts";
    Table2.IndexFieldNames = "programa;versao";
    Table2.MasterFields = "programa;versao";
    Table2.MasterSource = &Query2;

    open(Query2, ScriptsAfterVersion1);
    std::vector<std::vector<std::string>> texts;
    for (; !Query2.Eof(); Query2.Next()) {
        Table2.Open();
        texts.push_back(Table2.FieldByName("texto").AsLines());
        Table2.Close();
    }
    EXPECT_THAT(texts,
                ElementsAre(ElementsAre("ten", "lf only", "cr only"),
                            ElementsAre("create table t (x int);", "insert into t values (1);", "", "last line")));

    // Master values are sent as literals, so an apostrophe in them is data.
    open(Query2, "select programa, versao from scripts where programa like 'D%'");
    Table2.Open();
    EXPECT_FALSE(Table2.Eof());
    EXPECT_THAT(Table2.FieldByName("texto").AsLines(), ElementsAre("quoted master"));
}

TEST_P(EngineQuery, FailuresAreErrorsWithTheEnginesMessage) {
    auto messageOf = [](const std::function<void()>& action) -> std::string {
        try {
            action();
        } catch (const base::Exception& error) {
            return error.what();
        }
        return "<no error>";
    };
    EXPECT_THAT(messageOf([&] { open(Query3, "select programa from nowhere"); }), HasSubstr("nowhere"));
    EXPECT_FALSE(Query3.Active());
    EXPECT_THAT(messageOf([&] { open(Query3, " "); }), HasSubstr("No SQL statement available"));
    open(Query3, "select programa from scripts where versao='5'");
    EXPECT_THAT(messageOf([&] { Query3.FieldByName("texto"); }), HasSubstr("Field 'texto' not found"));
    EXPECT_THAT(messageOf([&] { Query3.FieldByName("programa").AsInteger(); }),
                HasSubstr("'OUTRO' is not a valid integer value"));
    Query3.Close();
    EXPECT_THAT(messageOf([&] { Query3.FieldByName("programa"); }), HasSubstr("closed dataset"));
}

TEST_P(EngineQuery, ClosingTheDatabaseClosesItsQueriesAndAQueryReopensIt) {
    open(Query3, "select versao from scripts");
    EXPECT_TRUE(Database1.Connected());
    Database1.Close();
    EXPECT_FALSE(Database1.Connected());
    EXPECT_FALSE(Query3.Active());
    Query3.Open();
    EXPECT_TRUE(Database1.Connected());
    EXPECT_FALSE(Query3.Eof());

    // A query that outlives its database is closed and can no longer open.
    auto database = std::make_unique<TDatabase>();
    TQuery orphan(*database);
    orphan.SQL = Query3.SQL;
    database->AliasName = "Check";
    database->LoginPrompt = false;
    database->Params = Database1.Params;
    orphan.Open();
    database.reset();
    EXPECT_FALSE(orphan.Active());
    EXPECT_THROW(orphan.Open(), EDatabaseError);
}

INSTANTIATE_TEST_SUITE_P(Drivers, EngineQuery, ::testing::Values(BackendKind::SQLite, BackendKind::MySQL), BackendName);
