#include "ftp/IdText.h"

#include <charconv>

namespace ftp {

namespace {

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

template <typename Integer> std::optional<Integer> toInteger(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    Integer value{};
    const auto [end, error] = std::from_chars(first, last, value);
    if (first == last || error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

} // namespace

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlankOrControl(text[first]))
        ++first;
    while (last > first && isBlankOrControl(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string TrimRight(const std::string& text) {
    std::size_t last = text.size();
    while (last > 0 && isBlankOrControl(text[last - 1]))
        --last;
    return text.substr(0, last);
}

std::string UpperCase(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string Copy(const std::string& text, std::size_t start, std::size_t count) {
    return start >= text.size() ? std::string() : text.substr(start, count);
}

std::optional<std::int32_t> ToInt32(const std::string& text) {
    return toInteger<std::int32_t>(text);
}

std::optional<std::int64_t> ToInt64(const std::string& text) {
    return toInteger<std::int64_t>(text);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

} // namespace ftp
