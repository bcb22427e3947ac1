#include <gtest/gtest.h>

#include "TestDates.h"
#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"
#include "japanese/DayCount.h"
#include "japanese/MonthRule.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;
using test::D;

TEST(DayCount, Table) {
    const struct {
        const char* from;
        const char* to;
        bool inclusive;
        DayCount count;  // days, weeks, weekDays, years, months, dayRest
    } rows[] = {
        {"2024-01-01", "2024-12-31", false, {365, 52, 1, 0, 11, 30}},
        {"2024-01-01", "2024-12-31", true, {366, 52, 2, 1, 0, 0}},
        {"2024-12-31", "2024-01-01", false, {-365, -52, -1, 0, -11, -30}},
        {"2024-12-31", "2024-01-01", true, {-366, -52, -2, -1, 0, 0}},
        {"2024-01-05", "2024-01-05", false, {0, 0, 0, 0, 0, 0}},
        {"2024-01-05", "2024-01-05", true, {1, 0, 1, 0, 0, 1}},
        // The month rule: the month's last day counts as the day reached.
        {"2024-01-31", "2024-02-29", false, {29, 4, 1, 0, 1, 0}},
        {"2024-01-31", "2024-02-28", false, {28, 4, 0, 0, 0, 28}},
        {"2023-01-31", "2023-02-28", false, {28, 4, 0, 0, 1, 0}},
        {"2024-02-29", "2025-02-28", false, {365, 52, 1, 1, 0, 0}},
        {"2024-03-31", "2024-02-29", false, {-31, -4, -3, 0, -1, 0}},
        {"2023-01-15", "2024-03-20", false, {430, 61, 3, 1, 2, 5}},
        // The Gregorian calendar across 1900 and 2100, where the four-year rule counts one more.
        {"1900-02-28", "1900-03-01", false, {1, 0, 1, 0, 0, 1}},
        {"2100-01-01", "2101-01-01", false, {365, 52, 1, 1, 0, 0}},
        // The ends of the range: the day after 9999-12-31 still counts.
        {"0001-01-01", "9999-12-31", false, {3652058, 521722, 4, 9998, 11, 30}},
        {"0001-01-01", "9999-12-31", true, {3652059, 521722, 5, 9999, 0, 0}},
        {"9999-12-31", "0001-01-01", true, {-3652059, -521722, -5, -9999, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.from) + ".." + row.to + (row.inclusive ? " inclusive" : ""));
        EXPECT_EQ(CountDays(D(row.from), D(row.to), row.inclusive), row.count);
    }
}

// For pairs of dates across the range: the parts add up, the whole months are
// the most that fit, and the days left are fewer than one more month.
TEST(DayCount, WholeMonthsAreTheMostThatFit) {
    const sys_days first = test::Day("1999-11-28");
    for (int a = 0; a < 800; a += 3) {
        for (int length :
             {-400, -62, -31, -30, -29, -1, 0, 1, 27, 28, 29, 30, 31, 59, 365, 366, 1461}) {
            const year_month_day from{first + days{a}}, to{first + days{a + length}};
            for (const bool inclusive : {false, true}) {
                const DayCount c = CountDays(from, to, inclusive);
                SCOPED_TRACE(IsoDate(from) + ".." + IsoDate(to) + (inclusive ? " inclusive" : ""));
                const std::int64_t step = length < 0 ? -1 : 1;
                ASSERT_EQ(c.days, length + (inclusive ? step : 0));
                ASSERT_EQ(c.weeks * 7 + c.weekDays, c.days);
                const std::int64_t months = c.years * 12 + c.months;
                const sys_days reached{*AddMonths(from, months)};
                ASSERT_EQ((reached - sys_days{from}).count() + c.dayRest, c.days);
                const sys_days further{*AddMonths(from, months + step)};
                const sys_days end = sys_days{from} + days{c.days};
                ASSERT_TRUE(step > 0 ? further > end : further < end);
                ASSERT_TRUE(c.dayRest * step >= 0 && c.months * step >= 0 && c.years * step >= 0);
            }
        }
    }
}

TEST(DayCount, RefusesDatesOutsideTheRange) {
    EXPECT_THROW(CountDays(year{0} / 12 / 31, D("2024-01-01"), false), CalendarError);
    EXPECT_THROW(CountDays(D("2024-01-01"), year{10000} / 1 / 1, false), CalendarError);
    EXPECT_THROW(CountDays(year{2023} / 2 / 29, D("2024-01-01"), false), CalendarError);
}

}  // namespace
}  // namespace vesk::japanese
