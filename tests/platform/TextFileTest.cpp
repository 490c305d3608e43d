#include "platform/TextFile.h"
#include "platform/SystemError.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
using testsupport::TempDir;
using Lines = std::vector<std::string>;

TEST(TextFile, WritesCrLfAfterEveryLineAndReadsAnyLineBreak) {
    TempDir dir;
    testsupport::CurrentDirGuard inside(dir.path());
    WriteLines("SCRIPT_ERRO_DT_x.TXT", {"/* ERRO: ", " ", "line one\nline two", ".....  */", ""});
    EXPECT_EQ(dir.read("SCRIPT_ERRO_DT_x.TXT"), "/* ERRO: \r\n \r\nline one\nline two\r\n.....  */\r\n\r\n");
    EXPECT_EQ(ReadLines("script_erro_dt_x.txt"), (Lines{"/* ERRO: ", " ", "line one", "line two", ".....  */", ""}));

    WriteLines("empty.txt", {});
    EXPECT_EQ(dir.read("empty.txt"), "");
    EXPECT_EQ(ReadLines("empty.txt"), Lines{});
}

TEST(TextFile, ReadFirstLineStopsAtTheFirstBreak) {
    TempDir dir;
    testsupport::CurrentDirGuard inside(dir.path());
    dir.write("Sys_Vendcfg.INI", "12345678901234LOJA    \r\nsecond\r\n");
    dir.write("lf.ini", "first\nsecond");
    dir.write("cr.ini", "first\rsecond");
    dir.write("empty.ini", "");
    dir.write("long.ini", std::string(100000, 'x') + "\n" + std::string(200000, 'y'));
    EXPECT_EQ(ReadFirstLine("Sys_Vendcfg.INI", 100), "12345678901234LOJA    ");
    EXPECT_EQ(ReadFirstLine("lf.ini", 5), "first");
    EXPECT_EQ(ReadFirstLine("cr.ini", 5), "first");
    EXPECT_EQ(ReadFirstLine("empty.ini", 0), "");
    EXPECT_EQ(ReadFirstLine("long.ini", 100000).size(), 100000u);
}

namespace {

// The message of the refusal, or "<read>" when the read went through.
std::string refusalOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const EFileRefused& refused) {
        return refused.what();
    }
    return "<read>";
}

} // namespace

// A device or a FIFO would be read for ever or not at all; opening a FIFO
// without a writer must not wait either.
TEST(TextFile, BoundedReadsTakeRegularFilesOnly) {
    TempDir dir;
    testsupport::CurrentDirGuard inside(dir.path());
    ASSERT_EQ(mkfifo("fifo.ini", 0600), 0);
    std::filesystem::create_directory("folder");
    for (const std::string name : {"fifo.ini", "/dev/zero", "folder"}) {
        const std::string message = "Arquivo \"" + name + "\" não é um arquivo comum.";
        EXPECT_EQ(refusalOf([&] { ReadRegularFile(name, ConfigurationFileLimit); }), message);
        EXPECT_EQ(refusalOf([&] { ReadFirstLine(name, 65536); }), message);
    }
    EXPECT_THROW(ReadRegularFile("missing.ini", 10), EFOpenError);
}

TEST(TextFile, BoundedReadsRefuseWhatGoesBeyondTheLimit) {
    TempDir dir;
    testsupport::CurrentDirGuard inside(dir.path());
    const auto sparse = dir.write("aliases.ini", "");
    std::filesystem::resize_file(sparse, ConfigurationFileLimit);
    EXPECT_EQ(ReadRegularFile("aliases.ini", ConfigurationFileLimit).size(), ConfigurationFileLimit);
    std::filesystem::resize_file(sparse, ConfigurationFileLimit + 1);
    EXPECT_EQ(refusalOf([] { ReadRegularFile("aliases.ini", ConfigurationFileLimit); }),
              "Arquivo \"aliases.ini\" é maior que 16 MiB.");

    dir.write("Sys_Vendcfg.INI", std::string(65536, 'x') + "\r\n");
    EXPECT_EQ(ReadFirstLine("Sys_Vendcfg.INI", 65536).size(), 65536u);
    dir.write("Sys_Vendcfg.INI", std::string(65537, 'x'));
    EXPECT_EQ(refusalOf([] { ReadFirstLine("Sys_Vendcfg.INI", 65536); }),
              "A primeira linha do arquivo \"Sys_Vendcfg.INI\" é maior que 64 KiB.");
}

TEST(TextFile, FailuresCarryTheSystemTexts) {
    TempDir dir;
    testsupport::CurrentDirGuard inside(dir.path());
    try {
        ReadFirstLine("Sys_Vendcfg.INI", 100);
        ADD_FAILURE() << "no error";
    } catch (const base::EInOutError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
    try {
        ReadLines(".\\missing.txt");
        ADD_FAILURE() << "no error";
    } catch (const EFOpenError& error) {
        EXPECT_STREQ(error.what(), "Cannot open file \".\\missing.txt\". The system cannot find the file specified.");
    }
    std::filesystem::create_directory(dir / "folder");
    try {
        WriteLines("folder", {"x"});
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError& error) {
        EXPECT_STREQ(error.what(), "Cannot create file \"folder\". Access is denied.");
    }
}

TEST(TextFile, AtomicWriteReplacesTheFileInOneStep) {
    TempDir dir;
    testsupport::CurrentDirGuard inside(dir.path());
    dir.write("state.txt", "old\r\n");
    chmod("state.txt", 0640);
    WriteLinesAtomically("STATE.TXT", {"new", "content"});
    EXPECT_EQ(dir.read("state.txt"), "new\r\ncontent\r\n");
    struct stat info {};
    ASSERT_EQ(stat("state.txt", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    WriteLinesAtomically("fresh.txt", {"a"});
    EXPECT_EQ(dir.read("fresh.txt"), "a\r\n");
}

TEST(TextFile, FailedAtomicWriteLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    testsupport::CurrentDirGuard inside(dir.path());
    dir.write("state.txt", "old\r\n");
    EXPECT_THROW(WriteFileAtomically("state.txt",
                                     [](OutputFile& out) {
                                         out.write(std::string(200000, 'x'));
                                         throw base::EInOutError("Disk full");
                                     }),
                 base::EInOutError);
    EXPECT_EQ(dir.read("state.txt"), "old\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    EXPECT_THROW(WriteLinesAtomically("no folder\\state.txt", {"x"}), EFCreateError);
}

TEST(TextFile, AtomicWriteTakesEveryNameTheFolderTakes) {
    TempDir dir;
    testsupport::CurrentDirGuard inside(dir.path());
    const std::string longest = std::string(251, 'n') + ".txt";
    WriteLinesAtomically(longest, {"a"});
    EXPECT_EQ(dir.read(longest), "a\r\n");
    EXPECT_EQ(dir.names(), std::vector<std::string>{longest});
    EXPECT_THROW(WriteLinesAtomically("n" + longest, {"a"}), EFCreateError);
}

TEST(TextFile, AtomicWriteRemovesWhatAKilledWriteOfTheSameFileLeft) {
    TempDir dir;
    testsupport::CurrentDirGuard inside(dir.path());
    dir.write("state.txt", "old\r\n");
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0)
        WriteFileAtomically("state.txt", [](OutputFile&) { _exit(0); });
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    std::vector<std::string> names = dir.names();
    ASSERT_EQ(names.size(), 2u);
    const std::string abandoned = names[0];
    EXPECT_EQ(abandoned.size(), 17u);
    EXPECT_TRUE(abandoned.starts_with(TemporaryPrefixOf("state.txt")));
    // Files of the user that look like temporary files stay; a FIFO is not waited on.
    const std::vector<std::string> users = {abandoned + "x", ".state.txt.backup",
                                            TemporaryPrefixOf("state.txt") + "fifo00"};
    dir.write(users[0], "mine");
    dir.write(users[1], "mine");
    ASSERT_EQ(mkfifo(users[2].c_str(), 0600), 0);

    WriteLinesAtomically("state.txt", {"new"});
    names = users;
    names.push_back("state.txt");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(dir.names(), names);
}
