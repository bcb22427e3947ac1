// The batch format's requests: ids, separators, malformed lines, bounds; and
// the stream answered on several threads against one.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "cli/Batch.h"
#include "cli/BatchRequest.h"
#include "cli/Separator.h"
#include "textconv/NumberFormat.h"

namespace vesk::cli {
namespace {

constexpr const char* kUsagePrefix = R"({"ok": false, "error": "usage", "message": ")";

TEST(BatchId, IsCopiedAsWrittenAfterEveryKindOfAnswer) {
    const std::pair<const char*, const char*> cases[] = {
        // any JSON value, as the line wrote it
        {R"({"id": 7, "page": "uptime", "fields": ["0"]})", R"({"ok": true, "texts": ["0時間 0分 0秒 "], "id": 7})"},
        {R"({"page": "uptime", "fields": ["0"], "id": 1.50e0})", R"({"ok": true, "texts": ["0時間 0分 0秒 "], "id": 1.50e0})"},
        {R"({"page": "uptime", "fields": ["0"], "id" :  "a\u00e9\"" })",
         R"({"ok": true, "texts": ["0時間 0分 0秒 "], "id": "a\u00e9\""})"},
        {R"({"page": "uptime", "fields": ["0"], "id":{"run": [1, {"x": null}], "n": -0}})",
         R"({"ok": true, "texts": ["0時間 0分 0秒 "], "id": {"run": [1, {"x": null}], "n": -0}})"},
        {R"({"page": "uptime", "id": [], "fields": ["0"]})", R"({"ok": true, "texts": ["0時間 0分 0秒 "], "id": []})"},
        // JSON's blanks before the value are not part of it
        {"{\"page\": \"uptime\", \"fields\": [\"0\"], \"id\":\t\r\n 4}",
         R"({"ok": true, "texts": ["0時間 0分 0秒 "], "id": 4})"},
        {R"({"page": "uptime", "id": true, "id": false, "fields": ["0"]})",
         R"({"ok": true, "texts": ["0時間 0分 0秒 "], "id": false})"},  // the last one counts
        // failures keep it too
        {R"({"page": "weekday", "fields": ["abc", "1", "1"], "id": "x"})",
         R"({"ok": false, "error": "EConvertError", "message": "'abc' は数値ではありません", "id": "x"})"},
        {R"({"page": "moon", "fields": [], "id": 3})",
         R"({"ok": false, "error": "usage", "message": "unknown page 'moon'", "id": 3})"},
        {R"({"page": "weekday", "fields": [1], "id": null})",
         R"({"ok": false, "error": "usage", "message": "\"fields\" must be an array of strings", "id": null})"},
        // a line that is not a JSON object has none to give back
        {R"({"page": "uptime", "fields": ["0"], "id": 1)",
         R"({"ok": false, "error": "usage", "message": "malformed JSON at byte 44: syntax error while parsing object - unexpected end of input; expected '}'"})"},
        {R"([{"id": 1}])",
         R"({"ok": false, "error": "usage", "message": "each line must be a JSON object with \"page\" and \"fields\""})"},
    };
    for (const auto& [line, answer] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(AnswerBatchLine(line), answer);
    }
}

TEST(BatchSeparator, OnlyBytesThatCannotBeInANumber) {
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const bool usable = byte > ' ' && byte < 0x7F && !(byte >= '0' && byte <= '9') &&
                            std::string_view("+-eE$xX").find(c) == std::string_view::npos;
        EXPECT_EQ(IsUsableSeparator(std::string_view(&c, 1)), usable) << byte;
    }
    EXPECT_FALSE(IsUsableSeparator(""));
    EXPECT_FALSE(IsUsableSeparator(",,"));
    EXPECT_FALSE(IsUsableSeparator("\xC2\xB7"));  // one character, two bytes
}

TEST(BatchSeparator, TheLineKeyIsCheckedAndWinsOverTheRunsSeparator) {
    const std::string after = R"({"page": "after", "fields": ["2001", "1", "1", "0,5"])";
    EXPECT_EQ(AnswerBatchLine(after + R"(, "separator": ","})"), R"({"ok": true, "texts": ["  2001年 1月 1,5日です。"]})");
    EXPECT_EQ(AnswerBatchLine(after + R"(, "separator": ";"})"),
              R"({"ok": false, "error": "EConvertError", "message": "'0,5' は浮動小数点数ではありません"})");
    for (const char* separator : {R"("e")", R"("E")", R"("0")", R"("+")", R"("-")", R"(" ")", R"("$")", R"("x")",
                                  R"("\u0000")", R"("\u007f")", R"("é")", R"("")", R"(",,")", "44"}) {
        SCOPED_TRACE(separator);
        EXPECT_EQ(AnswerBatchLine(after + R"(, "separator": )" + separator + "}").rfind(kUsagePrefix, 0), 0u);
    }
    // The run's separator (--decimal-separator) holds for lines without one;
    // each thread's own separator never leaks into it.
    SetDecimalSeparator(',');
    EXPECT_EQ(AnswerBatchLine(after + "}"), R"({"ok": true, "texts": ["  2001年 1月 1,5日です。"]})");
    EXPECT_EQ(AnswerBatchLine(R"({"page": "after", "fields": ["2001", "1", "1", "0.5"], "separator": "."})"),
              R"({"ok": true, "texts": ["  2001年 1月 1.5日です。"]})");
    EXPECT_EQ(DecimalSeparator(), ',');
    SetDecimalSeparator('.');
}

TEST(BatchMalformed, SaysWhatIsWrongAndWhere) {
    const std::pair<std::string, std::string> cases[] = {
        {"not json", "malformed JSON at byte 2: syntax error while parsing value - invalid literal"},
        {"", "malformed JSON at byte 1: syntax error while parsing value - unexpected end of input; expected '[', '{', "
             "or a literal"},
        {R"({"page": "weekday" "fields": []})",
         "malformed JSON at byte 27: syntax error while parsing object - unexpected string literal; expected '}'"},
        {"{\"page\": \"weekday\", \"fields\": [\"\xff\"]}",
         "malformed JSON at byte 33: syntax error while parsing value - invalid string: ill-formed UTF-8 byte"},
        {R"({"page": "weekday", "fields": ["1", "1", "1"], "id": 1e999})", "malformed JSON at byte 58: number out of range"},
        // a raw NUL ends nothing: the whole line is refused
        {std::string(R"({"page": "weekday", "fields": ["2001", "1", "1"]})") + '\0' + R"({"page": "span"})",
         "malformed JSON at byte 50: a NUL byte"},
        {std::string("{\"page\": \"weekday\", \"fields\": [\"2001\0\", \"1\", \"1\"]}", 51),
         "malformed JSON at byte 37: a NUL byte"},
        // long tokens of a long line: the message does not quote them
        {R"({"page": ")" + std::string(100000, 'y'), "malformed JSON at byte 100011: invalid string: missing closing quote"},
        {R"({"page": "uptime", "fields": ["0"], "id": ")" + std::string(70000, 'y') + "\\q\"}",
         "malformed JSON at byte 70045: invalid string: forbidden character after backslash"},
        {R"({"page": "uptime", "fields": ["0"], "id": ")" + std::string(70000, 'y') + "\\ud800\"}",
         "malformed JSON at byte 70050: invalid string: '\\\\u' must be followed by 4 hex digits"},
        {R"({"page": "uptime", "fields": ["0"], "id": 1)" + std::string(70000, '0') + "}",
         "malformed JSON at byte 43: number too long"},
        // nesting is refused while the line is read, wherever it is
        {std::string(100000, '['), "JSON nested deeper than 16 levels at byte 17"},
        {R"({"page": "uptime", "fields": ["0"], "id": )" + std::string(16, '[') + std::string(16, ']') + "}",
         "JSON nested deeper than 16 levels at byte 58"},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line.substr(0, 80));
        EXPECT_EQ(AnswerBatchLine(line), kUsagePrefix + message + "\"}");
    }
    // A long valid string is the parser's to read.
    const std::string longId = "\"" + std::string(70000, 'y') + "\\u00e9\\ud83d\\ude00\\n\"";
    EXPECT_EQ(AnswerBatchLine(R"({"page": "uptime", "fields": ["0"], "id": )" + longId + "}"),
              R"({"ok": true, "texts": ["0時間 0分 0秒 "], "id": )" + longId + "}");
    // Fifteen levels inside the line's object are still a request.
    const std::string deep = std::string(15, '[') + std::string(15, ']');
    EXPECT_EQ(AnswerBatchLine(R"({"page": "uptime", "fields": ["0"], "id": )" + deep + "}"),
              R"({"ok": true, "texts": ["0時間 0分 0秒 "], "id": )" + deep + "}");
}

TEST(BatchRequest, ReadsAsTheParsedObjectWouldButBoundsWhatItKeeps) {
    std::string manyFields = R"({"page": "weekday", "fields": [)";
    for (int i = 0; i < 100000; ++i) manyFields += i == 0 ? R"("")" : R"(, "")";
    const std::string longName(100000, 'k');
    const std::pair<std::string, std::string> cases[] = {
        // a repeated key counts with its last value
        {R"({"page": "span", "page": "uptime", "fields": ["1", "2"], "fields": ["0"]})",
         R"({"ok": true, "texts": ["0時間 0分 0秒 "]})"},
        // the first unknown key in byte order, "start" beyond the calendar included
        {R"({"zz": 1, "page": "uptime", "fields": ["0"], "start": [1, 1, 1], "b": {}})",
         std::string(kUsagePrefix) + R"(unknown key \"b\""})"},
        {R"({"page": "uptime", "fields": ["0"], "start": [1, 1, 1], "t": 0})",
         std::string(kUsagePrefix) + R"(unknown key \"start\""})"},
        // only the count of fields beyond any page's is kept
        {manyFields + "]}", std::string(kUsagePrefix) + "weekday takes 3 fields, not 100000\"}"},
        {R"({"page": "calendar", "fields": ["1", "1", "1", "1", "1", "1", "1"], "start": [2001, 1, 1]})",
         std::string(kUsagePrefix) + "calendar takes 3 fields (year, month, day), not 7\"}"},
        {R"({"page": "calendar", "fields": ["1", "1", "1", "1", "1", "1", "1"], "start": [2001, 2, 30]})",
         std::string(kUsagePrefix) +
             R"(\"start\" must be a date [year, month, day] from [1, 1, 1] to [9999, 12, 31]"})"},
        // a usage message quotes a bounded part of a huge text
        {R"({"page": ")" + longName + R"(", "fields": []})",
         std::string(kUsagePrefix) + "unknown page '" + std::string(200, 'k') + "...'\"}"},
        {R"({")" + longName + R"(": 1, "page": "uptime", "fields": []})",
         std::string(kUsagePrefix) + R"(unknown key \")" + std::string(200, 'k') + R"(...\""})"},
    };
    for (const auto& [line, answer] : cases) {
        SCOPED_TRACE(line.substr(0, 80));
        EXPECT_EQ(AnswerBatchLine(line), answer);
    }
}

TEST(BatchAnswer, QuotesEveryCharacterAsTheJsonLibraryDoes) {
    // Random texts of controls, quotes, backslashes, DEL and characters of
    // every UTF-8 length, echoed by the failure message of the weekday page.
    std::mt19937 random(7);
    const char32_t picks[] = {0x00, 0x01, 0x08, 0x09, 0x0A, 0x0C, 0x0D, 0x1F, '"', '\\', '/', 0x7F, 'a',
                              0xE9, 0x7FF, 0x800, 0x3042, 0xFFFD, 0xFFFF, 0x10000, 0x1F600, 0x10FFFF};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        for (std::size_t n = random() % 8; n > 0; --n) {
            const char32_t c = picks[random() % std::size(picks)];
            if (c < 0x80) {
                text += static_cast<char>(c);
            } else if (c < 0x800) {
                text += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
            } else if (c < 0x10000) {
                text += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                         static_cast<char>(0x80 | (c & 0x3F))};
            } else {
                text += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                         static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
            }
        }
        const nlohmann::json line = {{"page", "weekday"}, {"fields", {"q" + text, "1", "1"}}};
        const std::string message = "'q" + text + "' は数値ではありません";
        ASSERT_EQ(AnswerBatchLine(line.dump()),
                  R"({"ok": false, "error": "EConvertError", "message": )" + nlohmann::json(message).dump() + "}");
    }
}

// The common lines are read without the parser and answered straight into
// the output; every line must come out as the parser's reading answers it.
std::string ParsedAnswer(const std::string& line) {
    std::string out;
    AppendParsedBatchAnswer(line, out);
    out.pop_back();
    return out;
}

// Every byte at every place of a field text: printable ASCII but the quote and
// the backslash is read without the parser (eight bytes at a time where eight
// are left), and each line is answered as the parser answers it.
TEST(BatchPlainPath, EveryByteOfAFieldAnswersAsTheParserDoes) {
    const std::string shapes[] = {
        R"({"page": "weekday", "fields": ["%", "12", "31"]})",
        R"({"page": "span", "fields": ["2001", "1", "1", "%", "2", "29"]})",
        R"({"fields":["2024","2","29","%"],"page":"after"})",
    };
    for (const std::string& shape : shapes) {
        for (std::size_t at = 0; at < 11; ++at) {
            for (int byte = 0; byte < 256; ++byte) {
                std::string field = "20011231.25";
                field[at] = static_cast<char>(byte);
                std::string line = shape;
                line.replace(line.find('%'), 1, field);
                SCOPED_TRACE(line);
                PlainRequest request;
                const bool plain = byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\';
                ASSERT_EQ(ReadPlainRequest(line, request), plain);
                ASSERT_EQ(AnswerBatchLine(line), ParsedAnswer(line));
            }
        }
    }
}

// The keys, ids, separators, field counts and blanks of the plain form and
// just beyond it, each with the run's separator "." and with those that the
// answer would have to escape.
TEST(BatchPlainPath, RequestsAnswerAsTheParserDoes) {
    const char* fields[] = {
        R"(["2024", "2", "29"])", R"(["2001","1","1","2024","2","29"])", R"(["2024", "2", "29", "-1.5"])",
        R"(["-3", "5", "16.82", "397"])", R"(["abc", "1", "1", "2", "3", "4"])", R"(["1e400", "1", "1", "0"])",
        R"([])", R"(["0"])", R"(["1", "2", "3", "4", "5", "6", "7"])", R"([ "2024" ,"2",	"29" ])",
    };
    const char* pages[] = {"weekday", "span", "after", "uptime", "calendar", "moon", ""};
    const char* extras[] = {
        "", R"(, "separator": ",")", R"(, "separator": ".")", R"(, "separator": "ab")", R"(, "separator": "")",
        R"(, "separator": "e")", R"(, "separator": "\"")", R"(, "separator": "\\")", R"(, "id": 7)",
        R"(, "id": -0)", R"(, "id": 007)", R"(, "id": -)", R"(, "id": 1.5)", R"(, "id": 123456789012345678)",
        R"(, "id": 1234567890123456789)", R"(, "id": "abc")", R"(, "id": "")", R"(, "id": "a\"b")",
        R"(, "id": 1, "id": 2)", R"(, "page": "span")", R"(, "start": [2024, 1, 1])", R"(, "x": 1)",
        "\t,\r\"id\"\t:\r\"t\"\r",
    };
    std::size_t plain = 0, total = 0;
    for (const char run : {'.', '"', '\\', ','}) {
        const ThreadDecimalSeparator separator(run);
        for (const char* page : pages) {
            for (const char* field : fields) {
                for (const char* extra : extras) {
                    const std::string line = std::string(R"({"page": ")") + page + R"(", "fields": )" + field +
                                             extra + "}";
                    SCOPED_TRACE(line);
                    PlainRequest request;
                    if (ReadPlainRequest(line, request)) ++plain;
                    ++total;
                    ASSERT_EQ(AnswerBatchLine(line), ParsedAnswer(line));
                }
            }
        }
    }
    // Both paths were taken.
    EXPECT_GT(plain, 0u);
    EXPECT_LT(plain, total);
}

// Runs the batch mode over `input` with the given options.
std::string BatchOver(const std::string& input, const BatchOptions& options) {
    std::FILE* in = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::fflush(in);
    std::rewind(in);
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(RunBatch(fileno(in), fileno(out), stderr, options), 0);
    std::fclose(in);
    std::rewind(out);
    std::string text;
    char chunk[1 << 16];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, out)) > 0;) text.append(chunk, n);
    std::fclose(out);
    return text;
}

TEST(BatchStream, ChunksAnsweredOnThreadsComeBackInInputOrder) {
    // Every kind of answer, separators that differ from line to line, lines
    // of every length around the chunk size, an overlong line and a last line
    // without its line break.
    const std::vector<std::string> kinds = {
        R"({"page": "span", "fields": ["2001", "1", "1", "%", "3", "1,5"], "separator": ","})",
        R"({"page": "after", "fields": ["%", "1", "1", "0.1"], "id": %})",
        R"({"page": "after", "fields": ["%", "1", "1", "0.1"], "separator": ","})",
        R"({"page": "weekday", "fields": ["%", "1", "x"]})",
        R"({"page": "calendar", "fields": ["%", "2", "30"], "start": [2024, 1, 31]})",
        R"({"page": "span", "fields": ["1e400", "1", "1", "%", "1", "1"]})",
        R"({"page": "moon", "fields": ["%"]})",
        "not json %",
        "",
    };
    std::mt19937 random(310);
    std::string input;
    for (int i = 0; i < 30000; ++i) {
        std::string line = kinds[random() % kinds.size()];
        if (const auto at = line.find('%'); at != std::string::npos) line.replace(at, 1, std::to_string(random() % 3000));
        if (const auto at = line.find('%'); at != std::string::npos) line.replace(at, 1, std::to_string(i));
        input += line + "\n";
        if (i == 20000) input += std::string(kMaxBatchLine + 1, ' ') + "\n";
    }
    input += R"({"page": "uptime", "fields": ["0"]})";

    const std::string one = BatchOver(input, {1, 4096});
    for (const unsigned threads : {2u, 3u}) {
        SCOPED_TRACE(threads);
        ASSERT_EQ(BatchOver(input, {threads, 4096}) == one, true);
    }
    // ... and each answer is the line's own.
    std::size_t in = 0, out = 0, lines = 0;
    while (in < input.size()) {
        std::size_t inEnd = input.find('\n', in);
        if (inEnd == std::string::npos) inEnd = input.size();
        const std::size_t outEnd = one.find('\n', out);
        ASSERT_NE(outEnd, std::string::npos);
        const std::string_view line(input.data() + in, inEnd - in);
        if (line.size() <= kMaxBatchLine) {
            ASSERT_EQ(one.substr(out, outEnd - out), AnswerBatchLine(line)) << "line " << lines;
            // The common form is read without the parser; an escape in a key
            // sends the same request through the parser, with the same answer.
            if (const auto at = line.find(R"("page")"); at != std::string_view::npos) {
                const std::string parsed = std::string(line).replace(at, 6, R"("\u0070age")");
                ASSERT_EQ(AnswerBatchLine(parsed), AnswerBatchLine(line)) << "line " << lines;
            }
        } else {
            ASSERT_EQ(one.substr(out, outEnd - out),
                      std::string(kUsagePrefix) + "the line is longer than 16777216 bytes\"}");
        }
        in = inEnd + 1;
        out = outEnd + 1;
        ++lines;
    }
    EXPECT_EQ(out, one.size());
    EXPECT_EQ(lines, 30002u);
}

}  // namespace
}  // namespace vesk::cli
