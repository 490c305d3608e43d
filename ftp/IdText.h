#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Text helpers of the FTP client: trimming as the protocol reads it (blanks and
// control characters), ASCII upper case and strict decimal conversion.
namespace ftp {

std::string Trim(const std::string& text);
std::string TrimRight(const std::string& text);
std::string UpperCase(const std::string& text);
// The part of text from index start on, at most count characters; empty past the end.
std::string Copy(const std::string& text, std::size_t start, std::size_t count = std::string::npos);

// A whole text of an optional sign and decimal digits that fits the type; nothing otherwise.
std::optional<std::int32_t> ToInt32(const std::string& text);
std::optional<std::int64_t> ToInt64(const std::string& text);

// Splits text into lines at CR LF, a lone LF and a lone CR; a final line break ends
// the last line without adding an empty one.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace ftp
