#include "datecalc/DateValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "textconv/Failures.h"

namespace vesk {
namespace {

struct DateCase {
    const char* name;
    std::uint16_t year, month, day;
    double value;
    int weekday;  // 1 Sunday ... 7 Saturday
};

TEST(DateValueTest, KnownDates) {
    const DateCase cases[] = {
        {"zero of date values, a Saturday", 1899, 12, 30, 0, 7},
        {"1 January 2000, a Saturday", 2000, 1, 1, 36526, 7},
        {"1 January 2001, a Monday", 2001, 1, 1, 36892, 2},
        {"29 February 2024, a Thursday", 2024, 2, 29, 45351, 5},
        {"first valid date", 1, 1, 1, -693593, 2},
        {"last valid date", 9999, 12, 31, 2958465, 6},
        {"29 February 2000, a leap century", 2000, 2, 29, 36585, 3},
    };
    for (const DateCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MakeDateValue(c.year, c.month, c.day), c.value);
        EXPECT_EQ(WeekdayOf(c.value), c.weekday);
        const DateParts parts = SplitDateValue(c.value);
        EXPECT_EQ(parts.year, c.year);
        EXPECT_EQ(parts.month, c.month);
        EXPECT_EQ(parts.day, c.day);
    }
}

TEST(DateValueTest, InvalidTriplesRaiseTheDateMessage) {
    const struct {
        const char* name;
        std::uint16_t year, month, day;
    } cases[] = {
        {"year 0", 0, 1, 1},
        {"year 10000", 10000, 1, 1},
        {"year 65535", 65535, 1, 1},
        {"month 0", 2024, 0, 1},
        {"month 13", 2024, 13, 1},
        {"day 0", 2024, 1, 0},
        {"31 April", 2024, 4, 31},
        {"29 February of a common year", 2023, 2, 29},
        {"29 February 1900, no Gregorian leap year", 1900, 2, 29},
        {"30 February of a leap year", 2024, 2, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            MakeDateValue(c.year, c.month, c.day);
            ADD_FAILURE() << "no failure";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), kInvalidDateMessage);
        }
    }
}

TEST(DateValueTest, ValuesOutsideTheRangeDoNotSplit) {
    for (double value : {-693594.0, 2958466.0, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(value);
        EXPECT_THROW(SplitDateValue(value), EConvertError);
        EXPECT_THROW(WeekdayOf(value), EConvertError);
    }
}

TEST(DateValueTest, TimeOfDayIsIgnored) {
    const DateParts parts = SplitDateValue(36526.75);
    EXPECT_EQ(parts.day, 1);
    EXPECT_EQ(WeekdayOf(36526.75), 7);
}

// Every day from 1 January 1 to 31 December 9999: consecutive values, the
// weekday advancing by one, and the split giving back the parts.
TEST(DateValueTest, EveryDayRoundTrips) {
    double expected = -693593;
    int weekday = 2;  // 1 January 1 was a Monday
    for (int year = 1; year <= 9999; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const int length = MonthLength(month, IsGregorianLeap(year));
            for (int day = 1; day <= length; ++day) {
                const auto y = static_cast<std::uint16_t>(year);
                const auto m = static_cast<std::uint16_t>(month);
                const auto d = static_cast<std::uint16_t>(day);
                const double value = MakeDateValue(y, m, d);
                const DateParts parts = SplitDateValue(value);
                const int actualWeekday = WeekdayOf(value);
                if (value != expected || parts.year != y || parts.month != m || parts.day != d ||
                    actualWeekday != weekday) {
                    FAIL() << year << "-" << month << "-" << day << ": value " << value << " expected "
                           << expected << ", split " << parts.year << "-" << parts.month << "-" << parts.day
                           << ", weekday " << actualWeekday << " expected " << weekday;
                }
                expected += 1;
                weekday = weekday % 7 + 1;
            }
        }
    }
    EXPECT_EQ(expected, 2958466);
}

TEST(DateValueTest, LeapYearRule) {
    EXPECT_TRUE(IsGregorianLeap(2024));
    EXPECT_TRUE(IsGregorianLeap(2000));
    EXPECT_FALSE(IsGregorianLeap(1900));
    EXPECT_FALSE(IsGregorianLeap(2023));
    EXPECT_EQ(MonthLength(2, true), 29);
    EXPECT_EQ(MonthLength(2, false), 28);
    EXPECT_EQ(MonthLength(0, false), 0);
    EXPECT_EQ(MonthLength(13, false), 0);
}

}  // namespace
}  // namespace vesk
