#include "base/LocalTime.h"

#include <gtest/gtest.h>

using namespace base;

TEST(LocalTime, RoundTripsThroughSystemTime) {
    for (TDateTime value : {EncodeDate(1980, 1, 1), EncodeDate(2026, 12, 7) + EncodeTime(9, 45, 10, 0),
                            EncodeDate(2026, 7, 1) + EncodeTime(23, 59, 58, 0), EncodeDate(2107, 12, 31)}) {
        std::time_t seconds = 0;
        ASSERT_TRUE(DateTimeToUnix(value, seconds));
        EXPECT_NEAR(UnixToDateTime(seconds), value, 1e-9);
    }
    EXPECT_NEAR(UnixToDateTime(0, 999000000) - UnixToDateTime(0), EncodeTime(0, 0, 0, 999), 1e-9);
}
