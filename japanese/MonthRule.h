#pragma once
// The month rule of the civil code (民法第143条): a period of months or years
// ends on the same day of the month it reaches, or on that month's last day
// where the month is shorter.

#include <chrono>
#include <cstdint>
#include <optional>

namespace vesk::japanese {

// `date` moved by `months` whole months (negative: back), the day kept or cut
// to the month's last day: 2024-01-31 + 1 = 2024-02-29. None when the month
// reached lies outside the years -32767 to 32767 that year_month_day holds.
// Takes a date that is ok(); never raises.
std::optional<std::chrono::year_month_day> AddMonths(std::chrono::year_month_day date,
                                                     std::int64_t months) noexcept;

}  // namespace vesk::japanese
