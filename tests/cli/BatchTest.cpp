// The batch format's requests: ids, separators, malformed lines, bounds, the
// one reader held against an independent JSON reader; and the stream
// answered on several threads against one.

#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "cli/Batch.h"
#include "cli/Separator.h"
#include "textconv/NumberFormat.h"

namespace vesk::cli {
namespace {

constexpr const char* kUsagePrefix = R"({"ok": false, "error": "usage", "message": ")";

constexpr const char* kUptimeZero =
    R"({"ok": true, "texts": ["0時間 0分 0秒 "], "values": {"hours": 0, "minutes": 0, "seconds": 0})";

TEST(BatchId, IsCopiedAsWrittenAfterEveryKindOfAnswer) {
    const std::string ok = kUptimeZero;
    const std::pair<std::string, std::string> cases[] = {
        // any JSON value, as the line wrote it
        {R"({"id": 7, "page": "uptime", "fields": ["0"]})", ok + R"(, "id": 7})"},
        {R"({"page": "uptime", "fields": ["0"], "id": 1.50e0})", ok + R"(, "id": 1.50e0})"},
        {R"({"page": "uptime", "fields": ["0"], "id" :  "a\u00e9\"" })",
         ok + R"(, "id": "a\u00e9\""})"},
        {R"({"page": "uptime", "fields": ["0"], "id":{"run": [1, {"x": null}], "n": -0}})",
         ok + R"(, "id": {"run": [1, {"x": null}], "n": -0}})"},
        {R"({"page": "uptime", "id": [], "fields": ["0"]})", ok + R"(, "id": []})"},
        // numbers beyond any machine's, and of any length: JSON has no limit
        {R"({"page": "uptime", "fields": ["0"], "id": 1e400})", ok + R"(, "id": 1e400})"},
        {R"({"page": "uptime", "fields": ["0"], "id": -1E-400})", ok + R"(, "id": -1E-400})"},
        {R"({"page": "uptime", "fields": ["0"], "id": 1)" + std::string(70000, '0') + "}",
         ok + R"(, "id": 1)" + std::string(70000, '0') + "}"},
        // JSON's blanks before the value are not part of it
        {"{\"page\": \"uptime\", \"fields\": [\"0\"], \"id\":\t\r\n 4}", ok + R"(, "id": 4})"},
        {R"({"page": "uptime", "id": true, "id": false, "fields": ["0"]})",
         ok + R"(, "id": false})"},  // the last one counts
        // failures keep it too
        {R"({"page": "weekday", "fields": ["abc", "1", "1"], "id": "x"})",
         R"({"ok": false, "error": "EConvertError", "message": "'abc' は数値ではありません", "id": "x"})"},
        {R"({"page": "moon", "fields": [], "id": 3})",
         R"({"ok": false, "error": "usage", "message": "unknown page 'moon'", "id": 3})"},
        {R"({"page": "weekday", "fields": [1], "id": null})",
         R"({"ok": false, "error": "usage", "message": "\"fields\" must be an array of strings", "id": null})"},
        // a line that is not a JSON object has none to give back
        {R"({"page": "uptime", "fields": ["0"], "id": 1)",
         R"({"ok": false, "error": "usage", "message": "malformed JSON at byte 44: expected ',' or '}', found the end of the line"})"},
        {R"([{"id": 1}])",
         R"({"ok": false, "error": "usage", "message": "each line must be a JSON object with \"page\" and \"fields\""})"},
    };
    for (const auto& [line, answer] : cases) {
        SCOPED_TRACE(line.substr(0, 80));
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
    const std::string oneAndAHalf =
        R"({"ok": true, "texts": ["  2001年 1月 1,5日です。"], "values": {"year": 2001, "month": 1, "day": 1.5, "date": null}})";
    EXPECT_EQ(AnswerBatchLine(after + R"(, "separator": ","})"), oneAndAHalf);
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
    EXPECT_EQ(AnswerBatchLine(after + "}"), oneAndAHalf);
    EXPECT_EQ(
        AnswerBatchLine(
            R"({"page": "after", "fields": ["2001", "1", "1", "0.5"], "separator": "."})"),
        R"({"ok": true, "texts": ["  2001年 1月 1.5日です。"], "values": {"year": 2001, "month": 1, "day": 1.5, "date": null}})");
    EXPECT_EQ(DecimalSeparator(), ',');
    SetDecimalSeparator('.');
}

TEST(BatchMalformed, SaysWhatIsWrongAndWhere) {
    const std::string uptime = R"({"page": "uptime", "fields": ["0"], "id": )";  // 42 bytes
    const std::pair<std::string, std::string> cases[] = {
        // values and structure
        {"not json", "malformed JSON at byte 1: expected a JSON value, found 'n'"},
        {"", "malformed JSON at byte 1: expected a JSON value, found the end of the line"},
        {"  \t", "malformed JSON at byte 4: expected a JSON value, found the end of the line"},
        {R"({"page": "weekday" "fields": []})",
         "malformed JSON at byte 20: expected ',' or '}', found '\\\"'"},
        {R"({page: 1})", "malformed JSON at byte 2: expected a string key, found 'p'"},
        {R"({"page" 1})", "malformed JSON at byte 9: expected ':' after the key, found '1'"},
        {R"({"page": "uptime", "fields": ["0"],})",
         "malformed JSON at byte 36: expected a string key, found '}'"},
        {R"({"page": "uptime", "fields": ["0",]})",
         "malformed JSON at byte 35: expected a JSON value, found ']'"},
        {R"({"page": "uptime", "fields": ["0" "1"]})",
         "malformed JSON at byte 35: expected ',' or ']', found '\\\"'"},
        {R"({"page": "uptime", "fields": ["0"]} x)",
         "malformed JSON at byte 37: expected the end of the line after the JSON value, found 'x'"},
        {R"({"page": "uptime", "fields": ["0"]}})",
         "malformed JSON at byte 36: expected the end of the line after the JSON value, found '}'"},
        {uptime + "tru}", "malformed JSON at byte 43: expected a JSON value, found 't'"},
        {uptime + "{\"a\": 1 2}", "malformed JSON at byte 51: expected ',' or '}', found '2'"},
        {"{\"page\": \xff}", "malformed JSON at byte 10: expected a JSON value, found byte 0xFF"},
        // strings
        {"{\"page\": \"weekday\", \"fields\": [\"\xff\"]}",
         "malformed JSON at byte 33: ill-formed UTF-8 in a string"},
        {"{\"page\": \"\xe3\x81\"}",
         "malformed JSON at byte 11: ill-formed UTF-8 in a string"},  // cut short
        {"{\"page\": \"\xed\xa0\x80\"}",
         "malformed JSON at byte 11: ill-formed UTF-8 in a string"},  // a surrogate
        {"{\"page\": \"\xc0\xaf\"}",
         "malformed JSON at byte 11: ill-formed UTF-8 in a string"},  // overlong
        {"{\"page\": \"a\tb\"}", "malformed JSON at byte 12: control character in a string"},
        {R"({"page": "uptime)", "malformed JSON at byte 10: the string is not closed"},
        {R"({"page": "up\)", "malformed JSON at byte 13: the string is not closed"},
        {uptime + R"("\q"})", "malformed JSON at byte 44: invalid escape '\\\\q' in a string"},
        {uptime + R"("\u12"})",
         "malformed JSON at byte 44: '\\\\u' must be followed by 4 hex digits"},
        {uptime + R"("\ud800"})",
         "malformed JSON at byte 44: a high surrogate '\\\\ud800' without a low one"},
        {uptime + R"("\ud800\u0041"})",
         "malformed JSON at byte 50: a high surrogate must be followed by a low one"},
        {uptime + R"("\udc00"})",
         "malformed JSON at byte 44: a low surrogate '\\\\udc00' without a high one"},
        // numbers
        {uptime + "01}", "malformed JSON at byte 43: invalid number: a leading zero"},
        {uptime + "1.}", "malformed JSON at byte 43: invalid number: no digit after '.'"},
        {uptime + "-}", "malformed JSON at byte 43: invalid number"},
        {uptime + "1e}", "malformed JSON at byte 43: invalid number: no digit in the exponent"},
        {uptime + "+1}", "malformed JSON at byte 43: expected a JSON value, found '+'"},
        {uptime + ".5}", "malformed JSON at byte 43: expected a JSON value, found '.'"},
        // a raw NUL ends nothing: the whole line is refused
        {std::string(R"({"page": "weekday", "fields": ["2001", "1", "1"]})") + '\0' +
             R"({"page": "span"})",
         "malformed JSON at byte 50: a NUL byte"},
        {std::string("{\"page\": \"weekday\", \"fields\": [\"2001\0\", \"1\", \"1\"]}", 51),
         "malformed JSON at byte 37: a NUL byte"},
        // long tokens of a long line: the message does not quote them
        {R"({"page": ")" + std::string(100000, 'y'),
         "malformed JSON at byte 10: the string is not closed"},
        {uptime + "\"" + std::string(70000, 'y') + "\\q\"}",
         "malformed JSON at byte 70044: invalid escape '\\\\q' in a string"},
        // nesting is refused while the line is read, wherever it is
        {std::string(100000, '['), "JSON nested deeper than 16 levels at byte 17"},
        {uptime + std::string(16, '[') + std::string(16, ']') + "}",
         "JSON nested deeper than 16 levels at byte 58"},
        {[&] {
             std::string objects = uptime;
             for (int i = 0; i < 8; ++i) objects += R"([{"a": )";  // two levels, 7 bytes
             return objects;
         }(),
         "JSON nested deeper than 16 levels at byte 93"},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line.substr(0, 80));
        EXPECT_EQ(AnswerBatchLine(line), kUsagePrefix + message + "\"}");
    }
    // A long valid string is read like any other.
    const std::string longId = "\"" + std::string(70000, 'y') + "\\u00e9\\ud83d\\ude00\\n\"";
    EXPECT_EQ(AnswerBatchLine(uptime + longId + "}"),
              std::string(kUptimeZero) + R"(, "id": )" + longId + "}");
    // Fifteen levels inside the line's object are still a request.
    const std::string deep = std::string(15, '[') + std::string(15, ']');
    EXPECT_EQ(AnswerBatchLine(uptime + deep + "}"),
              std::string(kUptimeZero) + R"(, "id": )" + deep + "}");
}

TEST(BatchRequest, ReadsAsTheParsedObjectWouldButBoundsWhatItKeeps) {
    std::string manyFields = R"({"page": "weekday", "fields": [)";
    for (int i = 0; i < 100000; ++i) manyFields += i == 0 ? R"("")" : R"(, "")";
    const std::string longName(100000, 'k');
    const std::pair<std::string, std::string> cases[] = {
        // a repeated key counts with its last value
        {R"({"page": "span", "page": "uptime", "fields": ["1", "2"], "fields": ["0"]})",
         kUptimeZero + std::string("}")},
        // keys and texts written with escapes read as their texts
        {R"({"p\u0061ge": "upti\u006de", "fields": ["\u0030"]})", kUptimeZero + std::string("}")},
        {R"({"page": "weekday", "fields": ["2001", "1", "\u0031\""]})",
         R"({"ok": false, "error": "EConvertError", "message": "'1\"' は数値ではありません"})"},
        // the first unknown key in byte order, "start" beyond the calendar included
        {R"({"zz": 1, "page": "uptime", "fields": ["0"], "start": [1, 1, 1], "b": {}})",
         std::string(kUsagePrefix) + R"(unknown key \"b\""})"},
        {R"({"page": "uptime", "fields": ["0"], "start": [1, 1, 1], "t": 0})",
         std::string(kUsagePrefix) + R"(unknown key \"start\""})"},
        // only the count of fields beyond any page's is kept
        {manyFields + "]}",
         std::string(kUsagePrefix) +
             "weekday takes 3 fields (year, month, day) or a date, not 100000\"}"},
        {R"({"page": "calendar", "fields": ["1", "1", "1", "1", "1", "1", "1"], "start": [2001, 1, 1]})",
         std::string(kUsagePrefix) +
             "calendar takes 3 fields (year, month, day) or a date, not 7\"}"},
        // "start" takes whole numbers however they are written
        {R"({"page": "calendar", "fields": ["2024", "1", "31"], "start": [2024.0, 1e0, 0.31e2]})",
         AnswerBatchLine(
             R"({"page": "calendar", "fields": ["2024", "1", "31"], "start": [2024, 1, 31]})")},
        {R"({"page": "calendar", "fields": ["2024", "1", "31"], "start": [2.024e3, 10e-1, 31]})",
         AnswerBatchLine(
             R"({"page": "calendar", "fields": ["2024", "1", "31"], "start": [2024, 1, 31]})")},
        {R"({"page": "calendar", "fields": ["2024", "1", "31"], "start": [2024.5, 1, 31]})",
         std::string(kUsagePrefix) +
             R"(\"start\" must be a date [year, month, day] from [1, 1, 1] to [9999, 12, 31]"})"},
        {R"({"page": "calendar", "fields": ["2024", "1", "31"], "start": [1e400, 1, 31]})",
         std::string(kUsagePrefix) +
             R"(\"start\" must be a date [year, month, day] from [1, 1, 1] to [9999, 12, 31]"})"},
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

TEST(BatchAnswer, QuotesEveryCharacterAsAJsonWriterDoes) {
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

// The reader is held against an independent JSON reader: random lines, made
// of valid requests cut, spliced and with bytes changed, are refused as
// malformed exactly when that reader refuses them (but for numbers beyond a
// double, which it refuses and JSON does not, and nesting, which this one
// bounds), and every id of a line that is an object comes back as the same
// value.
TEST(BatchReader, JudgesLinesAsAnIndependentJsonReaderDoes) {
    const std::string seeds[] = {
        R"({"page": "span", "fields": ["2001", "1", "1", "2024", "2", "29"], "separator": ".", "id": 7})",
        R"({"id": {"a": [1, -2.5e3, true, null, "x\n\u00e9\ud83d\ude00"]}, "page": "weekday", "fields": ["令和", "1", "1"]})",
        R"({"page": "calendar", "fields": ["2024", "2", "30"], "start": [2024, 1, 31], "zz": [[], {}]})",
        R"(["a", 0, 1.0, -0e-0, "\"\\\/\b\f\r\t"])",
    };
    // No NUL byte: that reader takes it for the end of the input (this one
    // refuses it, see above).
    const std::string alphabet = "{}[]:,\"\\ 0123456789.eE+-tfnulrsa\t\x7f\xc3\xa9\xe3\x81\xff";
    std::mt19937 random(19);
    std::size_t malformed = 0, rounds = 0;
    for (; rounds < 60000; ++rounds) {
        std::string line = seeds[random() % std::size(seeds)];
        for (std::size_t edits = 1 + random() % 3; edits > 0; --edits) {
            const std::size_t at = random() % (line.size() + 1);
            switch (random() % 4) {
                case 0:
                    line.insert(at, 1, alphabet[random() % alphabet.size()]);
                    break;
                case 1:
                    if (at < line.size()) line.erase(at, 1);
                    break;
                case 2:
                    if (at < line.size()) line[at] = alphabet[random() % alphabet.size()];
                    break;
                default: {
                    const std::string& other = seeds[random() % std::size(seeds)];
                    line = line.substr(0, at) + other.substr(random() % other.size());
                    break;
                }
            }
        }
        SCOPED_TRACE(line);
        const nlohmann::json answer = nlohmann::json::parse(AnswerBatchLine(line));
        const std::string message = answer.value("message", "");
        const bool refused = message.rfind("malformed JSON at byte ", 0) == 0;
        const nlohmann::json request = nlohmann::json::parse(line, nullptr, false);
        bool outOfRange = false;
        if (request.is_discarded()) {
            try {
                const nlohmann::json again = nlohmann::json::parse(line);
                ADD_FAILURE() << "parsed the second time: " << again;
            } catch (const nlohmann::json::out_of_range&) {
                outOfRange = true;
            } catch (const nlohmann::json::parse_error&) {
            }
        }
        if (outOfRange || message.rfind("JSON nested deeper", 0) == 0) continue;
        ASSERT_EQ(refused, request.is_discarded()) << message;
        if (refused) ++malformed;
        if (request.is_object() && request.contains("id")) {
            ASSERT_EQ(answer.at("id"), request["id"]);
        }
    }
    // Both kinds were met often.
    EXPECT_GT(malformed, rounds / 20);
    EXPECT_GT(rounds - malformed, rounds / 20);
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
