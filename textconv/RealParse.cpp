// Real parse: a field text to an extended real.

#include "textconv/Conversions.h"
#include "textconv/Failures.h"
#include "textconv/MessageText.h"
#include "textconv/NumberFormat.h"
#include "numeric/PowersOfTen.h"

namespace vesk {
namespace {

[[noreturn]] void RejectReal(std::string_view text) {
    throw EConvertError(FillMessage(kRealParseMessage, text));
}

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

}  // namespace

Extended RealParse(std::string_view text) {
    const char separator = DecimalSeparator();
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && text[i] == ' ') ++i;

    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    // Mantissa digits as one integer: exact in 64 bits while it fits, then in
    // extended, each multiplication by 10 and each addition rounded.
    std::uint64_t exact = 0;
    bool inExtended = false;
    Extended value;
    const Extended ten = Extended::FromUnsigned(10);
    long long fractionDigits = 0;
    bool mantissaSeen = false;
    auto takeDigit = [&](char c) {
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (!inExtended) {
            if (exact <= (UINT64_MAX - 9) / 10) {
                exact = exact * 10 + digit;
                return;
            }
            inExtended = true;
            value = Extended::FromUnsigned(exact);
        }
        if (value.IsFinite()) value = value * ten + Extended::FromUnsigned(digit);
    };
    for (; i < n && IsDigit(text[i]); ++i) {
        takeDigit(text[i]);
        mantissaSeen = true;
    }
    if (i < n && text[i] == separator) {
        ++i;
        mantissaSeen = true;
        for (; i < n && IsDigit(text[i]); ++i) {
            takeDigit(text[i]);
            ++fractionDigits;
        }
    }
    if (!mantissaSeen) RejectReal(text);

    long long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool exponentNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) exponentNegative = text[i++] == '-';
        // Digits are taken while the exponent is below 500: at most 4999.
        for (; i < n && IsDigit(text[i]) && exponent < 500; ++i) {
            exponent = exponent * 10 + (text[i] - '0');
        }
        if (exponentNegative) exponent = -exponent;
    }
    while (i < n && text[i] == ' ') ++i;
    if (i != n) RejectReal(text);

    if (!inExtended) value = Extended::FromUnsigned(exact);
    if (!value.IsFinite()) RejectReal(text);  // the digits alone overflowed

    const long long scale = exponent - fractionDigits;  // [-(digits + 4999), 4999]
    if (scale <= -5120) {
        value = Extended();
    } else if (scale != 0) {
        value = pow10::Scale(value, static_cast<int>(scale));
        if (!value.IsFinite()) RejectReal(text);
    }
    return negative ? -value : value;
}

}  // namespace vesk
