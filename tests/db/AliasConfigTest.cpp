#include "db/AliasConfig.h"
#include "db/DBTables.h"
#include "db/EngineError.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace db;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testsupport::EnvGuard;
using testsupport::TempDir;

namespace {

class AliasFile : public ::testing::Test {
protected:
    void install(const std::string& text) {
        file_ = dir_.write("aliases.ini", text);
        guard_.reset(); // the former guard restores the variable first
        guard_ = std::make_unique<EnvGuard>(AliasFileVariable, file_.string());
    }

    std::string errorOf(const std::string& alias) {
        try {
            GetAliasParams(alias);
        } catch (const EDatabaseError& error) {
            return error.what();
        }
        return "<no error>";
    }

    TempDir dir_;
    std::filesystem::path file_;
    std::unique_ptr<EnvGuard> guard_;
};

} // namespace

TEST_F(AliasFile, ParametersComeInFileOrderAndLetterCaseWithoutTheType) {
    install("; engine aliases\n"
            "[Check]\n"
            "TYPE=SQLITE\n"
            "DATABASE NAME=check.db\n"
            "\n"
            "[QUILLMARK]\n"
            "SERVER NAME=/data/first.fdb\n"
            "  type = firebird  \n"
            "Server Name = /data/second.fdb \n"
            "SERVER NAMES=/data/third.fdb\n"
            "# comment\n"
            "EMPTY=\n");
    EXPECT_THAT(GetAliasParams("quillmark"), ElementsAre("SERVER NAME=/data/first.fdb", "Server Name=/data/second.fdb",
                                                         "SERVER NAMES=/data/third.fdb", "EMPTY="));
    Alias alias = LoadAlias("QuillMark");
    EXPECT_EQ(alias.type, DriverType::Firebird);
    EXPECT_EQ(alias.name, "QUILLMARK");
    EXPECT_EQ(alias.Entry("server name"), "/data/first.fdb");
    EXPECT_EQ(alias.folder, dir_.path());
    EXPECT_EQ(LoadAlias("CHECK").type, DriverType::SQLite);
}

TEST_F(AliasFile, NamesAreComparedOnTheirFirst31Characters) {
    const std::string first31 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234";
    install("[" + first31 + "-section]\nTYPE=MySQL\nHOST=db\n");
    EXPECT_THAT(GetAliasParams(first31), ElementsAre("HOST=db"));
    EXPECT_THAT(GetAliasParams(first31 + "-other name"), ElementsAre("HOST=db"));
    EXPECT_THAT(errorOf(first31.substr(0, 30)), HasSubstr("Unknown alias: " + first31.substr(0, 30)));
}

TEST_F(AliasFile, BrokenConfigurationsAreReportedClearly) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"[Check]\nTYPE=ORACLE\n", "Alias Check has an unknown driver type: ORACLE"},
        {"[Check]\nDATABASE NAME=x\n", "Alias Check has no TYPE entry"},
        {"TYPE=SQLITE\n[Check]\n", "line 1: an entry before the first alias section"},
        {"[Check]\nTYPE SQLITE\n", "line 2: NAME=value expected: TYPE SQLITE"},
        {"[Check\nTYPE=SQLITE\n", "line 1: a section line must end with ]"},
        {"[Check]\nTYPE=SQLITE\n[]\n", "line 3: an alias needs a name"},
        {"[Check]\n=x\n", "line 2: an entry needs a name"},
        {"[Check]\nTYPE=SQLITE\n[CHECK]\nTYPE=MYSQL\n", "line 3: alias CHECK is defined twice"},
        {"[Other]\nTYPE=SQLITE\n", "Unknown alias: Check"},
    };
    for (const auto& c : cases) {
        install(c.text);
        EXPECT_THAT(errorOf("Check"), HasSubstr(c.message)) << c.text;
    }
}

TEST_F(AliasFile, AMissingOrIrregularFileIsAnErrorAndTheDefaultLiesInTheUserConfiguration) {
    EnvGuard file(AliasFileVariable, (dir_ / "missing.ini").string());
    EXPECT_THAT(errorOf("Check"),
                HasSubstr("Alias configuration file " + (dir_ / "missing.ini").string() + " cannot be opened"));
    EnvGuard device(AliasFileVariable, "/dev/zero");
    EXPECT_THAT(errorOf("Check"), HasSubstr("Arquivo \"/dev/zero\" não é um arquivo comum."));
    EnvGuard unset(AliasFileVariable, "");
    EnvGuard config("XDG_CONFIG_HOME", dir_.path().string());
    EXPECT_EQ(AliasFilePath(), dir_ / "Atualiza_Quillmark" / "aliases.ini");
}

TEST_F(AliasFile, ConnectionsOnUnusableAliasesFailWithoutConnecting) {
    install("[Local]\nTYPE=FIREBIRD\nSERVER NAME=/data/x.fdb\n"
            "[NoFile]\nTYPE=SQLITE\n"
            "[Gone]\nTYPE=SQLITE\nDATABASE NAME=gone.db\n"
            "[BadPort]\nTYPE=MYSQL\nPORT=70000\nDATABASE NAME=x\n");
    const struct {
        const char* alias;
        bool loginPrompt;
        const char* message;
    } cases[] = {
        {"Local", false, "Alias Local is a Firebird alias"},
        {"NoFile", false, "Alias NoFile has no DATABASE NAME entry"},
        {"Gone", false, "Cannot open SQLite database"},
        {"BadPort", false, "Alias BadPort has an invalid PORT: 70000"},
        {"Nowhere", false, "Unknown alias: Nowhere"},
        {"", false, "Database Sistema_my: the alias name is missing"},
        {"Gone", true, "no login dialog is available"},
    };
    for (const auto& c : cases) {
        TDatabase database;
        database.AliasName = c.alias;
        database.DatabaseName = "Sistema_my";
        database.LoginPrompt = c.loginPrompt;
        try {
            database.Open();
            ADD_FAILURE() << c.alias << " opened";
        } catch (const EDatabaseError& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.message));
        }
        EXPECT_FALSE(database.Connected());
    }
}
