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

std::string TrimRight(const std::string& text) {
    std::size_t last = text.size();
    while (last > 0 && isBlankOrControl(text[last - 1]))
        --last;
    return text.substr(0, last);
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

} // namespace ftp
