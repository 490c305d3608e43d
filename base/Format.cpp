#include "base/Format.h"

#include "base/Exception.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace base {

namespace {

// What a number pattern asks for, gathered in one pass over its placeholders.
struct NumberLayout {
    int minIntegerDigits = 0;
    int minFractionDigits = 0;
    int maxFractionDigits = 0;
    bool thousands = false;
};

// Calls visit(character, inQuotes) for each character of the pattern;
// quote characters themselves are not visited.
template <typename Visit> void scanPattern(const std::string& pattern, Visit visit) {
    char quote = 0;
    for (const char c : pattern) {
        if (quote != 0 && c == quote)
            quote = 0;
        else if (quote == 0 && (c == '"' || c == '\''))
            quote = c;
        else
            visit(c, quote != 0);
    }
}

NumberLayout layoutOf(const std::string& pattern) {
    NumberLayout layout;
    bool afterPoint = false;
    bool zeroSeen = false;
    scanPattern(pattern, [&](char c, bool quoted) {
        if (quoted)
            return;
        if (c == '.') {
            afterPoint = true;
        } else if (c == ',' && !afterPoint) {
            layout.thousands = true;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++layout.maxFractionDigits;
                if (c == '0')
                    layout.minFractionDigits = layout.maxFractionDigits;
            } else {
                zeroSeen = zeroSeen || c == '0';
                if (zeroSeen)
                    ++layout.minIntegerDigits;
            }
        }
    });
    return layout;
}

// The decimal digits of |value| rounded half away from zero to the given
// number of decimals: integer digits without leading zeros (empty for zero)
// and exactly `decimals` fraction digits.
void decimalDigits(double value, int decimals, std::string& integer, std::string& fraction) {
    char buffer[512];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed).ptr;
    const std::string text(buffer, end);
    const auto point = text.find('.');
    std::string digits = text.substr(0, point);
    std::string tail = point == std::string::npos ? std::string() : text.substr(point + 1);
    const bool roundUp = tail.size() > static_cast<std::size_t>(decimals) && tail[decimals] >= '5';
    tail.resize(static_cast<std::size_t>(decimals), '0');
    digits += tail;
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        for (; i >= 0 && digits[i] == '9'; --i)
            digits[i] = '0';
        if (i >= 0)
            ++digits[i];
        else
            digits.insert(digits.begin(), '1');
    }
    integer = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    fraction = digits.substr(digits.size() - static_cast<std::size_t>(decimals));
    integer.erase(0, integer.find_first_not_of('0'));
}

std::string grouped(const std::string& digits, const std::string& separator) {
    std::string result;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += separator;
        result += digits[i];
    }
    return result;
}

[[noreturn]] void invalidFormat(const std::string& format) {
    throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

std::string padded(const std::string& field, int width, bool leftAlign) {
    if (static_cast<int>(field.size()) >= width)
        return field;
    const std::string fill(static_cast<std::size_t>(width) - field.size(), ' ');
    return leftAlign ? field + fill : fill + field;
}

std::string integerField(std::int64_t value, int precision) {
    std::string digits =
        std::to_string(value < 0 ? -static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value));
    if (precision > static_cast<int>(digits.size()))
        digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

int readNumber(const std::string& format, std::size_t& i) {
    int number = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9')
        number = number * 10 + (format[i++] - '0');
    return number;
}

} // namespace

std::string FormatFloat(const std::string& pattern, double value) {
    return FormatFloat(pattern, value, CurrentFormatSettings());
}

std::string FormatFloat(const std::string& pattern, double value, const FormatSettings& settings) {
    const NumberLayout layout = layoutOf(pattern);
    std::string integer, fraction;
    decimalDigits(value, layout.maxFractionDigits, integer, fraction);
    const bool negative = value < 0 && (!integer.empty() || fraction.find_first_not_of('0') != std::string::npos);
    if (static_cast<int>(integer.size()) < layout.minIntegerDigits)
        integer.insert(0, static_cast<std::size_t>(layout.minIntegerDigits) - integer.size(), '0');
    if (layout.thousands && !settings.thousandSeparator.empty())
        integer = grouped(integer, settings.thousandSeparator);
    while (static_cast<int>(fraction.size()) > layout.minFractionDigits && fraction.back() == '0')
        fraction.pop_back();

    std::string result;
    bool integerWritten = false;
    bool afterPoint = false;
    std::size_t fractionUsed = 0;
    const auto writeInteger = [&] {
        if (!integerWritten)
            result += (negative ? "-" : "") + integer;
        integerWritten = true;
    };
    scanPattern(pattern, [&](char c, bool quoted) {
        if (quoted) {
            result += c;
        } else if (c == '.' && !afterPoint) {
            writeInteger();
            afterPoint = true;
            if (!fraction.empty())
                result += settings.decimalSeparator;
        } else if ((c == '0' || c == '#') && !afterPoint) {
            writeInteger();
        } else if ((c == '0' || c == '#') && afterPoint) {
            if (fractionUsed < fraction.size())
                result += fraction[fractionUsed++];
        } else if (c != ',') {
            result += c;
        }
    });
    return result;
}

std::string Format(const std::string& format, std::initializer_list<FormatArg> args) {
    std::string result;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            result += format[i];
            continue;
        }
        if (++i < format.size() && format[i] == '%') {
            result += '%';
            continue;
        }
        const bool leftAlign = i < format.size() && format[i] == '-';
        if (leftAlign)
            ++i;
        const int width = readNumber(format, i);
        int precision = -1;
        if (i < format.size() && format[i] == '.')
            precision = readNumber(format, ++i);
        if (i >= format.size() || next == args.end())
            invalidFormat(format);
        const FormatArg& arg = *next++;
        std::string field;
        const char type = static_cast<char>(std::tolower(static_cast<unsigned char>(format[i])));
        if (type == 'd' && arg.integer() != nullptr)
            field = integerField(*arg.integer(), precision);
        else if (type == 's' && arg.text() != nullptr)
            field = precision >= 0 ? arg.text()->substr(0, static_cast<std::size_t>(precision)) : *arg.text();
        else
            invalidFormat(format);
        result += padded(field, width, leftAlign);
    }
    return result;
}

} // namespace base
