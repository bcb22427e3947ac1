#include "cli/CommandLine.h"

#include <getopt.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>

#include "cli/Batch.h"
#include "cli/CalendarCommand.h"
#include "cli/Pages.h"
#include "japanese/CalendarError.h"
#include "textconv/DayAbbreviations.h"
#include "cli/Separator.h"
#include "textconv/ErrorText.h"
#include "textconv/Failures.h"
#include "textconv/NumberFormat.h"
#include "textconv/SystemClock.h"
#include "version/Version.h"

namespace vesk::cli {
namespace {

constexpr const char* kProgram = "vesk310-calc";
constexpr unsigned long kMaxThreads = 1024;  // more would only cost memory and start-up time

constexpr const char* kHelp =
    "Usage: vesk310-calc [OPTION]... PAGE [FIELD]...\n"
    "       vesk310-calc [OPTION]... --batch\n"
    "Computes a page of the VESK_310 date calculator from its field texts.\n"
    "\n"
    "Pages:\n"
    "  weekday Y M D             the day of the week of a date\n"
    "  span Y1 M1 D1 Y2 M2 D2    the days from date (1) to date (2)\n"
    "  after Y M D N             the date N days after a date\n"
    "  uptime [MS]               the uptime text of a tick count (default: now)\n"
    "  calendar [Y M D]          this month's grid, or the grid moved to Y M D\n"
    "A date can also be one argument: YYYY-MM-DD, YYYY/MM/DD or today.\n"
    "Every other argument after PAGE is a field text as typed, \"-400\" too.\n"
    "\n"
    "Options:\n"
    "  -h, --help                show this help and exit\n"
    "      --version             show the version and exit\n"
    "      --decimal-separator C use C as the decimal separator instead of the\n"
    "                            locale's (also with --batch): one printable\n"
    "                            ASCII character, not a digit, sign, blank,\n"
    "                            e, E, $, x or X\n"
    "      --color WHEN          the calendar's day in reverse video: auto (on a\n"
    "                            terminal, unless NO_COLOR is set), always, never\n"
    "      --batch               answer JSON Lines on standard input, one line\n"
    "                            out for each line in\n"
    "      --threads N           answer --batch input on N threads (default: the\n"
    "                            processors the process may use, at most 8)\n"
    "  --                        end of the options\n"
    "\n"
    "Batch lines: {\"page\": PAGE, \"fields\": [TEXT, ...]} with the optional keys\n"
    "\"separator\" (as --decimal-separator, which it wins over), \"id\" (any JSON\n"
    "value, copied into the answer) and, for the calendar, \"start\": [Y, M, D].\n"
    "Answers: {\"ok\": true, \"texts\": [...]} or\n"
    "         {\"ok\": false, \"error\": CLASS, \"message\": TEXT}.\n"
    "\n"
    "Exit status: 0 answered, 1 the page failed or the input could not be read\n"
    "or the output written, 2 bad usage, 128+N after signal N (--batch).\n"
    "\n"
    "Full manual: man vesk310-calc\n";

// Writes to the output stream and keeps the first failure, with its errno.
class Output {
public:
    explicit Output(std::FILE* stream) : stream_(stream) {}

    void Write(const std::string& text) {
        if (error_ != 0 || text.empty()) return;
        errno = 0;
        if (std::fwrite(text.data(), 1, text.size(), stream_) != text.size()) Fail();
    }

    // Flushes; gives 0 when everything written has arrived, else the errno
    // of the first failure.
    int Finish() {
        errno = 0;
        if (error_ == 0 && (std::fflush(stream_) != 0 || std::ferror(stream_) != 0)) Fail();
        return error_;
    }

private:
    void Fail() { error_ = errno != 0 ? errno : EIO; }

    std::FILE* stream_;
    int error_ = 0;
};

void WriteError(std::FILE* err, const std::string& text) {
    const std::string line = std::string(kProgram) + ": " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), err);
    std::fflush(err);
}

int Usage(std::FILE* err, const std::string& problem) {
    WriteError(err, problem);
    const std::string hint = std::string("Try '") + kProgram + " --help' for more information.\n";
    std::fwrite(hint.data(), 1, hint.size(), err);
    std::fflush(err);
    return 2;
}

// Ends a run that produced output: 0, or 1 with the write error.
int Finish(Output& out, std::FILE* err, int code) {
    if (const int error = out.Finish(); error != 0) {
        WriteError(err, std::string("write error: ") + std::strerror(error));
        return 1;
    }
    return code;
}

std::string WithoutLeadingZeros(std::string_view digits) {
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    return std::string(digits);
}

// The parts of an ISO date argument, or nothing.
std::optional<std::vector<std::string>> IsoDate(std::string_view text) {
    auto digits = [&text](std::size_t at) {
        std::size_t end = at;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
        return end - at;
    };
    const std::size_t year = digits(0);
    if (year < 1 || year > 4 || year == text.size()) return std::nullopt;
    const char separator = text[year];
    if (separator != '-' && separator != '/') return std::nullopt;
    const std::size_t month = digits(year + 1);
    const std::size_t second = year + 1 + month;
    if (month < 1 || month > 2 || second >= text.size() || text[second] != separator) return std::nullopt;
    const std::size_t day = digits(second + 1);
    if (day < 1 || day > 2 || second + 1 + day != text.size()) return std::nullopt;
    return std::vector<std::string>{WithoutLeadingZeros(text.substr(0, year)),
                                    WithoutLeadingZeros(text.substr(year + 1, month)),
                                    WithoutLeadingZeros(text.substr(second + 1, day))};
}

// What is wrong with the option argument `current` for which getopt_long gave
// ':' or '?'. The C libraries differ in which of the two a value for a flag
// gets, so that case is recognised here.
std::string OptionProblem(int given, const std::string& current, const ::option* options) {
    if (current.rfind("--", 0) == 0) {
        const std::size_t equals = current.find('=');
        const std::string name = current.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        for (const ::option* o = options; o->name != nullptr; ++o) {
            if (name.empty() || std::string_view(o->name).rfind(name, 0) != 0) continue;  // abbreviations too
            if (o->has_arg == no_argument && equals != std::string::npos) {
                return "option '--" + std::string(o->name) + "' takes no value";
            }
            if (given == ':') return "option '--" + std::string(o->name) + "' needs a value";
        }
        return "invalid option '" + current + "'";
    }
    // A short option, named by getopt's optopt.
    return "invalid option '-" + std::string(1, static_cast<char>(optopt)) + "'";
}

enum Option : int {
    kVersionOption = 256,
    kBatchOption,
    kSeparatorOption,
    kColorOption,
    kThreadsOption
};

}  // namespace

std::vector<std::string> ExpandDateArguments(const std::vector<std::string>& args) {
    std::vector<std::string> fields;
    for (const std::string& arg : args) {
        if (arg == "today") {
            const LocalDate today = ReadLocalDate();
            fields.insert(fields.end(), {std::to_string(today.year), std::to_string(today.month),
                                         std::to_string(today.day)});
        } else if (const auto date = IsoDate(arg)) {
            fields.insert(fields.end(), date->begin(), date->end());
        } else {
            fields.push_back(arg);
        }
    }
    return fields;
}

int RunCalculator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    ReadNumberFormatFromLocale();
    ReadDayAbbreviations();

    // getopt_long wants a mutable argv with the program's name in front.
    std::vector<std::string> texts{kProgram};
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(texts.size());

    static const ::option kOptions[] = {
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, kVersionOption},
        {"batch", no_argument, nullptr, kBatchOption},
        {"decimal-separator", required_argument, nullptr, kSeparatorOption},
        {"color", required_argument, nullptr, kColorOption},
        {"threads", required_argument, nullptr, kThreadsOption},
        {nullptr, 0, nullptr, 0},
    };
    bool help = false, version = false, batch = false;
    ColorMode color = ColorMode::Auto;
    std::optional<char> separator;
    unsigned threads = 0;  // 0: as many as the processors allow
    // "+": the options end at the first argument that is none (the page), so
    // that "-400" after it stays a field. ":": a missing value is told apart.
    optind = 0;  // a fresh scan on every call
    opterr = 0;
    for (int option; (option = getopt_long(argc, argv.data(), "+:h", kOptions, nullptr)) != -1;) {
        const std::string current = optind - 1 < argc ? argv[static_cast<std::size_t>(optind - 1)] : "";
        switch (option) {
            case 'h': help = true; break;
            case kVersionOption: version = true; break;
            case kBatchOption: batch = true; break;
            case kSeparatorOption:
                if (!IsUsableSeparator(optarg)) {
                    return Usage(err,
                                 "--decimal-separator takes one printable ASCII character other than a digit, "
                                 "a sign, a blank, e, E, $, x or X, not '" + std::string(optarg) + "'");
                }
                separator = optarg[0];
                break;
            case kColorOption:
                if (std::strcmp(optarg, "auto") == 0) {
                    color = ColorMode::Auto;
                } else if (std::strcmp(optarg, "always") == 0) {
                    color = ColorMode::Always;
                } else if (std::strcmp(optarg, "never") == 0) {
                    color = ColorMode::Never;
                } else {
                    return Usage(err, "--color takes auto, always or never, not '" + std::string(optarg) + "'");
                }
                break;
            case kThreadsOption: {
                // Digits only: strtoul would take blanks, a sign and "0x".
                const std::string_view digits(optarg);
                bool number = !digits.empty();
                unsigned long count = 0;  // held just above the limit, which is enough to refuse it
                for (const char digit : digits) {
                    number = number && digit >= '0' && digit <= '9';
                    if (!number) break;
                    count = std::min(count * 10 + static_cast<unsigned long>(digit - '0'), kMaxThreads + 1);
                }
                if (!number || count < 1 || count > kMaxThreads) {
                    return Usage(err, "--threads takes a whole number from 1 to " +
                                          std::to_string(kMaxThreads) + ", not '" + optarg + "'");
                }
                threads = static_cast<unsigned>(count);
                break;
            }
            case ':':
            case '?':
                return Usage(err, OptionProblem(option, current, kOptions));
            default: return Usage(err, OptionProblem('?', current, kOptions));
        }
    }
    const std::vector<std::string> rest(args.begin() + (optind - 1), args.end());

    Output output(out);
    if (help) {
        output.Write(kHelp);
        return Finish(output, err, 0);
    }
    if (version) {
        output.Write(std::string(kProgram) + " " + VESK310_VERSION + "\n");
        return Finish(output, err, 0);
    }
    if (separator) SetDecimalSeparator(*separator);
    if (batch) {
        if (!rest.empty()) return Usage(err, "--batch takes no page, but was given '" + rest.front() + "'");
        std::fflush(out);
        BatchOptions options;
        options.threads = threads;
        return RunBatch(0, fileno(out), err, options);
    }
    if (rest.empty()) return Usage(err, "no page given: weekday, span, after, uptime or calendar");

    const std::string& page = rest.front();
    std::vector<std::string> fields(rest.begin() + 1, rest.end());
    if (page == "uptime" && fields.empty()) fields.push_back(std::to_string(SystemTickCount()));
    std::string failure;
    try {
        if (page == "calendar") {
            std::exception_ptr update;
            output.Write(CalendarPageText(fields, UseReverseVideo(color, IsTerminal(out), std::getenv("NO_COLOR")),
                                          update));
            if (update) std::rethrow_exception(update);
        } else {
            for (const std::string& text : RunPage(page, fields)) output.Write(text + "\n");
        }
    } catch (const UsageError& e) {
        return Usage(err, e.message);
    } catch (const japanese::CalendarError& e) {
        failure = e.message;
    } catch (const Exception& e) {
        failure = ShowFailureText(e.Message());
    } catch (const std::bad_alloc&) {
        failure = ShowFailureText(OutOfMemoryFailure().Message());
    }
    // What was written goes out before the failure is told.
    const int code = Finish(output, err, failure.empty() ? 0 : 1);
    if (!failure.empty()) WriteError(err, failure);
    return code;
}

}  // namespace vesk::cli
