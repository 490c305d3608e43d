#include "platform/FileDate.h"

namespace platform {

using base::TDateTime;

std::int32_t DateTimeToFileDate(TDateTime value) {
    const base::DateParts date = base::DecodeDate(value);
    const base::TimeParts time = base::DecodeTime(value);
    if (date.year < 1980 || date.year > 2107)
        return 0;
    const std::uint32_t packed =
        static_cast<std::uint32_t>(date.year - 1980) << 25 | static_cast<std::uint32_t>(date.month) << 21 |
        static_cast<std::uint32_t>(date.day) << 16 | static_cast<std::uint32_t>(time.hour) << 11 |
        static_cast<std::uint32_t>(time.minute) << 5 | static_cast<std::uint32_t>(time.second) / 2;
    return static_cast<std::int32_t>(packed);
}

bool TryFileDateToDateTime(std::int32_t fileDate, TDateTime& value) {
    const std::uint32_t packed = static_cast<std::uint32_t>(fileDate);
    TDateTime date = 0;
    TDateTime time = 0;
    if (!base::TryEncodeDate(static_cast<int>(packed >> 25) + 1980, static_cast<int>(packed >> 21 & 0xF),
                             static_cast<int>(packed >> 16 & 0x1F), date) ||
        !base::TryEncodeTime(static_cast<int>(packed >> 11 & 0x1F), static_cast<int>(packed >> 5 & 0x3F),
                             static_cast<int>(packed & 0x1F) * 2, 0, time))
        return false;
    value = date + time;
    return true;
}

} // namespace platform
