#include "platform/TextFile.h"
#include "platform/SystemError.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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
    dir.write("long.ini", std::string(100000, 'x') + "\n" + "y");
    EXPECT_EQ(ReadFirstLine("Sys_Vendcfg.INI"), "12345678901234LOJA    ");
    EXPECT_EQ(ReadFirstLine("lf.ini"), "first");
    EXPECT_EQ(ReadFirstLine("cr.ini"), "first");
    EXPECT_EQ(ReadFirstLine("empty.ini"), "");
    EXPECT_EQ(ReadFirstLine("long.ini").size(), 100000u);
}

TEST(TextFile, FailuresCarryTheSystemTexts) {
    TempDir dir;
    testsupport::CurrentDirGuard inside(dir.path());
    try {
        ReadFirstLine("Sys_Vendcfg.INI");
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
