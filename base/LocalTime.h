#pragma once

#include <ctime>

#include "base/DateTime.h"

// Conversions between the program's date-times, which are local time, and
// the system's seconds since 1970 (UTC).
namespace base {

// The local date-time of a system time; the nanoseconds become milliseconds.
TDateTime UnixToDateTime(std::time_t seconds, long nanoseconds = 0);

// The system time of a local date-time (milliseconds are dropped); the
// system decides whether daylight saving applies. Returns false for a
// date-time the system cannot represent.
bool DateTimeToUnix(TDateTime value, std::time_t& seconds);

} // namespace base
