#pragma once
// A date written in one field, as the pages read it.

#include <array>
#include <chrono>
#include <string_view>

#include "cli/Pages.h"

namespace vesk::cli {

// The Gregorian date that `text` names: every form of the civil calendar's
// date texts (ISO, YYYYMMDD, 和暦, full-width, today/yesterday/tomorrow, from
// `today`). Raises UsageError with one line that quotes the text and says
// what is wrong.
std::chrono::year_month_day ReadDateField(std::string_view text, TodayFunction today);

// The weekdays that a list of day names names ("sat,sun"; sun mon tue wed thu
// fri sat, or 日 月 火 水 木 金 土), Sunday first. Raises UsageError for
// anything else.
std::array<bool, 7> ReadWeekend(std::string_view list);

}  // namespace vesk::cli
