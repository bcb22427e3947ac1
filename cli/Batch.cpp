#include "cli/Batch.h"
#include "cli/BatchRequest.h"

#include <nlohmann/json.hpp>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <vector>

#include "cli/CalendarCommand.h"
#include "datecalc/DateValue.h"
#include "cli/Pages.h"
#include "cli/Separator.h"
#include "datecalc/PageComputations.h"
#include "textconv/Failures.h"
#include "textconv/NumberFormat.h"

namespace vesk::cli {
namespace {

using namespace std::string_view_literals;

using nlohmann::json;

// ---------------------------------------------------------------------------
// Answers: JSON text appended straight to the output buffer.

// The length of the well-formed UTF-8 sequence (no overlong forms, no
// surrogates, nothing beyond U+10FFFF) that starts at p[0] >= 0x80; 0 when
// there is none.
std::size_t Utf8SequenceLength(const unsigned char* p, const unsigned char* end) {
    const unsigned char c = *p;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < length || p[1] < low || p[1] > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (p[k] < 0x80 || p[k] > 0xBF) return 0;
    }
    return length;
}

// A JSON string literal: UTF-8 kept as it is, the control characters, the
// quote and the backslash escaped (the short forms where JSON has them), and
// invalid UTF-8 replaced by U+FFFD as the JSON library does it.
void AppendQuoted(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::size_t mark = out.size();
    out += '"';
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = begin + text.size();
    const unsigned char* plain = begin;  // start of the bytes not yet copied
    for (const unsigned char* p = begin; p < end;) {
        const unsigned char c = *p;
        if (c >= 0x80) {
            // Most answers are Japanese: three-byte characters without the
            // edge cases of E0 and ED first.
            if (c >= 0xE1 && c <= 0xEF && c != 0xED && end - p >= 3 && (p[1] & 0xC0) == 0x80 &&
                (p[2] & 0xC0) == 0x80) {
                p += 3;
                continue;
            }
            const std::size_t length = Utf8SequenceLength(p, end);
            if (length == 0) {
                out.resize(mark);
                out += json(std::string(text)).dump(-1, ' ', false, json::error_handler_t::replace);
                return;
            }
            p += length;
            continue;
        }
        if (c >= 0x20 && c != '"' && c != '\\') {
            ++p;
            continue;
        }
        out.append(reinterpret_cast<const char*>(plain), static_cast<std::size_t>(p - plain));
        plain = ++p;
        switch (c) {
            case '"': out += "\\\""sv; break;
            case '\\': out += "\\\\"sv; break;
            case '\b': out += "\\b"sv; break;
            case '\f': out += "\\f"sv; break;
            case '\n': out += "\\n"sv; break;
            case '\r': out += "\\r"sv; break;
            case '\t': out += "\\t"sv; break;
            default: {
                const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
                out.append(escape, sizeof escape);
            }
        }
    }
    out.append(reinterpret_cast<const char*>(plain), static_cast<std::size_t>(end - plain));
    out += '"';
}

void AppendTexts(std::string& out, const std::vector<std::string>& texts) {
    out += '[';
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i != 0) out += ", "sv;
        AppendQuoted(out, texts[i]);
    }
    out += ']';
}

// The end of an answer: the line's id, if it has one, and the closing brace.
void AppendEnd(std::string& out, std::string_view id) {
    if (!id.empty()) {
        out += ", \"id\": "sv;
        out += id;
    }
    out += "}\n"sv;
}

void AppendSucceeded(std::string& out, const std::vector<std::string>& texts, std::string_view id) {
    out += "{\"ok\": true, \"texts\": "sv;
    AppendTexts(out, texts);
    AppendEnd(out, id);
}

// A failure's answer; the calendar adds the grid as the failure left it.
void AppendFailed(std::string& out, std::string_view error, std::string_view message, std::string_view id,
                  const std::vector<std::string>* texts = nullptr) {
    out += "{\"ok\": false, \"error\": "sv;
    AppendQuoted(out, error);
    out += ", \"message\": "sv;
    AppendQuoted(out, message);
    if (texts != nullptr) {
        out += ", \"texts\": "sv;
        AppendTexts(out, *texts);
    }
    AppendEnd(out, id);
}

// ---------------------------------------------------------------------------
// Requests: read by SAX events straight from the line, without a tree; the
// checks then run in the order, and with the messages, of the request format.

// Room kept free in the output buffer before a line is answered: enough for the
// memory failure's answer, so that it never needs to allocate.
constexpr std::size_t kAnswerRoom = 256;  // the most any page takes (span)

// Walks the line and remembers which byte the parser read last, so that the
// raw text of the "id" value can be copied as the line wrote it.
class TrackingIterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    TrackingIterator() = default;
    TrackingIterator(const char* at, const char** last) : at_(at), last_(last) {}
    reference operator*() const {
        *last_ = at_;
        return *at_;
    }
    TrackingIterator& operator++() {
        ++at_;
        return *this;
    }
    TrackingIterator operator++(int) {
        TrackingIterator before = *this;
        ++at_;
        return before;
    }
    bool operator==(const TrackingIterator& other) const { return at_ == other.at_; }
    bool operator!=(const TrackingIterator& other) const { return at_ != other.at_; }

private:
    const char* at_ = nullptr;
    const char** last_ = nullptr;
};

enum class Key { kPage, kFields, kSeparator, kStart, kId, kOther };

// The SAX handler: fills a Request from the events of one line.
class RequestReader {
public:
    RequestReader(std::string_view line, const char** last, BatchRequest& request)
        : line_(line), last_(last), request_(request) {}

    // Set when the parse stopped: what was wrong, with its byte position.
    const std::string& Problem() const { return problem_; }

    bool null() { return Scalar(Kind::kOther); }
    bool boolean(bool) { return Scalar(Kind::kOther); }
    bool number_integer(json::number_integer_t value) { return Integer(value); }
    bool number_unsigned(json::number_unsigned_t value) {
        return Integer(value > 9999 ? std::int64_t{0} : static_cast<std::int64_t>(value));
    }
    bool number_float(json::number_float_t, const std::string&) { return Scalar(Kind::kNumber); }
    bool binary(json::binary_t&) { return Scalar(Kind::kOther); }

    bool string(std::string& value) {
        if (depth_ == 1) {
            switch (key_) {
                case Key::kPage:
                    request_.page = Presence::kGood;
                    request_.pageName.swap(value);
                    break;
                case Key::kSeparator:
                    request_.separator = Presence::kGood;
                    request_.separatorText.swap(value);
                    break;
                default: return Scalar(Kind::kString);
            }
            return true;
        }
        if (depth_ == 2 && key_ == Key::kFields) {
            if (request_.fieldCount < kMaxPageFields) request_.fieldTexts.emplace_back().swap(value);
            ++request_.fieldCount;
            return true;
        }
        return Scalar(Kind::kString);
    }

    bool start_object(std::size_t) { return Open(false); }
    bool start_array(std::size_t) { return Open(true); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }

    bool key(std::string& name) {
        // Only the top level's keys are read; deeper ones belong to a value.
        if (depth_ != 1) return true;
        key_ = name == "page"        ? Key::kPage
               : name == "fields"    ? Key::kFields
               : name == "separator" ? Key::kSeparator
               : name == "start"     ? Key::kStart
               : name == "id"        ? Key::kId
                                     : Key::kOther;
        // A repeated key counts with its last value, as in a parsed object.
        switch (key_) {
            case Key::kPage: request_.page = Presence::kBad; break;
            case Key::kFields:
                request_.fields = Presence::kBad;
                request_.fieldTexts.clear();
                request_.fieldCount = 0;
                break;
            case Key::kSeparator: request_.separator = Presence::kBad; break;
            case Key::kStart:
                request_.hasStartKey = true;
                request_.start = Presence::kBad;
                request_.startCount = 0;
                break;
            case Key::kId: {
                // The value starts after the key's closing quote, JSON's blanks
                // and the colon.
                std::size_t at = static_cast<std::size_t>(*last_ - line_.data()) + 1;
                while (at < line_.size() && (line_[at] == ' ' || line_[at] == '\t' || line_[at] == '\r' ||
                                             line_[at] == '\n' || line_[at] == ':')) {
                    ++at;
                }
                idStart_ = at;
                break;
            }
            case Key::kOther:
                if (!request_.unknownKey || BoundedText(name) < *request_.unknownKey) {
                    request_.unknownKey = BoundedText(name);
                }
                break;
        }
        return true;
    }

    bool parse_error(std::size_t position, const std::string& lastToken, const nlohmann::detail::exception& e) {
        problem_ = "malformed JSON at byte " + std::to_string(position) + ": " + Reason(e, lastToken);
        return false;
    }

private:
    enum class Kind { kString, kNumber, kOther };

    // A scalar that is not a string the request reads directly.
    bool Scalar(Kind kind) {
        if (depth_ == 1 && key_ == Key::kId) EndId(kind == Kind::kNumber);
        if (depth_ == 2 && key_ == Key::kFields) {
            request_.fields = Presence::kBad;  // not a string
            ++request_.fieldCount;
        }
        if (depth_ == 2 && key_ == Key::kStart) {
            request_.start = Presence::kBad;
            ++request_.startCount;
        }
        return true;
    }

    bool Integer(std::int64_t value) {
        if (depth_ == 2 && key_ == Key::kStart) {
            if (request_.startCount < 3) request_.startParts[request_.startCount] = value;
            ++request_.startCount;
            return true;
        }
        return Scalar(Kind::kNumber);
    }

    bool Open(bool array) {
        if (depth_ == kMaxBatchNesting) {
            problem_ = "JSON nested deeper than " + std::to_string(kMaxBatchNesting) + " levels at byte " +
                       std::to_string(*last_ - line_.data() + 1);
            return false;
        }
        if (depth_ == 0) request_.object = !array;
        if (depth_ == 1) {
            if (array && key_ == Key::kFields) request_.fields = Presence::kGood;
            if (array && key_ == Key::kStart) request_.start = Presence::kGood;
        }
        if (depth_ == 2 && key_ == Key::kFields) {
            request_.fields = Presence::kBad;  // an element that is no string
            ++request_.fieldCount;
        }
        if (depth_ == 2 && key_ == Key::kStart) {
            request_.start = Presence::kBad;
            ++request_.startCount;
        }
        ++depth_;
        return true;
    }

    bool Close() {
        --depth_;
        if (depth_ == 1 && key_ == Key::kId) EndId(false);
        return true;
    }

    // The id's value has ended with the byte read last; a number is only
    // known to have ended when the byte after it has been read.
    void EndId(bool number) {
        const std::size_t end = static_cast<std::size_t>(*last_ - line_.data()) + (number ? 0 : 1);
        request_.id = line_.substr(idStart_, end - idStart_);
    }

    // The parser's reason without its prefix and without the text it read,
    // which may be as long as the line.
    static std::string Reason(const nlohmann::detail::exception& e, const std::string& lastToken) {
        if (e.id == 406) return "number out of range";
        std::string_view what = e.what();
        if (const auto at = what.find("syntax error"); at != std::string_view::npos) what.remove_prefix(at);
        const std::string_view read = "; last read: '";
        if (const auto at = what.find(read); at != std::string_view::npos) {
            const std::size_t after = at + read.size() + lastToken.size() + 1;  // and the closing quote
            std::string reason(what.substr(0, at));
            if (after <= what.size()) reason += what.substr(after);
            return reason;
        }
        return std::string(what);
    }

    std::string_view line_;
    const char** last_;
    BatchRequest& request_;
    int depth_ = 0;
    Key key_ = Key::kOther;
    std::size_t idStart_ = 0;
    std::string problem_;
};

// The common request, read without the parser (see PlainRequest).
constexpr auto kPlainByte = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x7F; ++c) plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
    return plain;
}();

// The longest integer id read without the parser: 18 digits always fit the
// parser's integers, so it reads them without complaint.
constexpr std::size_t kMaxPlainIdDigits = 18;

// The JSON blanks that can be inside a line.
inline const char* SkipBlanks(const char* p, const char* end) {
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r')) ++p;
    return p;
}

// The first byte at `p` that is not printable ASCII or is a quote or a
// backslash, or `end`.
inline const char* SkipPlainBytes(const char* p, const char* end) {
    if constexpr (std::endian::native == std::endian::little) {
        // Eight bytes at a time: the strings are short and of every length, and
        // a loop of single bytes mispredicts its end each time. Each test
        // below flags the first byte it is meant for exactly (its false alarms
        // come only in later bytes, from a borrow), so the lowest flag among
        // them all is the first byte that ends the run.
        constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
        const auto zeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
        while (end - p >= 8) {
            std::uint64_t v;
            std::memcpy(&v, p, sizeof v);
            const std::uint64_t stop = zeroByte(v ^ (kOnes * '"')) | zeroByte(v ^ (kOnes * '\\')) |
                                       zeroByte(v ^ (kOnes * 0x7F)) | ((v - kOnes * 0x20) & ~v & kHighs) |
                                       (v & kHighs);
            if (stop != 0) return p + std::countr_zero(stop) / 8;
            p += 8;
        }
    }
    while (p < end && kPlainByte[static_cast<unsigned char>(*p)]) ++p;
    return p;
}

// A string of printable ASCII without escapes at `p`: its text, and the byte
// after its closing quote; nullptr when there is none.
inline const char* PlainString(const char* p, const char* end, std::string_view& text) {
    if (p == end || *p != '"') return nullptr;
    const char* const start = ++p;
    p = SkipPlainBytes(p, end);
    if (p == end || *p != '"') return nullptr;
    text = std::string_view(start, static_cast<std::size_t>(p - start));
    return p + 1;
}

// What follows an item of an array or an object: a comma (`more`), or the
// closing bracket `close`, each after blanks; moves `p` past it. False for
// anything else.
inline bool AfterItem(const char*& p, const char* end, char close, bool& more) {
    p = SkipBlanks(p, end);
    if (p == end || (*p != ',' && *p != close)) return false;
    more = *p++ == ',';
    return true;
}

// An id at `p`: a plain string, quotes included, or an integer without
// leading zeros of at most kMaxPlainIdDigits digits; nullptr when there is none.
const char* PlainId(const char* p, const char* end, std::string_view& text) {
    const char* const start = p;
    if (p < end && *p == '"') {
        std::string_view inside;
        p = PlainString(p, end, inside);
        if (p == nullptr) return nullptr;
    } else {
        if (p < end && *p == '-') ++p;
        const char* const digits = p;
        while (p < end && *p >= '0' && *p <= '9') ++p;
        const auto count = static_cast<std::size_t>(p - digits);
        if (count == 0 || count > kMaxPlainIdDigits || (*digits == '0' && count > 1)) return nullptr;
    }
    text = std::string_view(start, static_cast<std::size_t>(p - start));
    return p;
}

// The general path's request from a plain one.
void CopyPlainRequest(const PlainRequest& plain, BatchRequest& request) {
    request.wellFormed = request.object = true;
    if (plain.hasPage) {
        request.page = Presence::kGood;
        request.pageName.assign(plain.page);
    }
    if (plain.hasSeparator) {
        request.separator = Presence::kGood;
        request.separatorText.assign(plain.separator);
    }
    if (plain.hasFields) {
        request.fields = Presence::kGood;
        for (std::size_t i = 0; i < plain.fieldCount; ++i) request.fieldTexts.emplace_back(plain.fields[i]);
        request.fieldCount = plain.fieldCount;
    }
    request.id = plain.id;
}

// The parser's message for a malformed token quotes the token, several times
// over while it is composed: for a token of megabytes that is many times the
// line. So the long tokens of a long line are checked here first, and a
// malformed one is refused with a message of bounded size.
constexpr std::size_t kLongToken = 64u << 10;

[[noreturn]] void MalformedAt(std::size_t at, const char* what) {
    throw UsageError{"malformed JSON at byte " + std::to_string(at + 1) + ": " + what};
}

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

unsigned HexValue(std::string_view four) {
    unsigned value = 0;
    for (const char c : four) value = value * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    return value;
}

// Checks the string whose opening quote is at `start`; returns the index of
// its closing quote.
std::size_t CheckLongString(std::string_view line, std::size_t start) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    std::size_t i = start + 1;
    while (i < line.size()) {
        const unsigned char c = bytes[i];
        if (c == '"') return i;
        if (c < 0x20) MalformedAt(i, "invalid string: control character in a string");
        if (c >= 0x80) {
            const std::size_t length = Utf8SequenceLength(bytes + i, bytes + line.size());
            if (length == 0) MalformedAt(i, "invalid string: ill-formed UTF-8 byte");
            i += length;
            continue;
        }
        if (c != '\\') {
            ++i;
            continue;
        }
        if (i + 1 >= line.size()) break;
        const char escape = line[i + 1];
        if (escape != 'u') {
            if (std::string_view("\"\\/bfnrt").find(escape) == std::string_view::npos) {
                MalformedAt(i + 1, "invalid string: forbidden character after backslash");
            }
            i += 2;
            continue;
        }
        const auto code = [&](std::size_t at) {
            if (at + 6 > line.size() || line[at] != '\\' || line[at + 1] != 'u' || !IsHex(line[at + 2]) ||
                !IsHex(line[at + 3]) || !IsHex(line[at + 4]) || !IsHex(line[at + 5])) {
                MalformedAt(at, "invalid string: '\\u' must be followed by 4 hex digits");
            }
            return HexValue(line.substr(at + 2, 4));
        };
        const unsigned unit = code(i);
        if (unit >= 0xDC00 && unit <= 0xDFFF) MalformedAt(i, "invalid string: surrogate U+DC00..U+DFFF must follow U+D800..U+DBFF");
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const unsigned low = code(i + 6);
            if (low < 0xDC00 || low > 0xDFFF) MalformedAt(i + 6, "invalid string: surrogate U+D800..U+DBFF must be followed by U+DC00..U+DFFF");
            i += 6;
        }
        i += 6;
    }
    MalformedAt(line.size(), "invalid string: missing closing quote");
}

void CheckLongTokens(std::string_view line) {
    std::size_t numberStart = 0, numberLength = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            numberLength = 0;
            std::size_t end = i + 1;  // the closing quote, or the line's end
            while (end < line.size() && line[end] != '"') end += line[end] == '\\' ? 2u : 1u;
            if (end - i > kLongToken) end = CheckLongString(line, i);
            i = end;
            continue;
        }
        if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E') {
            if (numberLength++ == 0) numberStart = i;
            if (numberLength > kLongToken) MalformedAt(numberStart, "number too long");
        } else {
            numberLength = 0;
        }
    }
}

// Reads a line with the parser, by its events.
void ReadParsedRequest(std::string_view line, BatchRequest& request) {
    request.Reset();
    if (const void* nul = std::memchr(line.data(), '\0', line.size()); nul != nullptr) {
        throw UsageError{"malformed JSON at byte " +
                         std::to_string(static_cast<const char*>(nul) - line.data() + 1) + ": a NUL byte"};
    }
    if (line.size() > kLongToken) CheckLongTokens(line);
    const char* last = line.data();
    RequestReader reader(line, &last, request);
    const TrackingIterator begin(line.data(), &last), end(line.data() + line.size(), &last);
    if (!json::sax_parse(begin, end, &reader)) throw UsageError{reader.Problem()};
    request.wellFormed = true;
}

// Checks a request in the order of the format's rules, with their messages.
void CheckRequest(BatchRequest& request) {
    if (!request.object) throw UsageError{"each line must be a JSON object with \"page\" and \"fields\""};
    if (request.page != Presence::kGood) throw UsageError{"\"page\" must be a string"};
    if (request.hasStartKey && request.pageName != "calendar") {
        if (!request.unknownKey || std::string("start") < *request.unknownKey) request.unknownKey = "start";
    }
    if (request.unknownKey) throw UsageError{"unknown key \"" + *request.unknownKey + "\""};
    if (request.fields != Presence::kGood) throw UsageError{"\"fields\" must be an array of strings"};
    if (request.separator != Presence::kAbsent) {
        if (request.separator == Presence::kBad || request.separatorText.size() != 1) {
            throw UsageError{"\"separator\" must be a string of one byte"};
        }
        if (!IsUsableSeparator(request.separatorText)) {
            throw UsageError{"\"separator\" must be a printable ASCII character other than a digit, a sign, "
                             "a blank, e, E, $, x or X"};
        }
    }
}

// Reads the request of a line, already read when `plain` is given. Raises
// UsageError for a line that is no request, with the first problem in the
// order of the checks above.
void ReadRequest(std::string_view line, const PlainRequest* plain, BatchRequest& request) {
    if (plain != nullptr) {
        CopyPlainRequest(*plain, request);
    } else {
        ReadParsedRequest(line, request);
    }
    CheckRequest(request);
}

// The calendar's "start": [year, month, day], a valid date.
TDateTime StartDate(const BatchRequest& request) {
    const char* problem = "\"start\" must be a date [year, month, day] from [1, 1, 1] to [9999, 12, 31]";
    if (request.start != Presence::kGood || request.startCount != 3) throw UsageError{problem};
    std::uint16_t parts[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::int64_t part = request.startParts[i];
        if (part < 1 || part > 9999) throw UsageError{problem};
        parts[i] = static_cast<std::uint16_t>(part);
    }
    try {
        return MakeDateValue(parts[0], parts[1], parts[2]);
    } catch (const EConvertError&) {
        throw UsageError{problem};
    }
}

void Answer(std::string_view line, const PlainRequest* plain, BatchRequest& request, std::string& out) {
    try {
        ReadRequest(line, plain, request);
    } catch (const UsageError& e) {
        AppendFailed(out, "usage", e.message, request.AnswerId());
        return;
    }
    const std::string_view id = request.AnswerId();
    std::optional<ThreadDecimalSeparator> separator;
    if (request.separator == Presence::kGood) separator.emplace(request.separatorText[0]);
    try {
        // Beyond kMaxPageFields only the count is kept, which is all the
        // message of a wrong count needs.
        const bool tooMany = request.fieldCount > request.fieldTexts.size();
        if (request.pageName == "calendar") {
            const TDateTime start = request.start != Presence::kAbsent ? StartDate(request) : Today();
            if (tooMany) throw UsageError{CalendarFieldCountMessage(request.fieldCount)};
            TMonthModel calendar;
            calendar.Start(start);
            const std::exception_ptr failure = ApplyCalendarFields(calendar, request.fieldTexts);
            const std::vector<std::string> rows = CalendarRowTexts(calendar);
            if (!failure) return AppendSucceeded(out, rows, id);
            try {
                std::rethrow_exception(failure);
            } catch (const Exception& e) {
                return AppendFailed(out, e.ClassName(), e.Message(), id, &rows);
            }
        }
        AppendSucceeded(out, RunPage(request.pageName, request.fieldTexts, request.fieldCount), id);
    } catch (const UsageError& e) {
        AppendFailed(out, "usage", e.message, id);
    } catch (const Exception& e) {
        AppendFailed(out, e.ClassName(), e.Message(), id);
    }
}

}  // namespace

void ReadBatchRequest(std::string_view line, BatchRequest& request) {
    request.Reset();
    PlainRequest plain;
    ReadRequest(line, ReadPlainRequest(line, plain) ? &plain : nullptr, request);
}

bool ReadPlainRequest(std::string_view line, PlainRequest& request) {
    // The views of the fields are left as they are: only the first
    // fieldCount count.
    request.fieldCount = 0;
    request.id = {};
    request.hasPage = request.hasFields = request.hasSeparator = false;
    const char* p = line.data();
    const char* const end = p + line.size();
    p = SkipBlanks(p, end);
    if (p == end || *p++ != '{') return false;
    for (bool more = true; more;) {
        std::string_view key;
        p = PlainString(SkipBlanks(p, end), end, key);
        if (p == nullptr) return false;
        p = SkipBlanks(p, end);
        if (p == end || *p++ != ':') return false;
        p = SkipBlanks(p, end);
        if (key == "page" && !request.hasPage) {
            p = PlainString(p, end, request.page);
            request.hasPage = true;
        } else if (key == "fields" && !request.hasFields) {
            if (p == end || *p++ != '[') return false;
            p = SkipBlanks(p, end);
            if (p < end && *p == ']') {
                ++p;
            } else {
                for (bool more = true; more;) {
                    if (request.fieldCount == kMaxPageFields) return false;
                    p = PlainString(p, end, request.fields[request.fieldCount++]);
                    if (p == nullptr || !AfterItem(p, end, ']', more)) return false;
                    p = SkipBlanks(p, end);
                }
            }
            request.hasFields = true;
        } else if (key == "separator" && !request.hasSeparator) {
            p = PlainString(p, end, request.separator);
            request.hasSeparator = true;
        } else if (key == "id" && request.id.empty()) {
            p = PlainId(p, end, request.id);
        } else {
            return false;
        }
        if (p == nullptr || !AfterItem(p, end, '}', more)) return false;
    }
    return SkipBlanks(p, end) == end;
}

bool AppendPlainAnswer(const PlainRequest& request, std::string& out) {
    if (!request.hasPage || !request.hasFields) return false;
    if (request.hasSeparator && (request.separator.size() != 1 || !IsUsableSeparator(request.separator))) {
        return false;
    }
    const char runSeparator = DecimalSeparator();
    const char separator = request.hasSeparator ? request.separator[0] : runSeparator;
    if (separator == '"' || separator == '\\') return false;  // would need an escape in the answer
    enum class Page { kWeekday, kSpan, kAfter } page;
    const std::string_view name = request.page;
    const std::size_t count = request.fieldCount;
    if (name == "weekday" && count == 3) {
        page = Page::kWeekday;
    } else if (name == "span" && count == 6) {
        page = Page::kSpan;
    } else if (name == "after" && count == 4) {
        page = Page::kAfter;
    } else {
        return false;
    }
    std::optional<ThreadDecimalSeparator> lineSeparator;
    if (separator != runSeparator) lineSeparator.emplace(separator);
    const auto& f = request.fields;
    // The values first: a failure is answered before anything is written.
    try {
        switch (page) {
            case Page::kWeekday: {
                const std::int32_t index = WeekdayPageIndex(f[0], f[1], f[2]);
                out += "{\"ok\": true, \"texts\": [\""sv;
                AppendWeekdaySentence(out, f[0], f[1], f[2], index);
                break;
            }
            case Page::kSpan: {
                const DaySpanValues values = DaySpanPageValues(f[0], f[1], f[2], f[3], f[4], f[5]);
                out += "{\"ok\": true, \"texts\": [\""sv;
                AppendDaySpanCount(out, values.count);
                out += "\", \""sv;
                AppendDaySpanApprox(out, values.span);
                break;
            }
            case Page::kAfter: {
                const RealDate date = DateAfterPageDate(f[0], f[1], f[2], f[3]);
                out += "{\"ok\": true, \"texts\": [\""sv;
                AppendDateAfterSentence(out, date);
                break;
            }
        }
    } catch (const Exception& e) {
        AppendFailed(out, e.ClassName(), e.Message(), request.id);
        return true;
    }
    out += "\"]"sv;
    AppendEnd(out, request.id);
    return true;
}

void AppendBatchTexts(std::string& out, const std::vector<std::string>& texts, std::string_view id) {
    AppendSucceeded(out, texts, id);
}

void AppendParsedBatchAnswer(std::string_view line, std::string& out) {
    BatchRequest request;
    Answer(line, nullptr, request, out);
}

void AppendBatchAnswer(std::string_view line, std::string& out) {
    const std::size_t mark = out.size();
    // The request's buffers are kept from line to line on each thread.
    thread_local BatchRequest request;
    thread_local PlainRequest plain;
    plain.id = {};  // no id of an earlier line for a memory failure before the read
    bool general = false;  // the line is answered by the general path
    try {
        if (out.capacity() - out.size() < kAnswerRoom) out.reserve(out.size() + kAnswerRoom);
        const bool isPlain = ReadPlainRequest(line, plain);
        if (isPlain && AppendPlainAnswer(plain, out)) return;
        general = true;
        request.Reset();
        Answer(line, isPlain ? &plain : nullptr, request, out);
        // A huge line leaves no huge buffers behind.
        if (request.pageName.capacity() > 4096) std::string().swap(request.pageName);
        for (std::string& text : request.fieldTexts) {
            if (text.capacity() > 4096) std::string().swap(text);
        }
    } catch (const std::bad_alloc&) {
        // Whatever of the answer was written goes; the memory failure's answer
        // is short, and the buffer has room for it unless it was empty.
        out.resize(mark);
        const std::string_view id = general ? request.AnswerId() : plain.id;
        request = BatchRequest{};
        try {
            AppendFailed(out, OutOfMemoryFailure().ClassName(), OutOfMemoryFailure().Message(), id);
        } catch (const std::bad_alloc&) {
            // A huge id may not fit; the answer without it does (see kAnswerRoom).
            out.resize(mark);
            AppendFailed(out, OutOfMemoryFailure().ClassName(), OutOfMemoryFailure().Message(), {});
        }
    }
}

std::string AnswerBatchLine(std::string_view line) {
    std::string out;
    AppendBatchAnswer(line, out);
    if (!out.empty()) out.pop_back();  // the line break
    return out;
}

}  // namespace vesk::cli
