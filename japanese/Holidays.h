#pragma once
// The national holidays of Japan under 国民の祝日に関する法律 (昭和23年法律第178号)
// and its amendments, the days of the special laws, and the days the law
// makes 休日 (振替休日, 国民の休日), from 1948-07-20, when the law took effect,
// through 2099. They are worked out once, on first use, by a thread-safe
// initialisation; every look-up after it reads the finished table.

#include <chrono>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace vesk::japanese {

struct Holiday {
    std::chrono::sys_days date;
    std::string_view name;  // "元日", ..., "振替休日", "国民の休日"
};

// The years and days the holiday table covers.
inline constexpr int kFirstHolidayYear = 1948;
inline constexpr int kLastHolidayYear = 2099;
inline constexpr std::chrono::year_month_day kFirstHolidayDate{
    std::chrono::year{kFirstHolidayYear}, std::chrono::January, std::chrono::day{1}};
inline constexpr std::chrono::year_month_day kLastHolidayDate{
    std::chrono::year{kLastHolidayYear}, std::chrono::December, std::chrono::day{31}};

// The holidays of a year in date order. Raises CalendarError, with a line
// that gives the range, for a year outside 1948 to 2099.
std::span<const Holiday> HolidaysOfYear(int year);

// The holidays from `from` through `to`, both included, in date order (the
// two dates may come in either order). Raises CalendarError when either date
// lies outside 1948-01-01 to 2099-12-31 or is not ok().
std::vector<Holiday> HolidaysBetween(std::chrono::year_month_day from,
                                     std::chrono::year_month_day to);

// The holidays from `from` through `to` (from <= to, both in the table's
// range) as a view into the table. Never raises; empty when from > to.
std::span<const Holiday> HolidaySpan(std::chrono::sys_days from, std::chrono::sys_days to) noexcept;

// The name of the holiday on a day; none on other days and outside the
// table's range. Never raises (the table's first use, which allocates it,
// ends the program if memory runs out).
std::optional<std::string_view> HolidayOn(std::chrono::sys_days date) noexcept;

// The day of 春分 (March) or 秋分 (September) of a year from 1900 to 2099 by
// the published approximation, as the holiday rules use it.
unsigned SpringEquinoxDay(int year) noexcept;
unsigned AutumnEquinoxDay(int year) noexcept;

}  // namespace vesk::japanese
