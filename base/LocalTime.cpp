#include "base/LocalTime.h"

namespace base {

TDateTime UnixToDateTime(std::time_t seconds, long nanoseconds) {
    std::tm local{};
    localtime_r(&seconds, &local);
    const int millisecond = static_cast<int>(nanoseconds / 1000000);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec, millisecond);
}

bool DateTimeToUnix(TDateTime value, std::time_t& seconds) {
    const DateParts date = DecodeDate(value);
    const TimeParts time = DecodeTime(value);
    if (date.year == 0)
        return false;
    std::tm local{};
    local.tm_year = date.year - 1900;
    local.tm_mon = date.month - 1;
    local.tm_mday = date.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;
    local.tm_wday = -1; // mktime fills it in only when it succeeds
    const std::time_t result = std::mktime(&local);
    if (local.tm_wday == -1)
        return false;
    seconds = result;
    return true;
}

} // namespace base
