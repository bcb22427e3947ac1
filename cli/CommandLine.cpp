#include "cli/CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "cli/ArgumentScanner.h"
#include "cli/Batch.h"
#include "cli/ClosedDaysFile.h"
#include "japanese/CalendarError.h"
#include "textconv/DayAbbreviations.h"
#include "textconv/ErrorText.h"
#include "textconv/Failures.h"
#include "textconv/NumberFormat.h"
#include "textconv/SystemClock.h"
#include "version/Version.h"

namespace vesk::cli {
namespace {

using namespace std::string_view_literals;

constexpr const char* kProgram = "vesk310-calc";

constexpr const char* kHelp =
    "Usage: vesk310-calc [OPTION]... PAGE [FIELD]... [LONG-OPTION]...\n"
    "       vesk310-calc [OPTION]... --batch\n"
    "Computes a page of the VESK_310 date calculator from its field texts.\n"
    "\n"
    "Pages:\n"
    "  weekday Y M D             the day of the week of a date\n"
    "  span Y1 M1 D1 Y2 M2 D2    the days from date (1) to date (2)\n"
    "  after Y M D N             the date N days after a date\n"
    "  uptime [MS]               the uptime text of a tick count (default: now)\n"
    "  calendar [Y [M [D]]]      this month, the year Y or the month Y M; for a\n"
    "                            day (Y M D or DATE), its month, the day marked\n"
    "  era DATE                  the date in 和暦, the Japanese era\n"
    "  holidays YEAR | FROM TO   the national holidays of a year or a range\n"
    "  days FROM TO              the days from FROM to TO\n"
    "  add DATE PERIOD           the date PERIOD after DATE (PERIOD: 1y2m3d,\n"
    "                            +2w, -10d, 1年2ヶ月3日, 2週間, 100日)\n"
    "  workdays FROM TO          the business days from FROM to TO\n"
    "  workday DATE N            the Nth business day after DATE (before it for\n"
    "                            N < 0)\n"
    "  age BIRTH [ON]            the age on ON (default: today)\n"
    "The dialog's pages (weekday to calendar) take its fields as typed, or a\n"
    "date in one field for three; the calendar's must name a real month or day.\n"
    "A date in one field: 2024-01-05, 2024/1/5, 20240105, 令和6年1月5日, R6.1.5,\n"
    "today, yesterday or tomorrow; it must exist in the Gregorian calendar.\n"
    "\n"
    "Options (before PAGE; the long ones may also follow it):\n"
    "  -h, --help                show this help and exit\n"
    "      --version             show the version and exit\n"
    "      --decimal-separator C use C as the decimal separator instead of the\n"
    "                            locale's (also with --batch): one printable\n"
    "                            ASCII character, not a digit, sign, blank,\n"
    "                            e, E, $, x or X\n"
    "      --color[=WHEN]        colour the terminal calendar: WHEN is always\n"
    "                            (also yes, force; a bare --color), never (no,\n"
    "                            none) or auto (tty, if-tty; the default): on a\n"
    "                            terminal, unless NO_COLOR is set; or --colour\n"
    "      --json                print the page's answer as the batch mode gives\n"
    "                            it, one JSON line; the calendar's is the\n"
    "                            dialog's grid, started from the day given\n"
    "      --batch               answer JSON Lines on standard input, one line\n"
    "                            out for each line in\n"
    "      --threads N           answer --batch input on N threads (default: the\n"
    "                            processors the process may use, at most 8)\n"
    "  --                        end of the options, before or after PAGE\n"
    "\n"
    "Options of some pages:\n"
    "      --inclusive           days: count the first day too\n"
    "      --year-end            workdays, workday: 29 December to 3 January are\n"
    "                            closed\n"
    "      --closed FILE         workdays, workday: the closed days in FILE, one\n"
    "                            date a line, \"#\" to the line's end a comment\n"
    "      --weekend LIST        workdays, workday: the days off each week, as\n"
    "                            sat,sun (the default), fri, 土,日 or \"\" (none)\n"
    "  -3, --three               calendar: the months before and after too\n"
    "  -m, --monday              calendar: weeks from Monday (default: as the\n"
    "                            locale says, else from Sunday)\n"
    "  -w, --week-numbers        calendar: ISO week numbers\n"
    "Short options come before PAGE only: after it, \"-400\", \"-5.5\" and \"-h\"\n"
    "are fields. A long option may be cut to a prefix that names only it.\n"
    "\n"
    "The terminal calendar shows Sundays and holidays in red, Saturdays in\n"
    "blue and the day in reverse video; without colour, the day in [brackets]\n"
    "and a \"*\" after a holiday. Each month's holidays are listed under it.\n"
    "\n"
    "Batch lines: {\"page\": PAGE, \"fields\": [TEXT, ...]} with the optional keys\n"
    "\"separator\" (as --decimal-separator, which it wins over), \"id\" (any JSON\n"
    "value, copied into the answer) and those of the pages that take them:\n"
    "\"start\": [Y, M, D] (calendar), \"inclusive\" (days), \"yearEnd\", \"closed\"\n"
    "and \"weekend\" (workdays, workday).\n"
    "Answers: {\"ok\": true, \"texts\": [...], \"values\": {...}} or\n"
    "         {\"ok\": false, \"error\": CLASS, \"message\": TEXT}.\n"
    "\n"
    "Exit status: 0 answered, 1 the page failed or refused a text (a date that\n"
    "is none, ...) or a file or the input could not be read or the output\n"
    "written, 2 bad usage, 128+N after signal N (--batch).\n"
    "With --json the answer is printed either way, with the same status.\n"
    "\n"
    "Full manual: man vesk310-calc\n"
    "Report bugs to: vesk310@zelmoro.org\n";

constexpr const char* kVersion =
    "vesk310-calc " VESK310_VERSION
    "\n"
    "Copyright (C) 2026 the VESK_310 developers\n"
    "License MIT: <https://opensource.org/license/mit>\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

constexpr std::string_view kPages[] = {"weekday",  "span", "after", "uptime",   "calendar", "era",
                                       "holidays", "days", "add",   "workdays", "workday",  "age"};

// Writes to the output stream and keeps the first failure, with its errno.
class Output {
  public:
    explicit Output(std::FILE* stream) : stream_(stream) {}

    void Write(std::string_view text) {
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

// Whether the request takes the option: every request the general ones;
// --batch its own; a page the batch keys of the same names, --json, and the
// terminal calendar its forms.
bool Takes(const Arguments& arguments, Option option) {
    switch (option) {
        case Option::kHelp:
        case Option::kVersion:
        case Option::kSeparator:
        case Option::kColor:
            return true;
        case Option::kBatch:
        case Option::kThreads:
            return arguments.Has(Option::kBatch);
        default:
            break;
    }
    if (arguments.Has(Option::kBatch)) return false;
    const std::string_view page = *arguments.page;
    switch (option) {
        case Option::kInclusive:
            return (PageKeys(page) & kInclusiveKey) != 0;
        case Option::kYearEnd:
        case Option::kClosed:
        case Option::kWeekend:
            return (PageKeys(page) & kBusinessKeys) != 0;
        case Option::kThree:
        case Option::kMonday:
        case Option::kWeekNumbers:
            return page == "calendar" && !arguments.Has(Option::kJson);
        default:
            return true;  // --json
    }
}

// Refuses the first option given that the request does not take.
void CheckOptions(const Arguments& arguments) {
    for (const Option option : arguments.given) {
        if (Takes(arguments, option)) continue;
        std::string request = "--batch";
        if (!arguments.Has(Option::kBatch)) {
            request = BoundedText(*arguments.page);
            if (*arguments.page == "calendar" && arguments.Has(Option::kJson))
                request += " with --json";
            if (option == Option::kThreads) request += " (only to --batch)";
        }
        throw UsageError{"option '" + OptionName(option) + "' does not apply to " + request};
    }
}

// The page options of the arguments; reads the --closed files.
PageOptions ReadPageOptions(const Arguments& arguments, TodayFunction today) {
    PageOptions options;
    options.today = today;
    options.inclusive = arguments.Has(Option::kInclusive);
    options.yearEnd = arguments.Has(Option::kYearEnd);
    if (arguments.weekend) options.weekend = *arguments.weekend;
    for (const std::string& path : arguments.closedFiles) {
        const std::vector<std::chrono::sys_days> days = ReadClosedDaysFile(path);
        // in file order: the pages sort them
        options.closed.insert(options.closed.end(), days.begin(), days.end());
    }
    return options;
}

// The exit code of a batch answer line.
int AnswerCode(std::string_view answer) {
    if (answer.starts_with("{\"ok\": true"sv)) return 0;
    return answer.starts_with("{\"ok\": false, \"error\": \"usage\""sv) ? 2 : 1;
}

}  // namespace

int RunCalculator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                  const CalculatorSystem& system) {
    ReadNumberFormatFromLocale();
    ReadDayAbbreviations();
    Output output(out);
    std::string failure;
    try {
        const Arguments arguments = ScanArguments(args);
        if (arguments.Has(Option::kHelp)) {
            output.Write(kHelp);
            return Finish(output, err, 0);
        }
        if (arguments.Has(Option::kVersion)) {
            output.Write(kVersion);
            return Finish(output, err, 0);
        }
        if (arguments.separator) SetDecimalSeparator(*arguments.separator);
        if (arguments.Has(Option::kBatch)) {
            if (arguments.page) {
                return Usage(err, "--batch takes no page, but was given '" +
                                      BoundedText(*arguments.page) + "'");
            }
            CheckOptions(arguments);
            std::fflush(out);
            BatchOptions options;
            options.threads = arguments.threads;
            return RunBatch(0, fileno(out), err, options);
        }
        if (!arguments.page) {
            return Usage(
                err,
                "no page given: weekday, span, after, uptime, calendar, era, holidays, days, add, "
                "workdays, workday or age");
        }
        const std::string& page = *arguments.page;
        if (std::find(std::begin(kPages), std::end(kPages), page) == std::end(kPages)) {
            return Usage(err, "unknown page '" + BoundedText(page) + "'");
        }
        CheckOptions(arguments);

        std::vector<std::string> fields = arguments.fields;
        if (page == "uptime" && fields.empty()) fields.push_back(std::to_string(SystemTickCount()));
        const bool json = arguments.Has(Option::kJson);
        if (page == "calendar" && !json) {
            const CalendarSheet sheet =
                ReadCalendarFields(fields, arguments.Has(Option::kThree), system.today);
            CalendarLook look;
            look.color = UseColor(arguments.color, system.isTerminal(out), std::getenv("NO_COLOR"));
            look.mondayFirst = arguments.Has(Option::kMonday) || system.weekStartsOnMonday();
            look.weekNumbers = arguments.Has(Option::kWeekNumbers);
            look.holidays = system.holidays;
            output.Write(CalendarSheetText(sheet, look));
            return Finish(output, err, 0);
        }

        PageOptions options = ReadPageOptions(arguments, system.today);
        const std::vector<std::string_view> views(fields.begin(), fields.end());
        const auto kept = std::span(views).first(std::min(views.size(), kMaxPageFields));
        if (json) {
            // The grid starts from the day the fields name, so that the answer
            // is the same on every day, as the terminal calendar's.
            if (page == "calendar" && (fields.size() == 1 || fields.size() == 3)) {
                try {
                    const CalendarSheet sheet = ReadCalendarFields(fields, false, system.today);
                    if (!sheet.wholeYear) options.start = sheet.highlight;
                } catch (const japanese::CalendarError&) {
                    // the page refuses the fields, or takes them by its own rules
                }
            }
            std::string answer;
            AppendPageAnswer(answer, page, kept, views.size(), options);
            output.Write(answer);
            return Finish(output, err, AnswerCode(answer));
        }
        PageAnswer answer;
        RunPage(page, kept, views.size(), options, answer);
        for (std::size_t i = 0; i < answer.TextCount(); ++i) {
            output.Write(answer.Text(i));
            output.Write("\n");
        }
    } catch (const UsageError& e) {
        return Usage(err, e.message);
    } catch (const japanese::CalendarError& e) {
        failure = e.message;  // one line, as it stands
    } catch (const FileReadError& e) {
        WriteError(err, e.message);
        return 1;
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
