#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "TestDates.h"
#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"
#include "japanese/Period.h"

namespace vesk::japanese {
namespace {

using test::D;

std::string Refusal(std::string_view text) {
    try {
        ParsePeriod(text);
        return "accepted";
    } catch (const CalendarError& error) {
        return error.message;
    }
}

TEST(Period, ParsesEveryForm) {
    const struct {
        const char* text;
        Period period;
    } rows[] = {
        {"1y2m3d", {1, 2, 0, 3}},      {"1Y2M3W4D", {1, 2, 3, 4}},
        {"+2w", {0, 0, 2, 0}},         {"-10d", {0, 0, 0, -10}},
        {"-1y2m", {-1, -2, 0, 0}},  // the sign is the whole period's
        {"- 1y 2m", {-1, -2, 0, 0}},   {"0d", {0, 0, 0, 0}},
        {"1年2ヶ月3日", {1, 2, 0, 3}}, {"2週間", {0, 0, 2, 0}},
        {"100日", {0, 0, 0, 100}},     {"10日間", {0, 0, 0, 10}},
        {"1年間", {1, 0, 0, 0}},       {"3か月", {0, 3, 0, 0}},
        {"3カ月", {0, 3, 0, 0}},       {"3ケ月", {0, 3, 0, 0}},
        {"3ヵ月", {0, 3, 0, 0}},       {"3ヶ月間", {0, 3, 0, 0}},
        {"1年 2ヶ月", {1, 2, 0, 0}},   {"１年２ヶ月３週４日", {1, 2, 3, 4}},
        {"－１０ｄ", {0, 0, 0, -10}},  {"ー10日", {0, 0, 0, -10}},
        {"1y2ヶ月", {1, 2, 0, 0}},     {"999999999999999999d", {0, 0, 0, 999999999999999999}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        Period parsed{7, 7, 7, 7};
        EXPECT_NO_THROW(parsed = ParsePeriod(row.text)) << Refusal(row.text);
        EXPECT_EQ(parsed, row.period);
    }
}

TEST(Period, RefusesWhatIsNoPeriod) {
    const std::string forms =
        " is not a period (periods are written 1y2m3d, +2w, -10d, 1年2ヶ月3日, 2週間 or 100日)";
    for (const char* text : {"", " ", "+", "-", "1", "y", "1x", "1月", "1y-2m", "1y+2m", "1.5y",
                             "--1d", "1 y 2", "1ヶ", "d1"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Refusal(text), test::Quoted(text, forms));
    }
    const std::string order =
        " is not a period: the parts come in the order years, months, weeks, days, each at most "
        "once";
    for (const char* text : {"1m2y", "1y1y", "3d2w", "1日1年"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Refusal(text), test::Quoted(text, order));
    }
    EXPECT_EQ(
        Refusal("1234567890123456789d"),
        "'1234567890123456789d' is not a period: a number of more than 18 digits is too large");
}

TEST(Period, AddsByTheMonthRule) {
    const struct {
        const char* date;
        Period period;
        const char* expected;
    } rows[] = {
        {"2024-01-31", {0, 1, 0, 0}, "2024-02-29"},
        {"2023-01-31", {0, 1, 0, 0}, "2023-02-28"},
        {"2024-02-29", {1, 0, 0, 0}, "2025-02-28"},
        {"2024-02-29", {4, 0, 0, 0}, "2028-02-29"},
        {"2024-03-31", {0, -1, 0, 0}, "2024-02-29"},
        {"2024-01-15", {0, -1, 0, 0}, "2023-12-15"},
        {"2024-01-31", {0, 13, 0, 0}, "2025-02-28"},
        {"2024-01-31",
         {1, 1, 0, 0},
         "2025-02-28"},  // years and months together, not one after the other
        {"2024-01-31", {0, 1, 0, 1}, "2024-03-01"},  // months first, then days
        {"2024-01-31", {0, 0, 2, 0}, "2024-02-14"},
        {"2024-03-01", {0, 0, 0, -1}, "2024-02-29"},
        {"1900-02-28", {0, 0, 0, 1}, "1900-03-01"},  // the Gregorian calendar: no 29 February 1900
        {"0001-01-01", {9998, 11, 0, 30}, "9999-12-31"},
        {"9999-12-31", {-9998, -11, 0, -30}, "0001-01-01"},
        {"2024-05-31", {0, 0, 0, 0}, "2024-05-31"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.date);
        EXPECT_EQ(IsoDate(AddPeriod(D(row.date), row.period)), row.expected);
    }
}

TEST(Period, RefusesResultsOutsideTheRangeWithoutOverflow) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    try {
        AddPeriod(D("9999-12-31"), {0, 0, 0, 1});
        ADD_FAILURE();
    } catch (const CalendarError& error) {
        EXPECT_EQ(error.message,
                  "9999-12-31 plus 1d lies outside the dates this calculator takes (0001-01-01 to "
                  "9999-12-31)");
    }
    const Period far[] = {
        {0, 0, 0, -1},
        {kMax, 0, 0, 0},
        {kMin, 0, 0, 0},
        {0, kMax, 0, 0},
        {0, kMin, 0, 0},
        {0, 0, kMax, 0},
        {0, 0, kMin, 0},
        {0, 0, 0, kMax},
        {0, 0, 0, kMin},
        {kMax, kMax, kMax, kMax},
        {0, 0, 0, 3652059},
        {10000, 0, 0, 0},
        {0, 0, 1000000000000, -7000000000000 + 1},
    };
    for (const Period& period : far) {
        SCOPED_TRACE(period.years);
        EXPECT_THROW(AddPeriod(D("0001-01-01"), period), CalendarError);
    }
    // Large parts that cancel are added exactly.
    EXPECT_EQ(IsoDate(AddPeriod(D("2024-01-01"), {0, 0, 1000000, -7000000})), "2024-01-01");
}

TEST(Period, JapaneseText) {
    const struct {
        Period period;
        const char* text;
    } rows[] = {
        {{1, 2, 3, 4}, "1年2ヶ月3週4日後"},
        {{0, 1, 0, 0}, "1ヶ月後"},
        {{0, 0, 0, -10}, "10日前"},
        {{-1, -2, 0, 0}, "1年2ヶ月前"},
        {{0, 0, 0, 0}, "0日後"},
        {{1, -1, 0, 0}, "1年-1ヶ月後"},
        {{0, 0, 0, std::numeric_limits<std::int64_t>::min()}, "9223372036854775808日前"},
    };
    for (const auto& row : rows) {
        std::string text = "x";
        AppendJapanesePeriod(text, row.period);
        EXPECT_EQ(text, std::string("x") + row.text);
    }
}

}  // namespace
}  // namespace vesk::japanese
