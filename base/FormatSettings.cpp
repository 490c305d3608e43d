#include "base/FormatSettings.h"

#include <cctype>
#include <clocale>
#include <langinfo.h>
#include <locale.h>
#include <optional>

namespace base {

namespace {

// Makes a locale current for the calling thread while the object lives, so
// that localeconv() reads it without touching the process's global locale.
class ThreadLocaleScope {
public:
    explicit ThreadLocaleScope(locale_t locale) : previous_(uselocale(locale)) {}
    ~ThreadLocaleScope() { uselocale(previous_); }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

private:
    locale_t previous_;
};

// The first character of a strftime pattern that separates its fields.
std::string separatorOf(const std::string& pattern, const std::string& fallback) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%') {
            ++i;
            continue;
        }
        if (!std::isalnum(static_cast<unsigned char>(pattern[i])) && pattern[i] != ' ')
            return std::string(1, pattern[i]);
    }
    return fallback;
}

// Translates a strftime pattern into FormatDateTime's notation. The given
// separator becomes its placeholder ("/" for dates, ":" for times); letters
// that are not fields are quoted so that they stay literal.
std::string translatePattern(const std::string& pattern, const std::string& separator, char placeholder) {
    std::string result;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            switch (pattern[++i]) {
            case 'd':
                result += "dd";
                break;
            case 'e':
                result += "d";
                break;
            case 'm':
                result += "mm";
                break;
            case 'y':
                result += "yy";
                break;
            case 'Y':
                result += "yyyy";
                break;
            case 'H':
            case 'I':
                result += "hh";
                break;
            case 'k':
            case 'l':
                result += "h";
                break;
            case 'M':
                result += "nn";
                break;
            case 'S':
                result += "ss";
                break;
            case 'p':
                result += "AMPM";
                break;
            case 'T':
                result += "hh:nn:ss";
                break;
            case 'R':
                result += "hh:nn";
                break;
            case 'r':
                result += "hh:nn:ss AMPM";
                break;
            case 'D':
                result += "mm/dd/yy";
                break;
            case 'F':
                result += "yyyy-mm-dd";
                break;
            case '%':
                result += "'%'";
                break;
            default:
                break;
            }
        } else if (pattern.compare(i, separator.size(), separator) == 0) {
            result += placeholder;
            i += separator.size() - 1;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '"' || c == '\'') {
            result += c == '"' ? "'\"'" : c == '\'' ? "\"'\"" : std::string("\"") + c + "\"";
        } else {
            result += c;
        }
    }
    return result;
}

std::string shortTimeOf(const std::string& longTime) {
    std::string result = longTime;
    const auto seconds = result.find(":ss");
    if (seconds != std::string::npos)
        result.erase(seconds, 3);
    return result;
}

FormatSettings readLocale(locale_t locale) {
    FormatSettings settings;
    {
        ThreadLocaleScope scope(locale);
        const lconv* conv = localeconv();
        if (conv->decimal_point != nullptr && *conv->decimal_point != '\0')
            settings.decimalSeparator = conv->decimal_point;
        settings.thousandSeparator = conv->thousands_sep != nullptr ? conv->thousands_sep : "";
    }
    const std::string dateFormat = nl_langinfo_l(D_FMT, locale);
    const std::string timeFormat = nl_langinfo_l(T_FMT, locale);
    settings.dateSeparator = separatorOf(dateFormat, "/");
    settings.timeSeparator = separatorOf(timeFormat, ":");
    settings.shortDateFormat = translatePattern(dateFormat, settings.dateSeparator, '/');
    settings.longTimeFormat = translatePattern(timeFormat, settings.timeSeparator, ':');
    settings.shortTimeFormat = shortTimeOf(settings.longTimeFormat);
    settings.timeAMString = nl_langinfo_l(AM_STR, locale);
    settings.timePMString = nl_langinfo_l(PM_STR, locale);
    for (int m = 0; m < 12; ++m) {
        settings.shortMonthNames[m] = nl_langinfo_l(static_cast<nl_item>(ABMON_1 + m), locale);
        settings.longMonthNames[m] = nl_langinfo_l(static_cast<nl_item>(MON_1 + m), locale);
    }
    for (int d = 0; d < 7; ++d) {
        settings.shortDayNames[d] = nl_langinfo_l(static_cast<nl_item>(ABDAY_1 + d), locale);
        settings.longDayNames[d] = nl_langinfo_l(static_cast<nl_item>(DAY_1 + d), locale);
    }
    return settings;
}

std::optional<FormatSettings>& installedSettings() {
    static std::optional<FormatSettings> settings;
    return settings;
}

} // namespace

FormatSettings FormatSettingsFromLocale(const std::string& localeName) {
    locale_t locale = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, localeName.c_str(), locale_t{});
    if (locale == locale_t{})
        locale = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, "C", locale_t{});
    FormatSettings settings = readLocale(locale);
    freelocale(locale);
    return settings;
}

const FormatSettings& CurrentFormatSettings() {
    auto& settings = installedSettings();
    if (!settings)
        settings = FormatSettingsFromLocale("");
    return *settings;
}

void SetFormatSettings(const FormatSettings& settings) {
    installedSettings() = settings;
}

} // namespace base
