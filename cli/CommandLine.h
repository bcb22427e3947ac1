#pragma once
// The command-line calculator:
//   vesk310-calc [OPTION]... PAGE [FIELD]... [LONG-OPTION]...
//   vesk310-calc [OPTION]... --batch
// ArgumentScanner.h tells how the arguments are read, Pages.h what the pages
// take, CalendarCommand.h the terminal calendar's forms.
// Exit codes: 0 answered; 1 the page failed (the error box's text on stderr),
// the civil calendar refused a text (a date that is none, a bad --weekend or
// --closed line: its one line on stderr), a --closed file could not be read,
// or the output could not be written (or, with --batch, the input read); 2 bad
// usage; with --batch, 128 + N after a stop by signal N. With --json the
// page's answer line is printed whether it succeeded or not, and the exit code
// is the same as without.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CalendarCommand.h"
#include "cli/Pages.h"
#include "cli/TerminalCalendar.h"

namespace vesk::cli {

// What the calculator takes from the system, for tests to replace.
struct CalculatorSystem {
    TodayFunction today = &LocalToday;
    bool (*isTerminal)(std::FILE*) = &IsTerminal;
    bool (*weekStartsOnMonday)() = &LocaleWeekStartsOnMonday;
    HolidaysFunction holidays = &MonthHolidays;
};

// Runs the calculator on its arguments (without the program name), writing
// to the given streams; returns the exit code. Every write to `out` and its
// final flush are checked. Reads NO_COLOR from the environment and the
// locale's number format and day names. Never raises.
int RunCalculator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                  const CalculatorSystem& system = {});

}  // namespace vesk::cli
