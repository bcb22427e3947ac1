#pragma once
// Business days (営業日): every day but the weekend days, the national
// holidays (Holidays.h), with `yearEnd` 12月29日 to 1月3日, and the caller's
// own closed days. They need the holidays, so they are known from 1948-01-01
// through 2099-12-31 only.

#include <array>
#include <chrono>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vesk::japanese {

struct BusinessRules {
    // Weekend days by std::chrono::weekday::c_encoding(): Sunday 0 ... Saturday 6.
    std::array<bool, 7> weekend = {true, false, false, false, false, false, true};
    bool yearEnd = false;                       // also closed 12-29 through 01-03
    std::vector<std::chrono::sys_days> closed;  // sorted, unique (ParseClosedDays, SortClosedDays)
};

// Sorts closed days and drops repeats, as BusinessRules::closed needs them.
void SortClosedDays(std::vector<std::chrono::sys_days>& closed);

// Each function below raises CalendarError, and changes nothing, for a date
// outside 1948-01-01 to 2099-12-31 (with a line that gives the range), for a
// date that is not ok(), for a weekend of all seven days, and for closed days
// that are not sorted or repeat one.

// Whether a day is a business day under the rules.
bool IsBusinessDay(const BusinessRules& rules, std::chrono::sys_days date);

// The business days from `from` through `to`, both included; when `to` lies
// before `from`, minus the count from `to` through `from`. Counts whole weeks
// arithmetically and then looks only at the holidays, year-end days and
// closed days of the range.
std::int64_t CountBusinessDays(const BusinessRules& rules, std::chrono::year_month_day from,
                               std::chrono::year_month_day to);

// For n > 0 the nth business day after `date` (`date` itself not counted),
// for n < 0 the |n|th before it, for n = 0 `date` if it is a business day and
// else the next one. Also raises when that day would lie outside the range.
std::chrono::year_month_day NthBusinessDay(const BusinessRules& rules,
                                           std::chrono::year_month_day date, std::int64_t n);

// A weekend from a list of day names separated by commas (blanks around
// them ignored): sun mon tue wed thu fri sat in any case, or 日 月 火 水 木 金
// 土; full-width forms folded. An empty list is a week without weekend days.
// Raises CalendarError for any other name and for all seven days.
std::array<bool, 7> ParseWeekend(std::string_view list);

// Closed days from a file's text: one ISO date a line (ParseIsoDateText),
// blank lines and "#" comments (to the line's end) ignored, a UTF-8 byte
// order mark at the start too. Returns them sorted and without repeats.
// Raises CalendarError that names the line number of the first bad line.
std::vector<std::chrono::sys_days> ParseClosedDays(std::string_view fileText);

}  // namespace vesk::japanese
