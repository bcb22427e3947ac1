#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "cli/Batch.h"
#include "cli/CalendarCommand.h"
#include "cli/TerminalCalendar.h"
#include "japanese/CalendarError.h"
#include "textconv/DayAbbreviations.h"

namespace vesk::cli {
namespace {

using namespace std::chrono;
using nlohmann::json;

const TDayNames kJapaneseNames = {"日", "月", "火", "水", "木", "金", "土"};

std::vector<MonthHoliday> NoHolidays(int, unsigned) { return {}; }

// A few holidays of 2024, as the civil calendar gives them.
std::vector<MonthHoliday> Holidays2024(int year, unsigned month) {
    if (year != 2024) return {};
    if (month == 1) return {{1, "元日"}, {8, "成人の日"}};
    if (month == 2) return {{11, "建国記念の日"}, {12, "振替休日"}, {23, "天皇誕生日"}};
    return {};
}

std::vector<std::string> CalendarRowTextsFor(std::uint16_t y, std::uint16_t m, std::uint16_t d) {
    TMonthModel calendar;
    calendar.Start(MakeDateValue(y, m, d));
    return CalendarRowTexts(calendar);
}

CalendarSheet Month(year_month month, std::optional<year_month_day> highlight = std::nullopt) {
    return CalendarSheet{month, 1, false, highlight};
}

CalendarLook Look(bool color, HolidaysFunction holidays = &NoHolidays) {
    CalendarLook look;
    look.color = color;
    look.holidays = holidays;
    return look;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

class CalendarCommandTest : public ::testing::Test {
  protected:
    void SetUp() override { SetDayAbbreviations(kFallbackDayAbbreviations); }
    void TearDown() override { SetDayAbbreviations(kFallbackDayAbbreviations); }
};

TEST_F(CalendarCommandTest, RowTextsBracketTheCurrentDay) {
    TMonthModel calendar;
    calendar.Start(MakeDateValue(2024, 2, 29));
    const std::vector<std::string> expected = {
        "Sun\tMon\tTue\tWed\tThu\tFri\tSat", "\t\t\t\t1\t2\t3",       "4\t5\t6\t7\t8\t9\t10",
        "11\t12\t13\t14\t15\t16\t17",        "18\t19\t20\t21\t22\t23\t24", "25\t26\t27\t28\t[29]\t\t",
        "\t\t\t\t\t\t",
    };
    EXPECT_EQ(CalendarRowTexts(calendar), expected);
}

TEST_F(CalendarCommandTest, MonthInBracketsOrReverseVideo) {
    const CalendarSheet sheet = Month(2024y / February, 2024y / February / 9);
    EXPECT_EQ(CalendarSheetText(sheet, Look(false)),
              "          2024年2月\n"
              " Sun Mon Tue Wed Thu Fri Sat\n"
              "                   1   2   3\n"
              "   4   5   6   7   8  [9] 10\n"
              "  11  12  13  14  15  16  17\n"
              "  18  19  20  21  22  23  24\n"
              "  25  26  27  28  29\n"
              "\n");
    const std::string reverse = CalendarSheetText(sheet, Look(true));
    EXPECT_NE(reverse.find("   8 \x1b[7m  9\x1b[27m \x1b[34m 10\x1b[39m\n"), std::string::npos)
        << reverse;

    // Names two columns wide: the bracket takes the blank between the cells.
    SetDayAbbreviations(kJapaneseNames);
    const std::string wide =
        CalendarSheetText(Month(2024y / February, 2024y / February / 29), Look(false));
    EXPECT_TRUE(wide.starts_with("      2024年2月\n"
                                 " 日 月 火 水 木 金 土\n"
                                 "              1  2  3\n"))
        << wide;
    EXPECT_NE(wide.find(" 25 26 27 28[29]\n"), std::string::npos) << wide;
}

TEST_F(CalendarCommandTest, HolidaysMarkedAndListedUnderTheMonth) {
    SetDayAbbreviations(kJapaneseNames);
    EXPECT_EQ(CalendarSheetText(Month(2024y / February), Look(false, &Holidays2024)),
              "      2024年2月\n"
              " 日 月 火 水 木 金 土\n"
              "              1  2  3\n"
              "  4  5  6  7  8  9 10\n"
              " 11*12*13 14 15 16 17\n"
              " 18 19 20 21 22 23*24\n"
              " 25 26 27 28 29\n"
              "\n"
              " 11日 建国記念の日\n"
              " 12日 振替休日\n"
              " 23日 天皇誕生日\n");
    // The highlighted day's brackets take the blanks the marks would have.
    EXPECT_NE(CalendarSheetText(Month(2024y / February, 2024y / February / 12),
                                Look(false, &Holidays2024))
                  .find(" 11[12]13 14"),
              std::string::npos);
    EXPECT_NE(CalendarSheetText(Month(2024y / February, 2024y / February / 23),
                                Look(false, &Holidays2024))
                  .find(" 22[23]24\n"),
              std::string::npos);

    // In colour: Sundays and holidays red, Saturdays blue, the highlighted
    // day in reverse video over its colour.
    const std::string color = CalendarSheetText(Month(2024y / February, 2024y / February / 12),
                                                Look(true, &Holidays2024));
    for (const char* part : {
             " \x1b[31m日\x1b[39m 月 火 水 木 金 \x1b[34m土\x1b[39m\n",
             "              1  2 \x1b[34m 3\x1b[39m\n",
             " \x1b[31m11\x1b[39m \x1b[31;7m12\x1b[27;39m 13 14 15 16 \x1b[34m17\x1b[39m\n",
             " \x1b[31m18\x1b[39m 19 20 21 22 \x1b[31m23\x1b[39m \x1b[34m24\x1b[39m\n",
             "\n 11日 建国記念の日\n",
         }) {
        EXPECT_NE(color.find(part), std::string::npos) << part << "\nin\n" << color;
    }
}

TEST_F(CalendarCommandTest, TheCivilCalendarsHolidays) {
    SetDayAbbreviations(kJapaneseNames);
    const std::string february =
        CalendarSheetText(Month(2024y / February), Look(false, &MonthHolidays));
    EXPECT_NE(february.find(" 11*12*13 14 15 16 17\n 18 19 20 21 22 23*24\n"), std::string::npos)
        << february;
    EXPECT_TRUE(february.ends_with("\n 11日 建国記念の日\n 12日 振替休日\n 23日 天皇誕生日\n"))
        << february;
    // None are known before 1948.
    EXPECT_TRUE(
        CalendarSheetText(Month(1947y / January), Look(false, &MonthHolidays)).ends_with("\n\n"));
}

TEST_F(CalendarCommandTest, WeeksFromMondayAndWeekNumbers) {
    CalendarLook look = Look(false);
    look.mondayFirst = true;
    look.weekNumbers = true;
    // 1 January 2021 is a Friday in the last week of 2020.
    EXPECT_EQ(CalendarSheetText(Month(2021y / January), look),
              "              2021年1月\n"
              "     Mon Tue Wed Thu Fri Sat Sun\n"
              " 53 " +
                  std::string(1 + 4 * 4, ' ') +
                  "  1   2   3\n"
                  "  1    4   5   6   7   8   9  10\n"
                  "  2   11  12  13  14  15  16  17\n"
                  "  3   18  19  20  21  22  23  24\n"
                  "  4   25  26  27  28  29  30  31\n"
                  "\n");
    // From Sunday, a row's Sunday belongs to the week before its Monday: the
    // row's last day names it, and a Sunday alone keeps its own week.
    look.mondayFirst = false;
    const std::vector<std::string> december =
        Lines(CalendarSheetText(Month(2023y / December), look));
    EXPECT_EQ(december[2], " 48 " + std::string(1 + 5 * 4, ' ') + "  1   2");
    EXPECT_EQ(december[7], " 52   31");
    const std::vector<std::string> january = Lines(CalendarSheetText(Month(2023y / January), look));
    EXPECT_EQ(january[2], "  1    1   2   3   4   5   6   7");
}

TEST_F(CalendarCommandTest, IsoWeekNumbersOfEveryDay) {
    // Week 1 holds 4 January; weeks change on Mondays only; 28 December lies in
    // the last week of its year.
    unsigned previous = IsoWeekNumber(sys_days{year{1} / January / 1} - days{1});
    for (sys_days d = sys_days{year{1} / January / 1}; d <= sys_days{year{9999} / December / 31};
         d += days{1}) {
        const year_month_day date{d};
        const unsigned week = IsoWeekNumber(d);
        if (weekday{d} != Monday) {
            ASSERT_EQ(week, previous) << static_cast<int>(date.year());
        } else {
            ASSERT_TRUE(week == previous + 1 || (week == 1 && (previous == 52 || previous == 53)))
                << static_cast<int>(date.year()) << " " << previous << " " << week;
        }
        if (date.month() == January && date.day() == day{4}) {
            ASSERT_EQ(week, 1u);
        }
        if (date.month() == December && date.day() == day{28}) {
            ASSERT_GE(week, 52u);
        }
        previous = week;
    }
}

TEST_F(CalendarCommandTest, YearThreeMonthsARowWithTheirHolidaysUnderThem) {
    const CalendarSheet year2024{2024y / January, 12, true, 2024y / February / 12};
    const std::vector<std::string> lines =
        Lines(CalendarSheetText(year2024, Look(false, &Holidays2024)));
    // The heading centred over three months of 29 columns with two between.
    EXPECT_EQ(lines[0], std::string(42, ' ') + "2024年");
    EXPECT_EQ(lines[1], "");
    const std::string gap(13, ' ');
    EXPECT_EQ(lines[2], gap + "1月" + gap + "  " + gap + "2月" + gap + "  " + gap + "3月");
    // Each month is 29 columns wide, its last blank kept before the next.
    EXPECT_EQ(lines[5],
              "   7   8*  9  10  11  12  13 "
              "  "
              "   4   5   6   7   8   9  10 "
              "  "
              "   3   4   5   6   7   8   9");
    EXPECT_EQ(lines[6],
              "  14  15  16  17  18  19  20 "
              "  "
              "  11*[12] 13  14  15  16  17 "
              "  "
              "  10  11  12  13  14  15  16");
    // Under the grids, each month's holidays in its own column; the row is as
    // high as its longest list, and a blank line parts the rows.
    EXPECT_EQ(lines[10], "  1日 元日" + std::string(19, ' ') + "  " + " 11日 建国記念の日");
    EXPECT_EQ(lines[11], "  8日 成人の日" + std::string(15, ' ') + "  " + " 12日 振替休日");
    EXPECT_EQ(lines[12], std::string(29 + 2, ' ') + " 23日 天皇誕生日");
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], gap + "4月" + gap + "  " + gap + "5月" + gap + "  " + gap + "6月");
    EXPECT_EQ(lines.size(), 2u + 11 + 1 + 8 + 1 + 8 + 1 + 8);
    for (const std::string& line : lines) EXPECT_FALSE(line.ends_with(" ")) << line;
}

TEST_F(CalendarCommandTest, ColouredLinesTakeTheColumnsOfPlainOnes) {
    // Escape sequences take no columns: without them, the coloured sheet is
    // the plain one without its brackets and marks.
    const auto plain = [](std::string text) {
        for (char& c : text) {
            if (c == '[' || c == ']' || c == '*') c = ' ';
        }
        return std::regex_replace(text, std::regex(" +\n"), "\n");
    };
    const auto uncoloured = [](const std::string& text) {
        return std::regex_replace(text, std::regex("\x1b\\[[0-9;]*m"), "");
    };
    for (const bool japanese : {false, true}) {
        SetDayAbbreviations(japanese ? kJapaneseNames : kFallbackDayAbbreviations);
        for (const CalendarSheet& sheet :
             {CalendarSheet{2024y / January, 12, true, 2024y / February / 12},
              CalendarSheet{2023y / December, 3, false, 2024y / January / 8},
              Month(2024y / February, 2024y / February / 29)}) {
            CalendarLook look = Look(false, &Holidays2024);
            look.weekNumbers = japanese;
            const std::string text = CalendarSheetText(sheet, look);
            look.color = true;
            EXPECT_EQ(uncoloured(CalendarSheetText(sheet, look)), plain(text)) << text;
        }
    }
}

TEST_F(CalendarCommandTest, FieldsNameTheMonthsShownAndTheDay) {
    const sys_days feb15 = sys_days{2024y / February / 15};
    static sys_days today;
    today = feb15;
    const TodayFunction clock = [] { return today; };
    const struct {
        const char* name;
        std::vector<std::string> fields;
        bool three;
        CalendarSheet sheet;
    } cases[] = {
        {"this month, today marked", {}, false, Month(2024y / February, 2024y / February / 15)},
        {"a month", {"2023", "12"}, false, Month(2023y / December)},
        {"today's month", {"2024", "02"}, false, Month(2024y / February, 2024y / February / 15)},
        {"a day", {"2024", "2", "29"}, false, Month(2024y / February, 2024y / February / 29)},
        {"a date in one field",
         {"2023-12-31"},
         false,
         Month(2023y / December, 2023y / December / 31)},
        {"a year", {"2023"}, false, CalendarSheet{2023y / January, 12, true, std::nullopt}},
        {"today's year",
         {"2024"},
         false,
         CalendarSheet{2024y / January, 12, true, 2024y / February / 15}},
        {"year of one digit", {"7"}, false, CalendarSheet{7y / January, 12, true, std::nullopt}},
        {"three months",
         {"2024", "1", "8"},
         true,
         CalendarSheet{2023y / December, 3, false, 2024y / January / 8}},
        {"three around today",
         {},
         true,
         CalendarSheet{2024y / January, 3, false, 2024y / February / 15}},
        {"none before year 1",
         {"1", "1"},
         true,
         CalendarSheet{1y / January, 2, false, std::nullopt}},
        {"none after 9999",
         {"9999", "12"},
         true,
         CalendarSheet{9999y / November, 2, false, std::nullopt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CalendarSheet sheet = ReadCalendarFields(c.fields, c.three, clock);
        EXPECT_EQ(sheet.first, c.sheet.first);
        EXPECT_EQ(sheet.months, c.sheet.months);
        EXPECT_EQ(sheet.wholeYear, c.sheet.wholeYear);
        EXPECT_EQ(sheet.highlight, c.sheet.highlight);
    }

    const struct {
        std::vector<std::string> fields;
        bool three;
        std::string message;
        bool usage = false;  // a UsageError, not what the civil calendar refuses
    } refusals[] = {
        {{"2024", "2", "30"}, false, "'2024-02-30' is not a date"},
        {{"2023", "2", "29"}, false, "'2023-02-29' is not a date"},
        {{"2024", "2", "0"}, false, "'0' is not a day from 1 to 31"},
        {{"2024", "2", "x"}, false, "'x' is not a day from 1 to 31"},
        {{"2024", "13"}, false, "'13' is not a month from 1 to 12"},
        {{"2024", "0"}, false, "'0' is not a month from 1 to 12"},
        {{"2024", " 2"}, false, "' 2' is not a month from 1 to 12"},
        {{"0"}, false, "'0' is not a year from 1 to 9999"},
        {{"10000", "1"}, false, "'10000' is not a year from 1 to 9999"},
        {{"+2024", "1"}, false, "'+2024' is not a year from 1 to 9999"},
        {{"2024-02-30"}, false, "'2024-02-30' is not a date"},
        {{"abc"}, false, "'abc' is not a date"},
        {{"2024", "2", "3", "4"},
         false,
         "calendar takes a year, a year and a month, a date, or none, not 4 fields",
         true},
        {{"2024"}, true, "option '--three' does not apply to a whole year", true},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.message);
        std::string message = "not refused";
        try {
            ReadCalendarFields(r.fields, r.three, clock);
        } catch (const japanese::CalendarError& e) {
            message = e.message;
            EXPECT_FALSE(r.usage);
        } catch (const UsageError& e) {
            message = e.message;
            EXPECT_TRUE(r.usage);
        }
        EXPECT_TRUE(message.starts_with(r.message)) << message;
    }
}

TEST_F(CalendarCommandTest, TheWeekStartsOnMondayWhereTheLocaleDataSaysSo) {
    // glibc's data: the day list's base date and the offset of the first day.
    EXPECT_FALSE(WeekStartsOnMonday(19971130, 1));  // from Sunday, Sunday first
    EXPECT_TRUE(WeekStartsOnMonday(19971130, 2));   // from Sunday, Monday first
    EXPECT_TRUE(WeekStartsOnMonday(19971201, 1));   // from Monday, Monday first
    EXPECT_FALSE(WeekStartsOnMonday(19971130, 7));  // Saturday first
    EXPECT_FALSE(WeekStartsOnMonday(0, 2));         // no data
    EXPECT_FALSE(WeekStartsOnMonday(19971130, 0));
    EXPECT_FALSE(LocaleWeekStartsOnMonday());  // the tests run in the C locale
}

TEST_F(CalendarCommandTest, BatchAnswers) {
    const struct {
        const char* name;
        const char* line;
        json answer;
    } cases[] = {
        {"update applied",
         R"({"page": "calendar", "fields": ["2024", "2", "29"], "start": [2024, 1, 10]})",
         json{
             {"ok", true},
             {"texts", CalendarRowTextsFor(2024, 2, 29)},
             {"values", {{"year", 2024}, {"month", 2}, {"day", 29}, {"holidays", json::array({json{{"date", "2024-02-11"}, {"name", "建国記念の日"}},
                                         json{{"date", "2024-02-12"}, {"name", "振替休日"}},
                                         json{{"date", "2024-02-23"}, {"name", "天皇誕生日"}}})}}}}},
        {"failed month step keeps the new year",
         R"({"page": "calendar", "fields": ["2025", "4", "30"], "start": [2024, 1, 31]})",
         json{{"ok", false},
              {"error", "EConvertError"},
              {"message", "日付に変換できない値が渡されました"},
              {"texts", CalendarRowTextsFor(2025, 1, 31)}}},
        {"year that is no integer",
         R"({"page": "calendar", "fields": ["abc", "4", "30"], "start": [2024, 1, 31]})",
         json{{"ok", false},
              {"error", "EConvertError"},
              {"message", "'abc' は数値ではありません"},
              {"texts", CalendarRowTextsFor(2024, 1, 31)}}},
        {"start that is no date",
         R"({"page": "calendar", "fields": ["1", "1", "1"], "start": [2023, 2, 29]})", nullptr},
        {"start out of range",
         R"({"page": "calendar", "fields": ["1", "1", "1"], "start": [70000, 1, 1]})", nullptr},
        {"two fields", R"({"page": "calendar", "fields": ["2024", "4"]})", nullptr},
        {"numbers for fields", R"({"page": "calendar", "fields": [2024, 4, 1]})", nullptr},
        {"unknown key",
         R"({"page": "calendar", "fields": ["2024", "4", "1"], "begin": [2024, 1, 1]})", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const json answer = json::parse(AnswerBatchLine(c.line));
        if (c.answer.is_null()) {
            EXPECT_EQ(answer["ok"], false);
            EXPECT_EQ(answer["error"], "usage");
        } else {
            EXPECT_EQ(answer, c.answer);
        }
    }
}

}  // namespace
}  // namespace vesk::cli
