// The command-line calculator and its batch format, as outside tools use them.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/Batch.h"
#include "cli/CommandLine.h"
#include "textconv/NumberFormat.h"
#include "textconv/SystemClock.h"

namespace vesk::cli {
namespace {

std::string ReadAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
    return text;
}

struct Outcome {
    int code;
    std::string out, err;
};

Outcome Calculate(const std::vector<std::string>& args) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    Outcome run{RunCalculator(args, out, err), "", ""};
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    std::fclose(out);
    std::fclose(err);
    SetDecimalSeparator('.');
    return run;
}

TEST(Calculator, PrintsThePageTextsOneALine) {
    EXPECT_EQ(Calculate({"weekday", "2001", "1", "1"}).out, "  2001年1月1日は（月）曜日です。\n");
    EXPECT_EQ(Calculate({"weekday", "-400", "3", "1"}).out, "  -400年3月1日は（）曜日です。\n");
    EXPECT_EQ(Calculate({"span", "2001", "1", "1", "2001", "12", "31"}).out,
              "(１)から(２)までの日数は  364日です。\n およそ  1年  0ヶ月...です。\n");
    EXPECT_EQ(Calculate({"after", "2001", "1", "1", "270"}).out, "  2001年 9月 28日です。\n");
    EXPECT_EQ(Calculate({"uptime", "3723999"}).out, "1時間 2分 3秒 \n");
    const Outcome now = Calculate({"uptime"});
    EXPECT_EQ(now.code, 0);
    EXPECT_NE(now.out.find("時間 "), std::string::npos);
    EXPECT_EQ(Calculate({"--decimal-separator", ",", "after", "2001", "1", "1", "0,5"}).out,
              "  2001年 1月 1,5日です。\n");
    // After the page name even option-like texts are fields.
    EXPECT_EQ(Calculate({"weekday", "--batch", "1", "1"}).code, 1);
}

TEST(Calculator, FailuresPrintTheBoxTextAndExitOne) {
    const Outcome bad = Calculate({"weekday", "abc", "1", "1"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "vesk310-calc: 'abc' は数値ではありません.\n");
    EXPECT_EQ(Calculate({"span", "1e400", "1", "1", "x", "1", "1"}).err,
              "vesk310-calc: 浮動小数点数のオーバーフロー.\n");
}

TEST(Calculator, BadUsageExitsTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {}, {"nope"}, {"weekday", "1", "1"}, {"span", "1"}, {"uptime", "-1"},
        {"uptime", "4294967296"}, {"uptime", "12 "}, {"--decimal-separator"},
        {"--decimal-separator", "ab", "weekday", "1", "1", "1"}, {"--frobnicate"},
        {"--batch", "weekday"},
        // separators that could be read as part of a number, or are no character
        {"--decimal-separator", "e", "after", "2001", "1", "1", "1e5"}, {"--decimal-separator", "5", "--batch"},
        {"--decimal-separator", "-", "--batch"}, {"--decimal-separator", " ", "--batch"},
        {"--decimal-separator", std::string(1, '\0'), "--batch"}, {"--decimal-separator", "\xC3", "--batch"},
    };
    for (const auto& args : cases) {
        const Outcome run = Calculate(args);
        EXPECT_EQ(run.code, 2) << (args.empty() ? "" : args[0]);
        EXPECT_TRUE(run.err.starts_with("vesk310-calc: ")) << run.err;
        EXPECT_TRUE(run.err.ends_with("\nTry 'vesk310-calc --help' for more information.\n")) << run.err;
    }
    EXPECT_EQ(Calculate({"--help"}).code, 0);
}

TEST(Calculator, OptionsAndFieldsFromTheArgumentList) {
    const std::string weekday = "  2001年1月1日は（月）曜日です。\n";
    const struct {
        const char* name;
        std::vector<std::string> args;
        int code;
        std::string out;  // exact, or the beginning when it ends in "..."
        std::string err;
    } cases[] = {
        // help and version on standard output
        {"short help", {"-h"}, 0, "Usage: vesk310-calc [OPTION]... PAGE [FIELD]...\n...", ""},
        {"long help",
         {"--help", "weekday"},
         0,
         "Usage: vesk310-calc [OPTION]... PAGE [FIELD]...\n...",
         ""},
        {"version", {"--version"}, 0, "vesk310-calc 3.10\n", ""},
        {"abbreviated long option", {"--vers"}, 0, "vesk310-calc 3.10\n", ""},
        // a value after "=" or as the next argument
        {"separator after =",
         {"--decimal-separator=,", "after", "2001", "1", "1", "0,5"},
         0,
         "  2001年 1月 1,5日です。\n",
         ""},
        {"separator as next argument",
         {"--decimal-separator", ",", "after", "2001", "1", "1", "0,5"},
         0,
         "  2001年 1月 1,5日です。\n",
         ""},
        {"colour as next argument",
         {"--color", "never", "weekday", "2001", "1", "1"},
         0,
         weekday,
         ""},
        // "--" ends the options; after the page everything is a field
        {"double dash", {"--", "weekday", "2001", "1", "1"}, 0, weekday, ""},
        {"option after double dash is a page",
         {"--", "--version"},
         2,
         "",
         "vesk310-calc: unknown page '--version'\n"},
        {"negative year", {"weekday", "-400", "3", "1"}, 0, "  -400年3月1日は（）曜日です。\n", ""},
        {"negative day count",
         {"after", "2001", "1", "1", "-1"},
         0,
         "  2000年 12月 31日です。\n",
         ""},
        {"option-like field",
         {"weekday", "-h", "1", "1"},
         1,
         "",
         "vesk310-calc: '-h' は数値ではありません.\n"},
        {"long-option-like field",
         {"weekday", "--batch", "1", "1"},
         1,
         "",
         "vesk310-calc: '--batch' は数値ではありません.\n"},
        // ISO dates and today as field texts
        {"ISO date with dashes", {"weekday", "2001-01-01"}, 0, weekday, ""},
        {"ISO date with slashes", {"weekday", "2001/1/1"}, 0, weekday, ""},
        {"a date of the year 1", {"weekday", "0001-03-01"}, 0, "  1年3月1日は（木）曜日です。\n", ""},
        {"a date that does not exist", {"weekday", "2023-02-29"}, 1, "",
         "vesk310-calc: '2023-02-29' is not a date: February 2023 has 28 days\n"},
        {"ISO date before the count",
         {"after", "2001-01-01", "270"},
         0,
         "  2001年 9月 28日です。\n",
         ""},
        {"two ISO dates",
         {"span", "2001-01-01", "2001/12/31"},
         0,
         "(１)から(２)までの日数は  364日です。\n およそ  1年  0ヶ月...です。\n",
         ""},
        {"mixed separators are no date",
         {"weekday", "2001-01/01"},
         1,
         "",
         "vesk310-calc: '2001-01/01' is not a date (dates are written 2024-01-05, 2024/1/5, 20240105, "
         "令和6年1月5日, R6.1.5, today, yesterday or tomorrow)\n"},
        {"five-digit year is one field",
         {"weekday", "20011-01-01", "1", "1"},
         1,
         "",
         "vesk310-calc: '20011-01-01' は数値ではありません.\n"},
        {"three-digit month is one field",
         {"weekday", "2001-001-01", "1", "1"},
         1,
         "",
         "vesk310-calc: '2001-001-01' は数値ではありません.\n"},
        {"signed date is one field",
         {"weekday", "-2001-01-01", "1", "1"},
         1,
         "",
         "vesk310-calc: '-2001-01-01' は数値ではありません.\n"},
        // wrong counts and bad options: one line, then the hint
        {"no page",
         {},
         2,
         "",
         "vesk310-calc: no page given: weekday, span, after, uptime or calendar\n"},
        {"too few fields",
         {"span", "2001-01-01"},
         2,
         "",
         "vesk310-calc: span takes 6 fields (two dates of year, month, day) or 2 dates, not 1\n"},
        {"too many fields",
         {"weekday", "today", "1"},
         2,
         "",
         "vesk310-calc: weekday takes 3 fields (year, month, day) or a date, not 2\n"},
        {"unknown page", {"moon"}, 2, "", "vesk310-calc: unknown page 'moon'\n"},
        {"unknown option",
         {"--frobnicate", "weekday"},
         2,
         "",
         "vesk310-calc: invalid option '--frobnicate'\n"},
        {"unknown short option", {"-x"}, 2, "", "vesk310-calc: invalid option '-x'\n"},
        {"value for a flag",
         {"--version=2"},
         2,
         "",
         "vesk310-calc: option '--version' takes no value\n"},
        {"missing value",
         {"--decimal-separator"},
         2,
         "",
         "vesk310-calc: option '--decimal-separator' needs a value\n"},
        {"separator of two bytes",
         {"--decimal-separator=ab", "weekday", "1", "1", "1"},
         2,
         "",
         "vesk310-calc: --decimal-separator takes one printable ASCII character other than a "
         "digit, a sign, a blank, e, E, $, x or X, not 'ab'\n"},
        {"unknown colour",
         {"--color=sometimes", "calendar"},
         2,
         "",
         "vesk310-calc: --color takes auto, always or never, not 'sometimes'\n"},
        {"batch with a page",
         {"--batch", "weekday"},
         2,
         "",
         "vesk310-calc: --batch takes no page, but was given 'weekday'\n"},
    };
    const std::string hint = "Try 'vesk310-calc --help' for more information.\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome run = Calculate(c.args);
        EXPECT_EQ(run.code, c.code);
        if (c.out.ends_with("...")) {
            EXPECT_TRUE(run.out.starts_with(c.out.substr(0, c.out.size() - 3))) << run.out;
        } else {
            EXPECT_EQ(run.out, c.out);
        }
        EXPECT_EQ(run.err, c.code == 2 ? c.err + hint : c.err);
    }
}

TEST(Calculator, EveryIsoDateOfTheYears0To9999GivesItsNumbers) {
    char text[16];
    for (int year = 0; year <= 9999; ++year) {
        const int month = year % 12 + 1, day = year % 31 + 1;
        const std::vector<std::string> numbers = {std::to_string(year), std::to_string(month), std::to_string(day)};
        for (const char* format : {"%04d-%02d-%02d", "%d/%d/%d"}) {
            std::snprintf(text, sizeof text, format, year, month, day);
            ASSERT_EQ(ExpandDateArguments({"x", text, "-1"}),
                      (std::vector<std::string>{"x", numbers[0], numbers[1], numbers[2], "-1"}))
                << text;
        }
    }
}

TEST(Calculator, TodayIsTodaysDate) {
    const LocalDate before = ReadLocalDate();
    const Outcome today = Calculate({"after", "today", "0"});
    const LocalDate after = ReadLocalDate();
    const std::string expected = Calculate({"after", std::to_string(after.year), std::to_string(after.month),
                                            std::to_string(after.day), "0"})
                                     .out;
    // The day may change between the two readings: then either date will do.
    if (before.day == after.day) {
        EXPECT_EQ(today.out, expected);
    } else {
        EXPECT_FALSE(today.out.empty());
    }
    EXPECT_EQ(Calculate({"span", "today", "today"}).out,
              "(１)から(２)までの日数は  0日です。\n およそ  0年  0ヶ月...です。\n");
}

TEST(Calculator, HelpNamesPagesExitCodesBatchKeysAndTheManual) {
    const std::string help = Calculate({"--help"}).out;
    for (const char* part : {"weekday Y M D", "span Y1 M1 D1 Y2 M2 D2", "after Y M D N", "uptime [MS]",
                             "calendar [Y M D]", "Exit status: 0", "\"separator\"", "\"id\"", "\"start\"",
                             "man vesk310-calc"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
}

TEST(Batch, AnswersEachLineInTheDocumentedFormat) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"page": "weekday", "fields": ["2001", "1", "1"]})",
         R"({"ok": true, "texts": ["  2001年1月1日は（月）曜日です。"], "values": {"weekday": 1}})"},
        {R"({"page": "weekday", "fields": ["-400", "3", "1"]})",
         R"({"ok": true, "texts": ["  -400年3月1日は（）曜日です。"], "values": {"weekday": -4}})"},
        {R"({"page": "span", "fields": ["2001", "1", "1", "2001", "1", "1,5"], "separator": ","})",
         R"({"ok": true, "texts": ["(１)から(２)までの日数は  0,5日です。", " およそ  0年  0ヶ月...です。"], "values": {"days": 0.5, "years": 0, "months": 0}})"},
        {R"({"page": "span", "fields": ["2001", "1", "1", "1998", "11", "1"]})",
         R"({"ok": true, "texts": ["(１)から(２)までの日数は  -792日です。", " およそ  -2年  -1ヶ月...です。"], "values": {"days": -792, "years": -2, "months": -1}})"},
        {R"({"page": "after", "fields": ["2001", "1", "1", "0.1"]})",
         R"({"ok": true, "texts": ["  2001年 1月 1.09999999997672日です。"], "values": {"year": 2001, "month": 1, "day": 1.099999999976717, "date": null}})"},
        {R"({"page": "after", "fields": ["2001", "1", "1", "270"]})",
         R"({"ok": true, "texts": ["  2001年 9月 28日です。"], "values": {"year": 2001, "month": 9, "day": 28, "date": "2001-09-28"}})"},
        // a four-year-rule date that the Gregorian calendar does not have
        {R"({"page": "after", "fields": ["2100", "2", "28", "1"]})",
         R"({"ok": true, "texts": ["  2100年 2月 29日です。"], "values": {"year": 2100, "month": 2, "day": 29, "date": null}})"},
        {R"({"page": "uptime", "fields": ["2147483648"]})",
         R"({"ok": true, "texts": ["596時間 31分 23秒 "], "values": {"hours": 596, "minutes": 31, "seconds": 23}})"},
        // the page's failures, message as created (no box full stop)
        {R"({"page": "weekday", "fields": ["abc", "1", "x"]})",
         R"({"ok": false, "error": "EConvertError", "message": "'abc' は数値ではありません"})"},
        {R"({"page": "after", "fields": ["1e400", "1", "1", "1"]})",
         R"({"ok": false, "error": "EOverflow", "message": "浮動小数点数のオーバーフロー"})"},
        {R"({"page": "weekday", "fields": ["\"q\"\n", "1", "1"]})",
         R"({"ok": false, "error": "EConvertError", "message": "'\"q\"\n' は数値ではありません"})"},
    };
    for (const auto& [line, answer] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(AnswerBatchLine(line), answer);
        EXPECT_EQ(DecimalSeparator(), '.');  // a line's separator does not outlive it
    }
}

TEST(Batch, MalformedLinesGetAUsageAnswer) {
    const char* const lines[] = {
        "", "garbage", "[]", "42", "{}", R"({"page": "weekday"})", R"({"fields": []})",
        R"({"page": 1, "fields": ["1", "1", "1"]})", R"({"page": "weekday", "fields": [1, 2, 3]})",
        R"({"page": "weekday", "fields": ["1", "1"]})", R"({"page": "moon", "fields": []})",
        R"({"page": "weekday", "fields": ["1", "1", "1"], "separator": ""})",
        R"({"page": "weekday", "fields": ["1", "1", "1"], "seperator": "."})",
        R"({"page": "uptime", "fields": ["-1"]})", "{\"page\": \"weekday\", \"fields\": [\"\xff\"]}",
        R"({"page": "weekday", "fields": ["1", "1", "1"]} trailing)",
    };
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        EXPECT_EQ(AnswerBatchLine(line).rfind(R"({"ok": false, "error": "usage", "message": ")", 0), 0u);
    }
}

// Runs the batch mode over the input through a file descriptor, as with a
// redirected standard input.
std::string BatchOver(const std::string& input) {
    std::FILE* in = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::fflush(in);
    std::rewind(in);
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(RunBatch(fileno(in), fileno(out), stderr), 0);
    std::fclose(in);
    std::string text = ReadAll(out);
    std::fclose(out);
    return text;
}

TEST(Batch, OneAnswerLineForEveryInputLineInOrder) {
    const std::string good = R"({"page": "uptime", "fields": ["0"]})";
    std::string input;
    for (int i = 0; i < 2000; ++i) input += (i % 3 == 0 ? std::string("bad") : good) + "\n";
    input += good;  // a last line without its line break
    const std::string out = BatchOver(input);
    std::size_t lines = 0, failures = 0;
    for (std::size_t at = 0; (at = out.find('\n', at)) != std::string::npos; ++at) ++lines;
    for (std::size_t at = 0; (at = out.find("\"usage\"", at)) != std::string::npos; ++at) ++failures;
    EXPECT_EQ(lines, 2001u);
    EXPECT_EQ(failures, 667u);
    EXPECT_EQ(
        out.substr(0, out.find('\n')),
        R"({"ok": false, "error": "usage", "message": "malformed JSON at byte 1: expected a JSON value, found 'b'"})");
}

TEST(Batch, AnOverlongLineIsRefusedAndTheRunGoesOn) {
    const std::string input = "{\"page\": \"weekday\", \"fields\": [\"" +
                              std::string(kMaxBatchLine + 10, '7') + "\", \"1\", \"1\"]}\n" +
                              R"({"page": "uptime", "fields": ["0"]})" + "\n";
    const std::string out = BatchOver(input);
    EXPECT_EQ(
        out,
        "{\"ok\": false, \"error\": \"usage\", \"message\": \"the line is longer than " +
            std::to_string(kMaxBatchLine) + " bytes\"}\n" +
            R"({"ok": true, "texts": ["0時間 0分 0秒 "], "values": {"hours": 0, "minutes": 0, "seconds": 0}})" +
            "\n");
}

}  // namespace
}  // namespace vesk::cli
