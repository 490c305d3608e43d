#include "platform/Files.h"
#include "base/FormatDateTime.h"
#include "platform/FileDate.h"
#include "platform/SystemError.h"
#include "platform/TextFile.h"
#include "tests/support/FailingFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace platform;
using base::EncodeDate;
using base::EncodeTime;
using base::TDateTime;
using testsupport::TempDir;

namespace {

std::string stamp(TDateTime value) {
    return base::FormatDateTime("yyyy-mm-dd hh:nn:ss", value);
}

std::string ageOf(const std::string& name) {
    TDateTime age = 0;
    EXPECT_TRUE(FileAge(name, age)) << name;
    return stamp(age);
}

} // namespace

TEST(FileDate, TwoSecondConversionAndItsYearBounds) {
    struct Case {
        TDateTime value;
        std::int32_t expected; // 0 = not representable
        const char* back;
    };
    for (const Case& c : {
             Case{EncodeDate(1979, 12, 31) + EncodeTime(23, 59, 59, 999), 0, ""},
             Case{EncodeDate(1980, 1, 1), 0x00210000, "1980-01-01 00:00:00"},
             Case{EncodeDate(2107, 12, 31) + EncodeTime(23, 59, 59, 0), static_cast<std::int32_t>(0xFF9FBF7D),
                  "2107-12-31 23:59:58"},
             Case{EncodeDate(2108, 1, 1), 0, ""},
             Case{EncodeDate(2026, 12, 7) + EncodeTime(9, 45, 11, 500), 0x5D874DA5, "2026-12-07 09:45:10"},
             Case{0, 0, ""},
         }) {
        const std::int32_t packed = DateTimeToFileDate(c.value);
        EXPECT_EQ(packed, c.expected) << stamp(c.value);
        TDateTime back = 0;
        EXPECT_EQ(TryFileDateToDateTime(packed, back), packed != 0);
        if (packed != 0) {
            EXPECT_EQ(stamp(back), c.back);
        }
    }
    TDateTime ignored = 0;
    EXPECT_FALSE(TryFileDateToDateTime(0x01A10000, ignored)); // month 13 is no date
}

TEST(Files, ExistenceDistinguishesFilesFromFoldersAndIgnoresCase) {
    TempDir dir;
    dir.write("Sys_Vendrake.exe", "MZ");
    std::filesystem::create_directory(dir / "Arquivos_dlls");
    testsupport::CurrentDirGuard inside(dir.path());
    EXPECT_TRUE(FileExists("Sys_Vendrake.exe"));
    EXPECT_TRUE(FileExists(".\\SYS_VENDRAKE.EXE"));
    EXPECT_FALSE(FileExists("Sys_Vendrake.old"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(FileExists("Arquivos_dlls"));
    EXPECT_TRUE(DirectoryExists("arquivos_DLLS"));
    EXPECT_FALSE(DirectoryExists("Sys_Vendrake.exe"));
}

TEST(Files, FileSetDateStampsTheLocalTimeThatFileAgeReads) {
    TempDir dir;
    dir.write("a.dll", "x");
    const std::string name = (dir / "a.dll").string();
    const TDateTime serverTime = EncodeDate(2026, 7, 15) + EncodeTime(14, 31, 7, 0);
    EXPECT_EQ(FileSetDate(name, DateTimeToFileDate(serverTime)), ERROR_SUCCESS);
    EXPECT_EQ(ageOf(name), "2026-07-15 14:31:06");

    // Out of range: the call fails and the file keeps its time.
    EXPECT_EQ(FileSetDate(name, DateTimeToFileDate(EncodeDate(1979, 6, 1))), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(ageOf(name), "2026-07-15 14:31:06");
    EXPECT_EQ(FileSetDate((dir / "missing").string(), DateTimeToFileDate(serverTime)), ERROR_FILE_NOT_FOUND);
    TDateTime age = 0;
    EXPECT_FALSE(FileAge((dir / "missing").string(), age));
}

TEST(Files, CopyKeepsTheTimeAndHonoursFailIfExists) {
    TempDir dir;
    dir.write("Sys_Vendrake.exe", "new program");
    dir.write("Sys_Vendrake.old", "old program");
    testsupport::CurrentDirGuard inside(dir.path());
    ASSERT_EQ(FileSetDate("Sys_Vendrake.exe", DateTimeToFileDate(EncodeDate(2025, 1, 2) + EncodeTime(3, 4, 6, 0))), 0);

    EXPECT_FALSE(CopyFile("Sys_Vendrake.exe", "Sys_Vendrake.old", true));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(dir.read("Sys_Vendrake.old"), "old program");

    EXPECT_TRUE(CopyFile("Sys_Vendrake.exe", "Sys_Vendrake.old", false));
    EXPECT_EQ(dir.read("Sys_Vendrake.old"), "new program");
    EXPECT_TRUE(CopyFile("sys_vendrake.EXE", "copy.exe", true));
    EXPECT_EQ(ageOf("copy.exe"), "2025-01-02 03:04:06");

    EXPECT_FALSE(CopyFile("missing.exe", "other.exe", false));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(FileExists("other.exe"));
}

TEST(Files, CopyOntoItselfLeavesTheFileIntact) {
    TempDir dir;
    dir.write("data.bin", std::string(200000, 'z'));
    testsupport::CurrentDirGuard inside(dir.path());
    EXPECT_FALSE(CopyFile("data.bin", "DATA.BIN", false));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(dir.read("data.bin").size(), 200000u);
}

TEST(Files, CopyStreamsLargeFilesWhole) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 300000; ++i)
        bytes += static_cast<char>(i * 7 % 251);
    dir.write("big.rar", bytes);
    testsupport::CurrentDirGuard inside(dir.path());
    ASSERT_TRUE(CopyFile("big.rar", "big.bak", true));
    EXPECT_EQ(dir.read("big.bak"), bytes);
}

TEST(Files, RenameNeverReplacesAndDeleteRemovesFilesOnly) {
    TempDir dir;
    dir.write("a.txt", "a");
    dir.write("b.txt", "b");
    std::filesystem::create_directory(dir / "folder");
    testsupport::CurrentDirGuard inside(dir.path());

    EXPECT_FALSE(RenameFile("a.txt", "b.txt"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(dir.read("b.txt"), "b");
    EXPECT_TRUE(RenameFile("A.TXT", "folder\\moved.txt"));
    EXPECT_EQ(dir.read("folder/moved.txt"), "a");
    EXPECT_FALSE(FileExists("a.txt"));

    EXPECT_TRUE(DeleteFile("B.txt"));
    EXPECT_FALSE(FileExists("b.txt"));
    EXPECT_FALSE(DeleteFile("b.txt"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFile("folder"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(Files, FindFilesListsMatchingEntriesOfTheFolder) {
    TempDir dir;
    dir.write("SCRIPT_ERRO_DT_b M-LOJA.TXT", "");
    dir.write("script_erro_dt_a M-LOJA.TXT", "");
    dir.write("SCRIPT_ERROR_NOEXT", "");
    dir.write("OTHER.TXT", "");
    dir.write("sub/SCRIPT_ERRO_in_sub.txt", "12345");
    std::filesystem::create_directory(dir / "SCRIPT_ERRO folder");
    testsupport::CurrentDirGuard inside(dir.path());

    std::vector<std::string> names;
    for (const SearchRec& rec : FindFiles("SCRIPT_ERRO*.*"))
        names.push_back(rec.name + (rec.directory ? "/" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{"SCRIPT_ERRO folder/", "SCRIPT_ERROR_NOEXT",
                                               "script_erro_dt_a M-LOJA.TXT", "SCRIPT_ERRO_DT_b M-LOJA.TXT"}));

    const auto inSub = FindFiles(".\\SUB\\*.TXT");
    ASSERT_EQ(inSub.size(), 1u);
    EXPECT_EQ(inSub[0].name, "SCRIPT_ERRO_in_sub.txt");
    EXPECT_EQ(inSub[0].size, 5);
    EXPECT_GT(inSub[0].time, EncodeDate(2020, 1, 1));

    EXPECT_TRUE(FindFiles("nothing*.*").empty());
    EXPECT_TRUE(FindFiles("missing\\*.*").empty());
}

TEST(FileFaults, AnInjectedFailureStopsTheOperationBeforeItTouchesTheDisk) {
    TempDir dir;
    const std::string original = dir.write("a.txt", "abc").string();
    const std::string copy = (dir / "b.txt").string();
    testsupport::FailingFiles failing;
    failing.Fail(FileOperation::Delete, "a.txt");
    failing.Fail(FileOperation::Copy, "b.txt", ERROR_DISK_FULL);
    failing.Fail(FileOperation::Write, "c.txt");

    EXPECT_FALSE(DeleteFile(original));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(FileExists(original));
    EXPECT_FALSE(CopyFile(original, copy, false));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_FALSE(FileExists(copy));
    const std::string written = (dir / "c.txt").string();
    EXPECT_THROW(WriteLines(written, {"x"}), EFCreateError);
    EXPECT_THROW(WriteLinesAtomically(written, {"x"}), EFCreateError);
    EXPECT_FALSE(FileExists(written));
    // Other names are not touched by the rules.
    EXPECT_TRUE(CopyFile(original, (dir / "d.txt").string(), false));
}
