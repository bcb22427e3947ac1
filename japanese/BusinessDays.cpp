#include "japanese/BusinessDays.h"

#include <algorithm>
#include <functional>
#include <string>

#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"
#include "japanese/DateText.h"
#include "japanese/Holidays.h"
#include "japanese/WidthFold.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;

constexpr std::string_view kKnownRange = "(business days are known from 1948-01-01 to 2099-12-31)";
const sys_days kFirstDay{kFirstHolidayDate};
const sys_days kLastDay{kLastHolidayDate};

void RequireRules(const BusinessRules& rules) {
    if (std::all_of(rules.weekend.begin(), rules.weekend.end(), [](bool w) { return w; })) {
        throw CalendarError{"a weekend of all seven days leaves no business day"};
    }
    // The look-ups below search the closed days by halves.
    if (std::adjacent_find(rules.closed.begin(), rules.closed.end(), std::greater_equal<>()) !=
        rules.closed.end()) {
        throw CalendarError{"the closed days are not sorted or repeat a day"};
    }
}

sys_days RequireDay(year_month_day date) {
    if (!date.ok()) throw CalendarError{"business days were asked for a day that does not exist"};
    if (date < kFirstHolidayDate || date > kLastHolidayDate) {
        std::string message = IsoDate(date);
        message += " lies outside the days business days are known for (1948-01-01 to 2099-12-31)";
        throw CalendarError{std::move(message)};
    }
    return sys_days{date};
}

bool IsWeekend(const BusinessRules& rules, sys_days date) noexcept {
    return rules.weekend[weekday{date}.c_encoding()];
}

bool IsYearEndDay(year_month_day date) noexcept {
    return (date.month() == December && date.day() >= day{29}) ||
           (date.month() == January && date.day() <= day{3});
}

// A weekday of the rules that is closed for a reason other than a holiday.
bool IsClosedWeekday(const BusinessRules& rules, sys_days date) noexcept {
    return (rules.yearEnd && IsYearEndDay(year_month_day{date})) ||
           std::binary_search(rules.closed.begin(), rules.closed.end(), date);
}

// The business days from `from` through `to` (from <= to + 1, both in the
// table's range, rules checked). Whole weeks count their working days at
// once; then each holiday, year-end day and closed day of the range that
// falls on a working weekday is taken off, once.
std::int64_t Count(const BusinessRules& rules, sys_days from, sys_days to) noexcept {
    if (to < from) return 0;
    const std::int64_t length = (to - from).count() + 1;  // [1, 55152]
    const auto perWeek = std::count(rules.weekend.begin(), rules.weekend.end(), false);  // [1, 7]
    std::int64_t count = length / 7 * perWeek;
    const unsigned first = weekday{from}.c_encoding();
    for (std::int64_t i = 0; i < length % 7; ++i) {
        if (!rules.weekend[(first + static_cast<unsigned>(i)) % 7]) ++count;
    }
    for (const Holiday& holiday : HolidaySpan(from, to)) {
        if (!IsWeekend(rules, holiday.date)) --count;
    }
    const auto offWeekday = [&](sys_days date) {
        return !IsWeekend(rules, date) && !HolidayOn(date);
    };
    if (rules.yearEnd) {
        const int lastYear = static_cast<int>(year_month_day{to}.year());
        for (int y = static_cast<int>(year_month_day{from}.year()); y <= lastYear; ++y) {
            for (const year_month_day date :
                 {year{y} / January / 1, year{y} / January / 2, year{y} / January / 3,
                  year{y} / December / 29, year{y} / December / 30, year{y} / December / 31}) {
                const sys_days d{date};
                if (d >= from && d <= to && offWeekday(d)) --count;
            }
        }
    }
    const auto closedFirst = std::lower_bound(rules.closed.begin(), rules.closed.end(), from);
    const auto closedLast = std::upper_bound(closedFirst, rules.closed.end(), to);
    for (auto c = closedFirst; c != closedLast; ++c) {
        if (offWeekday(*c) && !(rules.yearEnd && IsYearEndDay(year_month_day{*c}))) --count;
    }
    return count;
}

// "the 2nd business day after 2099-12-30 lies past 2099-12-31 (...)".
[[noreturn]] void RefuseWalk(std::int64_t n, sys_days date) {
    std::string message = "the ";
    if (n == 0) {
        message += "next business day from ";
    } else {
        const std::uint64_t count =
            n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
        AppendUnsigned(message, count);
        const bool teen = count % 100 >= 11 && count % 100 <= 13;
        message += teen || count % 10 > 3 || count % 10 == 0 ? "th"
                   : count % 10 == 1                         ? "st"
                   : count % 10 == 2                         ? "nd"
                                                             : "rd";
        message += n < 0 ? " business day before " : " business day after ";
    }
    AppendIsoDate(message, year_month_day{date});
    message += n < 0 ? " lies before 1948-01-01 " : " lies past 2099-12-31 ";
    message += kKnownRange;
    throw CalendarError{std::move(message)};
}

// The smallest day e in [start, kLastDay] with Count(start, e) >= n, for
// 1 <= n <= Count(start, kLastDay): a window wide enough for n working days
// at the week's rate, doubled until it holds them, then halved.
sys_days Forward(const BusinessRules& rules, sys_days start, std::int64_t n,
                 std::int64_t perWeek) noexcept {
    std::int64_t width = n * 7 / perWeek + 16;  // n <= 55152: no overflow
    sys_days high = start + days{std::min<std::int64_t>(width, (kLastDay - start).count())};
    while (Count(rules, start, high) < n) {
        width *= 2;
        high = start + days{std::min<std::int64_t>(width, (kLastDay - start).count())};
    }
    sys_days low = start;
    while (low < high) {
        const sys_days middle = low + (high - low) / 2;
        if (Count(rules, start, middle) >= n) {
            high = middle;
        } else {
            low = middle + days{1};
        }
    }
    return low;
}

// The largest day e in [kFirstDay, end] with Count(e, end) >= n, the mirror of Forward.
sys_days Backward(const BusinessRules& rules, sys_days end, std::int64_t n,
                  std::int64_t perWeek) noexcept {
    std::int64_t width = n * 7 / perWeek + 16;
    sys_days low = end - days{std::min<std::int64_t>(width, (end - kFirstDay).count())};
    while (Count(rules, low, end) < n) {
        width *= 2;
        low = end - days{std::min<std::int64_t>(width, (end - kFirstDay).count())};
    }
    sys_days high = end;
    while (low < high) {
        const sys_days middle = high - (high - low) / 2;
        if (Count(rules, middle, end) >= n) {
            low = middle;
        } else {
            high = middle - days{1};
        }
    }
    return low;
}

}  // namespace

void SortClosedDays(std::vector<sys_days>& closed) {
    std::sort(closed.begin(), closed.end());
    closed.erase(std::unique(closed.begin(), closed.end()), closed.end());
}

bool IsBusinessDay(const BusinessRules& rules, sys_days date) {
    RequireRules(rules);
    RequireDay(year_month_day{date});
    return !IsWeekend(rules, date) && !HolidayOn(date) && !IsClosedWeekday(rules, date);
}

std::int64_t CountBusinessDays(const BusinessRules& rules, year_month_day from, year_month_day to) {
    RequireRules(rules);
    const sys_days first = RequireDay(from);
    const sys_days last = RequireDay(to);
    return last < first ? -Count(rules, last, first) : Count(rules, first, last);
}

year_month_day NthBusinessDay(const BusinessRules& rules, year_month_day date, std::int64_t n) {
    RequireRules(rules);
    const sys_days day = RequireDay(date);
    const auto perWeek = std::count(rules.weekend.begin(), rules.weekend.end(), false);
    if (n >= 0) {
        // n = 0 is the first business day from `date` on; n > 0 the nth after it.
        const sys_days start = n == 0 ? day : day + days{1};
        const std::int64_t wanted = n == 0 ? 1 : n;
        const std::int64_t available = Count(rules, start, kLastDay);
        if (available < wanted) RefuseWalk(n, day);
        return year_month_day{Forward(rules, start, wanted, perWeek)};
    }
    const std::int64_t available = Count(rules, kFirstDay, day - days{1});
    if (n < -available) RefuseWalk(n, day);
    return year_month_day{Backward(rules, day - days{1}, -n, perWeek)};
}

std::array<bool, 7> ParseWeekend(std::string_view list) {
    static constexpr std::array<std::string_view, 7> kLatin = {"sun", "mon", "tue", "wed",
                                                               "thu", "fri", "sat"};
    std::string folded;
    AppendFolded(folded, list);
    std::array<bool, 7> weekend{};
    std::string_view rest = folded;
    if (!TrimBlanks(rest).empty()) {
        while (true) {
            const std::size_t comma = rest.find(',');
            const std::string_view item = TrimBlanks(rest.substr(0, comma));
            std::size_t found = 7;
            for (std::size_t i = 0; i < 7; ++i) {
                if (EqualsIgnoringCase(item, kLatin[i]) ||
                    item == WeekdayName(weekday{static_cast<unsigned>(i)}))
                    found = i;
            }
            if (found == 7) {
                std::string message;
                AppendQuoted(message, list);
                message += " is not a list of weekend days: ";
                AppendQuoted(message, item);
                message +=
                    " is no day name (sun mon tue wed thu fri sat, or 日 月 火 水 木 金 土, with "
                    "commas between)";
                throw CalendarError{std::move(message)};
            }
            weekend[found] = true;
            if (comma == std::string_view::npos) break;
            rest.remove_prefix(comma + 1);
        }
    }
    RequireRules(BusinessRules{weekend, false, {}});
    return weekend;
}

std::vector<sys_days> ParseClosedDays(std::string_view fileText) {
    if (fileText.substr(0, 3) == "\xEF\xBB\xBF") fileText.remove_prefix(3);
    std::vector<sys_days> closed;
    std::string folded;
    std::size_t lineNumber = 0;
    while (!fileText.empty()) {
        ++lineNumber;
        const std::size_t end = fileText.find('\n');
        std::string_view line = fileText.substr(0, end);
        fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
        line = line.substr(0, line.find('#'));
        folded.clear();
        AppendFolded(folded, line);
        if (TrimBlanks(folded).empty()) continue;
        try {
            closed.push_back(sys_days{ParseIsoDateText(TrimBlanks(line))});
        } catch (CalendarError& error) {
            std::string message = "closed days, line ";
            AppendInteger(message, static_cast<std::int64_t>(lineNumber));
            message += ": ";
            message += error.message;
            throw CalendarError{std::move(message)};
        }
    }
    SortClosedDays(closed);
    return closed;
}

}  // namespace vesk::japanese
