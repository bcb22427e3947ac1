#pragma once
// The dates of the Japanese calendar room: std::chrono's proleptic Gregorian
// calendar, from 0001-01-01 through 9999-12-31, and the few helpers every
// file of the room shares.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace vesk::japanese {

inline constexpr std::chrono::year_month_day kFirstDate{std::chrono::year{1}, std::chrono::January,
                                                        std::chrono::day{1}};
inline constexpr std::chrono::year_month_day kLastDate{std::chrono::year{9999},
                                                       std::chrono::December, std::chrono::day{31}};

// True for a date that exists (ok()) and lies from kFirstDate through kLastDate.
constexpr bool InDateRange(std::chrono::year_month_day date) noexcept {
    return date.ok() && date >= kFirstDate && date <= kLastDate;
}

// Raises CalendarError unless InDateRange(date), with a line that gives the
// range. Leaves everything unchanged.
void RequireDateRange(std::chrono::year_month_day date);

// Appends the date as ISO 8601, "2024-01-05" (a year outside 0 to 9999, a
// month or a day past 99 written in as many digits as it has). Raises
// nothing but for memory.
void AppendIsoDate(std::string& out, std::chrono::year_month_day date);
std::string IsoDate(std::chrono::year_month_day date);

// Appends "1月5日". Raises nothing but for memory.
void AppendMonthDay(std::string& out, unsigned month, unsigned day);

// Appends a whole number in decimal, "-" before a negative one. Raises
// nothing but for memory.
void AppendInteger(std::string& out, std::int64_t value);
void AppendUnsigned(std::string& out, std::uint64_t value);

// The weekday's one-character Japanese name, "日" for Sunday ... "土".
std::string_view WeekdayName(std::chrono::weekday weekday) noexcept;

// The English month name, "January" ... "December" (for messages); "" for a
// month that is not ok().
std::string_view EnglishMonthName(std::chrono::month month) noexcept;

}  // namespace vesk::japanese
