#pragma once
// The 80-bit extended real (64-bit mantissa with explicit integer bit, 15-bit
// exponent), computed in software so that every compiler and processor gives
// the same bits. Each operation rounds its exact result to nearest, ties to
// even, with gradual underflow; overflow gives an infinity and an invalid
// operation a NaN, and nothing is raised here: the callers decide which of
// these is a failure (Stored() raises EOverflow, real parse rejects the text).

#include <compare>
#include <cstdint>

namespace vesk {

class Extended {
public:
    // +0.
    constexpr Extended() noexcept = default;

    // The value with the given sign-and-exponent word (sign in bit 15, biased
    // exponent in bits 0 to 14, bias 16383) and 64-bit mantissa.
    static constexpr Extended FromBits(std::uint16_t signExponent, std::uint64_t mantissa) noexcept {
        Extended x;
        x.se_ = signExponent;
        x.m_ = mantissa;
        return x;
    }
    // Exact: every 64-bit real and every 64-bit integer is an extended value.
    static Extended FromDouble(double value) noexcept;
    static Extended FromInt(std::int64_t value) noexcept;
    static Extended FromUnsigned(std::uint64_t value) noexcept;

    constexpr std::uint16_t SignExponent() const noexcept { return se_; }
    constexpr std::uint64_t Mantissa() const noexcept { return m_; }
    constexpr bool IsNegative() const noexcept { return (se_ & 0x8000u) != 0; }
    constexpr std::uint16_t BiasedExponent() const noexcept {
        return static_cast<std::uint16_t>(se_ & 0x7FFFu);
    }
    constexpr bool IsZero() const noexcept { return BiasedExponent() == 0 && m_ == 0; }
    constexpr bool IsInfinity() const noexcept {
        return BiasedExponent() == 0x7FFF && (m_ << 1) == 0;
    }
    constexpr bool IsNaN() const noexcept { return BiasedExponent() == 0x7FFF && (m_ << 1) != 0; }
    constexpr bool IsFinite() const noexcept { return BiasedExponent() != 0x7FFF; }

    friend Extended operator+(Extended a, Extended b) noexcept;
    friend Extended operator-(Extended a, Extended b) noexcept;
    friend Extended operator*(Extended a, Extended b) noexcept;
    friend Extended operator/(Extended a, Extended b) noexcept;
    Extended operator-() const noexcept { return FromBits(se_ ^ 0x8000u, m_); }

    // Int: the integer part, truncating toward zero; stays an extended value.
    // A value between -1 and 0 gives a negative zero.
    Extended Trunc() const noexcept;

    // Rounds to the nearest 64-bit real, ties to even, with gradual underflow.
    // Sets *overflow when the rounded magnitude exceeds the largest finite
    // 64-bit real (the result is then an infinity); infinities and NaNs pass
    // through and do not set it.
    double ToDouble(bool* overflow = nullptr) const noexcept;

    // Exact comparison; NaN is unordered, +0 equals -0.
    friend std::partial_ordering operator<=>(Extended a, Extended b) noexcept;
    friend bool operator==(Extended a, Extended b) noexcept {
        return (a <=> b) == std::partial_ordering::equivalent;
    }

    // Same bits (unlike ==, tells -0 from +0 and compares NaNs).
    constexpr bool SameBits(Extended other) const noexcept {
        return se_ == other.se_ && m_ == other.m_;
    }

private:
    std::uint16_t se_ = 0;
    std::uint64_t m_ = 0;
};

// stored(x): rounds x to a 64-bit real; raises EOverflow when the result is
// beyond the largest finite 64-bit real and EInvalidOp for a NaN.
double Stored(Extended x);

}  // namespace vesk
