// The civil calendar's pages as the calculator answers them: texts and
// values by name, the request keys, and the refusals, each one line.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "cli/Batch.h"
#include "cli/Pages.h"

namespace vesk::cli {
namespace {

using nlohmann::json;
using namespace std::chrono;

// A fixed today, so that "today" and the age's default day do not move.
sys_days FixedToday() { return sys_days{2024y / January / 5}; }

// The answer of a page with the fixed today, parsed.
json Answer(std::string_view page, std::vector<std::string_view> fields, PageOptions options = {}) {
    options.today = &FixedToday;
    std::string out;
    AppendPageAnswer(out, page, fields, fields.size(), options);
    EXPECT_EQ(out.back(), '\n');
    return json::parse(out);
}

TEST(CivilPages, AnswerWithTextsAndValues) {
    const struct {
        const char* name;
        const char* page;
        std::vector<std::string_view> fields;
        json texts, values;
    } cases[] = {
        // era: both ways, 元年, full-width, relative days
        {"和暦 from a Western date", "era", {"2024-01-05"}, {"令和6年1月5日（金）", "2024年1月5日（金）"},
         {{"date", "2024-01-05"}, {"era", "令和"}, {"eraYear", 6}, {"month", 1}, {"day", 5}}},
        {"Western from 和暦, 元年", "era", {"令和元年5月1日"}, {"令和元年5月1日（水）", "2019年5月1日（水）"},
         {{"date", "2019-05-01"}, {"era", "令和"}, {"eraYear", 1}, {"month", 5}, {"day", 1}}},
        {"the last day of an era", "era", {"H31.4.30"}, {"平成31年4月30日（火）", "2019年4月30日（火）"},
         {{"date", "2019-04-30"}, {"era", "平成"}, {"eraYear", 31}, {"month", 4}, {"day", 30}}},
        {"the first Gregorian day", "era", {"1873/1/1"}, {"明治6年1月1日（水）", "1873年1月1日（水）"},
         {{"date", "1873-01-01"}, {"era", "明治"}, {"eraYear", 6}, {"month", 1}, {"day", 1}}},
        {"yesterday", "era", {"yesterday"}, {"令和6年1月4日（木）", "2024年1月4日（木）"},
         {{"date", "2024-01-04"}, {"era", "令和"}, {"eraYear", 6}, {"month", 1}, {"day", 4}}},
        // holidays: a year, a range, none
        {"a range in either order", "holidays", {"2019-10-23", "2019-10-20"}, {"2019年10月22日（火）　即位礼正殿の儀"},
         {{"holidays", json::array({json{{"date", "2019-10-22"}, {"name", "即位礼正殿の儀"}}})}}},
        {"no holiday in the range", "holidays", {"2024-01-02", "2024-01-05"},
         {"2024年1月2日から2024年1月5日までに祝日はありません。"}, {{"holidays", json::array()}}},
        // days: exact counts across 1 March 2100, the first day counted
        {"across a century's 29 February", "days", {"2100-02-28", "2100-03-01"},
         {"2100年2月28日から2100年3月1日までは1日です。", "0週と1日です。", "0ヶ月1日です。"},
         {{"days", 1}, {"weeks", 0}, {"weekDays", 1}, {"years", 0}, {"months", 0}, {"dayRest", 1}}},
        {"backwards", "days", {"2024-03-31", "2024-02-29"},
         {"2024年3月31日から2024年2月29日までは-31日です。", "-4週と-3日です。", "-1ヶ月0日です。"},
         {{"days", -31}, {"weeks", -4}, {"weekDays", -3}, {"years", 0}, {"months", -1}, {"dayRest", 0}}},
        // add: the month's last day where the day does not exist
        {"a month from the 31st", "add", {"2024-01-31", "1m"}, {"2024年1月31日の1ヶ月後は2024年2月29日（木）です。"},
         {{"date", "2024-02-29"}}},
        {"a year from 29 February", "add", {"2024-02-29", "1年"}, {"2024年2月29日の1年後は2025年2月28日（金）です。"},
         {{"date", "2025-02-28"}}},
        {"weeks back, full-width", "add", {"2024-01-05", "－２週間"}, {"2024年1月5日の2週前は2023年12月22日（金）です。"},
         {{"date", "2023-12-22"}}},
        // business days
        {"January 2024", "workdays", {"2024-01-01", "2024-01-31"}, {"2024年1月1日から2024年1月31日までの営業日は21日です。"},
         {{"workdays", 21}}},
        {"ten business days on", "workday", {"2024-01-05", "10"}, {"2024年1月5日の10営業日後は2024年1月22日（月）です。"},
         {{"date", "2024-01-22"}}},
        {"a Saturday's next business day", "workday", {"2024-01-06", "0"},
         {"2024年1月6日（土）の次の営業日は2024年1月9日（火）です。"}, {{"date", "2024-01-09"}}},
        // age: 29 February birthdays; the day defaults to today
        {"the day before the birthday", "age", {"2001-02-28", "2024-02-27"},
         {"2001年2月28日生まれの人は2024年2月27日に満22歳（数え年24歳）です。"}, {{"age", 22}, {"kazoe", 24}}},
        {"today", "age", {"平成12年2月29日"}, {"2000年2月29日生まれの人は2024年1月5日に満23歳（数え年25歳）です。"},
         {{"age", 23}, {"kazoe", 25}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const json answer = Answer(c.page, c.fields);
        EXPECT_EQ(answer["ok"], true) << answer;
        EXPECT_EQ(answer["texts"], c.texts);
        EXPECT_EQ(answer["values"], c.values);
    }
}

TEST(CivilPages, HolidaysOfAYearAreTheTable) {
    const json answer = Answer("holidays", {"2024"});
    ASSERT_EQ(answer["values"]["holidays"].size(), 21u);
    EXPECT_EQ(answer["texts"].size(), 21u);
    EXPECT_EQ(answer["values"]["holidays"][3], (json{{"date", "2024-02-12"}, {"name", "振替休日"}}));
    EXPECT_EQ(answer["texts"][3], "2024年2月12日（月）　振替休日");
}

TEST(CivilPages, OptionsOfTheBusinessDaysAndTheFirstDay) {
    PageOptions inclusive;
    inclusive.inclusive = true;
    EXPECT_EQ(Answer("days", {"2024-01-01", "2024-12-31"}, inclusive)["values"],
              (json{{"days", 366}, {"weeks", 52}, {"weekDays", 2}, {"years", 1}, {"months", 0}, {"dayRest", 0}}));
    PageOptions business;
    business.yearEnd = true;
    business.weekend = {true, false, false, false, false, false, false};  // Sundays only
    business.closed = {sys_days{2025y / January / 6}, sys_days{2024y / December / 26}};  // in any order
    EXPECT_EQ(Answer("workdays", {"2024-12-25", "2025-01-10"}, business)["values"], (json{{"workdays", 8}}));
    EXPECT_EQ(Answer("workday", {"2024-12-27", "1"}, business)["values"], (json{{"date", "2024-12-28"}}));
}

TEST(CivilPages, RefusalsAreOneLineThatQuotesTheText) {
    const struct {
        const char* page;
        std::vector<std::string_view> fields;
        const char* message;  // null: any one line
        const char* error = "ECalendarError";
    } cases[] = {
        {"era", {"2023-02-29"}, "'2023-02-29' is not a date: February 2023 has 28 days"},
        {"era", {"R6.2.30"}, "'R6.2.30' is not a date: February of 令和6年 (2024) has 29 days"},
        {"era", {"平成32年1月1日"}, "'平成32年1月1日' is not a date: 平成 ended with 平成31年4月30日 (2019-04-30)"},
        {"era", {"1872-12-31"},
         "'1872-12-31' has no 和暦 date: Japan took up the Gregorian calendar on 1873-01-01 (明治6年1月1日)"},
        {"holidays", {"1947"}, "the year 1947 lies outside the years of the holiday table (1948 to 2099)"},
        {"holidays", {"24"}, "'24' is not a year (write it as 2024)"},
        {"add", {"2024-01-05", "1x"}, nullptr},
        {"workday", {"2024-01-05", "1.5"}, "'1.5' is not a whole number of business days"},
        {"workdays", {"1947-12-01", "1948-01-31"}, nullptr},
        {"age", {"2024-01-06"}, nullptr},  // born after today
        // a wrong count is the request's fault
        {"days", {"2024-01-01"}, "days takes 2 fields (two dates), not 1", "usage"},
        {"era", {"2024-01-05", "2024-01-06"}, "era takes 1 field (a date), not 2", "usage"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.page) + " " + std::string(c.fields[0]));
        const json answer = Answer(c.page, c.fields);
        EXPECT_EQ(answer["ok"], false);
        EXPECT_EQ(answer["error"], std::string(c.error));
        const std::string message = answer["message"];
        EXPECT_EQ(message.find('\n'), std::string::npos);
        if (c.message != nullptr) {
            EXPECT_EQ(message, c.message);
        }
    }
}

// The keys of the batch mode: each taken only by its pages, each checked.
TEST(CivilPages, BatchKeysBelongToTheirPages) {
    const auto usage = [](const std::string& message) {
        return R"({"ok": false, "error": "usage", "message": ")" + message + "\"}";
    };
    const std::pair<std::string, std::string> cases[] = {
        {R"({"page": "era", "fields": ["R6.1.5"], "inclusive": true})", usage(R"(unknown key \"inclusive\")")},
        {R"({"page": "days", "fields": ["2024-01-01", "2024-01-02"], "yearEnd": true})",
         usage(R"(unknown key \"yearEnd\")")},
        {R"({"page": "weekday", "fields": ["2024-01-01"], "weekend": ["sun"], "closed": []})",
         usage(R"(unknown key \"closed\")")},
        {R"({"page": "days", "fields": ["2024-01-01", "2024-01-02"], "inclusive": 1})",
         usage(R"(\"inclusive\" must be true or false)")},
        {R"({"page": "workdays", "fields": ["2024-01-01", "2024-01-31"], "closed": "2024-01-02"})",
         usage(R"(\"closed\" must be an array of dates)")},
        {R"({"page": "workdays", "fields": ["2024-01-01", "2024-01-31"], "closed": ["R6.1.2"]})",
         R"x({"ok": false, "error": "ECalendarError", "message": "'R6.1.2' is not a date (dates are written 2024-01-05)"})x"},
        {R"({"page": "workdays", "fields": ["2024-01-01", "2024-01-31"], "weekend": "sun"})",
         usage(R"(\"weekend\" must be an array of day names)")},
        {R"({"page": "workdays", "fields": ["2024-01-01", "2024-01-31"], "weekend": ["sat", "caturday"]})",
         R"x({"ok": false, "error": "ECalendarError", "message": "'caturday' is not a list of weekend days: 'caturday' is no day name (sun mon tue wed thu fri sat, or 日 月 火 水 木 金 土, with commas between)"})x"},
        {R"({"page": "workdays", "fields": ["2024-01-01", "2024-01-31"], "weekend": ["sun", "mon", "tue", "wed", "thu", "fri", "sat"]})",
         R"({"ok": false, "error": "ECalendarError", "message": "a weekend of all seven days leaves no business day"})"},
    };
    for (const auto& [line, answer] : cases) {
        SCOPED_TRACE(line);
        const std::string got = AnswerBatchLine(line);
        if (answer.empty()) {
            EXPECT_EQ(got.rfind(R"({"ok": false, "error": "usage", "message": ")", 0), 0u) << got;
        } else {
            EXPECT_EQ(got, answer);
        }
    }
    // Keys with their values, and escapes in the texts.
    EXPECT_EQ(json::parse(AnswerBatchLine(
                  R"({"page": "workdays", "fields": ["2024-12-25", "2025-01-10"], "yearEnd": true, )"
                  R"("closed": ["2025-01-06", "2024-12-26"], "weekend": ["s\u0075n"], "id": 9})")),
              (json{{"ok", true},
                    {"texts", {"2024年12月25日から2025年1月10日までの営業日は8日です。"}},
                    {"values", {{"workdays", 8}}},
                    {"id", 9}}));
}

}  // namespace
}  // namespace vesk::cli
