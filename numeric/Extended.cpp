#include "numeric/Extended.h"

#include <bit>
#include <cfloat>
#include <limits>
#include <utility>

#include "textconv/Failures.h"

// VESK310_HARDWARE_EXTENDED (a build option, off by default) computes the four
// operations, Trunc and ToDouble with the processor's long double where that is
// the very same 80-bit format (x86). The results are the same bits; the option
// is there to measure and cross-check the portable code below against the
// hardware. Elsewhere the option changes nothing.
#if defined(VESK310_HARDWARE_EXTENDED) && LDBL_MANT_DIG == 64
#define VESK310_EXTENDED_IN_HARDWARE 1
#include <cmath>
#include <cstring>
// The portable helpers stay compiled, though the hardware operations leave
// most of them unused.
#pragma GCC diagnostic ignored "-Wunused-function"
#else
#define VESK310_EXTENDED_IN_HARDWARE 0
#endif

namespace vesk {
namespace {

static_assert(std::numeric_limits<double>::is_iec559, "64-bit reals must be IEEE binary64");
static_assert(sizeof(double) == sizeof(std::uint64_t));

constexpr int kBias = 16383;
constexpr int kMaxBiased = 0x7FFF;  // infinities and NaNs
constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kQuietNaN = std::uint64_t{3} << 62;

// A 128-bit unsigned value as two halves; the few operations the rounding
// needs, without relying on a compiler's 128-bit type.
struct U128 {
    std::uint64_t hi;
    std::uint64_t lo;
};

// Full 64 x 64 -> 128-bit product.
U128 MulWide(std::uint64_t a, std::uint64_t b) noexcept {
#if defined(__SIZEOF_INT128__)
    const unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
    return {static_cast<std::uint64_t>(p >> 64), static_cast<std::uint64_t>(p)};
#else
    const std::uint64_t aLo = a & 0xFFFFFFFFu, aHi = a >> 32;
    const std::uint64_t bLo = b & 0xFFFFFFFFu, bHi = b >> 32;
    const std::uint64_t ll = aLo * bLo, lh = aLo * bHi, hl = aHi * bLo, hh = aHi * bHi;
    // Each partial sum stays below 2^64: (2^32 - 1)^2 + 2 (2^32 - 1) < 2^64.
    const std::uint64_t mid = (ll >> 32) + (lh & 0xFFFFFFFFu) + (hl & 0xFFFFFFFFu);
    return {hh + (lh >> 32) + (hl >> 32) + (mid >> 32), (mid << 32) | (ll & 0xFFFFFFFFu)};
#endif
}

// (hi:lo) / d for hi < d: the 64-bit quotient and the remainder.
void DivWide(std::uint64_t hi, std::uint64_t lo, std::uint64_t d, std::uint64_t* q,
             std::uint64_t* r) noexcept {
#if defined(__SIZEOF_INT128__)
    const unsigned __int128 n = (static_cast<unsigned __int128>(hi) << 64) | lo;
    *q = static_cast<std::uint64_t>(n / d);
    *r = static_cast<std::uint64_t>(n % d);
#else
    std::uint64_t quotient = 0;
    for (int i = 0; i < 64; ++i) {
        const bool carry = (hi & kTopBit) != 0;
        hi = (hi << 1) | (lo >> 63);
        lo <<= 1;
        quotient <<= 1;
        if (carry || hi >= d) {
            hi -= d;  // wraps back into range when carry was set
            quotient |= 1;
        }
    }
    *q = quotient;
    *r = hi;
#endif
}

// Shifts (hi:lo) right by n bits, folding every bit shifted out into the
// lowest bit (the sticky bit), so that rounding still sees "something below".
U128 ShiftRightSticky(U128 v, int n) noexcept {
    if (n <= 0) return v;
    if (n >= 128) return {0, (v.hi | v.lo) != 0 ? 1u : 0u};
    std::uint64_t lost;
    U128 out;
    if (n >= 64) {
        lost = v.lo | (n > 64 ? (v.hi << (128 - n)) : 0);
        out = {0, n == 64 ? v.hi : v.hi >> (n - 64)};
    } else {
        lost = v.lo << (64 - n);
        out = {v.hi >> n, (v.lo >> n) | (v.hi << (64 - n))};
    }
    out.lo |= (lost != 0) ? 1u : 0u;
    return out;
}

int LeadingZeros(U128 v) noexcept {
    return v.hi != 0 ? std::countl_zero(v.hi) : 64 + std::countl_zero(v.lo);
}

U128 ShiftLeft(U128 v, int n) noexcept {
    if (n <= 0) return v;
    if (n >= 64) return {v.lo << (n - 64), 0};
    return {(v.hi << n) | (v.lo >> (64 - n)), v.lo << n};
}

// An unpacked finite non-zero value: mantissa with its top bit set and the
// unbiased exponent of that top bit, so value = mant * 2^(exp - 63). The
// exponent of a normalised extended denormal lies below -16382.
struct Unpacked {
    bool negative;
    int exp;
    std::uint64_t mant;
};

Unpacked Unpack(Extended x) noexcept {
    Unpacked u{x.IsNegative(), static_cast<int>(x.BiasedExponent()) - kBias, x.Mantissa()};
    if (x.BiasedExponent() == 0) u.exp = 1 - kBias;  // denormal: 2^-16382 scale
    const int shift = std::countl_zero(u.mant);      // [0, 63] for non-zero mantissas
    u.mant <<= shift;
    u.exp -= shift;
    return u;
}

Extended Infinity(bool negative) noexcept {
    return Extended::FromBits(static_cast<std::uint16_t>((negative ? 0x8000 : 0) | kMaxBiased),
                              kTopBit);
}
Extended Zero(bool negative) noexcept {
    return Extended::FromBits(negative ? 0x8000 : 0, 0);
}
// The default NaN of an invalid operation.
Extended DefaultNaN() noexcept {
    return Extended::FromBits(0xFFFF, kQuietNaN);
}
Extended QuietNaN(Extended x) noexcept {
    return Extended::FromBits(x.SignExponent(), x.Mantissa() | kQuietNaN);
}

// Rounds sig * 2^(exp - 127) to extended, to nearest with ties to even, where
// sig is a 128-bit significand with its top bit set (or zero) and exp is the
// unbiased exponent of that top bit. Handles gradual underflow and overflow.
Extended RoundPack(bool negative, int exp, U128 sig) noexcept {
    if (sig.hi == 0 && sig.lo == 0) return Zero(negative);
    int biased = exp + kBias;
    if (biased <= 0) {
        // Denormal: the top bit moves down to the 2^-16382 position.
        sig = ShiftRightSticky(sig, 1 - biased);
        biased = 0;
    }
    std::uint64_t mant = sig.hi;
    const std::uint64_t rest = sig.lo;  // the fraction below the last kept bit
    if (rest > kTopBit || (rest == kTopBit && (mant & 1u) != 0)) {
        ++mant;
        if (mant == 0) {  // carried out of 64 bits: 1.000... one binade up
            mant = kTopBit;
            ++biased;
        } else if (biased == 0 && (mant & kTopBit) != 0) {
            biased = 1;  // a denormal rounded up to the smallest normal
        }
    }
    if (biased >= kMaxBiased) return Infinity(negative);
    return Extended::FromBits(static_cast<std::uint16_t>((negative ? 0x8000 : 0) | biased), mant);
}

Extended AddMagnitudes(Unpacked a, Unpacked b, bool subtract) noexcept {
    // Arrange |a| >= |b|.
    if (b.exp > a.exp || (b.exp == a.exp && b.mant > a.mant)) {
        std::swap(a, b);  // the result takes the sign of the larger magnitude
    }
    const U128 big{a.mant, 0};
    const long long gap = static_cast<long long>(a.exp) - b.exp;  // >= 0
    const U128 small = ShiftRightSticky(U128{b.mant, 0}, gap > 200 ? 200 : static_cast<int>(gap));
    bool negative = a.negative;
    if (!subtract) {
        U128 sum{big.hi + small.hi, big.lo + small.lo};
        if (sum.lo < big.lo) ++sum.hi;
        int exp = a.exp;
        if (sum.hi < big.hi) {  // carry out of bit 127
            sum = ShiftRightSticky(sum, 1);
            sum.hi |= kTopBit;
            ++exp;
        }
        return RoundPack(negative, exp, sum);
    }
    U128 diff{big.hi - small.hi, big.lo - small.lo};
    if (big.lo < small.lo) --diff.hi;
    if (diff.hi == 0 && diff.lo == 0) return Zero(false);  // x - x is +0 when rounding to nearest
    const int shift = LeadingZeros(diff);
    return RoundPack(negative, a.exp - shift, ShiftLeft(diff, shift));
}

Extended Add(Extended a, Extended b, bool subtract) noexcept {
    const bool bNegative = b.IsNegative() != subtract;
    if (a.IsNaN()) return QuietNaN(a);
    if (b.IsNaN()) return QuietNaN(b);
    if (a.IsInfinity()) {
        if (b.IsInfinity() && a.IsNegative() != bNegative) return DefaultNaN();
        return a;
    }
    if (b.IsInfinity()) return Infinity(bNegative);
    if (b.IsZero()) {
        if (a.IsZero()) return Zero(a.IsNegative() && bNegative);
        return a;
    }
    if (a.IsZero()) return Extended::FromBits(static_cast<std::uint16_t>(
                                                  (bNegative ? 0x8000 : 0) | b.BiasedExponent()),
                                              b.Mantissa());
    Unpacked ua = Unpack(a), ub = Unpack(b);
    ub.negative = bNegative;
    return AddMagnitudes(ua, ub, ua.negative != ub.negative);
}

}  // namespace

Extended Extended::FromUnsigned(std::uint64_t value) noexcept {
    if (value == 0) return Extended{};
    const int shift = std::countl_zero(value);  // [0, 63]
    return FromBits(static_cast<std::uint16_t>(kBias + 63 - shift), value << shift);
}

Extended Extended::FromInt(std::int64_t value) noexcept {
    // Magnitude through unsigned arithmetic, so that INT64_MIN does not overflow.
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const Extended x = FromUnsigned(magnitude);
    return value < 0 ? -x : x;
}

Extended Extended::FromDouble(double value) noexcept {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const auto sign = static_cast<std::uint16_t>((bits >> 63) != 0 ? 0x8000 : 0);
    const int exp = static_cast<int>((bits >> 52) & 0x7FF);  // [0, 2047]
    const std::uint64_t frac = bits & ((std::uint64_t{1} << 52) - 1);
    if (exp == 0x7FF) {
        return FromBits(static_cast<std::uint16_t>(sign | kMaxBiased),
                        kTopBit | (frac << 11));
    }
    if (exp == 0) {
        if (frac == 0) return FromBits(sign, 0);
        // A 64-bit denormal is a normal extended value: frac * 2^-1074.
        const int shift = std::countl_zero(frac);  // [12, 63]
        return FromBits(static_cast<std::uint16_t>(sign | (kBias - 1074 + 63 - shift)),
                        frac << shift);
    }
    return FromBits(static_cast<std::uint16_t>(sign | (exp - 1023 + kBias)),
                    kTopBit | (frac << 11));
}

#if !VESK310_EXTENDED_IN_HARDWARE

Extended operator+(Extended a, Extended b) noexcept { return Add(a, b, false); }
Extended operator-(Extended a, Extended b) noexcept { return Add(a, b, true); }

Extended operator*(Extended a, Extended b) noexcept {
    const bool negative = a.IsNegative() != b.IsNegative();
    if (a.IsNaN()) return QuietNaN(a);
    if (b.IsNaN()) return QuietNaN(b);
    if (a.IsInfinity() || b.IsInfinity()) {
        if (a.IsZero() || b.IsZero()) return DefaultNaN();
        return Infinity(negative);
    }
    if (a.IsZero() || b.IsZero()) return Zero(negative);
    const Unpacked ua = Unpack(a), ub = Unpack(b);
    U128 product = MulWide(ua.mant, ub.mant);  // [2^126, 2^128)
    int exp = ua.exp + ub.exp + 1;
    if ((product.hi & kTopBit) == 0) {
        product = ShiftLeft(product, 1);
        --exp;
    }
    return RoundPack(negative, exp, product);
}

Extended operator/(Extended a, Extended b) noexcept {
    const bool negative = a.IsNegative() != b.IsNegative();
    if (a.IsNaN()) return QuietNaN(a);
    if (b.IsNaN()) return QuietNaN(b);
    if (a.IsInfinity()) return b.IsInfinity() ? DefaultNaN() : Infinity(negative);
    if (b.IsInfinity()) return Zero(negative);
    if (b.IsZero()) return a.IsZero() ? DefaultNaN() : Infinity(negative);
    if (a.IsZero()) return Zero(negative);
    const Unpacked ua = Unpack(a), ub = Unpack(b);
    // q = mant_a * 2^k / mant_b with k chosen so that q lies in [2^63, 2^64).
    std::uint64_t q, r;
    int exp = ua.exp - ub.exp;
    if (ua.mant >= ub.mant) {
        DivWide(ua.mant >> 1, ua.mant << 63, ub.mant, &q, &r);  // ratio in [1, 2)
    } else {
        DivWide(ua.mant, 0, ub.mant, &q, &r);  // ratio in (1/2, 1)
        --exp;
    }
    // The fraction r / mant_b in [0, 1) as "half" and "sticky" below the quotient.
    std::uint64_t rest = 0;
    if (r != 0) {
        const std::uint64_t other = ub.mant - r;  // compares 2r with mant_b without overflow
        rest = r > other ? (kTopBit | 1u) : r == other ? kTopBit : 1u;
    }
    return RoundPack(negative, exp, U128{q, rest});
}

Extended Extended::Trunc() const noexcept {
    if (!IsFinite() || IsZero()) return *this;
    const int exp = static_cast<int>(BiasedExponent()) - kBias;  // denormals lie far below 0
    if (exp < 0) return Zero(IsNegative());
    if (exp >= 63) return *this;
    const std::uint64_t keep = ~((kTopBit >> exp) - 1);  // bits 63 down to 63 - exp
    return FromBits(se_, m_ & keep);
}

double Extended::ToDouble(bool* overflow) const noexcept {
    if (overflow != nullptr) *overflow = false;
    const std::uint64_t sign = IsNegative() ? kTopBit : 0;
    if (IsNaN()) {
        return std::bit_cast<double>(sign | 0x7FF8000000000000ull | ((m_ << 1) >> 12));
    }
    if (IsInfinity()) return std::bit_cast<double>(sign | 0x7FF0000000000000ull);
    if (IsZero()) return std::bit_cast<double>(sign);
    const Unpacked u = Unpack(*this);
    int biased = u.exp + 1023;
    // Keep 53 bits (fewer for a 64-bit denormal) and round on the rest.
    int drop = 11;
    if (biased <= 0) {
        drop += 1 - biased;
        biased = 0;
    }
    U128 v = ShiftRightSticky(U128{u.mant, 0}, drop);  // kept bits in hi, fraction in lo
    std::uint64_t mant = v.hi;
    if (v.lo > kTopBit || (v.lo == kTopBit && (mant & 1u) != 0)) ++mant;
    // A carry into bit 53 (or into bit 52 from a denormal) moves up one binade.
    if (biased == 0) {
        if ((mant >> 52) != 0) biased = 1;
    } else if ((mant >> 53) != 0) {
        mant >>= 1;
        ++biased;
    }
    if (biased >= 0x7FF) {
        if (overflow != nullptr) *overflow = true;
        return std::bit_cast<double>(sign | 0x7FF0000000000000ull);
    }
    const std::uint64_t frac = mant & ((std::uint64_t{1} << 52) - 1);
    return std::bit_cast<double>(sign | (static_cast<std::uint64_t>(biased) << 52) | frac);
}

#else  // VESK310_EXTENDED_IN_HARDWARE

namespace {

// The bits of x86's long double: mantissa in bytes 0 to 7, sign and exponent
// in bytes 8 and 9, the rest padding.
long double Hardware(Extended x) noexcept {
    unsigned char raw[sizeof(long double)] = {};
    const std::uint64_t mantissa = x.Mantissa();
    const std::uint16_t signExponent = x.SignExponent();
    std::memcpy(raw, &mantissa, sizeof mantissa);
    std::memcpy(raw + 8, &signExponent, sizeof signExponent);
    long double value;
    std::memcpy(&value, raw, sizeof value);
    return value;
}

Extended FromHardware(long double value) noexcept {
    unsigned char raw[sizeof(long double)];
    std::memcpy(raw, &value, sizeof value);
    std::uint64_t mantissa;
    std::uint16_t signExponent;
    std::memcpy(&mantissa, raw, sizeof mantissa);
    std::memcpy(&signExponent, raw + 8, sizeof signExponent);
    return Extended::FromBits(signExponent, mantissa);
}

}  // namespace

Extended operator+(Extended a, Extended b) noexcept { return FromHardware(Hardware(a) + Hardware(b)); }
Extended operator-(Extended a, Extended b) noexcept { return FromHardware(Hardware(a) - Hardware(b)); }
Extended operator*(Extended a, Extended b) noexcept { return FromHardware(Hardware(a) * Hardware(b)); }
Extended operator/(Extended a, Extended b) noexcept { return FromHardware(Hardware(a) / Hardware(b)); }

Extended Extended::Trunc() const noexcept { return FromHardware(std::trunc(Hardware(*this))); }

double Extended::ToDouble(bool* overflow) const noexcept {
    const long double value = Hardware(*this);
    const double rounded = static_cast<double>(value);
    if (overflow != nullptr) *overflow = std::isinf(rounded) && !std::isinf(value);
    return rounded;
}

#endif  // VESK310_EXTENDED_IN_HARDWARE

std::partial_ordering operator<=>(Extended a, Extended b) noexcept {
    if (a.IsNaN() || b.IsNaN()) return std::partial_ordering::unordered;
    if (a.IsZero() && b.IsZero()) return std::partial_ordering::equivalent;
    // Sign-magnitude to an ordered key: magnitude bits, negated for negatives.
    auto key = [](Extended x) {
        // Denormals have biased exponent 0 and a mantissa without the top bit,
        // so (exponent, mantissa) orders every finite magnitude and infinity.
        const U128 magnitude{x.BiasedExponent(), x.Mantissa()};
        return magnitude;
    };
    const U128 ka = key(a), kb = key(b);
    const auto magnitudeOrder =
        ka.hi != kb.hi ? ka.hi <=> kb.hi : ka.lo <=> kb.lo;  // strong ordering of |a|, |b|
    if (a.IsNegative() != b.IsNegative()) {
        return a.IsNegative() ? std::partial_ordering::less : std::partial_ordering::greater;
    }
    if (magnitudeOrder == 0) return std::partial_ordering::equivalent;
    const bool aBigger = magnitudeOrder > 0;
    return aBigger != a.IsNegative() ? std::partial_ordering::greater
                                     : std::partial_ordering::less;
}

double Stored(Extended x) {
    if (x.IsNaN()) throw EInvalidOp();
    bool overflow = false;
    const double d = x.ToDouble(&overflow);
    if (overflow || x.IsInfinity()) throw EOverflow();
    return d;
}

}  // namespace vesk
