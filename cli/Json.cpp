#include "cli/Json.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <system_error>

#include "cli/ByteScan.h"
#include "japanese/CivilDate.h"

namespace vesk::cli {

using namespace std::string_view_literals;

std::size_t Utf8SequenceLength(const unsigned char* p, const unsigned char* end) noexcept {
    const unsigned char c = *p;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) low = 0xA0;   // no overlong forms
        if (c == 0xED) high = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < length || p[1] < low || p[1] > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (p[k] < 0x80 || p[k] > 0xBF) return 0;
    }
    return length;
}

namespace {

// The escape of a byte that a JSON string cannot hold as it is.
void AppendEscape(std::string& out, unsigned char c) {
    static constexpr char kHex[] = "0123456789abcdef";
    switch (c) {
        case '"':
            out += "\\\""sv;
            break;
        case '\\':
            out += "\\\\"sv;
            break;
        case '\b':
            out += "\\b"sv;
            break;
        case '\f':
            out += "\\f"sv;
            break;
        case '\n':
            out += "\\n"sv;
            break;
        case '\r':
            out += "\\r"sv;
            break;
        case '\t':
            out += "\\t"sv;
            break;
        default: {
            const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
            out.append(escape, sizeof escape);
        }
    }
}

}  // namespace

void AppendQuotedUtf8(std::string& out, std::string_view text) {
    out += '"';
    AppendEscapedUtf8(out, text);
    out += '"';
}

namespace {

// The first byte of `text` that a JSON string must escape, or its end.
const char* FirstToEscape(const char* p, const char* end) { return SkipStringRun<false>(p, end); }

}  // namespace

void AppendEscapedUtf8(std::string& out, std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const char* plain = p;  // start of the bytes not yet copied
    for (;;) {
        p = FirstToEscape(p, end);
        if (p == end) break;
        out.append(plain, static_cast<std::size_t>(p - plain));
        AppendEscape(out, static_cast<unsigned char>(*p));
        plain = ++p;
    }
    out.append(plain, static_cast<std::size_t>(end - plain));
}

void EscapeTail(std::string& out, std::size_t from) {
    const char* const begin = out.data() + from;
    const char* const end = out.data() + out.size();
    const char* const first = FirstToEscape(begin, end);
    if (first == end) return;
    const std::string tail(first, end);
    out.resize(static_cast<std::size_t>(first - out.data()));
    AppendEscapedUtf8(out, tail);
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = begin + text.size();
    const unsigned char* plain = begin;  // start of the bytes not yet copied
    const auto flush = [&](const unsigned char* upTo) {
        out.append(reinterpret_cast<const char*>(plain), static_cast<std::size_t>(upTo - plain));
    };
    for (const unsigned char* p = begin; p < end;) {
        const unsigned char c = *p;
        if (c >= 0x80) {
            // Most texts are Japanese: three-byte characters without the edge
            // cases of E0 and ED first.
            if (c >= 0xE1 && c <= 0xEF && c != 0xED && end - p >= 3 && (p[1] & 0xC0) == 0x80 &&
                (p[2] & 0xC0) == 0x80) {
                p += 3;
                continue;
            }
            const std::size_t length = Utf8SequenceLength(p, end);
            if (length != 0) {
                p += length;
                continue;
            }
            flush(p);
            out += "\xEF\xBF\xBD"sv;  // U+FFFD for the byte
            plain = ++p;
            continue;
        }
        if (c >= 0x20 && c != '"' && c != '\\') {
            ++p;
            continue;
        }
        flush(p);
        plain = ++p;
        AppendEscape(out, c);
    }
    flush(end);
    out += '"';
}

char* WriteInteger(char* p, std::int64_t value) noexcept { return japanese::WriteInteger(p, value); }

char* WriteNumber(char* p, double value) noexcept {
    // Whole numbers below 2^53 in magnitude are their integers' digits, which
    // is also the shortest text of the real; most of the pages' values are.
    constexpr double kExact = 9007199254740992.0;  // 2^53
    if (value > -kExact && value < kExact) {
        const auto whole = static_cast<std::int64_t>(value);  // toward zero; -0 becomes 0
        if (static_cast<double>(whole) == value) return WriteInteger(p, whole);
    }
    return std::to_chars(p, p + kNumberRoom, value).ptr;
}

void AppendNumber(std::string& out, double value) {
    char digits[kNumberRoom];
    out.append(digits, static_cast<std::size_t>(WriteNumber(digits, value) - digits));
}

void AppendNumber(std::string& out, std::int64_t value) {
    char digits[kNumberRoom];
    out.append(digits, static_cast<std::size_t>(WriteInteger(digits, value) - digits));
}

char* WriteIsoDate(char* p, std::chrono::year_month_day date) noexcept {
    const auto year = static_cast<unsigned>(static_cast<int>(date.year()));  // [1, 9999]
    const unsigned month = static_cast<unsigned>(date.month()), day = static_cast<unsigned>(date.day());
    *p++ = '"';
    *p++ = static_cast<char>('0' + year / 1000);
    *p++ = static_cast<char>('0' + year / 100 % 10);
    *p++ = static_cast<char>('0' + year / 10 % 10);
    *p++ = static_cast<char>('0' + year % 10);
    *p++ = '-';
    *p++ = static_cast<char>('0' + month / 10);
    *p++ = static_cast<char>('0' + month % 10);
    *p++ = '-';
    *p++ = static_cast<char>('0' + day / 10);
    *p++ = static_cast<char>('0' + day % 10);
    *p++ = '"';
    return p;
}

void AppendIsoDate(std::string& out, std::chrono::year_month_day date) {
    char text[kIsoDateRoom];
    out.append(text, static_cast<std::size_t>(WriteIsoDate(text, date) - text));
}

std::string& JsonMembers::Element() {
    if (!first_) out_ += ", "sv;
    first_ = false;
    return out_;
}

}  // namespace vesk::cli
