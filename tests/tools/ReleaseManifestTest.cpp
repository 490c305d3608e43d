#include "signing/Manifest.h"
#include "tests/support/InternetDb.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/SigningTools.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace signing;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testsupport::B2sum;
using testsupport::ProgramRun;

namespace {

class ReleaseManifest : public ::testing::Test {
protected:
    void SetUp() override {
        internet_ = MakeBackend(BackendKind::SQLite);
        internet_->Execute("CREATE TABLE scripts (programa VARCHAR(20) NOT NULL, versao VARCHAR(10) NOT NULL, "
                           "liberado CHAR(1), texto TEXT NOT NULL, PRIMARY KEY (programa, versao))");
        internet_->Execute("INSERT INTO scripts VALUES ('QUILLMARK', '0001', 'S', 'create table t (s varchar(9));'), "
                           "('QUILLMARK', '0002', 'S', 'insert into t values (''ação'');\r\nCOMMIT WORK;\r\n'), "
                           "('QUILLMARK', '0003', 'N', 'not released'), ('OUTRO', '0001', 'S', 'other program')");
    }

    ProgramRun Run(const std::string& release, const std::vector<std::string>& more = {}) const {
        std::vector<std::string> args = {"--release", release, folder_.path().string()};
        args.insert(args.end(), more.begin(), more.end());
        return testsupport::RunProgram(RELEASE_MANIFEST_PROGRAM, args);
    }
    Manifest Written() const { return Manifest::Parse(folder_.read(ManifestFileName)); }

    std::unique_ptr<Backend> internet_;
    testsupport::TempDir folder_;
    testsupport::TempDir expected_;
};

} // namespace

TEST_F(ReleaseManifest, ListsTheFilesAndReleasedScriptsAsB2sumHashesThemAndMinisignSignsIt) {
    const std::string archive(300000, 'r');
    folder_.write("Sys_Vendrake.rar", archive);
    folder_.write("leia me.txt", "x");
    folder_.write("Arquivos_dlls/extra.dll", "dll");
    folder_.write(SignatureFileName, "a former release's signature");
    const ProgramRun run = Run("3");
    ASSERT_EQ(run.exitCode, 0) << run.output;

    const Manifest manifest = Written();
    EXPECT_EQ(manifest.Release(), 3u);
    EXPECT_THAT(manifest.FileNames(), ElementsAre("Sys_Vendrake.rar", "leia me.txt"));
    EXPECT_EQ(manifest.File("Sys_Vendrake.rar"), (FileDigest{B2sum(folder_ / "Sys_Vendrake.rar"), archive.size()}));
    // A script's hash is of its text in Windows-1252, its COMMIT WORK line not yet blanked.
    EXPECT_EQ(manifest.Script("QUILLMARK", "0002"),
              B2sum(expected_.write("0002", "insert into t values ('a\xe7\xe3o');\r\nCOMMIT WORK;\r\n")));
    EXPECT_EQ(manifest.Script("QUILLMARK", "0003"), std::nullopt);
    EXPECT_NE(manifest.Script("OUTRO", "0001"), std::nullopt);

    const std::string signature = testsupport::MinisignSign(folder_ / ManifestFileName, testsupport::DemoSecretKey());
    EXPECT_EQ(VerifiedManifest(folder_.read(ManifestFileName), signature, testsupport::DemoPublicKey()).Text(),
              manifest.Text());

    ASSERT_EQ(Run("4", {"--program", "QUILLMARK"}).exitCode, 0);
    EXPECT_EQ(Written().Script("OUTRO", "0001"), std::nullopt);
    EXPECT_NE(Written().Script("QUILLMARK", "0001"), std::nullopt);
}

TEST_F(ReleaseManifest, RefusesAReleaseNotAboveTheFolderManifestsAndABadCommandLine) {
    ASSERT_EQ(Run("5", {"--no-scripts"}).exitCode, 0);
    const std::string former = folder_.read(ManifestFileName);
    folder_.write("new.exe", "new");
    for (const char* release : {"5", "4"}) {
        const ProgramRun run = Run(release);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_THAT(run.output, HasSubstr("holds release 5; release " + std::string(release) + " is not above it"));
    }
    EXPECT_EQ(folder_.read(ManifestFileName), former);

    folder_.write(ManifestFileName, "not a manifest");
    EXPECT_THAT(Run("6").output, HasSubstr("error: manifest line 1"));
    for (const char* release : {"-1", "06", "x"})
        EXPECT_EQ(Run(release).exitCode, 2) << release;
    EXPECT_EQ(testsupport::RunProgram(RELEASE_MANIFEST_PROGRAM, {folder_.path().string()}).exitCode, 2);
}
