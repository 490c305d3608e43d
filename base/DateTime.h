#pragma once

#include <functional>

// Date-time values as the program stores them: days since 30 December 1899,
// the fraction being the time of day. 0 means "no date".
namespace base {

using TDateTime = double;

struct DateParts {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct TimeParts {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Days of a month, honouring leap years of the Gregorian calendar.
int DaysInMonth(int year, int month);
bool IsLeapYear(int year);

// Encodes a calendar date (years 1 to 9999). Returns false for an invalid date.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
// Encodes a time of day. Returns false when a part is out of range.
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result);

// As the Try variants; an invalid date or time throws std::invalid_argument.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);

// Splits a value into its calendar date and its time of day (whole days are
// dropped for the time; milliseconds are rounded to the nearest).
DateParts DecodeDate(TDateTime value);
TimeParts DecodeTime(TDateTime value);

// The current local date-time, read through a replaceable clock so that tests
// can fix "now".
TDateTime Now();
// The current local date at 00:00.
TDateTime Date();

using Clock = std::function<TDateTime()>;
// Installs a clock for Now() and Date(); an empty function restores the system clock.
void SetClock(Clock clock);

} // namespace base
