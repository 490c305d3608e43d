#include "base/StrUtils.h"
#include "base/Exception.h"

#include <gtest/gtest.h>

using namespace base;
using Lines = std::vector<std::string>;

TEST(StrUtils, TextToLinesSplitsAtEveryLineBreakKindWithoutATrailingEmptyLine) {
    const struct {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"one\ntwo\rthree", {"one", "two", "three"}},
        {"one\n\ntwo", {"one", "", "two"}},
        {"\r\n", {""}},
        {"one\n\r two", {"one", "", " two"}}, // LF CR is two breaks
        {std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToLines(c.text), c.lines) << c.text;
}

TEST(StrUtils, TrimRemovesBlanksAndControlCharactersAtBothEndsOnly) {
    EXPECT_EQ(Trim(" \t\x01 QUILL MARK\r\n\x1f "), "QUILL MARK");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(Trim("\xe9t\xe9"), "\xe9t\xe9"); // 8-bit characters are text
}

TEST(StrUtils, SplitStringKeepsEmptyPieces) {
    const struct {
        std::string text;
        Lines pieces;
    } cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a;;b", {"a", "", "b"}},
        {";a;", {"", "a", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitString(c.text, ';'), c.pieces) << c.text;
}

TEST(StrUtils, StartsTextIgnoresCaseAndNeedsTheWholePrefix) {
    EXPECT_TRUE(StartsText("am/pm", "AM/PM hh"));
    EXPECT_TRUE(StartsText("", "x"));
    EXPECT_FALSE(StartsText("c:", "c"));
    EXPECT_FALSE(StartsText("/b>", "/i>"));
}

TEST(StrUtils, QuotedStrDoublesEveryApostrophe) {
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(QuotedStr("base.fdb"), "'base.fdb'");
    EXPECT_EQ(QuotedStr("d'Oeste '"), "'d''Oeste '''");
}

TEST(StrUtils, LetterCaseChangesOnlyAsciiLetters) {
    EXPECT_EQ(UpperCase("Program Files (x86) \xe9"), "PROGRAM FILES (X86) \xe9");
    EXPECT_EQ(LowerCase("HKEY_Local"), "hkey_local");
    EXPECT_TRUE(SameText("Check", "cHECK"));
    EXPECT_FALSE(SameText("Check", "Checks"));
}

TEST(StrUtils, CompareTextOrdersIgnoringCase) {
    EXPECT_LT(CompareText("script_a", "SCRIPT_B"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("abc", "ABCD"), 0);
    EXPECT_EQ(CompareText("WinRAR.exe", "winrar.EXE"), 0);
}

TEST(StrUtils, CopyClampsIndexAndCount) {
    const std::string line = "01234567890123alias";
    EXPECT_EQ(Copy(line, 15, 30), "alias");
    EXPECT_EQ(Copy(line, 1, 3), "012");
    EXPECT_EQ(Copy(line, 0, 2), "01");
    EXPECT_EQ(Copy(line, -5, 2), "01");
    EXPECT_EQ(Copy(line, 20, 5), "");
    EXPECT_EQ(Copy(line, 19, 5), "s");
    EXPECT_EQ(Copy(line, 3, 0), "");
    EXPECT_EQ(Copy(line, 3, -1), "");
    EXPECT_EQ(Copy("12345678901234", 15, 30), "");
}

TEST(StrUtils, PosIsOneBasedAndZeroWhenAbsent) {
    EXPECT_EQ(Pos(" - Será", "Sys_Vendrake.exe - Será atualizado"), 17);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("abc", "abc"), 1);
}

TEST(StrUtils, StringReplaceHonoursItsFlags) {
    EXPECT_EQ(StringReplace("07/12/2026", "/", "-", rfReplaceAll), "07-12-2026");
    EXPECT_EQ(StringReplace("07/12/2026", "/", "-", 0), "07-12/2026");
    EXPECT_EQ(StringReplace("Commit WORK; commit work", "COMMIT WORK", " ", rfReplaceAll | rfIgnoreCase), " ;  ");
    EXPECT_EQ(StringReplace("aaa", "a", "aa", rfReplaceAll), "aaaaaa");
    EXPECT_EQ(StringReplace("abc", "", "x", rfReplaceAll), "abc");
}

TEST(StrUtils, IntegerConversions) {
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(4294967295LL), "4294967295");
    EXPECT_EQ(StrToInt("  123"), 123);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483648LL);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("-$10"), -16);
    for (const char* bad : {"", " ", "12 ", "1x", "2147483648", "-2147483649", "-", "$", "$100000000"})
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
    try {
        StrToInt("abc");
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(StrToIntDef("x", -1), -1);
    EXPECT_EQ(StrToIntDef("10", -1), 10);
}
