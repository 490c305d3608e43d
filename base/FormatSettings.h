#pragma once

#include <array>
#include <string>

// The regional settings that number and date formatting follow. They are read
// once from the system locale (LC_NUMERIC and LC_TIME) and can be replaced,
// which tests do to get fixed separators.
namespace base {

struct FormatSettings {
    std::string decimalSeparator = ".";
    // Empty when the locale groups no digits.
    std::string thousandSeparator;
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    // Date and time patterns in FormatDateTime's notation; "/" and ":" in them
    // stand for the date and time separators.
    std::string shortDateFormat = "mm/dd/yy";
    std::string longTimeFormat = "hh:nn:ss";
    std::string shortTimeFormat = "hh:nn";
    std::string timeAMString = "AM";
    std::string timePMString = "PM";
    std::array<std::string, 12> shortMonthNames;
    std::array<std::string, 12> longMonthNames;
    // Sunday first.
    std::array<std::string, 7> shortDayNames;
    std::array<std::string, 7> longDayNames;
};

// Settings of a named locale ("" = the one the environment selects, as
// setlocale does). An unknown locale gives the settings of the "C" locale.
FormatSettings FormatSettingsFromLocale(const std::string& localeName);

// The settings in force: the system locale's until SetFormatSettings replaces them.
const FormatSettings& CurrentFormatSettings();
void SetFormatSettings(const FormatSettings& settings);

} // namespace base
