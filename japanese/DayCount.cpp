#include "japanese/DayCount.h"

#include "japanese/CivilDate.h"
#include "japanese/MonthRule.h"

namespace vesk::japanese {

using namespace std::chrono;

DayCount CountDays(year_month_day from, year_month_day to, bool inclusive) {
    RequireDateRange(from);
    RequireDateRange(to);
    const bool backward = to < from;
    const std::int64_t step = backward ? -1 : 1;
    // The end the span runs to: one day beyond `to` when the first day counts.
    // It may be 10000-01-01 or 0000-12-31, which year_month_day still holds.
    const sys_days end = sys_days{to} + days{inclusive ? step : 0};
    DayCount count{};
    count.days = (end - sys_days{from}).count();  // [-3652059, 3652059]
    count.weeks = count.days / 7;
    count.weekDays = count.days - 7 * count.weeks;
    // Whole months: start from the calendar difference of the two months and
    // step back while the month rule carries `from` past the end.
    const year_month_day e{end};
    std::int64_t months =
        (static_cast<int>(e.year()) - static_cast<int>(from.year())) * std::int64_t{12} +
        (static_cast<int>(static_cast<unsigned>(e.month())) -
         static_cast<int>(static_cast<unsigned>(from.month())));
    const auto passes = [&](std::int64_t m) {
        const sys_days reached{*AddMonths(from, m)};  // within years 0 to 10000: always some
        return backward ? reached < end : reached > end;
    };
    while (months != 0 && passes(months)) months -= step;
    count.years = months / 12;
    count.months = months - 12 * count.years;
    count.dayRest = (end - sys_days{*AddMonths(from, months)}).count();
    return count;
}

}  // namespace vesk::japanese
