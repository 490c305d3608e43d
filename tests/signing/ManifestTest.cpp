#include "signing/Manifest.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace signing;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const std::string A(128, 'a');
const std::string B = std::string(64, '0') + std::string(64, 'f');
const std::string Header = "quillmark-manifest 1\nrelease 7\n";

std::string RefusalOf(const std::string& text) {
    try {
        Manifest::Parse(text);
    } catch (const EInvalidManifest& error) {
        return error.what();
    }
    return "accepted";
}

} // namespace

TEST(Manifest, ReadsEveryLineKindWithLfOrCrLfEndsAndWritesItBack) {
    const Manifest manifest = Manifest::Parse("quillmark-manifest 1\r\n"
                                              "file " +
                                              A +
                                              " 12 Sys Vendrake.exe\r\n"
                                              "release 18446744073709551615\n"
                                              "script " +
                                              B +
                                              " QUILLMARK 0004\r\n"
                                              "file " +
                                              B + " 0  leading blank");
    EXPECT_EQ(manifest.Release(), 18446744073709551615u);
    EXPECT_EQ(manifest.File("Sys Vendrake.exe"), (FileDigest{A, 12}));
    EXPECT_EQ(manifest.File(" leading blank"), (FileDigest{B, 0}));
    EXPECT_EQ(manifest.File("sys vendrake.exe"), std::nullopt); // letter case counts
    EXPECT_EQ(manifest.Script("QUILLMARK", "0004"), B);
    EXPECT_EQ(manifest.Script("QUILLMARK", "0005"), std::nullopt);
    EXPECT_EQ(manifest.Script("0004", "QUILLMARK"), std::nullopt);
    EXPECT_THAT(manifest.FileNames(), ElementsAre(" leading blank", "Sys Vendrake.exe"));

    const std::string text = "quillmark-manifest 1\nrelease 18446744073709551615\n"
                             "file " +
                             B +
                             " 0  leading blank\n"
                             "file " +
                             A +
                             " 12 Sys Vendrake.exe\n"
                             "script " +
                             B + " QUILLMARK 0004\n";
    EXPECT_EQ(manifest.Text(), text);
    EXPECT_EQ(Manifest::Parse(text).Text(), text);
}

TEST(Manifest, RefusesATextThatBreaksTheFormatSayingWhereAndWhy) {
    const struct {
        std::string text;
        std::string refusal;
    } cases[] = {
        {"", "line 1: the first line is not \"quillmark-manifest 1\""},
        {"quillmark-manifest 2\nrelease 1\n", "line 1: the first line"},
        {"quillmark-manifest 1\n", "the manifest has no release line"},
        {Header + "release 8\n", "line 3: a second release line"},
        {"quillmark-manifest 1\nrelease 07\n", "line 2: the release \"07\" is not a decimal number"},
        {"quillmark-manifest 1\nrelease 18446744073709551616\n", "the release \"18446744073709551616\""},
        {Header + "\nfile " + A + " 1 x\n", "line 3: unknown line kind \"\""},
        {Header + "file " + std::string(128, 'A') + " 1 x\n", "line 3: file \"x\": the hash is not 128 lower-case"},
        {Header + "file " + A.substr(1) + " 1 x\n", "the hash is not 128"},
        {Header + "file " + A + " 1x x\n", "the size \"1x\" is not a decimal number"},
        {Header + "file " + A + " 1\n", "the file name \"\" is empty"},
        {Header + "file " + A + " 1 a\rb\n", "holds NUL, CR or LF"},
        {Header + "file " + A + " 1 x\nfile " + B + " 2 x\n", "line 4: file \"x\" is listed twice"},
        {Header + "script " + A + " QUILLMARK 0004\nscript " + B + " QUILLMARK 0004\n",
         "line 4: script QUILLMARK 0004 is listed twice"},
        {Header + "script " + A + " QUILLMARK 0004 x\n", "the script's version \"0004 x\" holds a blank"},
        {Header + "script " + A + " QUILLMARK\n", "the script's version is empty"},
        {Header + "script " + A + "  0004\n", "the script's program is empty"},
        {Header + "script " + A.substr(2) + " QUILLMARK 0004\n", "script QUILLMARK 0004: the hash is not 128"},
        {Header + std::string(ManifestLimit, '#'), "the manifest is larger than 1 MiB"},
    };
    for (const auto& c : cases)
        EXPECT_THAT(RefusalOf(c.text), HasSubstr(c.refusal)) << c.text.substr(0, 300);
}

TEST(Manifest, AnEntryThatCannotBeWrittenIsRefusedWhenAdded) {
    Manifest manifest(1);
    EXPECT_THROW(manifest.AddFile("two\nlines", {A, 1}), EInvalidManifest);
    EXPECT_THROW(manifest.AddScript("QUILLMARK", "00 04", A), EInvalidManifest);
    EXPECT_EQ(manifest.Text(), "quillmark-manifest 1\nrelease 1\n");
}
