#include <gtest/gtest.h>

#include <string>

#include "TestDates.h"
#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"
#include "japanese/DateText.h"
#include "japanese/Era.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;
using test::D;

const sys_days kToday = test::Day("2024-01-05");

std::string ParsedIso(std::string_view text) { return IsoDate(ParseDateText(text, kToday)); }

std::string Refusal(std::string_view text) {
    try {
        const year_month_day date = ParseDateText(text, kToday);
        return "accepted as " + IsoDate(date);
    } catch (const CalendarError& error) {
        return error.message;
    }
}

TEST(DateText, AcceptsEveryForm) {
    const struct {
        const char* text;
        const char* iso;
    } rows[] = {
        // Western
        {"2024-01-05", "2024-01-05"},
        {"2024/1/5", "2024-01-05"},
        {"2024-1-05", "2024-01-05"},
        {"20240105", "2024-01-05"},
        {"2024年1月5日", "2024-01-05"},
        {"2024年 1月 5日", "2024-01-05"},  // the old pages' own spacing
        {"0001-01-01", "0001-01-01"},
        {"99991231", "9999-12-31"},
        {"2024-02-29", "2024-02-29"},
        {"2000-02-29", "2000-02-29"},
        // 和暦, each era's first day and the last day of the one before
        {"令和6年1月5日", "2024-01-05"},
        {"令和元年5月1日", "2019-05-01"},
        {"令和1年5月1日", "2019-05-01"},
        {"令和 6年 1月 5日", "2024-01-05"},
        {"R6.1.5", "2024-01-05"},
        {"r6.1.5", "2024-01-05"},
        {"R6/1/5", "2024-01-05"},
        {"R6-1-5", "2024-01-05"},
        {"R06.01.05", "2024-01-05"},
        {"令6.1.5", "2024-01-05"},
        {"令和6.1.5", "2024-01-05"},
        {"R元.5.1", "2019-05-01"},
        {"H31.4.30", "2019-04-30"},
        {"平成元年1月8日", "1989-01-08"},
        {"S64.1.7", "1989-01-07"},
        {"昭和元年12月25日", "1926-12-25"},
        {"大正15年12月24日", "1926-12-24"},
        {"T1.7.30", "1912-07-30"},
        {"明治45年7月29日", "1912-07-29"},
        {"明治6年1月1日", "1873-01-01"},
        {"m6.1.1", "1873-01-01"},
        {"明6.1.1", "1873-01-01"},
        {"令和7981年12月31日", "9999-12-31"},
        // Full-width, as an input method types them, and blanks around
        {"２０２４－０１－０５", "2024-01-05"},
        {"２０２４／１／５", "2024-01-05"},
        {"２０２４年１月５日", "2024-01-05"},
        {"令和６年１月５日", "2024-01-05"},
        {"Ｒ６．１．５", "2024-01-05"},
        {"ｒ６．１．５", "2024-01-05"},
        {"2024ー01ー05", "2024-01-05"},  // U+30FC
        {"2024−01−05", "2024-01-05"},    // U+2212
        {"2024‐01‐05", "2024-01-05"},    // U+2010
        {"R6ー1ー5", "2024-01-05"},
        {"　2024-01-05　", "2024-01-05"},
        {" \t2024/01/05 ", "2024-01-05"},
        // Relative to today (2024-01-05)
        {"today", "2024-01-05"},
        {"Today", "2024-01-05"},
        {"ＴＯＤＡＹ", "2024-01-05"},
        {"yesterday", "2024-01-04"},
        {"tomorrow", "2024-01-06"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ParsedIso(row.text), row.iso) << Refusal(row.text);
    }
}

TEST(DateText, RefusesDaysThatDoNotExistSayingWhy) {
    const struct {
        const char* text;
        const char* message;
    } rows[] = {
        {"2023-02-29", "'2023-02-29' is not a date: February 2023 has 28 days"},
        {"1900-02-29", "'1900-02-29' is not a date: February 1900 has 28 days"},
        {"2024-04-31", "'2024-04-31' is not a date: April 2024 has 30 days"},
        {"２０２３－０２－２９", "'２０２３－０２－２９' is not a date: February 2023 has 28 days"},
        {"2024-13-01", "'2024-13-01' is not a date: there is no month 13"},
        {"20240005", "'20240005' is not a date: there is no month 0"},
        {"2024年1月0日", "'2024年1月0日' is not a date: there is no day 0"},
        {"0000-01-01", "'0000-01-01' is not a date: years run from 1 to 9999"},
        {"R6.2.30", "'R6.2.30' is not a date: February of 令和6年 (2024) has 29 days"},
        {"H31.2.29", "'H31.2.29' is not a date: February of 平成31年 (2019) has 28 days"},
        {"令和6年13月1日", "'令和6年13月1日' is not a date: there is no month 13"},
        // Outside the era
        {"平成32年1月1日",
         "'平成32年1月1日' is not a date: 平成 ended with 平成31年4月30日 (2019-04-30)"},
        {"H31.5.1", "'H31.5.1' is not a date: 平成 ended with 平成31年4月30日 (2019-04-30)"},
        {"S64.1.8", "'S64.1.8' is not a date: 昭和 ended with 昭和64年1月7日 (1989-01-07)"},
        {"令和元年4月30日",
         "'令和元年4月30日' is not a date: 令和 began on 令和元年5月1日 (2019-05-01)"},
        {"T1.7.29", "'T1.7.29' is not a date: 大正 began on 大正元年7月30日 (1912-07-30)"},
        {"令和0年5月1日", "'令和0年5月1日' is not a date: era years start at 1 (元年)"},
        {"令和7982年1月1日",
         "'令和7982年1月1日' is not a date: dates run to 9999-12-31 (令和7981年12月31日)"},
        // Before the Gregorian calendar
        {"明治5年12月2日",
         "'明治5年12月2日' is not a date: 和暦 dates begin on 明治6年1月1日 (1873-01-01), "
         "when Japan took up the Gregorian calendar"},
        {"M1.10.23",
         "'M1.10.23' is not a date: 和暦 dates begin on 明治6年1月1日 (1873-01-01), "
         "when Japan took up the Gregorian calendar"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(Refusal(row.text), row.message);
    }
}

TEST(DateText, RefusesEverythingElseNamingTheForms) {
    const std::string forms =
        " is not a date (dates are written 2024-01-05, 2024/1/5, 20240105, 令和6年1月5日, R6.1.5, "
        "today, "
        "yesterday or tomorrow)";
    EXPECT_EQ(Refusal("20240105x"), test::Quoted("20240105x", forms));
    for (const char* text : {
             "",
             "   ",
             "2024",
             "24-1-5",
             "2024-01/05",
             "2024.1.5",
             "2024-001-05",
             "2024-1-5-",
             "202415",
             "2024010500",
             "2024年1月5",
             "2024年1月5日（金）",
             "2024年1月",
             "12024年1月1日",
             "R6.1",
             "R6.1.5.",
             "R6年1.5",
             "R.1.5",
             "R12345.1.1",
             "R6.1/5",
             "X6.1.5",
             "令和6年1月5日x",
             "令和元5月1日",
             "元年5月1日",
             "tomorrowx",
             "now",
             "-2024-01-05",
             "+R6.1.5",
             "2024 - 01 - 05",
         }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Refusal(text), test::Quoted(text, forms));
    }
}

TEST(DateText, QuotesALongTextCutAtACharacter) {
    std::string text = "R";
    while (text.size() < 199) text += "1";
    text += "日日";  // the cut at 200 bytes falls inside the first 日 (3 bytes)
    const std::string quoted = test::Quoted(text.substr(0, 199) + "...", " is not a date (");
    EXPECT_EQ(Refusal(text).substr(0, quoted.size()), quoted);
}

TEST(DateText, TodayAtTheEndsOfTheRange) {
    EXPECT_EQ(IsoDate(ParseDateText("tomorrow", test::Day("9999-12-30"))), "9999-12-31");
    EXPECT_THROW(ParseDateText("tomorrow", test::Day("9999-12-31")), CalendarError);
    EXPECT_THROW(ParseDateText("yesterday", test::Day("0001-01-01")), CalendarError);
    EXPECT_THROW(ParseDateText("today", sys_days{year{10000} / 1 / 1}), CalendarError);
}

TEST(DateText, IsoOnly) {
    EXPECT_EQ(ParseIsoDateText(" ２０２４－１－５ "), D("2024-01-05"));
    for (const char* text : {"2024/01/05", "20240105", "R6.1.5", "today", "2024-01-05x", ""}) {
        SCOPED_TRACE(text);
        try {
            ParseIsoDateText(text);
            ADD_FAILURE();
        } catch (const CalendarError& error) {
            EXPECT_EQ(error.message,
                      test::Quoted(text, " is not a date (dates are written 2024-01-05)"));
        }
    }
    EXPECT_THROW(ParseIsoDateText("2023-02-29"), CalendarError);
}

// Every day from the Gregorian calendar's first year in Japan to 2100, as
// 和暦 in kanji (元年 for the first year) and with the Latin initial, parses
// back to itself.
TEST(DateText, EveryJapaneseDateParsesBackToItsDay) {
    const sys_days last = test::Day("2100-12-31");
    std::string kanji, latin;
    for (sys_days d = sys_days{kFirstJapaneseDate}; d <= last; d += days{1}) {
        const year_month_day date{d};
        const auto japanese = ToJapanese(date);
        ASSERT_TRUE(japanese.has_value()) << IsoDate(date);
        kanji.clear();
        AppendJapaneseDate(kanji, *japanese);
        latin = japanese->era->latin + std::to_string(japanese->year) + "." +
                std::to_string(japanese->month) + "." + std::to_string(japanese->day);
        ASSERT_EQ(ParseDateText(kanji, kToday), date) << kanji;
        ASSERT_EQ(ParseDateText(latin, kToday), date) << latin;
    }
}

}  // namespace
}  // namespace vesk::japanese
