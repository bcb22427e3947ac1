// Integer parse, integer-to-text and the date texts.

#include <cstdio>

#include "textconv/Conversions.h"
#include "textconv/Failures.h"
#include "textconv/MessageText.h"

namespace vesk {
namespace {

int HexDigitValue(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

[[noreturn]] void RejectInteger(std::string_view text) {
    throw EConvertError(FillMessage(kIntegerParseMessage, text));
}

}  // namespace

std::int32_t IntegerParse(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;

    bool hexadecimal = false;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    } else if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hexadecimal = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hexadecimal = true;
        i += 2;
    }
    if (i == n) RejectInteger(text);  // nothing after the blanks, sign or prefix

    if (hexadecimal) {
        std::uint32_t value = 0;
        int significant = 0;  // digits after the leading zeros, at most 8
        for (; i < n; ++i) {
            const int digit = HexDigitValue(text[i]);
            if (digit < 0) RejectInteger(text);
            if (significant > 0 || digit != 0) {
                if (++significant > 8) RejectInteger(text);
                value = (value << 4) | static_cast<std::uint32_t>(digit);
            }
        }
        return static_cast<std::int32_t>(value);  // two's complement: 80000000 .. FFFFFFFF < 0
    }

    // Magnitude limit: 2147483647, or 2147483648 with a "-".
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    std::uint64_t magnitude = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') RejectInteger(text);
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');  // < 2^35 here
        if (magnitude > limit) RejectInteger(text);
    }
    // Negation through unsigned arithmetic: -2147483648 has no positive twin.
    const auto bits = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
    return static_cast<std::int32_t>(bits);
}

std::string IntegerToText(std::int32_t value) { return std::to_string(value); }

std::string DateText(const LocalDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d %02d %02d", date.year, date.month, date.day);
    return text;
}

std::string TodayAsText() { return DateText(ReadLocalDate()); }

}  // namespace vesk
