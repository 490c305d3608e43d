#include "base/StrUtils.h"

#include "base/Exception.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace base {

namespace {

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool parseInteger(std::string_view s, int& result) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == s.size())
        return false;
    // Hexadecimal digits may fill all 32 bits; such a value wraps to a negative one.
    const std::uint64_t limit = base == 16 ? std::numeric_limits<std::uint32_t>::max()
                                           : std::uint64_t{std::numeric_limits<int>::max()} + negative;
    std::uint64_t value = 0;
    for (; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int digit;
        if (std::isdigit(c))
            digit = c - '0';
        else if (base == 16 && std::isxdigit(c))
            digit = std::tolower(c) - 'a' + 10;
        else
            return false;
        value = value * base + digit;
        if (value > limit)
            return false;
    }
    const auto bits = static_cast<std::uint32_t>(value);
    result = static_cast<int>(negative ? 0u - bits : bits);
    return true;
}

} // namespace

std::string UpperCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), upper);
    return result;
}

std::string LowerCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), lower);
    return result;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upper(x) == upper(y); });
}

std::string Trim(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && isBlankOrControl(text[first]))
        ++first;
    while (last > first && isBlankOrControl(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

std::vector<std::string> TextToLines(std::string_view text) {
    std::vector<std::string> lines;
    // Sized once for the usual line ends: a long text then needs no spare room.
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        lines.emplace_back(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == '\r')
            ++pos;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    return lines;
}

std::vector<std::string> SplitString(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    size_t pos = 0;
    for (;;) {
        const size_t end = text.find(separator, pos);
        pieces.emplace_back(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
        if (end == std::string_view::npos)
            return pieces;
        pos = end + 1;
    }
}

bool StartsText(std::string_view subText, std::string_view text) {
    return SameText(subText, text.substr(0, subText.size()));
}

std::string QuotedStr(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'')
            quoted += c;
    }
    return quoted + "'";
}

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(upper(a[i]));
        const unsigned char y = static_cast<unsigned char>(upper(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string Copy(std::string_view text, int index, int count) {
    if (index < 1)
        index = 1;
    if (count < 1 || static_cast<std::size_t>(index) > text.size())
        return {};
    return std::string(text.substr(static_cast<std::size_t>(index) - 1, static_cast<std::size_t>(count)));
}

int Pos(std::string_view sub, std::string_view text) {
    if (sub.empty())
        return 0;
    const auto at = text.find(sub);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::string StringReplace(std::string_view text, std::string_view oldPattern, std::string_view newPattern,
                          unsigned flags) {
    if (oldPattern.empty())
        return std::string(text);
    const std::string haystack = flags & rfIgnoreCase ? UpperCase(text) : std::string(text);
    const std::string needle = flags & rfIgnoreCase ? UpperCase(oldPattern) : std::string(oldPattern);
    std::string result;
    std::size_t from = 0;
    for (auto at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, from)) {
        result.append(text.substr(from, at - from));
        result.append(newPattern);
        from = at + needle.size();
        if (!(flags & rfReplaceAll))
            break;
    }
    result.append(text.substr(from));
    return result;
}

std::string IntToStr(std::int64_t value) {
    return std::to_string(value);
}

int StrToInt(std::string_view text) {
    int result = 0;
    if (!parseInteger(text, result))
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return result;
}

int StrToIntDef(std::string_view text, int defaultValue) {
    int result = 0;
    return parseInteger(text, result) ? result : defaultValue;
}

} // namespace base
