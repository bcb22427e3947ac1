#include "numeric/PowersOfTen.h"

namespace vesk::pow10 {

Extended Scale(Extended value, int k) noexcept {
    if (k == 0) return value;
    const bool up = k > 0;
    const auto magnitude = static_cast<std::size_t>(up ? k : -k);  // [1, 5119]
    auto apply = [&](Extended factor) { value = up ? value * factor : value / factor; };
    apply(kSmall[magnitude % 32]);
    if (const std::size_t j = (magnitude / 32) % 16; j != 0) apply(kMedium[j]);
    if (const std::size_t j = magnitude / 512; j != 0) apply(kLarge[j]);
    return value;
}

}  // namespace vesk::pow10
