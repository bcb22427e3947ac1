#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "TestDates.h"
#include "japanese/BusinessDays.h"
#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"
#include "japanese/Holidays.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;
using test::D;
using test::Day;

BusinessRules YearEnd() {
    BusinessRules rules;
    rules.yearEnd = true;
    return rules;
}

TEST(BusinessDays, CountsInAMonth) {
    const BusinessRules plain;
    // January 2024: 31 days, 8 weekend days, 元日 and 成人の日 on Mondays.
    EXPECT_EQ(CountBusinessDays(plain, D("2024-01-01"), D("2024-01-31")), 21);
    EXPECT_EQ(CountBusinessDays(plain, D("2024-01-31"), D("2024-01-01")), -21);
    EXPECT_EQ(CountBusinessDays(YearEnd(), D("2024-01-01"), D("2024-01-31")), 19);
    EXPECT_EQ(CountBusinessDays(plain, D("2024-01-05"), D("2024-01-05")), 1);
    EXPECT_EQ(CountBusinessDays(plain, D("2024-01-08"), D("2024-01-08")), 0);
    // Golden Week 2019: ten days off from 27 April.
    EXPECT_EQ(CountBusinessDays(plain, D("2019-04-27"), D("2019-05-06")), 0);
    BusinessRules closed;
    closed.closed = {Day("2024-01-06"), Day("2024-01-08"),
                     Day("2024-01-09")};  // a Saturday, a holiday, a Tuesday
    EXPECT_EQ(CountBusinessDays(closed, D("2024-01-01"), D("2024-01-31")), 20);
    BusinessRules fridays;
    fridays.weekend = ParseWeekend("fri,sat");
    // January 2024 has 4 Fridays, 4 Saturdays; 元日 and 成人の日 are Mondays.
    EXPECT_EQ(CountBusinessDays(fridays, D("2024-01-01"), D("2024-01-31")), 21);
    BusinessRules everyDay;
    everyDay.weekend = {};
    EXPECT_EQ(CountBusinessDays(everyDay, D("2024-01-01"), D("2024-12-31")), 366 - 21);
}

// The count against a walk of every day from 1948 to 2099 under several
// rules: prefix sums of IsBusinessDay, compared for ranges of every length
// up to a few hundred days and for long ones.
TEST(BusinessDays, CountAgreesWithADayByDayWalk) {
    BusinessRules withClosed = YearEnd();
    for (int y = 1948; y <= 2099; y += 7) withClosed.closed.push_back(sys_days{year{y} / 8 / 13});
    withClosed.closed.push_back(Day("2024-01-02"));  // also a year-end day
    withClosed.closed.push_back(Day("2024-01-01"));  // also a holiday
    SortClosedDays(withClosed.closed);
    BusinessRules middle;
    middle.weekend = ParseWeekend("wed");
    const std::vector<BusinessRules> ruleSets = {BusinessRules{}, YearEnd(), withClosed, middle};
    const sys_days first{kFirstHolidayDate}, last{kLastHolidayDate};
    const auto length = static_cast<std::size_t>((last - first).count() + 1);
    for (std::size_t r = 0; r < ruleSets.size(); ++r) {
        SCOPED_TRACE(r);
        const BusinessRules& rules = ruleSets[r];
        std::vector<std::int64_t> before(length + 1, 0);  // business days before each day
        for (std::size_t i = 0; i < length; ++i) {
            before[i + 1] =
                before[i] + (IsBusinessDay(rules, first + days{static_cast<int>(i)}) ? 1 : 0);
        }
        const auto walked = [&](std::size_t a, std::size_t b) { return before[b + 1] - before[a]; };
        for (std::size_t a = 0; a < length; a += 97) {
            for (const std::size_t span :
                 {0u, 1u, 6u, 7u, 8u, 30u, 364u, 365u, 366u, 1000u, 20000u}) {
                const std::size_t b = std::min(a + span, length - 1);
                const year_month_day from{first + days{static_cast<int>(a)}},
                    to{first + days{static_cast<int>(b)}};
                ASSERT_EQ(CountBusinessDays(rules, from, to), walked(a, b))
                    << IsoDate(from) << ".." << IsoDate(to);
                ASSERT_EQ(CountBusinessDays(rules, to, from),
                          a == b ? walked(a, b) : -walked(a, b));
            }
        }
        EXPECT_EQ(CountBusinessDays(rules, kFirstHolidayDate, kLastHolidayDate),
                  walked(0, length - 1));
        // The nth business day: the day whose count reaches n.
        for (std::size_t a = 10; a < length - 400; a += 1013) {
            const sys_days date = first + days{static_cast<int>(a)};
            for (const std::int64_t n : {1, 2, 5, 10, 20, 250}) {
                const sys_days after{NthBusinessDay(rules, year_month_day{date}, n)};
                const auto e = static_cast<std::size_t>((after - first).count());
                ASSERT_TRUE(IsBusinessDay(rules, after));
                ASSERT_EQ(walked(a + 1, e), n) << IsoDate(year_month_day{date}) << " + " << n;
                const sys_days back{NthBusinessDay(rules, year_month_day{after}, -n)};
                ASSERT_TRUE(IsBusinessDay(rules, back));
                ASSERT_EQ(walked(static_cast<std::size_t>((back - first).count()), e - 1), n);
            }
        }
    }
}

TEST(BusinessDays, NthBusinessDay) {
    const BusinessRules plain;
    const struct {
        const char* date;
        std::int64_t n;
        const char* expected;
    } rows[] = {
        {"2024-01-05", 10, "2024-01-22"},
        {"2024-01-05", 1, "2024-01-09"},  // past the weekend and 成人の日
        {"2024-01-09", -1, "2024-01-05"},
        {"2024-01-05", 0, "2024-01-05"},  // a business day itself
        {"2024-01-06", 0, "2024-01-09"},  // a Saturday: the next one
        {"2019-04-26", 1, "2019-05-07"},  // across Golden Week 2019
        {"2099-12-30", 1, "2099-12-31"},
        {"1948-01-02", -1, "1948-01-01"},  // 1948's 元日 fell before the law
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.date) + " " + std::to_string(row.n));
        EXPECT_EQ(IsoDate(NthBusinessDay(plain, D(row.date), row.n)), row.expected);
    }
    EXPECT_EQ(IsoDate(NthBusinessDay(YearEnd(), D("2024-12-27"), 1)), "2025-01-06");
}

std::string Refusal(const auto& call) {
    try {
        call();
        return "accepted";
    } catch (const CalendarError& error) {
        return error.message;
    }
}

TEST(BusinessDays, RefusesOutsideTheHolidayYearsAndEmptyWeeks) {
    const BusinessRules plain;
    EXPECT_EQ(
        Refusal([&] { CountBusinessDays(plain, D("1947-12-31"), D("2024-01-01")); }),
        "1947-12-31 lies outside the days business days are known for (1948-01-01 to 2099-12-31)");
    EXPECT_NE(Refusal([&] { CountBusinessDays(plain, D("2024-01-01"), D("2100-01-01")); }),
              "accepted");
    EXPECT_NE(Refusal([&] { IsBusinessDay(plain, Day("2100-01-01")); }), "accepted");
    EXPECT_NE(Refusal([&] { NthBusinessDay(plain, D("1947-12-31"), 1); }), "accepted");
    EXPECT_NE(Refusal([&] { CountBusinessDays(plain, year{2024} / 2 / 30, D("2024-03-01")); }),
              "accepted");
    // The walk may not leave the range, however far it is sent.
    const std::string range = " (business days are known from 1948-01-01 to 2099-12-31)";
    EXPECT_EQ(Refusal([&] { NthBusinessDay(plain, D("2099-12-30"), 2); }),
              "the 2nd business day after 2099-12-30 lies past 2099-12-31" + range);
    EXPECT_EQ(Refusal([&] { NthBusinessDay(plain, D("1948-01-05"), -13); }),
              "the 13th business day before 1948-01-05 lies before 1948-01-01" + range);
    EXPECT_EQ(Refusal([&] { NthBusinessDay(YearEnd(), D("2099-12-31"), 0); }),
              "the next business day from 2099-12-31 lies past 2099-12-31" + range);
    EXPECT_EQ(IsoDate(NthBusinessDay(plain, D("2099-12-31"), 0)), "2099-12-31");  // a Thursday
    for (const std::int64_t n :
         {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min(),
          std::int64_t{40000}, std::int64_t{-40000}}) {
        SCOPED_TRACE(n);
        EXPECT_NE(Refusal([&] { NthBusinessDay(plain, D("2024-01-05"), n); }), "accepted");
    }
    BusinessRules allWeek;
    allWeek.weekend.fill(true);
    const std::string noDay = "a weekend of all seven days leaves no business day";
    EXPECT_EQ(Refusal([&] { CountBusinessDays(allWeek, D("2024-01-01"), D("2024-01-31")); }),
              noDay);
    EXPECT_EQ(Refusal([&] { NthBusinessDay(allWeek, D("2024-01-01"), 1); }), noDay);
    EXPECT_EQ(Refusal([&] { IsBusinessDay(allWeek, Day("2024-01-01")); }), noDay);
    BusinessRules unsorted;
    unsorted.closed = {Day("2024-01-10"), Day("2024-01-09")};
    EXPECT_EQ(Refusal([&] { CountBusinessDays(unsorted, D("2024-01-01"), D("2024-01-31")); }),
              "the closed days are not sorted or repeat a day");
    SortClosedDays(unsorted.closed);
    EXPECT_EQ(CountBusinessDays(unsorted, D("2024-01-01"), D("2024-01-31")), 19);
}

TEST(BusinessDays, ParsesWeekends) {
    using Week = std::array<bool, 7>;  // Sunday first
    const struct {
        const char* list;
        Week weekend;
    } rows[] = {
        {"sat,sun", {true, false, false, false, false, false, true}},
        {"SAT, Sun", {true, false, false, false, false, false, true}},
        {"土,日", {true, false, false, false, false, false, true}},
        {"土、日", {true, false, false, false, false, false, true}},
        {"ｓａｔ，ｓｕｎ", {true, false, false, false, false, false, true}},
        {"fri", {false, false, false, false, false, true, false}},
        {"mon,tue,wed,thu,fri,sat", {false, true, true, true, true, true, true}},
        {"", {}},
        {" ", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.list);
        EXPECT_EQ(ParseWeekend(row.list), row.weekend);
    }
    EXPECT_EQ(Refusal([] { ParseWeekend("sat;sun"); }),
              "'sat;sun' is not a list of weekend days: 'sat;sun' is no day name (sun mon tue wed "
              "thu fri sat, or "
              "日 月 火 水 木 金 土, with commas between)");
    for (const char* list : {"saturday", "sat,,sun", "sat,", "土日", "7"}) {
        SCOPED_TRACE(list);
        EXPECT_NE(Refusal([&] { ParseWeekend(list); }), "accepted");
    }
    EXPECT_EQ(Refusal([] { ParseWeekend("sun,mon,tue,wed,thu,fri,sat"); }),
              "a weekend of all seven days leaves no business day");
}

TEST(BusinessDays, ParsesClosedDayFiles) {
    const std::string file =
        "\xEF\xBB\xBF# our own days off\n"
        "2024-08-14\r\n"
        "\n"
        "2024-08-13  # お盆\n"
        "   \n"
        "２０２４－０８－１５\n"
        "2024-08-13\n";
    EXPECT_EQ(ParseClosedDays(file),
              (std::vector<sys_days>{Day("2024-08-13"), Day("2024-08-14"), Day("2024-08-15")}));
    EXPECT_TRUE(ParseClosedDays("").empty());
    EXPECT_EQ(Refusal([] { ParseClosedDays("2024-01-05\n# x\n2024-02-30\n"); }),
              "closed days, line 3: '2024-02-30' is not a date: February 2024 has 29 days");
    EXPECT_EQ(Refusal([] { ParseClosedDays("2024-01-05\nR6.1.9"); }),
              "closed days, line 2: 'R6.1.9' is not a date (dates are written 2024-01-05)");
}

}  // namespace
}  // namespace vesk::japanese
