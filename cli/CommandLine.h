#pragma once
// The command-line calculator:
//   vesk310-calc [OPTION]... PAGE [FIELD]...
//   vesk310-calc [OPTION]... --batch
// Options: -h/--help, --version, --decimal-separator C, --color WHEN, --batch,
// --threads N (the batch mode's threads),
// and "--" to end them; they stop at the page name, after which every argument
// is a field text. An argument YYYY-MM-DD, YYYY/MM/DD or "today" stands for
// the three field texts of that date.
// Exit codes: 0 answered, 1 the page failed (the error box's text on stderr)
// or the output could not be written (or, with --batch, the input read),
// 2 bad usage; with --batch, 128 + N after a stop by signal N.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::cli {

// Runs the calculator on its arguments (without the program name), writing
// to the given streams; returns the exit code. Every write to `out` and its
// final flush are checked. Never raises.
int RunCalculator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// The field texts that the command line puts in place of its arguments: an
// ISO date (one to four digits for the year, one or two for the month and the
// day, joined by two "-" or two "/") becomes its year, month and day without
// leading zeros, "today" today's year, month and day; any other argument stays
// as it is. Never fails.
std::vector<std::string> ExpandDateArguments(const std::vector<std::string>& args);

}  // namespace vesk::cli
