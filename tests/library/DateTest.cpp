#include "Date.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

TEST(DayNumber, MatchesPublishedValues) {
    EXPECT_EQ(2451545, DayNumber(2000, 1, 1));
    EXPECT_EQ(2440588, DayNumber(1970, 1, 1));
    EXPECT_EQ(2400001, DayNumber(1858, 11, 17));
    EXPECT_EQ(2461383, DayNumber(2026, 12, 8));
    EXPECT_EQ(0, DayNumber(-4713, 1, 1));
}

TEST(DayNumber, CalendarSwitchDaysAreConsecutive) {
    EXPECT_EQ(2299160, DayNumber(1582, 10, 4));
    EXPECT_EQ(2299161, DayNumber(1582, 10, 15));
}

TEST(DayNumber, DateInsideTheGapCountsAsJulian) {
    EXPECT_EQ(2299166, DayNumber(1582, 10, 10));
    int y, m, d;
    SplitDayNumber(2299166, &y, &m, &d);
    EXPECT_EQ(1582, y);
    EXPECT_EQ(10, m);
    EXPECT_EQ(20, d);
}

TEST(DayNumber, YearZeroIsOneBC) {
    EXPECT_EQ(1721058, DayNumber(0, 1, 1));
    EXPECT_EQ(1721058, DayNumber(-1, 1, 1));
    int y, m, d;
    SplitDayNumber(1721058, &y, &m, &d);
    EXPECT_EQ(-1, y);
    EXPECT_EQ(1, m);
    EXPECT_EQ(1, d);
}

TEST(DayNumber, LeapDaysFollowEachCalendar) {
    EXPECT_EQ(2460370, DayNumber(2024, 2, 29));
    EXPECT_EQ(2415079, DayNumber(1900, 2, 28));
    EXPECT_EQ(2415080, DayNumber(1900, 3, 1));
    EXPECT_EQ(2268992, DayNumber(1500, 2, 29));
    EXPECT_EQ(2268993, DayNumber(1500, 3, 1));
}

TEST(SplitDayNumber, DayZeroAndTheDayBefore) {
    int y, m, d;
    SplitDayNumber(0, &y, &m, &d);
    EXPECT_EQ(-4713, y);
    EXPECT_EQ(1, m);
    EXPECT_EQ(1, d);
    SplitDayNumber(-1, &y, &m, &d);
    EXPECT_EQ(-4714, y);
    EXPECT_EQ(12, m);
    EXPECT_EQ(31, d);
}

TEST(SplitDayNumber, RoundTripsEveryDayUpToFiveMillion) {
    int failures = 0;
    int firstFailure = -1;
    for (int n = 0; n <= 5000000; ++n) {
        int y, m, d;
        SplitDayNumber(n, &y, &m, &d);
        if (DayNumber(y, m, d) != n && failures++ == 0)
            firstFailure = n;
    }
    EXPECT_EQ(0, failures) << "first day number that did not round-trip: " << firstFailure;
}

TEST(DateText, SignedTextIsSignAndTenDigits) {
    char buffer[12];
    std::memset(buffer, 'x', sizeof buffer);
    Date("2461383").SignedText(buffer);
    EXPECT_STREQ("+0002461383", buffer);
    Date("0").SignedText(buffer);
    EXPECT_STREQ("+0000000000", buffer);
}

TEST(DateText, FormatIsMonthDayYearWithoutLeadingZeros) {
    char buffer[16];
    Date("2451545").Format(buffer);
    EXPECT_STREQ("1/1/2000", buffer);
    Date("2461383").Format(buffer);
    EXPECT_STREQ("12/8/2026", buffer);
    Date("0").Format(buffer);
    EXPECT_STREQ("1/1/-4713", buffer);
}

TEST(DateText, ConstructorReadsTextAsAtolDoes) {
    EXPECT_EQ(2451545, Date("2451545").GetDayNumber());
    EXPECT_EQ(0, Date("abc").GetDayNumber());
    EXPECT_EQ(-12, Date("  -12xyz").GetDayNumber());
}

TEST(DateToday, IsTodaysUtcDate) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    const int expected = DayNumber(now.wYear, now.wMonth, now.wDay);
    const int today = TodayDayNumber();
    // Midnight may pass between the two readings.
    EXPECT_TRUE(today == expected || today == expected + 1) << today << " vs " << expected;
}
