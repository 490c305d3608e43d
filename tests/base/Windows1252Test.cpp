#include "base/Windows1252.h"

#include <string>
#include <vector>

#include "base/Exception.h"

#include <gtest/gtest.h>

namespace {

TEST(Windows1252, CharactersOfTheCodePageConvertBothWays) {
    struct Caso {
        std::string utf8;
        std::string ansi;
    };
    const std::vector<Caso> casos = {
        {"", ""},
        {"COMMIT;\r\n", "COMMIT;\r\n"},
        {"ação", "a\xE7\xE3o"},
        {"ÿ À", "\xFF \xC0"},
        {"€ – “x” …", "\x80 \x96 \x93x\x94 \x85"},
        {"Œ ž Ÿ", "\x8C \x9E \x9F"},
        {"\xC2\x81\xC2\x9D", "\x81\x9D"}, // the undefined bytes stand for the control characters
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Caso& caso : casos) {
        EXPECT_EQ(base::Utf8ToWindows1252(caso.utf8), caso.ansi) << caso.utf8;
        EXPECT_EQ(base::Windows1252ToUtf8(caso.ansi), caso.utf8) << caso.utf8;
    }
}

TEST(Windows1252, TextTheCodePageCannotHoldIsRefusedWithItsLine) {
    struct Caso {
        std::string utf8;
        std::string mensagem;
    };
    const std::vector<Caso> casos = {
        {"a\nb\n☃", "Character U+2603 in line 3 has no Windows-1252 code"},
        {"\xF0\x9F\x98\x80", "Character U+1F600 in line 1 has no Windows-1252 code"},
        {"\xC2\x80", "Character U+0080 in line 1 has no Windows-1252 code"},
        {"x\xE7y", "Invalid UTF-8 byte E7 in line 1"},       // Windows-1252 text handed over as it is
        {"\xC0\xA0", "Invalid UTF-8 byte C0 in line 1"},     // an overlong form
        {"\xED\xA0\x80", "Invalid UTF-8 byte ED in line 1"}, // a surrogate
        {"\n\xE2\x82", "Invalid UTF-8 byte E2 in line 2"},   // cut short
    };
    for (const Caso& caso : casos) {
        try {
            base::Utf8ToWindows1252(caso.utf8);
            ADD_FAILURE() << "no error for " << caso.mensagem;
        } catch (const base::EConvertError& erro) {
            EXPECT_EQ(std::string(erro.what()), caso.mensagem);
        }
    }
}

} // namespace
