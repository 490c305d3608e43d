#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Text helpers of the FTP client beside the framework's (base/StrUtils.h):
// 0-based slicing and strict decimal conversion.
namespace ftp {

// The part of text from index start on, at most count characters; empty past the end.
std::string Copy(const std::string& text, std::size_t start, std::size_t count = std::string::npos);

// A whole text of an optional sign and decimal digits that fits the type; nothing otherwise.
std::optional<std::int32_t> ToInt32(const std::string& text);
std::optional<std::int64_t> ToInt64(const std::string& text);

} // namespace ftp
