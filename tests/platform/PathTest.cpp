#include "platform/Path.h"
#include "platform/Files.h"
#include "platform/FolderIndex.h"
#include "platform/TextFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using platform::MatchesMask;
using platform::NativePath;
using testsupport::TempDir;

TEST(NativePath, ConvertsWindowsSpellingOfMissingNames) {
    TempDir dir;
    testsupport::CurrentDirGuard inside(dir.path());
    EXPECT_EQ(NativePath(".\\Sys_Vendrake.exe"), "./Sys_Vendrake.exe");
    EXPECT_EQ(NativePath("Sys_Vendcfg.INI"), "Sys_Vendcfg.INI");
    EXPECT_EQ(NativePath("\\no such folder\\winrar\\WinRAR.exe"), "/no such folder/winrar/WinRAR.exe");
    EXPECT_EQ(NativePath("C:\\no such folder\\x"), "/no such folder/x");
    EXPECT_EQ(NativePath("d:relative\\x"), "relative/x");
    EXPECT_EQ(NativePath("folder\\"), "folder/");
    EXPECT_EQ(NativePath(""), "");
    EXPECT_EQ(NativePath("\\"), "/");
}

TEST(NativePath, FindsExistingNamesWhateverTheirCase) {
    TempDir dir;
    dir.write("Program Files/winrar/winrar.exe", "#!/bin/sh\n");
    dir.write("Data/Acentuação.TXT", "x");
    const std::string root = dir.path().string();

    EXPECT_EQ(NativePath(root + "\\program files\\WinRAR\\WinRAR.exe"), root + "/Program Files/winrar/winrar.exe");
    EXPECT_EQ(NativePath(root + "/Program Files/winrar/winrar.exe"), root + "/Program Files/winrar/winrar.exe");
    EXPECT_EQ(NativePath(root + "\\DATA\\ACENTUAÇÃO.txt"), root + "/Data/Acentuação.TXT");
    // Below a missing component the rest is kept as written.
    EXPECT_EQ(NativePath(root + "\\PROGRAM FILES\\new\\WinRAR.exe"), root + "/Program Files/new/WinRAR.exe");

    testsupport::CurrentDirGuard inside(dir.path());
    EXPECT_EQ(NativePath(".\\program files\\..\\data"), "./Program Files/../Data");
}

TEST(NativePath, PrefersTheExactSpellingThenTheFirstOne) {
    TempDir dir;
    dir.write("Readme.txt", "1");
    dir.write("README.TXT", "2");
    dir.write("readme.txt", "3");
    const std::string root = dir.path().string() + "/";
    EXPECT_EQ(NativePath(root + "readme.txt"), root + "readme.txt");
    EXPECT_EQ(NativePath(root + "ReadMe.Txt"), root + "README.TXT");
}

// With the folder's index alive, names are looked up in it, and this
// program's own writes, copies, renames and deletions keep it true.
TEST(NativePath, FindsNamesThroughTheFolderIndexKeptUpToDate) {
    TempDir dir;
    dir.write("Listed.txt", "1");
    const std::string root = dir.path().string() + "/";
    const platform::FolderIndex index(dir.path().string());
    EXPECT_EQ(NativePath(root + "LISTED.TXT"), root + "Listed.txt");

    platform::WriteLinesAtomically(root + "Written.txt", {"2"});
    EXPECT_TRUE(platform::CopyFile(root + "written.txt", root + "Copied.txt", true));
    EXPECT_TRUE(platform::RenameFile(root + "LISTED.TXT", root + "Renamed.txt"));
    EXPECT_EQ(NativePath(root + "WRITTEN.TXT"), root + "Written.txt");
    EXPECT_EQ(NativePath(root + "COPIED.TXT"), root + "Copied.txt");
    EXPECT_EQ(NativePath(root + "RENAMED.TXT"), root + "Renamed.txt");
    EXPECT_EQ(NativePath(root + "listed.txt"), root + "listed.txt");

    EXPECT_TRUE(platform::DeleteFile(root + "WRITTEN.TXT"));
    EXPECT_EQ(NativePath(root + "written.txt"), root + "written.txt");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"Copied.txt", "Renamed.txt"}));
}

TEST(MatchesMask, WindowsWildcardRules) {
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    };
    for (const Case& c : {
             Case{"SCRIPT_ERRO_DT_07-12-2026_HR_09-45-10 M-LOJA.TXT", "SCRIPT_ERRO*.*", true},
             Case{"script_erro_dt_x.txt", "SCRIPT_ERRO*.*", true},
             Case{"SCRIPT_ERRO", "SCRIPT_ERRO*.*", true},
             Case{"SCRIPT_ERR.TXT", "SCRIPT_ERRO*.*", false},
             Case{"xSCRIPT_ERRO.TXT", "SCRIPT_ERRO*.*", false},
             Case{"noext", "*.*", true},
             Case{"a.b.c", "*.*", true},
             Case{".hidden", "*.*", true},
             Case{"name", "name.*", true},
             Case{"name.txt", "name.*", true},
             Case{"names", "name.*", false},
             Case{"abc", "abc.", true},
             Case{"abc.d", "abc.", false},
             Case{"a.txt", "?.txt", true},
             Case{"ab.txt", "?.txt", false},
             Case{"ab", "ab??", true},
             Case{"abcde", "ab??", false},
             Case{"ç.txt", "?.TXT", true},
             Case{"File.TXT", "*.txt", true},
             Case{"file.txt2", "*.txt", false},
             Case{"", "*", true},
         })
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
}

TEST(SameFileName, IgnoresCaseOfAsciiAndAccentedLetters) {
    EXPECT_TRUE(platform::SameFileName("WinRAR.exe", "winrar.EXE"));
    EXPECT_TRUE(platform::SameFileName("AÇÃO", "ação"));
    EXPECT_FALSE(platform::SameFileName("ação", "acao"));
    EXPECT_FALSE(platform::SameFileName("×", "÷")); // U+00D7 and U+00F7 are no letters
}
