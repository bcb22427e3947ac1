#pragma once
// Date texts as people type them, parsed in one place: every date argument
// of the calendar pages goes through ParseDateText.

#include <chrono>
#include <string_view>

namespace vesk::japanese {

// The date a text names. Accepts, after folding the full-width forms an input
// method types (WidthFold.h) and with blanks around the text ignored:
// - Western: "2024-01-05", "2024/1/5" (a four-digit year, one- or two-digit
//   month and day, one separator throughout), "20240105", and "2024年1月5日";
// - 和暦: an era as its name ("令和"), its one character ("令") or its Latin
//   initial in either case ("R", "r"), then the era year (digits, or 元 for
//   1), then "年M月D日" or M and D with ".", "/" or "-" between them:
//   "令和6年1月5日", "令和元年5月1日", "R6.1.5", "R06.01.05", "令6-1-5";
// - "today", "yesterday", "tomorrow" (in any case), relative to `today`.
// Raises CalendarError, quoting the text as typed, for a day that does not
// exist, a 和暦 date outside its era or before 明治6年1月1日 (1873-01-01), a
// date outside 0001-01-01 to 9999-12-31, and any other text. Allocates only
// when it raises.
std::chrono::year_month_day ParseDateText(std::string_view text, std::chrono::sys_days today);

// An ISO date only, "2024-01-05" (full-width forms folded, blanks around it
// ignored, one- or two-digit month and day accepted), as files and request
// lists of dates hold them. Raises CalendarError as ParseDateText does.
std::chrono::year_month_day ParseIsoDateText(std::string_view text);

}  // namespace vesk::japanese
