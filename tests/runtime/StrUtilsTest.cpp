#include "runtime/StrUtils.h"

#include <gtest/gtest.h>

using namespace runtime;
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

TEST(StrUtils, LetterCaseChangesOnlyAsciiLetters) {
    EXPECT_EQ(UpperCase("Program Files (x86) \xe9"), "PROGRAM FILES (X86) \xe9");
    EXPECT_EQ(LowerCase("HKEY_Local"), "hkey_local");
    EXPECT_TRUE(SameText("Check", "cHECK"));
    EXPECT_FALSE(SameText("Check", "Checks"));
}
