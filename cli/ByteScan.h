#pragma once
// Runs of JSON string bytes, eight bytes at a time: the strings of a line are
// short and of every length, and a loop of single bytes mispredicts its end
// each time.

#include <bit>
#include <cstdint>
#include <cstring>

namespace vesk::cli {

// The first byte at `p` that ends a run, or `end`: a control character, the
// quote or the backslash, and with kAsciiOnly also DEL and every byte of
// 0x80 and above (where UTF-8 needs a look of its own).
template <bool kAsciiOnly>
inline const char* SkipStringRun(const char* p, const char* end) noexcept {
    const auto stops = [](unsigned char c) {
        return c < 0x20 || c == '"' || c == '\\' || (kAsciiOnly && c >= 0x7F);
    };
    if constexpr (std::endian::native == std::endian::little) {
        // Each test below flags the first byte it is meant for exactly (its
        // false alarms come only in later bytes, from a borrow), so the lowest
        // flag among them all is the first byte that ends the run.
        constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
        const auto zeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
        while (end - p >= 8) {
            std::uint64_t v;
            std::memcpy(&v, p, sizeof v);
            std::uint64_t stop = zeroByte(v ^ (kOnes * '"')) | zeroByte(v ^ (kOnes * '\\')) |
                                 ((v - kOnes * 0x20) & ~v & kHighs);
            if constexpr (kAsciiOnly) stop |= zeroByte(v ^ (kOnes * 0x7F)) | (v & kHighs);
            if (stop != 0) return p + std::countr_zero(stop) / 8;
            p += 8;
        }
    }
    while (p < end && !stops(static_cast<unsigned char>(*p))) ++p;
    return p;
}

}  // namespace vesk::cli
