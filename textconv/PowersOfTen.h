#pragma once
// The extended reals nearest to the powers of ten that real parse scales by:
// 10^0 .. 10^31, 10^(32 j) for j = 1 .. 15 and 10^(512 j) for j = 1 .. 9.
// They are derived here at compile time with exact integer arithmetic:
// 10^n = 5^n * 2^n, and only 5^n needs rounding to 64 significant bits.

#include <array>
#include <cstdint>

#include "textconv/Extended.h"

namespace vesk::pow10 {

// 5^n for n up to 4608 has at most 10700 bits: 335 limbs of 32 bits.
inline constexpr int kLimbs = 340;

constexpr Extended NearestPowerOfTen(int n) {
    std::array<std::uint32_t, kLimbs> limbs{};  // little-endian 5^n
    limbs[0] = 1;
    int used = 1;
    for (int left = n; left > 0;) {
        const int step = left < 13 ? left : 13;  // 5^13 < 2^32
        std::uint64_t factor = 1;
        for (int i = 0; i < step; ++i) factor *= 5;
        std::uint64_t carry = 0;
        for (int i = 0; i < used; ++i) {
            // limb * factor + carry < 2^32 * 2^32: fits 64 bits.
            const std::uint64_t product = limbs[static_cast<std::size_t>(i)] * factor + carry;
            limbs[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0) limbs[static_cast<std::size_t>(used++)] = static_cast<std::uint32_t>(carry);
        left -= step;
    }
    // Bit length of 5^n.
    std::uint32_t top = limbs[static_cast<std::size_t>(used - 1)];
    int topBits = 0;
    while (top != 0) {
        ++topBits;
        top >>= 1;
    }
    const int bits = 32 * (used - 1) + topBits;
    auto bitAt = [&](int position) -> std::uint64_t {  // bit `position` of 5^n, 0 = lowest
        if (position < 0) return 0;
        return (limbs[static_cast<std::size_t>(position / 32)] >> (position % 32)) & 1u;
    };
    // The top 64 bits, the next bit (half) and whether anything lies below it.
    std::uint64_t mantissa = 0;
    for (int i = 0; i < 64; ++i) mantissa = (mantissa << 1) | bitAt(bits - 1 - i);
    const std::uint64_t half = bitAt(bits - 65);
    bool sticky = false;
    for (int i = 0; i < bits - 65; ++i) sticky = sticky || bitAt(i) != 0;
    int exponent = bits - 1 + n;  // 10^n = 5^n * 2^n
    if (half != 0 && (sticky || (mantissa & 1u) != 0)) {
        ++mantissa;
        if (mantissa == 0) {
            mantissa = std::uint64_t{1} << 63;
            ++exponent;
        }
    }
    return Extended::FromBits(static_cast<std::uint16_t>(exponent + 16383), mantissa);
}

// 10^k for k = 0 .. 31.
inline constexpr std::array<Extended, 32> kSmall = [] {
    std::array<Extended, 32> table{};
    for (int k = 0; k < 32; ++k) table[static_cast<std::size_t>(k)] = NearestPowerOfTen(k);
    return table;
}();

// 10^(32 j) for j = 1 .. 15 (entry 0 unused).
inline constexpr std::array<Extended, 16> kMedium = [] {
    std::array<Extended, 16> table{};
    for (int j = 1; j < 16; ++j) table[static_cast<std::size_t>(j)] = NearestPowerOfTen(32 * j);
    return table;
}();

// 10^(512 j) for j = 1 .. 9 (entry 0 unused).
inline constexpr std::array<Extended, 10> kLarge = [] {
    std::array<Extended, 10> table{};
    for (int j = 1; j < 10; ++j) table[static_cast<std::size_t>(j)] = NearestPowerOfTen(512 * j);
    return table;
}();

static_assert(kSmall[0].SignExponent() == 0x3FFF && kSmall[0].Mantissa() == 1ull << 63);
static_assert(kSmall[1].SignExponent() == 0x4002 && kSmall[1].Mantissa() == 0xA000000000000000ull);
// 10^27 = 5^27 * 2^27 and 5^27 < 2^64: still exact.
static_assert(kSmall[27].Mantissa() == 7450580596923828125ull << 1);

}  // namespace vesk::pow10
