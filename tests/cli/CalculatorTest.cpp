// The command-line calculator and its batch format, as outside tools use them.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/Batch.h"
#include "cli/CommandLine.h"
#include "textconv/NumberFormat.h"

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
    EXPECT_EQ(bad.err, "'abc' は数値ではありません.\n");
    EXPECT_EQ(Calculate({"span", "1e400", "1", "1", "x", "1", "1"}).err,
              "浮動小数点数のオーバーフロー.\n");
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
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
    EXPECT_EQ(Calculate({"--help"}).code, 0);
}

TEST(Batch, AnswersEachLineInTheDocumentedFormat) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"page": "weekday", "fields": ["2001", "1", "1"]})",
         R"({"ok": true, "texts": ["  2001年1月1日は（月）曜日です。"]})"},
        {R"({"page": "span", "fields": ["2001", "1", "1", "2001", "1", "1,5"], "separator": ","})",
         R"({"ok": true, "texts": ["(１)から(２)までの日数は  0,5日です。", " およそ  0年  0ヶ月...です。"]})"},
        {R"({"page": "after", "fields": ["2001", "1", "1", "0.1"]})",
         R"({"ok": true, "texts": ["  2001年 1月 1.09999999997672日です。"]})"},
        {R"({"page": "uptime", "fields": ["2147483648"]})",
         R"({"ok": true, "texts": ["596時間 31分 23秒 "]})"},
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
    EXPECT_EQ(out.substr(0, out.find('\n')), R"({"ok": false, "error": "usage", "message": "malformed JSON at byte 1: syntax error while parsing value - invalid literal"})");
}

TEST(Batch, AnOverlongLineIsRefusedAndTheRunGoesOn) {
    const std::string input = "{\"page\": \"weekday\", \"fields\": [\"" +
                              std::string(kMaxBatchLine + 10, '7') + "\", \"1\", \"1\"]}\n" +
                              R"({"page": "uptime", "fields": ["0"]})" + "\n";
    const std::string out = BatchOver(input);
    EXPECT_EQ(out, "{\"ok\": false, \"error\": \"usage\", \"message\": \"the line is longer than " +
                       std::to_string(kMaxBatchLine) + " bytes\"}\n" +
                       R"({"ok": true, "texts": ["0時間 0分 0秒 "]})" + "\n");
}

}  // namespace
}  // namespace vesk::cli
