#pragma once
// The calendar as a terminal shows it: one month, months side by side, or a
// whole year three months a row, on the Gregorian calendar.
//
// A month is its title ("2024年2月" centred, or "2月" under a year's
// heading), the locale's day abbreviations (DayAbbreviations) and six week
// rows, columns aligned by display width; under the grid, the month's
// national holidays, one a line (" 11日 建国記念の日"). With colour,
// Sundays and holidays are red (SGR 31), Saturdays blue (SGR 34) and the
// highlighted day in reverse video (SGR 7) on top; without, the highlighted
// day stands in square brackets and a holiday has a "*" in the column after
// its number, where the brackets leave it room (the list under the grid names
// every holiday either way). Lines end without blanks.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "cli/CivilPages.h"

namespace vesk::cli {

// The national holidays of a month in date order (MonthHolidays).
using HolidaysFunction = std::vector<MonthHoliday> (*)(int year, unsigned month);

// What is shown.
struct CalendarSheet {
    std::chrono::year_month first;  // the first month shown, of the years 1 to 9999
    unsigned months = 1;            // how many from `first` on, three a row
    bool wholeYear = false;         // the year as a heading, the months titled without it
    std::optional<std::chrono::year_month_day> highlight;  // a shown day, or none
};

// How it is shown.
struct CalendarLook {
    bool color = false;
    bool mondayFirst = false;  // weeks from Monday, else from Sunday
    bool weekNumbers = false;  // each week row after its ISO week number
    HolidaysFunction holidays = &MonthHolidays;
};

// The text of the sheet, each line ending in "\n". Raises std::bad_alloc.
std::string CalendarSheetText(const CalendarSheet& sheet, const CalendarLook& look);

// The ISO 8601 week number of a day: 1 to 53. Never fails.
unsigned IsoWeekNumber(std::chrono::sys_days day) noexcept;

}  // namespace vesk::cli
