// The command-line calculator and its batch format, as outside tools use them.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/ArgumentScanner.h"
#include "cli/Batch.h"
#include "cli/ClosedDaysFile.h"
#include "cli/CommandLine.h"
#include "cli/DisplayWidth.h"
#include "japanese/CalendarError.h"
#include "textconv/NumberFormat.h"

namespace vesk::cli {
namespace {

using namespace std::chrono;

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

// The clock and the terminal of the runs below.
sys_days theToday = sys_days{2024y / February / 15};
bool onTerminal = false;

CalculatorSystem TestSystem() {
    CalculatorSystem system;
    system.today = [] { return theToday; };
    system.isTerminal = [](std::FILE*) { return onTerminal; };
    system.weekStartsOnMonday = [] { return false; };
    system.holidays = [](int, unsigned) { return std::vector<MonthHoliday>{}; };
    return system;
}

Outcome Calculate(const std::vector<std::string>& args,
                  const CalculatorSystem& system = TestSystem()) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    Outcome run{RunCalculator(args, out, err, system), "", ""};
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    std::fclose(out);
    std::fclose(err);
    SetDecimalSeparator('.');
    return run;
}

Outcome CalculateOn(sys_days today, const std::vector<std::string>& args) {
    const sys_days kept = theToday;
    theToday = today;
    Outcome run = Calculate(args);
    theToday = kept;
    return run;
}

const std::string kHint = "Try 'vesk310-calc --help' for more information.\n";
const std::string kWeekday = "  2001年1月1日は（月）曜日です。\n";

// A row of a table of runs: the arguments, the exit code and the two
// streams, each exact, or only its beginning when it ends in "...". A usage
// error's hint is added to `err` unless that is empty.
struct Run {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string out;
    std::string err;
};

void Expect(const std::string& actual, const std::string& expected) {
    if (expected.ends_with("...")) {
        EXPECT_TRUE(actual.starts_with(expected.substr(0, expected.size() - 3))) << actual;
    } else {
        EXPECT_EQ(actual, expected);
    }
}

void ExpectRuns(std::initializer_list<Run> runs) {
    for (const Run& r : runs) {
        SCOPED_TRACE(r.name);
        const Outcome run = Calculate(r.args);
        EXPECT_EQ(run.code, r.code);
        Expect(run.out, r.out);
        if (r.code == 2 && !r.err.empty()) {
            Expect(run.err.substr(0, run.err.size() - std::min(run.err.size(), kHint.size())),
                   r.err);
            EXPECT_TRUE(run.err.ends_with(kHint)) << run.err;
        } else {
            Expect(run.err, r.err);
        }
    }
}

TEST(Calculator, PrintsThePageTextsOneALine) {
    EXPECT_EQ(Calculate({"weekday", "2001", "1", "1"}).out, kWeekday);
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
        {},
        {"nope"},
        {"weekday", "1", "1"},
        {"span", "1"},
        {"uptime", "-1"},
        {"uptime", "4294967296"},
        {"uptime", "12 "},
        {"--decimal-separator"},
        {"--decimal-separator", "ab", "weekday", "1", "1", "1"},
        {"--frobnicate"},
        {"--batch", "weekday"},
        {"weekday", "2001", "1", "1", "--frobnicate"},
        // separators that could be read as part of a number, or are no character
        {"--decimal-separator", "e", "after", "2001", "1", "1", "1e5"},
        {"--decimal-separator", "5", "--batch"},
        {"--decimal-separator", "-", "--batch"},
        {"--decimal-separator", " ", "--batch"},
        {"--decimal-separator", std::string(1, '\0'), "--batch"},
        {"--decimal-separator", "\xC3", "--batch"},
    };
    for (const auto& args : cases) {
        const Outcome run = Calculate(args);
        EXPECT_EQ(run.code, 2) << (args.empty() ? "" : args[0]);
        EXPECT_TRUE(run.err.starts_with("vesk310-calc: ")) << run.err;
        EXPECT_TRUE(run.err.ends_with("\n" + kHint)) << run.err;
    }
    EXPECT_EQ(Calculate({"--help"}).code, 0);
}

TEST(Calculator, OptionsAndFieldsFromTheArgumentList) {
    ExpectRuns({
        // help and version on standard output, wherever they stand
        {"short help", {"-h"}, 0, "Usage: vesk310-calc [OPTION]... PAGE [FIELD]...", ""},
        {"long help",
         {"--help", "weekday"},
         0,
         "Usage: vesk310-calc [OPTION]... PAGE [FIELD]...",
         ""},
        {"help after the fields",
         {"weekday", "2001", "1", "1", "--help"},
         0,
         "Usage: vesk310-calc ...",
         ""},
        {"help after a wrong count",
         {"weekday", "2001", "--help"},
         0,
         "Usage: vesk310-calc ...",
         ""},
        {"version", {"--version"}, 0, "vesk310-calc 3.10\n...", ""},
        {"abbreviated long option", {"--vers"}, 0, "vesk310-calc 3.10\n...", ""},
        {"version after the page", {"calendar", "--version"}, 0, "vesk310-calc 3.10\n...", ""},
        // a value after "=" or as the next argument, before or after the page
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
        {"separator after the fields",
         {"after", "2001", "1", "1", "0,5", "--decimal-separator", ","},
         0,
         "  2001年 1月 1,5日です。\n",
         ""},
        {"separator between the fields",
         {"after", "2001", "--decimal-separator=,", "1", "1", "0,5"},
         0,
         "  2001年 1月 1,5日です。\n",
         ""},
        {"colour after =", {"--color=never", "weekday", "2001", "1", "1"}, 0, kWeekday, ""},
        {"bare colour, then the page", {"--color", "weekday", "2001", "1", "1"}, 0, kWeekday, ""},
        {"bare colour takes no next argument",
         {"--color", "never", "weekday"},
         2,
         "",
         "vesk310-calc: unknown page 'never'\n"},
        // "--" ends the options wherever it stands
        {"double dash", {"--", "weekday", "2001", "1", "1"}, 0, kWeekday, ""},
        {"option after double dash is a page",
         {"--", "--version"},
         2,
         "",
         "vesk310-calc: unknown page '--version'\n"},
        {"double dash after the page",
         {"weekday", "--", "-400", "3", "1"},
         0,
         "  -400年3月1日は（）曜日です。\n",
         ""},
        {"option after double dash is a field",
         {"weekday", "--", "--help", "1", "1"},
         1,
         "",
         "vesk310-calc: '--help' は数値ではありません.\n"},
        {"a second double dash is a field",
         {"--", "weekday", "--", "1", "1"},
         1,
         "",
         "vesk310-calc: '--' は数値ではありません.\n"},
        // after the page, numbers and short options are fields
        {"negative year", {"weekday", "-400", "3", "1"}, 0, "  -400年3月1日は（）曜日です。\n", ""},
        {"negative day count",
         {"after", "2001", "1", "1", "-1"},
         0,
         "  2000年 12月 31日です。\n",
         ""},
        {"negative fraction",
         {"after", "2001", "1", "1", "-.5"},
         0,
         "  2001年 1月 0.5日です。\n",
         ""},
        {"negative exponent form",
         {"after", "2001", "1", "1", "-1e3"},
         0,
         "  1998年 4月 7日です。\n",
         ""},
        {"negative hexadecimal form",
         {"after", "2001", "1", "1", "-0x10"},
         1,
         "",
         "vesk310-calc: '-0x10' は浮動小数点数ではありません.\n"},
        {"short option after the page",
         {"weekday", "-h", "1", "1"},
         1,
         "",
         "vesk310-calc: '-h' は数値ではありません.\n"},
        // a date in one field for three
        {"ISO date with dashes", {"weekday", "2001-01-01"}, 0, kWeekday, ""},
        {"ISO date with slashes", {"weekday", "2001/1/1"}, 0, kWeekday, ""},
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
        {"today", {"after", "today", "0"}, 0, "  2024年 2月 15日です。\n", ""},
        {"a date that does not exist",
         {"weekday", "2023-02-29"},
         1,
         "",
         "vesk310-calc: '2023-02-29' is not a date: February 2023 has 28 days\n"},
        {"a date of the year 1",
         {"weekday", "0001-03-01"},
         0,
         "  1年3月1日は（木）曜日です。\n",
         ""},
        {"year 0 is none", {"weekday", "0-3-1"}, 1, "", "vesk310-calc: '0-3-1' is not a date..."},
        {"a 和暦 date", {"weekday", "平成13年1月1日"}, 0, kWeekday, ""},
        {"a date of eight digits", {"weekday", "20010101"}, 0, kWeekday, ""},
        {"tomorrow", {"after", "tomorrow", "0"}, 0, "  2024年 2月 16日です。\n", ""},
        {"mixed separators are no date",
         {"weekday", "2001-01/01"},
         1,
         "",
         "vesk310-calc: '2001-01/01' is not a date..."},
        {"a text that is no date",
         {"weekday", "20240105x"},
         1,
         "",
         "vesk310-calc: '20240105x' is not a date (dates are written 2024-01-05, 2024/1/5, "
         "20240105, 令和6年1月5日, R6.1.5, today, yesterday or tomorrow)\n"},
        {"three fields keep the page's rules",
         {"weekday", "20011-01-01", "1", "1"},
         1,
         "",
         "vesk310-calc: '20011-01-01' は数値ではありません.\n"},
        // wrong counts and bad options: one line, then the hint
        {"no page",
         {},
         2,
         "",
         "vesk310-calc: no page given: weekday, span, after, uptime, calendar, era, holidays, "
         "days, add, "
         "workdays, workday or age\n"},
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
        {"unknown option after the page",
         {"weekday", "2001", "1", "1", "--frobnicate"},
         2,
         "",
         "vesk310-calc: invalid option '--frobnicate'\n"},
        {"unknown short option", {"-x"}, 2, "", "vesk310-calc: invalid option '-x'\n"},
        {"number before the page",
         {"-400", "weekday"},
         2,
         "",
         "vesk310-calc: invalid option '-4'\n"},
        {"short option of a character",
         {"-\xC3\xA9", "weekday"},
         2,
         "",
         "vesk310-calc: invalid option '-\xC3\xA9'\n"},
        {"ambiguous abbreviation",
         {"weekday", "--we"},
         2,
         "",
         "vesk310-calc: option '--we' is ambiguous: --weekend, --week-numbers\n"},
        {"abbreviation of one option's two names",
         {"--colo=never", "weekday", "2001", "1", "1"},
         0,
         kWeekday,
         ""},
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
        {"missing value after the page",
         {"workdays", "2024-01-01", "2024-01-31", "--closed"},
         2,
         "",
         "vesk310-calc: option '--closed' needs a value\n"},
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
         "vesk310-calc: --color takes always, never or auto (also yes, force, no, none, tty, "
         "if-tty), "
         "not 'sometimes'\n"},
        {"empty colour",
         {"--colour=", "calendar"},
         2,
         "",
         "vesk310-calc: --colour takes always, never or auto..."},
        {"no weekend",
         {"--weekend", "xyz", "workdays", "2024-01-01", "2024-01-31"},
         1,
         "",
         "vesk310-calc: 'xyz' is not a list of weekend days..."},
        {"no thread count",
         {"--threads", "0", "--batch"},
         2,
         "",
         "vesk310-calc: --threads takes a whole number from 1 to 1024, not '0'\n"},
        {"thread count with a sign",
         {"--threads=+2", "--batch"},
         2,
         "",
         "vesk310-calc: --threads takes a whole number from 1 to 1024, not '+2'\n"},
        // options that the request does not take
        {"batch with a page",
         {"--batch", "weekday"},
         2,
         "",
         "vesk310-calc: --batch takes no page, but was given 'weekday'\n"},
        {"batch option after the page",
         {"weekday", "--batch", "1", "1"},
         2,
         "",
         "vesk310-calc: --batch takes no page, but was given 'weekday'\n"},
        {"a page's option with the batch",
         {"--batch", "--json"},
         2,
         "",
         "vesk310-calc: option '--json' does not apply to --batch\n"},
        {"threads with a page",
         {"--threads", "2", "weekday", "2001", "1", "1"},
         2,
         "",
         "vesk310-calc: option '--threads' does not apply to weekday (only to --batch)\n"},
        {"days' option for another page",
         {"weekday", "2001", "1", "1", "--inclusive"},
         2,
         "",
         "vesk310-calc: option '--inclusive' does not apply to weekday\n"},
        {"business days' option for another page",
         {"days", "2024-01-01", "2024-01-02", "--year-end"},
         2,
         "",
         "vesk310-calc: option '--year-end' does not apply to days\n"},
        {"calendar's option for another page",
         {"-3", "weekday", "2001", "1", "1"},
         2,
         "",
         "vesk310-calc: option '--three' does not apply to weekday\n"},
        {"calendar's option with --json",
         {"--json", "-w", "calendar", "2024-02-29"},
         2,
         "",
         "vesk310-calc: option '--week-numbers' does not apply to calendar with --json\n"},
        {"the first of them is named",
         {"-m", "--inclusive", "weekday", "2001", "1", "1"},
         2,
         "",
         "vesk310-calc: option '--monday' does not apply to weekday\n"},
    });
    // The pages that take an option are not refused it (they may refuse
    // their fields).
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"days", "2024-01-01", "2024-01-31", "--inclusive"},
             {"workdays", "2024-01-01", "2024-01-31", "--year-end", "--weekend", "fri"},
             {"--year-end", "workday", "2024-01-01", "5"},
             {"-3mw", "calendar"},
             {"--json", "--inclusive", "days", "2024-01-01", "2024-01-31"}}) {
        const Outcome run = Calculate(args);
        EXPECT_EQ(run.err.find("does not apply"), std::string::npos)
            << args[0] << " " << args[1] << run.err;
    }
}

TEST(Calculator, ArgumentsTakenApart) {
    const Arguments a =
        ScanArguments({"-3m", "--closed", "a.txt", "calendar", "2024", "--closed=b.txt",
                       "--weekend", "fri", "-1", "--three", "--", "--json", "-w"});
    EXPECT_EQ(a.given, (std::vector<Option>{Option::kThree, Option::kMonday, Option::kClosed,
                                            Option::kWeekend}));
    EXPECT_EQ(a.page, "calendar");
    EXPECT_EQ(a.fields, (std::vector<std::string>{"2024", "-1", "--json", "-w"}));
    EXPECT_EQ(a.closedFiles, (std::vector<std::string>{"a.txt", "b.txt"}));
    ASSERT_TRUE(a.weekend);
    EXPECT_EQ(*a.weekend, (std::array<bool, 7>{false, false, false, false, false, true, false}));
    // The last value holds; an option's two names are one option.
    const Arguments b =
        ScanArguments({"--color=never", "--threads", "3", "--colour", "--threads=4", "--batch"});
    EXPECT_EQ(b.given, (std::vector<Option>{Option::kColor, Option::kThreads, Option::kBatch}));
    EXPECT_EQ(b.color, ColorMode::Always);
    EXPECT_EQ(b.threads, 4u);
    EXPECT_FALSE(b.page);
    EXPECT_EQ(OptionName(Option::kColor), "--color");
}

// NO_COLOR as the environment holds it; empty counts as unset.
void SetNoColor(const char* value) {
#if defined(_WIN32)
    _putenv_s("NO_COLOR", value);
#else
    setenv("NO_COLOR", value, 1);
#endif
}

TEST(Calculator, ColourModesInGnuForms) {
    SetNoColor("");
    const struct {
        std::vector<std::string> options;
        bool terminal;
        bool colour;
    } cases[] = {
        {{}, true, true},
        {{}, false, false},
        {{"--color"}, false, true},
        {{"--colour"}, false, true},
        {{"--color=always"}, false, true},
        {{"--color=yes"}, false, true},
        {{"--colour=force"}, false, true},
        {{"--color=never"}, true, false},
        {{"--color=no"}, true, false},
        {{"--color=none"}, true, false},
        {{"--color=auto"}, true, true},
        {{"--color=tty"}, false, false},
        {{"--color=if-tty"}, true, true},
        {{"--color=never", "--color"}, false, true},
    };
    SetNoColor("1");
    onTerminal = true;
    EXPECT_EQ(Calculate({"calendar", "2024", "2", "9"}).out.find("\x1b["), std::string::npos);
    onTerminal = false;
    SetNoColor("");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.options) + (c.terminal ? " on a terminal" : ""));
        onTerminal = c.terminal;
        std::vector<std::string> args = c.options;
        args.insert(args.end(), {"calendar", "2024", "2", "9"});
        const Outcome run = Calculate(args);
        onTerminal = false;
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.out.find("\x1b[7m") != std::string::npos, c.colour) << run.out;
        EXPECT_EQ(run.out.find("[9]") != std::string::npos, !c.colour) << run.out;
    }
}

TEST(Calculator, VersionIsTheGnuBlock) {
    EXPECT_EQ(Calculate({"--version"}).out,
              "vesk310-calc 3.10\n"
              "Copyright (C) 2026 the VESK_310 developers\n"
              "License MIT: <https://opensource.org/license/mit>\n"
              "This is free software: you are free to change and redistribute it.\n"
              "There is NO WARRANTY, to the extent permitted by law.\n");
}

TEST(Calculator, HelpNamesEveryPageAndOptionAndWhereToReportBugs) {
    const std::string help = Calculate({"--help"}).out;
    for (const char* part : {"weekday Y M D",
                             "span Y1 M1 D1 Y2 M2 D2",
                             "after Y M D N",
                             "uptime [MS]",
                             "calendar [Y [M [D]]]",
                             "era DATE",
                             "holidays YEAR | FROM TO",
                             "days FROM TO",
                             "add DATE PERIOD",
                             "workdays FROM TO",
                             "workday DATE N",
                             "age BIRTH [ON]",
                             "-h, --help",
                             "--version",
                             "--decimal-separator C",
                             "--color[=WHEN]",
                             "--colour",
                             "--json",
                             "--batch",
                             "--threads N",
                             "--inclusive",
                             "--year-end",
                             "--closed FILE",
                             "--weekend LIST",
                             "-3, --three",
                             "-m, --monday",
                             "-w, --week-numbers",
                             "Exit status: 0",
                             "\"separator\"",
                             "\"id\"",
                             "\"start\"",
                             "man vesk310-calc"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
    EXPECT_TRUE(help.ends_with("\nReport bugs to: vesk310@zelmoro.org\n"));
    for (std::size_t at = 0, end; at < help.size(); at = end + 1) {
        end = help.find('\n', at);
        EXPECT_LE(DisplayWidth(help.substr(at, end - at)), 80) << help.substr(at, end - at);
    }
}

TEST(Calculator, JsonPrintsTheBatchAnswerWithTheExitCode) {
    ExpectRuns({
        {"answer",
         {"--json", "weekday", "2001", "1", "1"},
         0,
         "{\"ok\": true, \"texts\": [\"  2001年1月1日は（月）曜日です。\"], \"values\": "
         "{\"weekday\": 1}}\n",
         ""},
        {"after the fields",
         {"uptime", "3723999", "--json"},
         0,
         "{\"ok\": true, \"texts\": [\"1時間 2分 3秒 \"], \"values\": {\"hours\": 1, \"minutes\": "
         "2, "
         "\"seconds\": 3}}\n",
         ""},
        {"with the separator",
         {"--json", "--decimal-separator=,", "after", "2001", "1", "1", "0,5"},
         0,
         "{\"ok\": true, \"texts\": [\"  2001年 1月 1,5日です。\"], \"values\": {\"year\": 2001, "
         "\"month\": 1, "
         "\"day\": 1.5, \"date\": null}}\n",
         ""},
        {"page failure",
         {"weekday", "abc", "1", "1", "--json"},
         1,
         "{\"ok\": false, \"error\": \"EConvertError\", \"message\": \"'abc' "
         "は数値ではありません\"}\n",
         ""},
        {"refused fields",
         {"--json", "weekday", "1", "1"},
         2,
         "{\"ok\": false, \"error\": \"usage\", \"message\": \"weekday takes 3 fields (year, "
         "month, day) or a date, "
         "not 2\"}\n",
         ""},
        {"the batch calendar's refusal",
         {"--json", "calendar", "2024", "2"},
         2,
         "{\"ok\": false, \"error\": \"usage\", \"message\": \"calendar takes 3 fields...",
         ""},
    });
    // A bad option is not the page's answer.
    EXPECT_EQ(Calculate({"--json", "--frobnicate", "weekday"}).out, "");
    // The calendar's grid starts from the day the fields name: the same answer
    // on every day, the 30th and 31st of a month too.
    for (const std::vector<std::string>& fields :
         std::vector<std::vector<std::string>>{{"2024-02-29"}, {"2024", "2", "29"}}) {
        std::vector<std::string> args{"--json", "calendar"};
        args.insert(args.end(), fields.begin(), fields.end());
        const Outcome first = CalculateOn(sys_days{2024y / January / 31}, args);
        EXPECT_EQ(first.code, 0) << first.out;
        EXPECT_NE(first.out.find("\"25\\t26\\t27\\t28\\t[29]\\t\\t\""), std::string::npos)
            << first.out;
        EXPECT_EQ(CalculateOn(sys_days{2025y / March / 30}, args).out, first.out);
    }
}

// The terminal calendar as CalendarCommand.h lays it out, with the day names
// that the last run read.
std::string Sheet(CalendarSheet sheet, bool mondayFirst = false) {
    CalendarLook look;
    look.mondayFirst = mondayFirst;
    look.holidays = TestSystem().holidays;
    return CalendarSheetText(sheet, look);
}

TEST(Calculator, TerminalCalendarInCalsFormsTheSameOnEveryDay) {
    const struct {
        std::vector<std::string> args;
        CalendarSheet sheet;
    } cases[] = {
        {{"calendar", "2024", "2"}, {2024y / February, 1, false, std::nullopt}},
        {{"calendar", "2024", "2", "29"}, {2024y / February, 1, false, 2024y / February / 29}},
        {{"calendar", "2024-02-29"}, {2024y / February, 1, false, 2024y / February / 29}},
        {{"calendar", "2022"}, {2022y / January, 12, true, std::nullopt}},
        {{"-3", "calendar", "2024", "1", "31"}, {2023y / December, 3, false, 2024y / January / 31}},
        {{"--three", "calendar", "2024", "3"}, {2024y / February, 3, false, std::nullopt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Outcome early = CalculateOn(sys_days{2023y / June / 30}, c.args);
        const Outcome late = CalculateOn(sys_days{2025y / January / 31}, c.args);
        EXPECT_EQ(early.code, 0) << early.err;
        EXPECT_EQ(early.out, Sheet(c.sheet));
        EXPECT_EQ(late.out, early.out);
    }
    // Today is marked where no day is given and today is shown.
    EXPECT_EQ(CalculateOn(sys_days{2024y / March / 31}, {"calendar"}).out,
              Sheet({2024y / March, 1, false, 2024y / March / 31}));
    EXPECT_EQ(CalculateOn(sys_days{2024y / March / 31}, {"calendar", "2024", "3"}).out,
              Sheet({2024y / March, 1, false, 2024y / March / 31}));
    EXPECT_EQ(CalculateOn(sys_days{2024y / March / 31}, {"calendar", "2024"}).out,
              Sheet({2024y / January, 12, true, 2024y / March / 31}));
    // Weeks from Monday by -m or by the locale.
    const CalendarSheet february{2024y / February, 1, false, 2024y / February / 15};
    EXPECT_EQ(Calculate({"-m", "calendar", "2024", "2"}).out, Sheet(february, true));
    CalculatorSystem monday = TestSystem();
    monday.weekStartsOnMonday = [] { return true; };
    EXPECT_EQ(Calculate({"calendar", "2024", "2"}, monday).out, Sheet(february, true));

    ExpectRuns({
        {"a day that February does not have",
         {"calendar", "2024", "2", "30"},
         1,
         "",
         "vesk310-calc: '2024-02-30' is not a date: February 2024 has 29 days\n"},
        {"a month that is none",
         {"calendar", "2024", "13"},
         1,
         "",
         "vesk310-calc: '13' is not a month from 1 to 12\n"},
        {"a year beyond 9999",
         {"calendar", "10000", "1", "1"},
         1,
         "",
         "vesk310-calc: '10000' is not a year from 1 to 9999\n"},
        {"-3 after the page is a field",
         {"calendar", "-3"},
         1,
         "",
         "vesk310-calc: '-3' is not a date..."},
    });
}

TEST(Calculator, ClosedDaysFromAFile) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "vesk310-closed-test";
    std::filesystem::create_directories(dir);
    const auto write = [&dir](const char* name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return (dir / name).string();
    };
    const std::string good = write("good.txt",
                                   "\xEF\xBB\xBF"
                                   "# company holidays\n"
                                   "2024-12-27\r\n"
                                   "\n"
                                   "  2024-08-13   # summer\n"
                                   "2024-12-27\n"
                                   "2024-08-14");
    EXPECT_EQ(ReadClosedDaysFile(good),
              (std::vector<sys_days>{sys_days{2024y / August / 13}, sys_days{2024y / August / 14},
                                     sys_days{2024y / December / 27}}));
    EXPECT_TRUE(ReadClosedDaysFile(write("empty.txt", "")).empty());

    const std::string bad = write("bad.txt", "2024-01-02\n# next\n2024-13-01\n2024-99-99\n");
    try {
        ReadClosedDaysFile(bad);
        ADD_FAILURE() << "not refused";
    } catch (const japanese::CalendarError& e) {
        EXPECT_TRUE(
            e.message.starts_with(bad + ": closed days, line 3: '2024-13-01' is not a date"))
            << e.message;
    }
    const std::string missing = (dir / "missing.txt").string();
    try {
        ReadClosedDaysFile(missing);
        ADD_FAILURE() << "not refused";
    } catch (const FileReadError& e) {
        EXPECT_EQ(e.message, missing + ": No such file or directory");
    }

    // On the command line: a file that cannot be read, or a line that is no
    // date, fails the run.
    const Outcome unread = Calculate({"workdays", "2024-01-01", "2024-01-31", "--closed", missing});
    EXPECT_EQ(unread.code, 1);
    EXPECT_EQ(unread.err, "vesk310-calc: " + missing + ": No such file or directory\n");
#if !defined(_WIN32)
    const Outcome directory = Calculate({"workday", "2024-01-01", "3", "--closed", dir.string()});
    EXPECT_EQ(directory.code, 1);
    EXPECT_EQ(directory.err, "vesk310-calc: " + dir.string() + ": Is a directory\n");
#endif
    const Outcome refused =
        Calculate({"workdays", "2024-01-01", "2024-01-31", "--closed", good, "--closed", bad});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.starts_with("vesk310-calc: " + bad +
                                        ": closed days, line 3: '2024-13-01' is not a date"))
        << refused.err;
    std::filesystem::remove_all(dir);
}

TEST(Calculator, TodayIsTodaysDate) {
    EXPECT_EQ(CalculateOn(sys_days{2024y / February / 29}, {"after", "today", "1"}).out,
              "  2024年 3月 1日です。\n");
    EXPECT_EQ(CalculateOn(sys_days{2024y / February / 29}, {"weekday", "today"}).out,
              "  2024年2月29日は（木）曜日です。\n");
    // and by the system's clock
    EXPECT_EQ(Calculate({"span", "today", "today"}, CalculatorSystem{}).out,
              "(１)から(２)までの日数は  0日です。\n およそ  0年  0ヶ月...です。\n");
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
