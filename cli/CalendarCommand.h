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

#include "datecalc/MonthModel.h"

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

// When the command line's calendar shows the current day in reverse video:
// --color=auto|always|never.
enum class ColorMode { Auto, Always, Never };

// Whether to use reverse video: always or never as asked; for auto, when the
// output is a terminal (not "dumb") and NO_COLOR is unset or empty. `noColor`
// is the value of NO_COLOR, null when unset. Never fails.
bool UseReverseVideo(ColorMode mode, bool terminal, const char* noColor);

// Whether `stream` is a terminal that takes escape sequences: a tty, with TERM
// set and not "dumb". Always false on Windows. Never fails.
bool IsTerminal(std::FILE* stream);

// The command line's calendar: the screen text of today's month, or of where
// the update with the three field texts takes it. Raises UsageError for other
// than 0 or 3 fields. A failure of the update is stored in `failure` (null
// when there is none), and the text shows the grid as the failure left it.
std::string CalendarPageText(std::vector<std::string> fields, bool reverseVideo,
                             std::exception_ptr& failure);

}  // namespace vesk::cli
