#include "japanese/MonthRule.h"

namespace vesk::japanese {

using namespace std::chrono;

std::optional<year_month_day> AddMonths(year_month_day date, std::int64_t months) noexcept {
    // Months since the start of year 0: [-393204, 393203] for a valid date.
    const std::int64_t start =
        std::int64_t{static_cast<int>(date.year())} * 12 + static_cast<unsigned>(date.month()) - 1;
    // |months| up to 2^63: compare before adding, so the sum cannot overflow.
    constexpr std::int64_t kFirst = -32767LL * 12, kLast = 32767LL * 12 + 11;
    if (months > kLast - start || months < kFirst - start) return std::nullopt;
    const std::int64_t reached = start + months;
    // Floor division: months before year 0 belong to negative years.
    const std::int64_t y = reached >= 0 ? reached / 12 : -((-reached + 11) / 12);
    const auto m = static_cast<unsigned>(reached - y * 12 + 1);  // [1, 12]
    const year_month_day_last last{year{static_cast<int>(y)}, month_day_last{month{m}}};
    const day d = date.day() <= last.day() ? date.day() : last.day();
    return year_month_day{year{static_cast<int>(y)}, month{m}, d};
}

}  // namespace vesk::japanese
