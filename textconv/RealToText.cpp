// Real-to-text: the general format with 15 significant digits.
//
// The digits come from the extended scaling that real parse uses: |x| is
// scaled to an 18-digit integer, which is then rounded to 15 digits with the
// 16th digit rounding half up. The two roundings are the format's own: the
// text can differ from the exact value rounded once (by at most one unit of
// the 15th digit), and the stored -11.18 (-11.1799999999999499...) reads
// "-11.18" rather than "-11.1799999999999".

#include <charconv>
#include <cmath>
#include <string_view>

#include "textconv/Conversions.h"
#include "textconv/NumberFormat.h"
#include "numeric/PowersOfTen.h"

namespace vesk {
namespace {

constexpr int kDigits = 15;
constexpr std::uint64_t k1e17 = 100000000000000000ull;
constexpr std::uint64_t k1e18 = 1000000000000000000ull;

// y > 0 rounded to an integer, to nearest with ties to even; y < 2^64.
std::uint64_t RoundToInteger(Extended y) noexcept {
    const int exponent = static_cast<int>(y.BiasedExponent()) - 16383;  // of the top bit
    const std::uint64_t m = y.Mantissa();
    if (exponent >= 63) return m;
    if (exponent < -1) return 0;      // below 1/2
    const int shift = 63 - exponent;  // [1, 64]: bits below the units place
    const std::uint64_t whole = shift == 64 ? 0 : m >> shift;
    const std::uint64_t fraction = shift == 64 ? m : m & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    return whole + ((fraction > half || (fraction == half && (whole & 1u) != 0)) ? 1 : 0);
}

// |x| scaled by 10^(18 - E) and rounded to an integer.
std::uint64_t ScaledDigits(Extended magnitude, int exponent) noexcept {
    return RoundToInteger(pow10::Scale(magnitude, 18 - exponent));
}

// The significant digits of |x| > 0 rounded to 15, without trailing zeros,
// into `digits`; gives their count and sets *exponent to E with
// |x| = 0.d1d2... * 10^E.
int SignificantDigits(double magnitude, char (&digits)[kDigits], int* exponent) {
    const Extended x = Extended::FromDouble(magnitude);           // exact, and never denormal
    const int e2 = static_cast<int>(x.BiasedExponent()) - 16383;  // [-1074, 1023]
    // floor(e2 * 19728 / 65536) + 1, rounding down for negative e2 too: [-323, 308],
    // so the scale 18 - E stays far inside the tables' reach.
    int e = ((e2 * 19728) >> 16) + 1;
    std::uint64_t n = ScaledDigits(x, e);
    if (n < k1e17) {
        // The mended case: for a few tiny values the estimate is one too high
        // and only 17 digits come out, which taken as 18 would lead with a
        // zero. Scale again with E one lower so that there are 18
        // (9.924161033296096e-265 gives "9.9241610332961E-265").
        --e;
        n = ScaledDigits(x, e);
    }
    if (n >= k1e18) {
        n = RoundToInteger(Extended::FromUnsigned(n) / Extended::FromUnsigned(10));
        ++e;
    }
    // n has 18 digits. Round to 15: half up on the 16th digit, carrying.
    std::uint64_t kept = n / 1000;
    if ((n / 100) % 10 >= 5 && ++kept == 1000000000000000ull) {
        kept = 100000000000000ull;
        ++e;
    }
    *exponent = e;
    for (int i = kDigits - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + kept % 10);
        kept /= 10;
    }
    int count = kDigits;
    while (count > 1 && digits[count - 1] == '0') --count;
    return count;
}

}  // namespace

char* WriteRealText(char* out, double value) noexcept {
    const auto literal = [&out](std::string_view text) {
        for (const char c : text) *out++ = c;
        return out;
    };
    if (std::isnan(value)) return literal("NAN");
    if (std::isinf(value)) return literal("INF");
    if (value == 0) return literal("0");
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        // A whole number of at most 15 digits: the scaling multiplies it exactly
        // (by a power of ten, into an integer below 2^64), so its 18 digits are
        // its own followed by zeros, nothing rounds, and the text is its
        // decimal digits. The day counts of the pages take this path.
        return std::to_chars(out, out + kRealTextRoom, static_cast<std::int64_t>(value)).ptr;
    }
    const char separator = DecimalSeparator();
    char digits[kDigits];
    int e = 0;
    const int count = SignificantDigits(std::fabs(value), digits, &e);
    // At most "-0.000ddddddddddddddd" (21) or "-d.ddddddddddddddE-324" (22)
    // characters.
    char* const start = out;
    if (value < 0) *out++ = '-';
    auto copy = [&out](const char* from, int n) {
        for (int i = 0; i < n; ++i) *out++ = from[i];
    };
    if (e > kDigits || e < -3) {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = separator;
            copy(digits + 1, count - 1);
        }
        *out++ = 'E';
        out = std::to_chars(out, start + kRealTextRoom, e - 1).ptr;  // [-324, 308]
    } else if (e > 0) {                                            // e in [1, 15]
        if (count <= e) {
            copy(digits, count);
            for (int i = count; i < e; ++i) *out++ = '0';
        } else {
            copy(digits, e);
            *out++ = separator;
            copy(digits + e, count - e);
        }
    } else {  // e in [-3, 0]
        *out++ = '0';
        *out++ = separator;
        for (int i = e; i < 0; ++i) *out++ = '0';
        copy(digits, count);
    }
    return out;
}

std::string RealToText(double value) {
    char text[kRealTextRoom];
    return std::string(text, WriteRealText(text, value));
}

}  // namespace vesk
