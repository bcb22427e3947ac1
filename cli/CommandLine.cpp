#include "cli/CommandLine.h"

#include "calendar/DayAbbreviations.h"
#include "cli/Batch.h"
#include "cli/CalendarCommand.h"
#include "cli/Pages.h"
#include "cli/Separator.h"
#include "textconv/ErrorText.h"
#include "textconv/Failures.h"
#include "textconv/NumberFormat.h"
#include "textconv/SystemClock.h"

namespace vesk::cli {
namespace {

constexpr const char* kUsage =
    "usage: vesk310-calc [--decimal-separator C] PAGE FIELD...\n"
    "       vesk310-calc [--decimal-separator C] --batch\n"
    "pages:\n"
    "  weekday Y M D                the day of the week of a date\n"
    "  span Y1 M1 D1 Y2 M2 D2       the days from date (1) to date (2)\n"
    "  after Y M D N                the date N days after a date\n"
    "  uptime [MS]                  the uptime text of a tick count (default: now)\n"
    "  calendar [Y M D]             this month's grid, or the grid moved to Y M D\n"
    "Fields are used as typed, even when they begin with \"-\".\n"
    "--batch reads JSON Lines on standard input and answers each line with one line.\n";

void Write(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

int Usage(std::FILE* err, const std::string& problem) {
    if (!problem.empty()) Write(err, "vesk310-calc: " + problem + "\n");
    Write(err, kUsage);
    return 2;
}

}  // namespace

int RunCalculator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    ReadNumberFormatFromLocale();
    ReadDayAbbreviations();
    std::size_t i = 0;
    // Options come before the page name; everything after it is a field text.
    for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
        if (args[i] == "--help") {
            Write(out, kUsage);
            return 0;
        }
        if (args[i] == "--batch") {
            if (i + 1 != args.size()) return Usage(err, "--batch takes no page");
            std::fflush(out);
            return RunBatch(0, fileno(out), err);
        }
        if (args[i] == "--decimal-separator") {
            if (i + 1 >= args.size() || !IsUsableSeparator(args[i + 1])) {
                return Usage(err, "--decimal-separator takes one printable ASCII character other than a digit, "
                                  "a sign, a blank, e, E, $, x or X");
            }
            SetDecimalSeparator(args[++i][0]);
            continue;
        }
        return Usage(err, "unknown option " + args[i]);
    }
    if (i == args.size()) return Usage(err, "");
    const std::string page = args[i];
    std::vector<std::string> fields(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    if (page == "uptime" && fields.empty()) fields.push_back(std::to_string(SystemTickCount()));
    try {
        if (page == "calendar") {
            PrintCalendar(fields, out);
            return 0;
        }
        for (const std::string& text : RunPage(page, fields)) Write(out, text + "\n");
        return 0;
    } catch (const UsageError& e) {
        return Usage(err, e.message);
    } catch (const Exception& e) {
        Write(err, ShowFailureText(e.Message()) + "\n");
        return 1;
    } catch (const std::bad_alloc&) {
        Write(err, ShowFailureText(OutOfMemoryFailure().Message()) + "\n");
        return 1;
    }
}

}  // namespace vesk::cli
