#include "base/DateTime.h"

#include "base/LocalTime.h"

#include <chrono>
#include <cmath>
#include <stdexcept>

namespace base {

namespace {

constexpr double MillisecondsPerDay = 86400000.0;
// Days from 0001-01-01 (day 1) to 1899-12-30, the epoch of TDateTime.
constexpr long DaysBeforeEpoch = 693594;

Clock& installedClock() {
    static Clock clock;
    return clock;
}

TDateTime systemNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const long nanoseconds =
        static_cast<long>(duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count() % 1000000000);
    return UnixToDateTime(system_clock::to_time_t(now), nanoseconds);
}

} // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    long days = day;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    const long y = year - 1;
    days += y * 365 + y / 4 - y / 100 + y / 400;
    result = static_cast<double>(days - DaysBeforeEpoch);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        return false;
    result = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / MillisecondsPerDay;
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime result = 0;
    if (!TryEncodeDate(year, month, day, result))
        throw std::invalid_argument("Invalid argument to date encode");
    return result;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    TDateTime result = 0;
    if (!TryEncodeTime(hour, minute, second, millisecond, result))
        throw std::invalid_argument("Invalid argument to time encode");
    return result;
}

DateParts DecodeDate(TDateTime value) {
    // Day count from 0001-01-01 (0-based), then peel off 400-, 100-, 4- and 1-year cycles.
    long n = static_cast<long>(std::floor(value)) + DaysBeforeEpoch - 1;
    DateParts parts;
    if (n < 0)
        return parts;
    int year = 1;
    year += static_cast<int>(n / 146097) * 400;
    n %= 146097;
    long centuries = n / 36524;
    if (centuries == 4)
        centuries = 3;
    year += static_cast<int>(centuries) * 100;
    n -= centuries * 36524;
    year += static_cast<int>(n / 1461) * 4;
    n %= 1461;
    long years = n / 365;
    if (years == 4)
        years = 3;
    year += static_cast<int>(years);
    n -= years * 365;
    int month = 1;
    while (n >= DaysInMonth(year, month)) {
        n -= DaysInMonth(year, month);
        ++month;
    }
    parts.year = year;
    parts.month = month;
    parts.day = static_cast<int>(n) + 1;
    return parts;
}

TimeParts DecodeTime(TDateTime value) {
    const double fraction = std::fabs(value - std::trunc(value));
    long long ms = std::llround(fraction * MillisecondsPerDay);
    if (ms >= static_cast<long long>(MillisecondsPerDay))
        ms = static_cast<long long>(MillisecondsPerDay) - 1;
    TimeParts parts;
    parts.millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    parts.second = static_cast<int>(ms % 60);
    ms /= 60;
    parts.minute = static_cast<int>(ms % 60);
    parts.hour = static_cast<int>(ms / 60);
    return parts;
}

TDateTime Now() {
    const Clock& clock = installedClock();
    return clock ? clock() : systemNow();
}

TDateTime Date() {
    return std::floor(Now());
}

void SetClock(Clock clock) {
    installedClock() = std::move(clock);
}

} // namespace base
