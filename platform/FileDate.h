#pragma once

#include <cstdint>

#include "base/DateTime.h"

// The two-second file date of the Windows file system, packed in 32 bits:
// year - 1980 (7 bits), month (4), day (5) in the high word; hour (5),
// minute (6) and seconds / 2 (5) in the low word.
namespace platform {

// 0 for a date-time outside the years 1980 to 2107; odd seconds and
// milliseconds are dropped.
std::int32_t DateTimeToFileDate(base::TDateTime value);

// Returns false for a value that holds no valid date and time (0 among them).
bool TryFileDateToDateTime(std::int32_t fileDate, base::TDateTime& value);

} // namespace platform
