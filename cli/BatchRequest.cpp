#include "cli/BatchRequest.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "cli/ByteScan.h"
#include "cli/Json.h"

namespace vesk::cli {
namespace {

using namespace std::string_view_literals;

// Bytes that a string holds as they are: printable ASCII but the quote and
// the backslash.
constexpr auto kPlainByte = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x7F; ++c) plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
    return plain;
}();

// The first byte at `p` that is not printable ASCII or is a quote or a
// backslash, or `end`.
inline const char* SkipPlainBytes(const char* p, const char* end) {
    // Most strings of a request are short (keys, numbers): a few bytes one by
    // one first.
    for (const char* const stop = p + std::min<std::ptrdiff_t>(end - p, 8); p < stop; ++p) {
        if (!kPlainByte[static_cast<unsigned char>(*p)]) return p;
    }
    return SkipStringRun<true>(p, end);
}

// JSON's blanks.
constexpr auto kBlank = [] {
    std::array<bool, 256> blank{};
    for (const char c : {' ', '\t', '\r', '\n'}) blank[static_cast<unsigned char>(c)] = true;
    return blank;
}();

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// [0, 0xFFFF]: four hex digits, checked.
unsigned HexValue(const char* p) {
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = p[i];
        value = value * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    return value;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// What the reader found where it expected something else, for a message.
std::string Found(const char* p, const char* end) {
    if (p == end) return "the end of the line";
    const auto c = static_cast<unsigned char>(*p);
    if (c > 0x20 && c < 0x7F) return "'" + std::string(1, static_cast<char>(c)) + "'";
    static constexpr char kHex[] = "0123456789ABCDEF";
    return std::string("byte 0x") + kHex[c >> 4] + kHex[c & 0xF];
}

// Whole numbers of "start": the value of a JSON number token that is a whole
// number within +-10^15 (2024, 2024.0, 2.024e3, -0), else nothing.
std::optional<std::int64_t> WholeNumber(std::string_view token) {
    bool negative = false;
    if (token.front() == '-') {
        negative = true;
        token.remove_prefix(1);
    }
    // The significant digits and the power of ten they are scaled by.
    std::string_view integer = token, fraction;
    std::int64_t exponent = 0;
    if (const auto e = token.find_first_of("eE"); e != std::string_view::npos) {
        std::string_view digits = token.substr(e + 1);
        bool minus = false;
        if (digits.front() == '+' || digits.front() == '-') {
            minus = digits.front() == '-';
            digits.remove_prefix(1);
        }
        for (const char c : digits) {
            exponent = std::min<std::int64_t>(exponent * 10 + (c - '0'), 1'000'000);  // saturates
        }
        if (minus) exponent = -exponent;
        integer = token.substr(0, e);
    }
    if (const auto dot = integer.find('.'); dot != std::string_view::npos) {
        fraction = integer.substr(dot + 1);
        integer = integer.substr(0, dot);
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
    while (!integer.empty() && integer.front() == '0') integer.remove_prefix(1);
    // value = digits(integer fraction) * 10^(exponent - |fraction|)
    std::string_view digits = integer;
    std::string joined;
    if (!fraction.empty()) {
        joined.assign(integer).append(fraction);
        digits = joined;
        while (!digits.empty() && digits.front() == '0') digits.remove_prefix(1);
    }
    std::int64_t scale = exponent - static_cast<std::int64_t>(fraction.size());
    while (!digits.empty() && digits.back() == '0') {  // trailing zeros of the integer part
        digits.remove_suffix(1);
        ++scale;
    }
    if (digits.empty()) return 0;
    if (scale < 0) return std::nullopt;  // a fraction remains
    if (static_cast<std::int64_t>(digits.size()) + scale > 15) return std::nullopt;
    std::int64_t value = 0;  // below 10^15
    for (const char c : digits) value = value * 10 + (c - '0');
    for (std::int64_t i = 0; i < scale; ++i) value *= 10;
    return negative ? -value : value;
}

class Reader {
  public:
    Reader(std::string_view line, BatchRequest& request)
        : begin_(line.data()), end_(line.data() + line.size()), request_(request) {}

    void Read() {
        const char* p = Blanks(begin_);
        if (p < end_ && *p == '{') {
            p = TopObject(p);
        } else {
            p = Value(p, 0);
        }
        p = Blanks(p);
        if (p != end_)
            FailExpected(p, "the end of the line after the JSON value");
    }

  private:
    [[noreturn, gnu::cold, gnu::noinline]] void Fail(const char* at, std::string_view what) const {
        request_.object = false;  // no id for a line that is not JSON
        throw UsageError{"malformed JSON at byte " + std::to_string(at - begin_ + 1) + ": " +
                         std::string(what)};
    }

    const char* Blanks(const char* p) const {
        while (p < end_ && kBlank[static_cast<unsigned char>(*p)]) ++p;
        return p;
    }

    const char* Expect(const char* p, char c, const char* what) const {
        p = Blanks(p);
        if (p == end_ || *p != c) [[unlikely]] FailExpected(p, what);
        return p + 1;
    }

    [[noreturn, gnu::cold, gnu::noinline]] void FailExpected(const char* p, const char* what) const {
        Fail(p, std::string("expected ") + what + ", found " + Found(p, end_));
    }

    // A string at `p` (its opening quote): its text, as a view into the line
    // or, where it has escapes, into the request's storage; returns the byte
    // after its closing quote.
    const char* String(const char* p, std::string_view& text) {
        const char* const start = ++p;
        // Most strings are plain and short: their end is the first byte that
        // is not plain.
        p = SkipPlainBytes(p, end_);
        if (p != end_ && *p == '"') [[likely]] {
            text = std::string_view(start, static_cast<std::size_t>(p - start));
            return p + 1;
        }
        return StringRest(start, p, text);
    }

    // The rest of a string from the first byte that is not plain.
    [[gnu::noinline]] const char* StringRest(const char* start, const char* p, std::string_view& text) {
        for (;;) {
            p = SkipPlainBytes(p, end_);
            if (p == end_) Fail(start - 1, "the string is not closed");
            const auto c = static_cast<unsigned char>(*p);
            if (c == '"') {
                text = std::string_view(start, static_cast<std::size_t>(p - start));
                return p + 1;
            }
            if (c == '\\') return EscapedString(start, p, text);
            p = Other(p);
        }
    }

    // Past a character of a string at `p` that SkipPlainBytes stops at and
    // that is no quote or backslash: DEL, or a well-formed UTF-8 character;
    // anything else is refused.
    const char* Other(const char* p) const {
        const auto c = static_cast<unsigned char>(*p);
        if (c == 0x7F) return p + 1;
        if (c < 0x20) Fail(p, "control character in a string");
        const std::size_t length = Utf8SequenceLength(reinterpret_cast<const unsigned char*>(p),
                                                      reinterpret_cast<const unsigned char*>(end_));
        if (length == 0) Fail(p, "ill-formed UTF-8 in a string");
        return p + length;
    }

    // The rest of a string from its first escape at `p`, unescaped into the
    // storage. The storage is given the line's size once, before its first
    // text: no text is longer unescaped than written, so it never moves and
    // its views stay valid.
    const char* EscapedString(const char* start, const char* p, std::string_view& text) {
        std::string& storage = request_.storage;
        if (storage.capacity() < static_cast<std::size_t>(end_ - begin_)) {
            storage.reserve(static_cast<std::size_t>(end_ - begin_));
        }
        const std::size_t first = storage.size();
        storage.append(start, static_cast<std::size_t>(p - start));
        for (;;) {
            const char* const plain = p;
            p = SkipPlainBytes(p, end_);
            if (p == end_) Fail(start - 1, "the string is not closed");
            const auto c = static_cast<unsigned char>(*p);
            if (c != '"' && c != '\\') {
                p = Other(p);
                storage.append(plain, static_cast<std::size_t>(p - plain));
                continue;
            }
            storage.append(plain, static_cast<std::size_t>(p - plain));
            if (c == '"') break;
            p = Escape(p, &storage);
        }
        text = std::string_view(storage.data() + first, storage.size() - first);
        return p + 1;
    }

    // The escape at `p` (its backslash), appended unescaped to `out` when given.
    const char* Escape(const char* p, std::string* out) const {
        if (end_ - p < 2) Fail(p, "the string is not closed");
        char simple = 0;
        switch (p[1]) {
            case '"':
                simple = '"';
                break;
            case '\\':
                simple = '\\';
                break;
            case '/':
                simple = '/';
                break;
            case 'b':
                simple = '\b';
                break;
            case 'f':
                simple = '\f';
                break;
            case 'n':
                simple = '\n';
                break;
            case 'r':
                simple = '\r';
                break;
            case 't':
                simple = '\t';
                break;
            case 'u':
                break;
            default:
                Fail(p, "invalid escape '\\" + std::string(1, p[1]) + "' in a string");
        }
        if (simple != 0) {
            if (out != nullptr) *out += simple;
            return p + 2;
        }
        const auto unit = [&](const char* at) {
            if (end_ - at < 6 || at[0] != '\\' || at[1] != 'u' || !IsHex(at[2]) || !IsHex(at[3]) ||
                !IsHex(at[4]) || !IsHex(at[5])) {
                Fail(at, "'\\u' must be followed by 4 hex digits");
            }
            return HexValue(at + 2);
        };
        char32_t code = unit(p);
        if (code >= 0xDC00 && code <= 0xDFFF)
            Fail(p, "a low surrogate '\\u" + std::string(p + 2, 4) + "' without a high one");
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (end_ - p < 12 || p[6] != '\\' || p[7] != 'u')
                Fail(p, "a high surrogate '\\u" + std::string(p + 2, 4) + "' without a low one");
            const unsigned low = unit(p + 6);
            if (low < 0xDC00 || low > 0xDFFF)
                Fail(p + 6, "a high surrogate must be followed by a low one");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            p += 6;
        }
        if (out != nullptr) AppendUtf8(*out, code);
        return p + 6;
    }

    // A string checked and passed over.
    const char* SkipString(const char* p) {
        const char* const start = p++;
        for (;;) {
            p = SkipPlainBytes(p, end_);
            if (p == end_) Fail(start, "the string is not closed");
            const auto c = static_cast<unsigned char>(*p);
            if (c == '"') return p + 1;
            p = c == '\\' ? Escape(p, nullptr) : Other(p);
        }
    }

    // A number token at `p`, checked (RFC 8259's grammar; any size).
    const char* Number(const char* p) const {
        const char* const start = p;
        const auto digits = [&](const char* q) {
            while (q < end_ && *q >= '0' && *q <= '9') ++q;
            return q;
        };
        if (p < end_ && *p == '-') ++p;
        if (p == end_ || *p < '0' || *p > '9') Fail(start, "invalid number");
        p = *p == '0' ? p + 1 : digits(p);
        if (p < end_ && *p == '.') {
            const char* const after = digits(p + 1);
            if (after == p + 1) Fail(start, "invalid number: no digit after '.'");
            p = after;
        }
        if (p < end_ && (*p == 'e' || *p == 'E')) {
            ++p;
            if (p < end_ && (*p == '+' || *p == '-')) ++p;
            const char* const after = digits(p);
            if (after == p) Fail(start, "invalid number: no digit in the exponent");
            p = after;
        }
        if (p < end_ && (*p >= '0' && *p <= '9')) Fail(start, "invalid number: a leading zero");
        return p;
    }

    const char* Literal(const char* p) const {
        for (const std::string_view word : {"true"sv, "false"sv, "null"sv}) {
            if (static_cast<std::size_t>(end_ - p) >= word.size() &&
                std::string_view(p, word.size()) == word) {
                return p + word.size();
            }
        }
        FailExpected(p, "a JSON value");
    }

    // Any value at or after blanks at `p`, checked and passed over; `depth` is
    // the number of arrays and objects around it.
    const char* Value(const char* p, int depth) {
        p = Blanks(p);
        if (p == end_) Fail(p, "expected a JSON value, found the end of the line");
        switch (*p) {
            case '"':
                return SkipString(p);
            case '{':
                return Container(p, depth, true);
            case '[':
                return Container(p, depth, false);
            case '-':
            case '0':
            case '1':
            case '2':
            case '3':
            case '4':
            case '5':
            case '6':
            case '7':
            case '8':
            case '9':
                return Number(p);
            default:
                return Literal(p);
        }
    }

    // An object or array at `p`, checked and passed over.
    const char* Container(const char* p, int depth, bool object) {
        if (depth == kMaxBatchNesting) Nested(p);
        const char close = object ? '}' : ']';
        p = Blanks(p + 1);
        if (p < end_ && *p == close) return p + 1;
        for (;;) {
            if (object) {
                p = Blanks(p);
                if (p == end_ || *p != '"')
                    FailExpected(p, "a string key");
                p = Expect(SkipString(p), ':', "':' after the key");
            }
            p = Blanks(Value(p, depth + 1));
            if (p < end_ && *p == ',') {
                ++p;
                continue;
            }
            if (p < end_ && *p == close) return p + 1;
            FailExpected(p, close == '}' ? "',' or '}'" : "',' or ']'");
        }
    }

    [[noreturn]] void Nested(const char* p) const {
        request_.object = false;
        throw UsageError{"JSON nested deeper than " + std::to_string(kMaxBatchNesting) +
                         " levels at byte " + std::to_string(p - begin_ + 1)};
    }

    // The request: the line's object, its known keys read, the rest checked.
    const char* TopObject(const char* p) {
        BatchRequest& r = request_;
        r.object = true;
        p = Blanks(p + 1);
        if (p < end_ && *p == '}') return p + 1;
        for (;;) {
            p = Blanks(p);
            if (p == end_ || *p != '"') FailExpected(p, "a string key");
            std::string_view key;
            p = Expect(String(p, key), ':', "':' after the key");
            p = Member(Blanks(p), key);
            p = Blanks(p);
            if (p < end_ && *p == ',') {
                ++p;
                continue;
            }
            if (p < end_ && *p == '}') return p + 1;
            FailExpected(p, "',' or '}'");
        }
    }

    // The value of a member of the request at `p` (after blanks). A repeated
    // key counts with its last value, as in a parsed object.
    const char* Member(const char* p, std::string_view key) {
        BatchRequest& r = request_;
        const bool string = p < end_ && *p == '"';
        const bool array = p < end_ && *p == '[';
        // By length first: most lines have page, fields and an id.
        switch (key.size()) {
            case 2:
                if (key == "id"sv) {
                    const char* const end = Value(p, 1);
                    r.id = std::string_view(p, static_cast<std::size_t>(end - p));
                    return end;
                }
                break;
            case 4:
                if (key == "page"sv) {
                    r.page = string ? Presence::kGood : Presence::kBad;
                    return string ? String(p, r.pageName) : Value(p, 1);
                }
                break;
            case 5:
                if (key == "start"sv) {
                    r.startCount = 0;
                    r.start = array ? Presence::kGood : Presence::kBad;
                    return array ? Start(p) : Value(p, 1);
                }
                break;
            case 6:
                if (key == "fields"sv) {
                    r.fieldCount = 0;
                    r.fields = array ? Presence::kGood : Presence::kBad;
                    return array ? Fields(p) : Value(p, 1);
                }
                if (key == "closed"sv) return Strings(p, array, r.closed, r.closedArray);
                break;
            case 7:
                if (key == "yearEnd"sv) return Boolean(p, r.yearEnd, r.yearEndValue);
                if (key == "weekend"sv) return Strings(p, array, r.weekend, r.weekendArray);
                break;
            case 9:
                if (key == "separator"sv) {
                    r.separator = string ? Presence::kGood : Presence::kBad;
                    return string ? String(p, r.separatorText) : Value(p, 1);
                }
                if (key == "inclusive"sv) return Boolean(p, r.inclusive, r.inclusiveValue);
                break;
            default:
                break;
        }
        if (!r.unknownKey || BoundedText(key) < *r.unknownKey) r.unknownKey = BoundedText(key);
        return Value(p, 1);
    }

    // The elements of an array at `p`, each read by `element` at its first
    // byte (after blanks).
    template <typename Element>
    const char* Elements(const char* p, Element&& element) {
        p = Blanks(p + 1);
        if (p < end_ && *p == ']') return p + 1;
        for (;;) {
            p = Blanks(element(Blanks(p)));
            if (p < end_ && *p == ',') {
                ++p;
                continue;
            }
            if (p < end_ && *p == ']') return p + 1;
            FailExpected(p, "',' or ']'");
        }
    }

    const char* Fields(const char* p) {
        BatchRequest& r = request_;
        return Elements(p, [&](const char* q) {
            const std::size_t i = r.fieldCount++;
            if (q < end_ && *q == '"') {
                // Beyond kMaxPageFields only the count is kept, which is all
                // the message of a wrong count needs.
                std::string_view text;
                q = String(q, text);
                if (i < kMaxPageFields) r.fieldTexts[i] = text;
                return q;
            }
            r.fields = Presence::kBad;
            return Value(q, 2);
        });
    }

    const char* Start(const char* p) {
        BatchRequest& r = request_;
        return Elements(p, [&](const char* q) {
            const std::size_t i = r.startCount++;
            if (q < end_ && (*q == '-' || (*q >= '0' && *q <= '9'))) {
                const char* const end = Number(q);
                const std::optional<std::int64_t> value =
                    WholeNumber(std::string_view(q, static_cast<std::size_t>(end - q)));
                if (!value) r.start = Presence::kBad;
                if (i < 3) r.startParts[i] = value.value_or(0);
                return end;
            }
            r.start = Presence::kBad;
            return Value(q, 2);
        });
    }

    // An array of strings: its JSON text, read again by ForEachString.
    const char* Strings(const char* p, bool array, Presence& presence, std::string_view& text) {
        presence = array ? Presence::kGood : Presence::kBad;
        const char* const end = array ? Elements(p,
                                                 [&](const char* q) {
                                                     if (q == end_ || *q != '"')
                                                         presence = Presence::kBad;
                                                     return Value(q, 2);
                                                 })
                                      : Value(p, 1);
        text = std::string_view(p, static_cast<std::size_t>(end - p));
        return end;
    }

    const char* Boolean(const char* p, Presence& presence, bool& value) {
        const char* const end = Value(p, 1);
        const std::string_view token(p, static_cast<std::size_t>(end - p));
        presence = token == "true"sv || token == "false"sv ? Presence::kGood : Presence::kBad;
        value = token == "true"sv;
        return end;
    }

    const char* const begin_;
    const char* const end_;
    BatchRequest& request_;
};

}  // namespace

void ReadBatchRequest(std::string_view line, BatchRequest& request) {
    request.Reset();
    if (const void* nul = std::memchr(line.data(), '\0', line.size()); nul != nullptr) {
        throw UsageError{"malformed JSON at byte " +
                         std::to_string(static_cast<const char*>(nul) - line.data() + 1) +
                         ": a NUL byte"};
    }
    Reader(line, request).Read();
}

const char* UnescapeChecked(const char* p, std::string& out) {
    ++p;
    for (;;) {
        const char c = *p;
        if (c == '"') return p + 1;
        if (c != '\\') {
            out += c;
            ++p;
            continue;
        }
        const char kind = p[1];
        if (kind != 'u') {
            constexpr std::string_view from = "\"\\/bfnrt", to = "\"\\/\b\f\n\r\t";
            out += to[from.find(kind)];
            p += 2;
            continue;
        }
        char32_t code = HexValue(p + 2);
        p += 6;
        if (code >= 0xD800 && code <= 0xDBFF) {  // checked: a low surrogate follows
            code = 0x10000 + ((code - 0xD800) << 10) + (HexValue(p + 2) - 0xDC00);
            p += 6;
        }
        AppendUtf8(out, code);
    }
}

}  // namespace vesk::cli
