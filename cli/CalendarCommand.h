#pragma once
// The calendar page in the calculator: the month grid as text.
//
// Command line: `calendar [Y M D]` prints the month of today, or of the date
// that the page's update reaches from today with the three field texts.
// Batch:  {"page": "calendar", "fields": [Y, M, D], "start": [y, m, d]}
//         ("start" optional, default today; "separator" is taken and has no effect)
//   Out:  {"ok": true, "texts": [7 lines]}
//         {"ok": false, "error": "<failure class>", "message": "<message>", "texts": [7 lines]}
// Each line holds the labels of one grid row joined by tabs, row 0 the header,
// the current cell's label in square brackets.

#include <nlohmann/json_fwd.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include "calendar/MonthModel.h"

namespace vesk::cli {

// The seven rows of the grid as the batch mode gives them. Never fails.
std::vector<std::string> CalendarRowTexts(const TMonthModel& calendar);

// The grid laid out for a terminal: a title, the header and six week rows,
// columns aligned by display width; the current day in reverse video, or in
// square brackets when reverseVideo is false. Never fails.
std::string CalendarScreenText(const TMonthModel& calendar, bool reverseVideo);

// The command line's calendar: prints the grid to `out`, in reverse video when
// `out` is a terminal. Raises UsageError for other than 0 or 3 fields; a
// failure of the update is raised after the grid, as the failure left it, has
// been printed.
void PrintCalendar(const std::vector<std::string>& fields, std::FILE* out);

// True for a batch request whose "page" is "calendar".
bool IsCalendarRequest(const nlohmann::json& request);

// The answer line for a calendar request. Raises UsageError for a malformed
// request; answers the update's failures itself.
std::string AnswerCalendarRequest(const nlohmann::json& request);

}  // namespace vesk::cli
