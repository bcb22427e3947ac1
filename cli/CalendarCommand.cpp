#include "cli/CalendarCommand.h"

#include <cstdlib>
#include <cstring>

#include "cli/DateFields.h"
#include "japanese/CalendarError.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#if defined(__GLIBC__)
#include <langinfo.h>
#include <locale.h>
#endif

namespace vesk::cli {
namespace {

using namespace std::chrono;

bool IsCurrent(const TMonthModel& calendar, int col, int row) {
    return col == calendar.CurrentCol() && row == calendar.CurrentRow();
}

// The number that 1 to `maxDigits` ASCII digits write, when it lies in
// [low, high].
std::optional<unsigned> SmallNumber(std::string_view text, std::size_t maxDigits, unsigned low,
                                    unsigned high) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

year ReadYear(std::string_view text) {
    const auto value = SmallNumber(text, 4, 1, 9999);
    if (!value)
        throw japanese::CalendarError{"'" + BoundedText(text) + "' is not a year from 1 to 9999"};
    return year{static_cast<int>(*value)};
}

month ReadMonth(std::string_view text) {
    const auto value = SmallNumber(text, 2, 1, 12);
    if (!value)
        throw japanese::CalendarError{"'" + BoundedText(text) + "' is not a month from 1 to 12"};
    return month{*value};
}

// The day of a typed year and month; the date reader tells why a day that
// the month does not have is none.
year_month_day ReadDay(year_month month, std::string_view text, TodayFunction today) {
    const auto value = SmallNumber(text, 2, 1, 31);
    if (!value)
        throw japanese::CalendarError{"'" + BoundedText(text) + "' is not a day from 1 to 31"};
    char iso[16];
    std::snprintf(iso, sizeof iso, "%04d-%02u-%02u", static_cast<int>(month.year()),
                  static_cast<unsigned>(month.month()), *value);
    return ReadDateField(iso, today);
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
#if defined(_WIN32)
    (void)stream;
    return false;  // the console may not take escape sequences: brackets there
#else
    const char* term = std::getenv("TERM");
    return ::isatty(::fileno(stream)) == 1 && term != nullptr && std::string(term) != "dumb";
#endif
}

bool UseColor(ColorMode mode, bool terminal, const char* noColor) {
    switch (mode) {
        case ColorMode::Always: return true;
        case ColorMode::Never: return false;
        case ColorMode::Auto: break;
    }
    return terminal && (noColor == nullptr || *noColor == '\0');
}

std::vector<std::string> CalendarRowTexts(const TMonthModel& calendar) {
    std::vector<std::string> rows;
    for (int row = 0; row < kCalendarRowCount; ++row) {
        std::string line;
        for (int col = 0; col < kCalendarColCount; ++col) {
            const std::string label = calendar.CellLabel(col, row);
            if (col != 0) line += '\t';
            line += IsCurrent(calendar, col, row) ? "[" + label + "]" : label;
        }
        rows.push_back(std::move(line));
    }
    return rows;
}

CalendarSheet ReadCalendarFields(const std::vector<std::string>& fields, bool three,
                                 TodayFunction today) {
    CalendarSheet sheet;
    const year_month_day now{today()};
    std::optional<year_month_day> typed;
    switch (fields.size()) {
        case 0:
            sheet.first = now.year() / now.month();
            break;
        case 1:
            // Up to four digits are a year; longer texts are dates (20240105).
            if (fields[0].size() <= 4 && SmallNumber(fields[0], 4, 0, 9999)) {
                sheet.first = ReadYear(fields[0]) / January;
                sheet.months = 12;
                sheet.wholeYear = true;
            } else {
                typed = ReadDateField(fields[0], today);
            }
            break;
        case 2:
            sheet.first = ReadYear(fields[0]) / ReadMonth(fields[1]);
            break;
        case 3:
            typed = ReadDay(ReadYear(fields[0]) / ReadMonth(fields[1]), fields[2], today);
            break;
        default:
            throw UsageError{"calendar takes a year, a year and a month, a date, or none, not " +
                             std::to_string(fields.size()) + " fields"};
    }
    if (typed) sheet.first = typed->year() / typed->month();
    if (three) {
        if (sheet.wholeYear) throw UsageError{"option '--three' does not apply to a whole year"};
        const year_month shown = sheet.first;
        sheet.months = 3;
        if (shown.year() == year{1} && shown.month() == January) {
            --sheet.months;
        } else {
            sheet.first -= months{1};
        }
        if (shown.year() == year{9999} && shown.month() == December) --sheet.months;
    }
    if (typed) {
        sheet.highlight = typed;
    } else {
        const year_month current = now.year() / now.month();
        if (current >= sheet.first && current < sheet.first + months{sheet.months})
            sheet.highlight = now;
    }
    return sheet;
}

bool WeekStartsOnMonday(std::uint32_t week1stDay, unsigned firstWeekday) noexcept {
    const year_month_day base{year{static_cast<int>(week1stDay / 10000)},
                              month{week1stDay / 100 % 100}, day{week1stDay % 100}};
    if (!base.ok() || firstWeekday < 1 || firstWeekday > 7) return false;
    return weekday{sys_days{base}} + days{firstWeekday - 1} == Monday;
}

bool LocaleWeekStartsOnMonday() {
#if defined(__GLIBC__)
    const locale_t locale = newlocale(LC_TIME_MASK, "", locale_t{});
    if (locale == locale_t{}) return false;
    // The day list's base is a number where the item's text pointer would
    // be: its first bytes, as glibc's union of the two lays them out.
    const char* base = nl_langinfo_l(_NL_TIME_WEEK_1STDAY, locale);
    std::uint32_t week1stDay = 0;
    std::memcpy(&week1stDay, &base, sizeof week1stDay);
    const unsigned firstWeekday =
        static_cast<unsigned char>(*nl_langinfo_l(_NL_TIME_FIRST_WEEKDAY, locale));
    freelocale(locale);
    return WeekStartsOnMonday(week1stDay, firstWeekday);
#else
    return false;
#endif
}

}  // namespace vesk::cli
