#include "ftp/IdText.h"

#include <charconv>

namespace ftp {

namespace {

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
