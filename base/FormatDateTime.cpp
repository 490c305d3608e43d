#include "base/FormatDateTime.h"

#include "base/StrUtils.h"

#include <cctype>
#include <cmath>

namespace base {

namespace {

std::string twoDigits(int value) {
    return value < 10 ? "0" + std::to_string(value) : std::to_string(value);
}

std::string digits(int value, bool padded) {
    return padded ? twoDigits(value) : std::to_string(value);
}

// Weekday of a date-time, 0 = Sunday (30 December 1899 was a Saturday).
int dayOfWeek(TDateTime value) {
    const long days = static_cast<long>(std::floor(value));
    return static_cast<int>(((days + 6) % 7 + 7) % 7);
}

// True when the pattern has an am/pm specifier, which makes hours 12-hour.
bool usesTwelveHours(const std::string& pattern) {
    const std::string upper = UpperCase(pattern);
    return upper.find("AM/PM") != std::string::npos || upper.find("A/P") != std::string::npos ||
           upper.find("AMPM") != std::string::npos;
}

class DateTimeFormatter {
public:
    DateTimeFormatter(TDateTime value, const FormatSettings& settings)
        : value_(value), settings_(settings), date_(DecodeDate(value)), time_(DecodeTime(value)) {}

    void format(const std::string& pattern, int depth = 0) {
        const bool twelveHours = usesTwelveHours(pattern);
        bool afterHour = false;
        std::size_t i = 0;
        while (i < pattern.size()) {
            const char c = pattern[i];
            if (c == '"' || c == '\'') {
                const auto close = pattern.find(c, i + 1);
                const auto end = close == std::string::npos ? pattern.size() : close;
                out_ += pattern.substr(i + 1, end - i - 1);
                i = end + 1;
                continue;
            }
            if (c == '/' || c == ':') {
                out_ += c == '/' ? settings_.dateSeparator : settings_.timeSeparator;
                ++i;
                continue;
            }
            if (c == 'a' || c == 'A') {
                i += halfOfDay(pattern, i);
                continue;
            }
            const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            std::size_t run = 1;
            while (i + run < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[i + run])) == letter)
                ++run;
            if (specifier(letter, run, afterHour, twelveHours, depth)) {
                afterHour = letter == 'h';
            } else {
                out_ += c;
                run = 1;
            }
            i += run;
        }
    }

    const std::string& result() const { return out_; }

private:
    bool specifier(char letter, std::size_t run, bool afterHour, bool twelveHours, int depth) {
        switch (letter) {
        case 'd':
            if (run >= 5)
                nested(settings_.shortDateFormat, depth);
            else if (run >= 3)
                out_ += (run == 3 ? settings_.shortDayNames : settings_.longDayNames)[dayOfWeek(value_)];
            else
                out_ += digits(date_.day, run == 2);
            return true;
        case 'm':
            if (run <= 2)
                out_ += digits(afterHour ? time_.minute : date_.month, run == 2);
            else
                out_ += date_.month >= 1
                            ? (run == 3 ? settings_.shortMonthNames : settings_.longMonthNames)[date_.month - 1]
                            : std::string();
            return true;
        case 'y':
            out_ += run <= 2 ? twoDigits(date_.year % 100) : std::to_string(date_.year);
            return true;
        case 'h': {
            int hour = time_.hour;
            if (twelveHours)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            out_ += digits(hour, run >= 2);
            return true;
        }
        case 'n':
            out_ += digits(time_.minute, run >= 2);
            return true;
        case 's':
            out_ += digits(time_.second, run >= 2);
            return true;
        case 'z': {
            std::string ms = std::to_string(time_.millisecond);
            if (run >= 3)
                ms.insert(0, 3 - ms.size(), '0');
            out_ += ms;
            return true;
        }
        case 't':
            nested(run >= 2 ? settings_.longTimeFormat : settings_.shortTimeFormat, depth);
            return true;
        case 'c':
            nested(settings_.shortDateFormat, depth);
            if (value_ != std::floor(value_)) {
                out_ += ' ';
                nested(settings_.longTimeFormat, depth);
            }
            return true;
        default:
            return false;
        }
    }

    // Writes the half of the day for an am/pm, a/p or ampm specifier at the
    // position; returns the number of pattern characters used (1 when the
    // letter is plain text).
    std::size_t halfOfDay(const std::string& pattern, std::size_t at) {
        const bool pm = time_.hour >= 12;
        const std::string_view specifier = std::string_view(pattern).substr(at);
        if (StartsText("am/pm", specifier)) {
            const std::string text = pm ? "pm" : "am";
            out_ += std::isupper(static_cast<unsigned char>(pattern[at])) ? UpperCase(text) : text;
            return 5;
        }
        if (StartsText("a/p", specifier)) {
            const char text = pm ? 'p' : 'a';
            out_ +=
                std::isupper(static_cast<unsigned char>(pattern[at])) ? static_cast<char>(std::toupper(text)) : text;
            return 3;
        }
        if (StartsText("ampm", specifier)) {
            out_ += pm ? settings_.timePMString : settings_.timeAMString;
            return 4;
        }
        out_ += pattern[at];
        return 1;
    }

    // A format inside a format (the short date in "ddddd"); the depth stops a
    // settings pattern that names itself from recursing for ever.
    void nested(const std::string& pattern, int depth) {
        if (depth < 2)
            format(pattern, depth + 1);
    }

    TDateTime value_;
    const FormatSettings& settings_;
    DateParts date_;
    TimeParts time_;
    std::string out_;
};

} // namespace

std::string FormatDateTime(const std::string& pattern, TDateTime value) {
    return FormatDateTime(pattern, value, CurrentFormatSettings());
}

std::string FormatDateTime(const std::string& pattern, TDateTime value, const FormatSettings& settings) {
    DateTimeFormatter formatter(value, settings);
    formatter.format(pattern);
    return formatter.result();
}

std::string DateToStr(TDateTime value) {
    return FormatDateTime("ddddd", value);
}

std::string TimeToStr(TDateTime value) {
    return FormatDateTime("tt", value);
}

} // namespace base
