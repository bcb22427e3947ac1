#pragma once
// The splash's wait: a count-down whose length depends on the processor alone.

#include <cstdint>

namespace vesk {

// Steps of the splash's count-down: from 40,000,001 down to 0.
inline constexpr std::uint32_t kSplashSteps = 40'000'001;

// Counts down from steps to 0, one step at a time. Every step is a real store,
// so the optimiser cannot drop the loop. Reads no clock and handles no events.
// Returns the number of steps taken.
std::uint32_t CountDown(std::uint32_t steps);

}  // namespace vesk
