#include "base/DateTime.h"

#include <gtest/gtest.h>

using namespace base;

TEST(DateTime, EncodesKnownDaysAroundTheEpochAndLeapYears) {
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 3, 1), 61.0); // 1900 is not a leap year
    EXPECT_DOUBLE_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDate(2026, 12, 7), 46363.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_THROW(EncodeDate(2023, 2, 29), std::invalid_argument);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), std::invalid_argument);
}

TEST(DateTime, DecodeInvertsEncodeOverFourCenturies) {
    for (int year : {1, 99, 100, 1600, 1899, 1900, 1980, 2000, 2024, 2100, 2107, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day : {1, 28, DaysInMonth(year, month)}) {
                DateParts parts = DecodeDate(EncodeDate(year, month, day));
                ASSERT_EQ(parts.year, year);
                ASSERT_EQ(parts.month, month);
                ASSERT_EQ(parts.day, day);
            }
        }
    }
}

TEST(DateTime, TimeOfDayRoundTripsToTheMillisecond) {
    TDateTime value = EncodeDate(2026, 12, 7) + EncodeTime(23, 59, 59, 999);
    TimeParts parts = DecodeTime(value);
    EXPECT_EQ(parts.hour, 23);
    EXPECT_EQ(parts.minute, 59);
    EXPECT_EQ(parts.second, 59);
    EXPECT_EQ(parts.millisecond, 999);
    EXPECT_EQ(DecodeDate(value).day, 7);
}

TEST(DateTime, InstalledClockReplacesTheSystemClock) {
    SetClock([] { return EncodeDate(2026, 12, 7) + EncodeTime(9, 45, 10, 0); });
    EXPECT_DOUBLE_EQ(Date(), EncodeDate(2026, 12, 7));
    EXPECT_EQ(DecodeTime(Now()).minute, 45);
    SetClock(nullptr);
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}
