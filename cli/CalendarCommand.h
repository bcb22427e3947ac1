#pragma once
// The calendar page in the calculator: the month grid as text.
//
// Command line: `calendar [Y M D]` prints the month of today, or of the date
// that the page's update reaches from today with the three field texts.
// Batch (see Batch.h): the texts are the grid's seven rows, each the labels of
// one grid row joined by tabs, row 0 the header, the current cell's label in
// square brackets.

#include <cstdio>
#include <exception>
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

// Applies the page's update with the three field texts (year, month, day) to
// `calendar`. Raises UsageError for other than three fields. A failure of the
// update is returned, not raised, so that the caller can still show the grid
// as the failure left it; null when the update went through.
std::exception_ptr ApplyCalendarFields(TMonthModel& calendar, const std::vector<std::string>& fields);

// The usage message for a calendar request with `count` fields, not 3.
std::string CalendarFieldCountMessage(std::size_t count);

// The command line's calendar: prints the grid of today's month, or of where
// the update with the three field texts takes it, to `out`, in reverse video
// when `out` is a terminal. Raises UsageError for other than 0 or 3 fields; a
// failure of the update is raised after the grid, as the failure left it, has
// been printed.
void PrintCalendar(const std::vector<std::string>& fields, std::FILE* out);

}  // namespace vesk::cli
