#pragma once
// The calendar page in the calculator.
//
// Command line: the terminal calendar (TerminalCalendar.h) in these forms:
//   calendar              this month
//   calendar Y            the year Y, three months a row
//   calendar Y M          the month M of the year Y
//   calendar Y M D        the month of that day, the day highlighted
//   calendar DATE         the same, for a date in one field (ReadDateField)
// with -3 the months before and after too. The same arguments give the same
// grid on every day: today is highlighted only when no day is given and today
// is shown.
// Batch (see Batch.h): the texts are the grid's seven rows, each the labels of
// one grid row joined by tabs, row 0 the header, the current cell's label in
// square brackets.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/ArgumentScanner.h"
#include "cli/Pages.h"
#include "cli/TerminalCalendar.h"
#include "datecalc/MonthModel.h"

namespace vesk::cli {

// The seven rows of the grid as the batch mode gives them. Never fails.
std::vector<std::string> CalendarRowTexts(const TMonthModel& calendar);

// What the command line's calendar shows for its field texts, with `three`
// for -3 (cut to the months of the years 1 to 9999). A year is 1 to 4 ASCII
// digits for 1 to 9999, a month 1 or 2 for 1 to 12, a day 1 or 2 for a day of
// that month; one field of more than four digits, or not only digits, is a
// date (ReadDateField). Raises japanese::CalendarError, as the date reader
// does, for a text that is none of them or a day that the month does not
// have; UsageError for more than three fields and for -3 with a whole year.
CalendarSheet ReadCalendarFields(const std::vector<std::string>& fields, bool three,
                                 TodayFunction today);

// Whether to colour: always or never as asked; for auto, when the output is a
// terminal and NO_COLOR is unset or empty. `noColor` is the value of NO_COLOR,
// null when unset. Never fails.
bool UseColor(ColorMode mode, bool terminal, const char* noColor);

// Whether `stream` is a terminal that takes escape sequences: a tty, with TERM
// set and not "dumb". Always false on Windows. Never fails.
bool IsTerminal(std::FILE* stream);

// Whether the weeks of the user's locale (LC_TIME) start on Monday; false
// where the C library does not say. Never fails.
bool LocaleWeekStartsOnMonday();

// The first weekday of a week as glibc's locale data gives it: the day
// list's first day as the date YYYYMMDD (`week1stDay`, 19971130 for a list
// from Sunday) and the offset of the week's first day in that list
// (`firstWeekday`, 1 for the list's first). True when that is a Monday; false
// for data that names no day. Never fails.
bool WeekStartsOnMonday(std::uint32_t week1stDay, unsigned firstWeekday) noexcept;

}  // namespace vesk::cli
