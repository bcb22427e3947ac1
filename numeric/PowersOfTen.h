#pragma once
// The extended reals nearest to the powers of ten that real parse and
// real-to-text scale by: 10^0 .. 10^31, 10^(32 j) for j = 1 .. 15 and
// 10^(512 j) for j = 1 .. 9, and the scaling itself.
// They are derived here at compile time with exact integer arithmetic:
// 10^n = 5^n * 2^n, and only 5^n needs rounding to 64 significant bits.

#include <array>
#include <cstdint>

#include "numeric/Extended.h"

namespace vesk::pow10 {

// An exact power of five, grown step by step (each table is built in one pass,
// which keeps the compile-time work small).
class PowerOfFive {
public:
    constexpr PowerOfFive() { limbs_[0] = 1; }

    // Multiplies by 5^count.
    constexpr void Grow(int count) {
        while (count > 0) {
            const int step = count < 13 ? count : 13;  // 5^13 < 2^32
            std::uint64_t factor = 1;
            for (int i = 0; i < step; ++i) factor *= 5;
            std::uint64_t carry = 0;
            for (int i = 0; i < used_; ++i) {
                // limb * factor + carry < 2^64
                const std::uint64_t product = limbs_[Index(i)] * factor + carry;
                limbs_[Index(i)] = static_cast<std::uint32_t>(product);
                carry = product >> 32;
            }
            if (carry != 0) limbs_[Index(used_++)] = static_cast<std::uint32_t>(carry);
            count -= step;
            exponent_ += step;
        }
    }

    // The extended value nearest to 10^n, where 5^n is this number.
    constexpr Extended NearestPowerOfTen() const {
        const int bits = BitLength();
        // The top 64 bits, then the rounding bit and whether anything is below it.
        std::uint64_t mantissa = 0;
        for (int i = 0; i < 64; ++i) mantissa = (mantissa << 1) | Bit(bits - 1 - i);
        const std::uint64_t half = Bit(bits - 65);
        bool sticky = false;
        const int below = bits - 65;  // bits 0 .. below-1 lie under the rounding bit
        for (int i = 0; i < below / 32; ++i) sticky = sticky || limbs_[Index(i)] != 0;
        for (int i = below / 32 * 32; i < below; ++i) sticky = sticky || Bit(i) != 0;
        int exponent = bits - 1 + exponent_;  // times 2^n
        if (half != 0 && (sticky || (mantissa & 1u) != 0)) {
            ++mantissa;
            if (mantissa == 0) {
                mantissa = std::uint64_t{1} << 63;
                ++exponent;
            }
        }
        return Extended::FromBits(static_cast<std::uint16_t>(exponent + 16383), mantissa);
    }

private:
    // 5^4608 has 10700 bits: 335 limbs of 32 bits.
    static constexpr int kLimbs = 340;
    static constexpr std::size_t Index(int i) { return static_cast<std::size_t>(i); }

    constexpr int BitLength() const {
        std::uint32_t top = limbs_[Index(used_ - 1)];
        int topBits = 0;
        for (; top != 0; top >>= 1) ++topBits;
        return 32 * (used_ - 1) + topBits;
    }
    // Bit `position` (0 = lowest); 0 below the number.
    constexpr std::uint64_t Bit(int position) const {
        if (position < 0) return 0;
        return (limbs_[Index(position / 32)] >> (position % 32)) & 1u;
    }

    std::array<std::uint32_t, kLimbs> limbs_{};  // little-endian
    int used_ = 1;
    int exponent_ = 0;  // n of 5^n
};

constexpr Extended NearestPowerOfTen(int n) {
    PowerOfFive power;
    power.Grow(n);
    return power.NearestPowerOfTen();
}

// Entry j of a table of 10^(step * j), j = first .. N-1; entries below `first` unused.
template <std::size_t N>
constexpr std::array<Extended, N> Table(int step, int first) {
    std::array<Extended, N> table{};
    PowerOfFive power;
    power.Grow(step * first);
    for (std::size_t j = static_cast<std::size_t>(first); j < N; ++j) {
        table[j] = power.NearestPowerOfTen();
        if (j + 1 < N) power.Grow(step);
    }
    return table;
}

// 10^k for k = 0 .. 31.
inline constexpr std::array<Extended, 32> kSmall = Table<32>(1, 0);
// 10^(32 j) for j = 1 .. 15 (entry 0 unused).
inline constexpr std::array<Extended, 16> kMedium = Table<16>(32, 1);
// 10^(512 j) for j = 1 .. 9 (entry 0 unused).
inline constexpr std::array<Extended, 10> kLarge = Table<10>(512, 1);

// Applies a scale of k: multiplies (k > 0) or divides (k < 0) by 10^(|k| mod 32),
// then by 10^(32 ((|k| div 32) mod 16)), then by 10^(512 (|k| div 512)), each
// step rounded to nearest extended; the last two are skipped when their factor
// is 1. |k| < 5120; k = 0 gives the value unchanged.
Extended Scale(Extended value, int k) noexcept;

static_assert(kSmall[0].SignExponent() == 0x3FFF && kSmall[0].Mantissa() == 1ull << 63);
static_assert(kSmall[1].SignExponent() == 0x4002 && kSmall[1].Mantissa() == 0xA000000000000000ull);
// 10^27 = 5^27 * 2^27 and 5^27 < 2^64: still exact.
static_assert(kSmall[27].Mantissa() == 7450580596923828125ull << 1);

}  // namespace vesk::pow10
