#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>

#include "base/FormatSettings.h"

namespace base {

// Formats a number with a picture pattern: "0" is a digit that is always
// shown, "#" a digit shown only when significant, "." the place of the
// decimal separator, "," anywhere in the integer part asks for the thousands
// separator; text in single or double quotes and every other character are
// copied. The value is rounded half away from zero to the number of digit
// places after the point. ("##,###,##0" gives 1024 as "1.024" with a point as
// thousands separator; "0.00 KB/s" gives 1.5 as "1,50 KB/s" with a decimal comma.)
std::string FormatFloat(const std::string& pattern, double value);
std::string FormatFloat(const std::string& pattern, double value, const FormatSettings& settings);

// One argument of Format: an integer or a text.
class FormatArg {
public:
    FormatArg(int value) : value_(static_cast<std::int64_t>(value)) {}
    FormatArg(long value) : value_(static_cast<std::int64_t>(value)) {}
    FormatArg(long long value) : value_(static_cast<std::int64_t>(value)) {}
    FormatArg(unsigned value) : value_(static_cast<std::int64_t>(value)) {}
    FormatArg(unsigned long value) : value_(static_cast<std::int64_t>(value)) {}
    FormatArg(const char* value) : value_(std::string(value)) {}
    FormatArg(std::string value) : value_(std::move(value)) {}

    const std::int64_t* integer() const { return std::get_if<std::int64_t>(&value_); }
    const std::string* text() const { return std::get_if<std::string>(&value_); }

private:
    std::variant<std::int64_t, std::string> value_;
};

// printf-like formatting: "%" ["-"] [width] ["." precision] type, with the
// types d (decimal integer; the precision is the least number of digits) and
// s (text; the precision is the most characters taken), and "%%" for a
// percent sign. Fields narrower than
// the width are padded with blanks on the left, or on the right with "-".
// ("%2d:%2d:%2d" with 0, 1, 5 gives " 0: 1: 5".) A missing argument or one of
// the wrong kind raises EConvertError.
std::string Format(const std::string& format, std::initializer_list<FormatArg> args);

} // namespace base
