#pragma once
// A date written in one field, as the pages read it.

#include <array>
#include <chrono>
#include <string_view>
#include <vector>

#include "cli/Pages.h"
#include "japanese/CalendarError.h"

namespace vesk::cli {

// The Gregorian date that `text` names: every form of the civil calendar's
// date texts (ISO, YYYYMMDD, 和暦, full-width, today/yesterday/tomorrow, from
// `today`). Raises japanese::CalendarError with one line that quotes the
// text and says what is wrong.
std::chrono::year_month_day ReadDateField(std::string_view text, TodayFunction today);

// An ISO date, "2024-01-05", as lists of closed days hold them. Raises
// japanese::CalendarError as ReadDateField does.
std::chrono::sys_days ReadIsoDate(std::string_view text);

// Closed days from a file's text: one ISO date a line, blank lines and "#"
// comments; sorted, without repeats. Raises japanese::CalendarError naming
// the line of the first bad one.
std::vector<std::chrono::sys_days> ReadClosedDays(std::string_view fileText);

// The weekdays that a list of day names names ("sat,sun"; sun mon tue wed thu
// fri sat, or 日 月 火 水 木 金 土; "" for none), Sunday first. Raises
// japanese::CalendarError for anything else and for all seven days.
std::array<bool, 7> ReadWeekend(std::string_view list);

}  // namespace vesk::cli
