#include "base/Windows1252.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "base/Exception.h"

namespace base {

namespace {

// The characters of the bytes 80 to 9F; the rest of the code page equals
// the first 256 characters of Unicode.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CharacterOf(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

// The byte of the character, or -1 when the code page has none.
int ByteOf(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<int>(character);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == character)
            return static_cast<int>(0x80 + i);
    return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// Reads one UTF-8 character at pos and moves pos past it; -1 for bytes that
// do not form one (overlong forms and surrogates included).
long ReadUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? (lead < 0xF0 ? 2 : -1) : lead >= 0xC2 ? 1 : -1;
    if (extra < 0 || text.size() - pos < static_cast<std::size_t>(extra))
        return -1;
    char32_t c = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80)
            return -1;
        c = (c << 6) | (next & 0x3F);
        ++pos;
    }
    constexpr std::array<char32_t, 4> kSmallest = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return -1;
    return static_cast<long>(c);
}

} // namespace

std::string Utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    int line = 1;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const long c = ReadUtf8(text, pos);
        if (c < 0)
            throw EConvertError("Invalid UTF-8 byte " + Hex(static_cast<unsigned char>(text[start]), 2) + " in line " +
                                std::to_string(line));
        const int byte = ByteOf(static_cast<char32_t>(c));
        if (byte < 0)
            throw EConvertError("Character U+" + Hex(static_cast<unsigned>(c), 4) + " in line " + std::to_string(line) +
                                " has no Windows-1252 code");
        if (c == '\n')
            ++line;
        out += static_cast<char>(byte);
    }
    return out;
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char byte : text)
        AppendUtf8(out, CharacterOf(static_cast<unsigned char>(byte)));
    return out;
}

} // namespace base
