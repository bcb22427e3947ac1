#include "cli/ArgumentScanner.h"

#include <algorithm>

#include "cli/DateFields.h"
#include "cli/Pages.h"
#include "cli/Separator.h"

namespace vesk::cli {
namespace {

enum class Takes { kNothing, kValue, kValueAfterEquals };

struct Spec {
    std::string_view name;
    char shortName;  // 0: none
    Takes takes;
    Option id;
};

// Two names of one option (--color, --colour) share its id.
constexpr Spec kSpecs[] = {
    {"help", 'h', Takes::kNothing, Option::kHelp},
    {"version", 0, Takes::kNothing, Option::kVersion},
    {"batch", 0, Takes::kNothing, Option::kBatch},
    {"threads", 0, Takes::kValue, Option::kThreads},
    {"decimal-separator", 0, Takes::kValue, Option::kSeparator},
    {"color", 0, Takes::kValueAfterEquals, Option::kColor},
    {"colour", 0, Takes::kValueAfterEquals, Option::kColor},
    {"json", 0, Takes::kNothing, Option::kJson},
    {"inclusive", 0, Takes::kNothing, Option::kInclusive},
    {"year-end", 0, Takes::kNothing, Option::kYearEnd},
    {"closed", 0, Takes::kValue, Option::kClosed},
    {"weekend", 0, Takes::kValue, Option::kWeekend},
    {"three", '3', Takes::kNothing, Option::kThree},
    {"monday", 'm', Takes::kNothing, Option::kMonday},
    {"week-numbers", 'w', Takes::kNothing, Option::kWeekNumbers},
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

// Applies an option with its value (empty for one that takes none).
void Apply(Arguments& arguments, const Spec& spec, std::string_view value, bool hasValue) {
    if (!arguments.Has(spec.id)) arguments.given.push_back(spec.id);
    switch (spec.id) {
        case Option::kThreads:
            arguments.threads = ReadThreadCount(value);
            break;
        case Option::kSeparator:
            if (!IsUsableSeparator(value)) {
                Refuse(
                    "--decimal-separator takes one printable ASCII character other than a digit, "
                    "a sign, a blank, e, E, $, x or X, not '" +
                    BoundedText(value) + "'");
            }
            arguments.separator = value[0];
            break;
        case Option::kColor:
            arguments.color = hasValue ? ReadColorMode(spec.name, value) : ColorMode::Always;
            break;
        case Option::kClosed:
            arguments.closedFiles.emplace_back(value);
            break;
        case Option::kWeekend:
            arguments.weekend = ReadWeekend(value);
            break;
        default:
            break;  // the flags: given or not
    }
}

}  // namespace

std::string OptionName(Option option) {
    for (const Spec& spec : kSpecs) {
        if (spec.id == option) return "--" + std::string(spec.name);
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
