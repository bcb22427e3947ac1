#pragma once
// The exact count of days between two dates in the Gregorian calendar, with
// the first day counted or not (初日算入), in days, in weeks and days, and in
// whole years, months and days.

#include <chrono>
#include <cstdint>

namespace vesk::japanese {

struct DayCount {
    std::int64_t days;      // to - from; with `inclusive` one more in the direction of the count
    std::int64_t weeks;     // days / 7, toward zero
    std::int64_t weekDays;  // days - 7 weeks: [-6, 6], the sign of days
    std::int64_t years;  // the most whole years and months that fit, from `from` by the month rule,
    std::int64_t months;   // [-11, 11]
    std::int64_t dayRest;  // and the days left; all three with the sign of the direction
    friend bool operator==(const DayCount&, const DayCount&) = default;
};

// Counts from `from` to `to`. With `inclusive` the first day counts too: one
// more day in the direction of the count (the same day gives 1), and the
// years, months and days run to the day after `to` (the day before it when
// `to` lies before `from`). The whole months are those that, added to `from`
// by the month rule (MonthRule.h), do not pass that end. Raises
// CalendarError when a date lies outside 0001-01-01 to 9999-12-31.
DayCount CountDays(std::chrono::year_month_day from, std::chrono::year_month_day to,
                   bool inclusive);

}  // namespace vesk::japanese
