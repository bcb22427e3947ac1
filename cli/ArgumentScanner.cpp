#include "cli/ArgumentScanner.h"

#include <algorithm>

#include "cli/DateFields.h"
#include "cli/Pages.h"
#include "cli/Separator.h"

namespace vesk::cli {
namespace {

enum class Takes { kNothing, kValue, kValueAfterEquals };

enum class Id {
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

struct Spec {
    std::string_view name;
    char shortName;  // 0: none
    Takes takes;
    Id id;
};

// Two names of one option (--color, --colour) share its id.
constexpr Spec kSpecs[] = {
    {"help", 'h', Takes::kNothing, Id::kHelp},
    {"version", 0, Takes::kNothing, Id::kVersion},
    {"batch", 0, Takes::kNothing, Id::kBatch},
    {"threads", 0, Takes::kValue, Id::kThreads},
    {"decimal-separator", 0, Takes::kValue, Id::kSeparator},
    {"color", 0, Takes::kValueAfterEquals, Id::kColor},
    {"colour", 0, Takes::kValueAfterEquals, Id::kColor},
    {"json", 0, Takes::kNothing, Id::kJson},
    {"inclusive", 0, Takes::kNothing, Id::kInclusive},
    {"year-end", 0, Takes::kNothing, Id::kYearEnd},
    {"closed", 0, Takes::kValue, Id::kClosed},
    {"weekend", 0, Takes::kValue, Id::kWeekend},
    {"three", '3', Takes::kNothing, Id::kThree},
    {"monday", 'm', Takes::kNothing, Id::kMonday},
    {"week-numbers", 'w', Takes::kNothing, Id::kWeekNumbers},
};

[[noreturn]] void Refuse(std::string message) { throw UsageError{std::move(message)}; }

// The option a long name or an abbreviation of one names.
const Spec& FindLong(std::string_view name, std::string_view typed) {
    for (const Spec& spec : kSpecs) {
        if (spec.name == name) return spec;
    }
    const Spec* found = nullptr;
    std::string candidates;
    bool ambiguous = false;
    for (const Spec& spec : kSpecs) {
        if (name.empty() || !spec.name.starts_with(name)) continue;
        candidates += (candidates.empty() ? "--" : ", --") + std::string(spec.name);
        if (found != nullptr && found->id != spec.id) ambiguous = true;
        if (found == nullptr) found = &spec;
    }
    if (found == nullptr) Refuse("invalid option '" + BoundedText(typed) + "'");
    if (ambiguous) Refuse("option '--" + BoundedText(name) + "' is ambiguous: " + candidates);
    return *found;
}

const Spec& FindShort(char letter, std::string_view typed) {
    for (const Spec& spec : kSpecs) {
        if (spec.shortName != 0 && spec.shortName == letter) return spec;
    }
    // A byte that is no ASCII character is part of one: the argument names it.
    const bool ascii = letter > ' ' && letter < 0x7F;
    Refuse("invalid option '" + (ascii ? "-" + std::string(1, letter) : BoundedText(typed)) + "'");
}

ColorMode ReadColorMode(std::string_view name, std::string_view when) {
    for (const std::string_view word : {"always", "yes", "force"}) {
        if (when == word) return ColorMode::Always;
    }
    for (const std::string_view word : {"never", "no", "none"}) {
        if (when == word) return ColorMode::Never;
    }
    for (const std::string_view word : {"auto", "tty", "if-tty"}) {
        if (when == word) return ColorMode::Auto;
    }
    Refuse("--" + std::string(name) +
           " takes always, never or auto (also yes, force, no, none, tty, if-tty), not '" +
           BoundedText(when) + "'");
}

// Digits only: from_chars and strtoul would take a sign, and strtoul blanks and "0x".
unsigned ReadThreadCount(std::string_view text) {
    unsigned count = 0;  // held just above the limit, which is enough to refuse it
    bool number = !text.empty();
    for (const char digit : text) {
        number = number && digit >= '0' && digit <= '9';
        if (!number) break;
        count = std::min(count * 10 + static_cast<unsigned>(digit - '0'), kMaxThreads + 1);
    }
    if (!number || count < 1 || count > kMaxThreads) {
        Refuse("--threads takes a whole number from 1 to " + std::to_string(kMaxThreads) +
               ", not '" + BoundedText(text) + "'");
    }
    return count;
}

void Record(Arguments& arguments, PageOption option) {
    if (std::find(arguments.given.begin(), arguments.given.end(), option) ==
        arguments.given.end()) {
        arguments.given.push_back(option);
    }
}

// Applies an option with its value (empty for one that takes none).
void Apply(Arguments& arguments, const Spec& spec, std::string_view value, bool hasValue) {
    switch (spec.id) {
        case Id::kHelp:
            arguments.help = true;
            return;
        case Id::kVersion:
            arguments.version = true;
            return;
        case Id::kBatch:
            arguments.batch = true;
            return;
        case Id::kThreads:
            arguments.threads = ReadThreadCount(value);
            return Record(arguments, PageOption::kThreads);
        case Id::kSeparator:
            if (!IsUsableSeparator(value)) {
                Refuse(
                    "--decimal-separator takes one printable ASCII character other than a digit, "
                    "a sign, a blank, e, E, $, x or X, not '" +
                    BoundedText(value) + "'");
            }
            arguments.separator = value[0];
            return;
        case Id::kColor:
            arguments.color = hasValue ? ReadColorMode(spec.name, value) : ColorMode::Always;
            return;
        case Id::kJson:
            arguments.json = true;
            return Record(arguments, PageOption::kJson);
        case Id::kInclusive:
            arguments.inclusive = true;
            return Record(arguments, PageOption::kInclusive);
        case Id::kYearEnd:
            arguments.yearEnd = true;
            return Record(arguments, PageOption::kYearEnd);
        case Id::kClosed:
            arguments.closedFiles.emplace_back(value);
            return Record(arguments, PageOption::kClosed);
        case Id::kWeekend:
            arguments.weekend = ReadWeekend(value);
            return Record(arguments, PageOption::kWeekend);
        case Id::kThree:
            arguments.three = true;
            return Record(arguments, PageOption::kThree);
        case Id::kMonday:
            arguments.monday = true;
            return Record(arguments, PageOption::kMonday);
        case Id::kWeekNumbers:
            arguments.weekNumbers = true;
            return Record(arguments, PageOption::kWeekNumbers);
    }
}

}  // namespace

std::string_view OptionName(PageOption option) noexcept {
    switch (option) {
        case PageOption::kJson:
            return "--json";
        case PageOption::kInclusive:
            return "--inclusive";
        case PageOption::kYearEnd:
            return "--year-end";
        case PageOption::kClosed:
            return "--closed";
        case PageOption::kWeekend:
            return "--weekend";
        case PageOption::kThree:
            return "--three";
        case PageOption::kMonday:
            return "--monday";
        case PageOption::kWeekNumbers:
            return "--week-numbers";
        case PageOption::kThreads:
            return "--threads";
    }
    return {};
}

Arguments ScanArguments(const std::vector<std::string>& args) {
    Arguments arguments;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool positional =
            optionsEnded || arg.size() < 2 || arg[0] != '-' ||
            (arguments.page && arg[1] != '-');  // short options come before the page
        if (positional) {
            if (arguments.page) {
                arguments.fields.push_back(arg);
            } else {
                arguments.page = arg;
            }
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg[1] == '-') {
            const std::string_view body = std::string_view(arg).substr(2);
            const std::size_t equals = body.find('=');
            const Spec& spec = FindLong(body.substr(0, equals), arg);
            const std::string name = "--" + std::string(spec.name);
            if (equals != std::string_view::npos) {
                if (spec.takes == Takes::kNothing) Refuse("option '" + name + "' takes no value");
                Apply(arguments, spec, body.substr(equals + 1), true);
            } else if (spec.takes == Takes::kValue) {
                if (i + 1 == args.size()) Refuse("option '" + name + "' needs a value");
                Apply(arguments, spec, args[++i], true);
            } else {
                Apply(arguments, spec, {}, false);
            }
        } else {
            // A run of short options, none of which takes a value.
            for (std::size_t k = 1; k < arg.size(); ++k)
                Apply(arguments, FindShort(arg[k], arg), {}, false);
        }
    }
    return arguments;
}

}  // namespace vesk::cli
