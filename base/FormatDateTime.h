#pragma once

#include <string>

#include "base/DateTime.h"
#include "base/FormatSettings.h"

namespace base {

// Formats a date-time with a pattern of specifiers (letters in either case):
//   d dd        day without / with leading zero   ddd dddd  short / long day name
//   ddddd       the short date format             m mm      month (minutes right after h or hh)
//   mmm mmmm    short / long month name           yy yyyy   two- / four-digit year
//   h hh        hour (12-hour when the pattern holds am/pm, a/p or ampm)
//   n nn        minute                            s ss      second
//   z zzz       millisecond                       t tt      the short / long time format
//   c           short date, then the long time unless the time is 00:00:00
//   am/pm a/p   the half of the day in the case written; ampm the locale's texts
//   /  :        the date and time separators
// Text in single or double quotes and every other character are copied.
// ("dd/mm/yyyy HH:mm" gives "07/12/2026 09:45" with "/" as date separator.)
std::string FormatDateTime(const std::string& pattern, TDateTime value);
std::string FormatDateTime(const std::string& pattern, TDateTime value, const FormatSettings& settings);

// The date in the short date format and the time in the long time format.
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);

} // namespace base
