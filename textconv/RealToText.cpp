// Real-to-text: the general format with 15 significant digits.

#include <charconv>
#include <cmath>
#include <cstring>

#include "textconv/Conversions.h"
#include "textconv/NumberFormat.h"

namespace vesk {
namespace {

constexpr int kDigits = 15;

// The significant digits of |x| > 0 rounded to 15, half away from zero on the
// exact value, without trailing zeros; *exponent is E with |x| = 0.d1d2... * 10^E.
std::string SignificantDigits(double magnitude, int* exponent) {
    // 17 digits, correctly rounded: enough to decide the 15-digit rounding
    // unless digits 16 and 17 read exactly "50".
    char buffer[800];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                std::chars_format::scientific, kDigits + 1);
    if (buffer[kDigits + 1] == '5' && buffer[kDigits + 2] == '0') {
        // The exact expansion has at most 767 significant digits.
        result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                               std::chars_format::scientific, 780);
    }
    // buffer: "d.ddd...de[+-]xx"
    const char* e = static_cast<const char*>(std::memchr(buffer, 'e', static_cast<std::size_t>(result.ptr - buffer)));
    int decimalExponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), result.ptr, decimalExponent);
    std::string digits;
    digits.reserve(kDigits + 1);
    digits += buffer[0];
    digits.append(buffer + 2, kDigits - 1);
    const bool roundUp = buffer[kDigits + 1] >= '5';  // the 16th significant digit
    *exponent = decimalExponent + 1;
    if (roundUp) {
        int k = kDigits - 1;
        while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9') {
            digits[static_cast<std::size_t>(k--)] = '0';
        }
        if (k < 0) {
            digits.assign(1, '1');
            ++*exponent;
        } else {
            ++digits[static_cast<std::size_t>(k)];
        }
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    return digits;
}

}  // namespace

std::string RealToText(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return "INF";
    if (value == 0) return "0";
    const char separator = DecimalSeparator();
    int e = 0;
    const std::string digits = SignificantDigits(std::fabs(value), &e);
    std::string text = value < 0 ? "-" : "";
    if (e > kDigits || e < -3) {
        text += digits[0];
        if (digits.size() > 1) {
            text += separator;
            text.append(digits, 1);
        }
        text += 'E';
        text += std::to_string(e - 1);
    } else if (e > 0) {
        const auto whole = static_cast<std::size_t>(e);  // [1, 15]
        if (digits.size() <= whole) {
            text += digits;
            text.append(whole - digits.size(), '0');
        } else {
            text.append(digits, 0, whole);
            text += separator;
            text.append(digits, whole);
        }
    } else {
        text += '0';
        text += separator;
        text.append(static_cast<std::size_t>(-e), '0');
        text += digits;
    }
    return text;
}

}  // namespace vesk
