#include "cli/CalendarCommand.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>

#include "textconv/DayAbbreviations.h"
#include "cli/Batch.h"
#include "cli/CommandLine.h"

namespace vesk::cli {
namespace {

using nlohmann::json;

std::vector<std::string> CalendarRowTextsFor(std::uint16_t y, std::uint16_t m, std::uint16_t d) {
    TMonthModel calendar;
    calendar.Start(MakeDateValue(y, m, d));
    return CalendarRowTexts(calendar);
}

class CalendarCommandTest : public ::testing::Test {
protected:
    void SetUp() override { SetDayAbbreviations(kFallbackDayAbbreviations); }

    static TMonthModel& At(TMonthModel& calendar, std::uint16_t y, std::uint16_t m, std::uint16_t d) {
        calendar.Start(MakeDateValue(y, m, d));
        return calendar;
    }

    // What a stream received.
    static std::string Contents(std::FILE* stream) {
        std::rewind(stream);
        std::string text;
        for (int c; (c = std::fgetc(stream)) != EOF;) text += static_cast<char>(c);
        return text;
    }
};

TEST_F(CalendarCommandTest, RowTextsBracketTheCurrentDay) {
    TMonthModel calendar;
    const std::vector<std::string> expected = {
        "Sun\tMon\tTue\tWed\tThu\tFri\tSat", "\t\t\t\t1\t2\t3",       "4\t5\t6\t7\t8\t9\t10",
        "11\t12\t13\t14\t15\t16\t17",        "18\t19\t20\t21\t22\t23\t24", "25\t26\t27\t28\t[29]\t\t",
        "\t\t\t\t\t\t",
    };
    EXPECT_EQ(CalendarRowTexts(At(calendar, 2024, 2, 29)), expected);
}

TEST_F(CalendarCommandTest, ScreenTextInBracketsOrReverseVideo) {
    TMonthModel calendar;
    At(calendar, 2024, 2, 9);
    EXPECT_EQ(CalendarScreenText(calendar, false),
              "          2024年2月\n"
              " Sun Mon Tue Wed Thu Fri Sat\n"
              "                   1   2   3\n"
              "   4   5   6   7   8  [9] 10\n"
              "  11  12  13  14  15  16  17\n"
              "  18  19  20  21  22  23  24\n"
              "  25  26  27  28  29\n"
              "\n");
    const std::string reverse = CalendarScreenText(calendar, true);
    EXPECT_NE(reverse.find("   8 \x1b[7m  9\x1b[27m  10\n"), std::string::npos) << reverse;

    // Names two columns wide: the bracket takes the blank between the cells.
    SetDayAbbreviations({"日", "月", "火", "水", "木", "金", "土"});
    At(calendar, 2024, 2, 29);
    const std::string wide = CalendarScreenText(calendar, false);
    EXPECT_TRUE(wide.starts_with("      2024年2月\n"
                                 " 日 月 火 水 木 金 土\n"
                                 "              1  2  3\n"))
        << wide;
    EXPECT_NE(wide.find(" 25 26 27 28[29]\n"), std::string::npos) << wide;
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

TEST_F(CalendarCommandTest, CommandLinePrintsTheGridBeforeTheFailure) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(out && err);
    EXPECT_EQ(RunCalculator({"calendar", "10000", "1", "1"}, out, err), 1);
    EXPECT_NE(Contents(out).find(" Sun Mon Tue Wed Thu Fri Sat\n"), std::string::npos);
    EXPECT_EQ(Contents(err), "vesk310-calc: 日付に変換できない値が渡されました.\n");
    EXPECT_EQ(RunCalculator({"calendar", "2024", "1"}, out, err), 2);
    std::fclose(out);
    std::fclose(err);
}

}  // namespace
}  // namespace vesk::cli
