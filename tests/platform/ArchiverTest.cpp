// The archiver stand-in (tools/archiver/winrar.exe) run on archives made
// with bsdtar, alone and through WinExec with the updater's command line, and
// on hostile archives and application folders.
#include "platform/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using testsupport::TempDir;
namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

fs::path archiverScript() {
    return testsupport::SourceDir() / "tools/archiver/winrar.exe";
}

int run(const fs::path& folder, const std::string& command) {
    const int status = std::system(("cd " + quoted(folder.string()) + " && " + command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Packs everything in the content folder into the archive, with further bsdtar
// options (format, renaming of the members).
void pack(const TempDir& content, const fs::path& archive, const std::string& options) {
    ASSERT_EQ(run(content.path(), "bsdtar -cf " + quoted(archive.string()) + " " + options + " *"), 0);
}

// An archive "<name>" in the folder holding the given files (path -> bytes).
void makeArchive(const TempDir& dir, const std::string& name, const std::map<std::string, std::string>& files) {
    TempDir content;
    for (const auto& [path, bytes] : files)
        content.write(path, bytes);
    pack(content, dir / name, "--format zip");
}

class Archiver : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(archiverScript())) << archiverScript();
        makeArchive(app, "Sys_Vendrake.rar",
                    {{"Sys_Vendrake.exe", "new program"}, {"readme.txt", "notes"}, {"Tools/Helper.EXE", "helper"}});
    }

    int extract(const std::string& arguments) { return run(app.path(), archiver() + " " + arguments); }
    static std::string archiver() { return quoted(archiverScript().string()); }

    TempDir app;
};

} // namespace

TEST_F(Archiver, ExtractsMatchingFilesWithTheirFoldersOverwritingOldOnes) {
    app.write("Sys_Vendrake.exe", "old program");
    EXPECT_EQ(extract("x -o+ Sys_Vendrake.rar '*.exe' '.\"'"), 0);
    EXPECT_EQ(app.read("Sys_Vendrake.exe"), "new program");
    EXPECT_EQ(app.read("Tools/Helper.EXE"), "helper");
    EXPECT_FALSE(fs::exists(app / "readme.txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator(app.path()), {}), 3); // no staging folder left
}

TEST_F(Archiver, MasksIgnoreCaseAndDestinationsTakeWindowsSpelling) {
    EXPECT_EQ(extract("x -y Sys_Vendrake.rar '*.EXE' 'README.*' 'out\\new\\'"), 0);
    EXPECT_EQ(app.read("out/new/Sys_Vendrake.exe"), "new program");
    EXPECT_EQ(app.read("out/new/readme.txt"), "notes");
    EXPECT_EQ(extract("x Sys_Vendrake.rar 'tools\\*' all/"), 0);
    EXPECT_TRUE(fs::exists(app / "all/Tools/Helper.EXE"));
    EXPECT_FALSE(fs::exists(app / "all/Sys_Vendrake.exe"));
}

TEST_F(Archiver, KeepsExistingFilesWhenAsked) {
    app.write("readme.txt", "mine");
    EXPECT_EQ(extract("x -o- Sys_Vendrake.rar readme.txt"), 0);
    EXPECT_EQ(app.read("readme.txt"), "mine");
}

TEST_F(Archiver, FailsClearlyOnAnythingElse) {
    EXPECT_EQ(extract("x Sys_Vendrake.rar '*.dll'"), 10);
    EXPECT_EQ(extract("x missing.rar '*.exe'"), 6);
    EXPECT_EQ(extract("a Sys_Vendrake.rar '*.exe'"), 7);
    EXPECT_EQ(extract("x -r Sys_Vendrake.rar"), 7);
    EXPECT_EQ(extract(""), 7);
    app.write("broken.rar", "this is no archive");
    EXPECT_EQ(extract("x broken.rar"), 2);
    fs::copy_file(app / "Sys_Vendrake.rar", app / "truncated.rar");
    fs::resize_file(app / "truncated.rar", fs::file_size(app / "truncated.rar") / 2);
    EXPECT_EQ(extract("x truncated.rar"), 2);
    EXPECT_EQ(app.names(), (std::vector<std::string>{"Sys_Vendrake.rar", "broken.rar", "truncated.rar"}));
}

TEST_F(Archiver, RefusesArchivesHoldingLinksSpecialFilesOrNamesLeavingTheFolder) {
    TempDir outside, archives;
    const auto refused = [&](const std::string& what, const std::function<void(const TempDir&)>& add,
                             const std::string& options = "") {
        TempDir content;
        content.write("Sys_Vendrake.exe", "new program");
        add(content);
        const fs::path archive = archives / (what + ".rar");
        pack(content, archive, options);
        EXPECT_EQ(extract("x -o+ " + quoted(archive.string()) + " '*'"), 3) << what;
        EXPECT_EQ(app.names(), std::vector<std::string>{"Sys_Vendrake.rar"}) << what;
    };
    refused("symbolic link", [&](const TempDir& c) { fs::create_directory_symlink(outside.path(), c / "evil.exe"); });
    refused("hard link", [](const TempDir& c) { fs::create_hard_link(c / "Sys_Vendrake.exe", c / "evil.exe"); });
    refused("fifo", [](const TempDir& c) { ASSERT_EQ(mkfifo((c / "evil.exe").c_str(), 0600), 0); });
    refused(
        "climbing name", [](const TempDir&) {}, "-P -s ',^,../,'");
    refused(
        "absolute name", [](const TempDir&) {}, "-P -s ',^,/,'");
    // Extracting the file by its name would bring along what lies below it.
    refused(
        "file as folder", [](const TempDir& c) { c.write("dir/huge.bin", "x"); }, "-s ',^dir,Sys_Vendrake.exe,'");
    EXPECT_TRUE(outside.names().empty());
}

TEST_F(Archiver, ReplacesALinkAtATargetButNeverPassesALinkedFolder) {
    // Links that an earlier archiver left in the application folder.
    TempDir outside;
    fs::create_directory_symlink(outside.path(), app / "Sys_Vendrake.exe");
    fs::create_directory_symlink(outside.path(), app / "Tools");
    EXPECT_EQ(extract("x -o+ Sys_Vendrake.rar '*.exe' '.\"'"), 2);
    EXPECT_TRUE(outside.names().empty());

    fs::remove(app / "Tools");
    EXPECT_EQ(extract("x -o+ Sys_Vendrake.rar '*.exe' '.\"'"), 0);
    EXPECT_FALSE(fs::is_symlink(app / "Sys_Vendrake.exe"));
    EXPECT_EQ(app.read("Sys_Vendrake.exe"), "new program");
    EXPECT_EQ(app.read("Tools/Helper.EXE"), "helper");
    EXPECT_TRUE(outside.names().empty());
}

TEST_F(Archiver, ExtractsOnlyTheMatchingMembersAndFailsOnAFullDisk) {
    makeArchive(app, "big.rar", {{"small.exe", "small"}, {"video.avi", std::string(4 << 20, '\0')}});
    // A file size limit of 1 MiB stands in for a nearly full disk.
    const std::string limited = "ulimit -f 1024; " + archiver() + " x big.rar ";
    EXPECT_EQ(run(app.path(), limited + "'*.exe'"), 0);
    EXPECT_EQ(app.read("small.exe"), "small");
    EXPECT_EQ(run(app.path(), limited + "'*'"), 2);
    EXPECT_EQ(app.names(), (std::vector<std::string>{"Sys_Vendrake.rar", "big.rar", "small.exe"}));
}

TEST_F(Archiver, RunsFromTheUpdatersCommandLine) {
    TempDir programFiles;
    const fs::path installed = programFiles / "Program Files/winrar/winrar.exe";
    fs::create_directories(installed.parent_path());
    fs::copy_file(archiverScript(), installed);
    testsupport::CurrentDirGuard inside(app.path());

    const std::string command =
        programFiles.path().string() + "\\Program Files\\winrar\\WinRAR.exe x -o+ Sys_Vendrake.rar *.exe \".\\\"";
    EXPECT_GT(platform::WinExec(command, platform::SW_SHOW_NORMAL), 31u);
    // Done once the staging folder is gone and the files are in place.
    const auto finished = [&] {
        for (const auto& entry : fs::directory_iterator(app.path()))
            if (entry.path().filename().string().rfind(".extracting", 0) == 0)
                return false;
        return fs::exists(app / "Tools/Helper.EXE");
    };
    for (int i = 0; i < 1000 && !finished(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(app.read("Sys_Vendrake.exe"), "new program");
    EXPECT_FALSE(fs::exists(app / "readme.txt"));
}
