#pragma once
// The calculator's arguments taken apart into options, the page and its
// fields, in the forms that GNU tools and calendar programs take:
//
//   vesk310-calc [OPTION]... PAGE [FIELD | LONG-OPTION]...
//   vesk310-calc [OPTION]... --batch
//
// Before the page: short options ("-h", "-3", "-m", "-w", also run together
// as "-3mw") and long ones. After it: long options only, so that every other
// argument is a field ("-400", "-5.5", "-1e3", "-h"). A long option may be
// cut to any prefix that names one option; its value follows "=" or is the
// next argument, except --color/--colour, whose value only follows "=" (a
// bare --color means always). "--" ends the options wherever it stands: the
// argument after it is the page when none came before, and every argument
// after it is a field. Repeated options: the last value holds, except
// --closed, whose files all count.

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::cli {

// When the terminal calendar is coloured: --color=auto|always|never.
enum class ColorMode { Auto, Always, Never };

// The options, one for each, whatever names it has (--color, --colour).
enum class Option {
    kHelp,
    kVersion,
    kBatch,
    kThreads,
    kSeparator,
    kColor,
    kJson,
    kInclusive,
    kYearEnd,
    kClosed,
    kWeekend,
    kThree,
    kMonday,
    kWeekNumbers,
};

struct Arguments {
    // The options given, each once, in the order of their first use.
    std::vector<Option> given;
    bool Has(Option option) const {
        return std::find(given.begin(), given.end(), option) != given.end();
    }

    // The values of the options that take one: the last given, but for the
    // files of --closed, which all count.
    ColorMode color = ColorMode::Auto;
    std::optional<char> separator;               // --decimal-separator, checked to be usable
    unsigned threads = 0;                        // --threads: 1 to kMaxThreads; 0 when not given
    std::vector<std::string> closedFiles;        // --closed, in the order given
    std::optional<std::array<bool, 7>> weekend;  // --weekend, Sunday first

    std::optional<std::string> page;
    std::vector<std::string> fields;
};

// More threads would only cost memory and start-up time.
inline constexpr unsigned kMaxThreads = 1024;

// Takes the arguments (without the program's name) apart. Raises UsageError
// (Pages.h) for an unknown or ambiguous option, a missing value, a value
// given to an option that takes none, and a value that the option does not
// take (a separator, colour mode or thread count that is none); the first
// such argument is named. A --weekend list that names no weekend raises
// japanese::CalendarError, as ReadWeekend does.
Arguments ScanArguments(const std::vector<std::string>& args);

// The long name of an option, its first where it has two ("--color").
// Never fails but for memory.
std::string OptionName(Option option);

}  // namespace vesk::cli
