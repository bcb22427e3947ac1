#include "cli/CivilPages.h"

#include <charconv>

#include "cli/DateFields.h"
#include "japanese/Age.h"
#include "japanese/BusinessDays.h"
#include "japanese/CalendarError.h"
#include "japanese/DayCount.h"
#include "japanese/Era.h"
#include "japanese/Holidays.h"
#include "japanese/Period.h"
#include "japanese/Sentences.h"

namespace vesk::cli {
namespace {

using namespace std::chrono;
using namespace std::string_view_literals;
using Fields = std::span<const std::string_view>;

void ExpectFields(std::string_view page, std::string_view takes, std::size_t count, std::size_t low,
                  std::size_t high) {
    if (count < low || count > high) {
        throw UsageError{std::string(page) + " takes " + std::string(takes) + ", not " +
                         std::to_string(count)};
    }
}

year_month_day Date(std::string_view text, const PageOptions& options) {
    return ReadDateField(text, options.today);
}

void EraPage(Fields f, std::size_t count, const PageOptions& options, PageAnswer& answer) {
    ExpectFields("era", "1 field (a date)", count, 1, 1);
    const year_month_day date = Date(f[0], options);
    const std::optional<japanese::JapaneseDate> japanese = japanese::ToJapanese(date);
    if (!japanese) {
        throw japanese::CalendarError{"'" + BoundedText(f[0]) +
                                      "' has no 和暦 date: Japan took up the Gregorian calendar on "
                                      "1873-01-01 (明治6年1月1日)"};
    }
    japanese::AppendJapaneseDateWithWeekday(answer.AddText(), *japanese);
    japanese::AppendDateWithWeekday(answer.AddText(), date);
    answer.Values()
        .Date("date", date)
        .String("era", japanese->era->name)
        .Integer("eraYear", japanese->year)
        .Integer("month", japanese->month)
        .Integer("day", japanese->day);
}

// A year of the holiday table: four ASCII digits.
std::optional<int> HolidayYear(std::string_view text) {
    int year = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), year);
    if (text.size() != 4 || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return year;
}

void HolidaysPage(Fields f, std::size_t count, const PageOptions& options, PageAnswer& answer) {
    ExpectFields("holidays", "1 field (a year) or 2 (two dates)", count, 1, 2);
    std::vector<japanese::Holiday> between;
    std::span<const japanese::Holiday> holidays;
    year_month_day from, to;
    if (count == 1) {
        const std::optional<int> year = HolidayYear(f[0]);
        if (!year) throw japanese::CalendarError{"'" + BoundedText(f[0]) + "' is not a year (write it as 2024)"};
        holidays = japanese::HolidaysOfYear(*year);
        from = std::chrono::year{*year} / January / 1;
        to = std::chrono::year{*year} / December / 31;
    } else {
        from = Date(f[0], options);
        to = Date(f[1], options);
        between = japanese::HolidaysBetween(from, to);
        holidays = between;
        if (to < from) std::swap(from, to);
    }
    for (const japanese::Holiday& holiday : holidays) japanese::AppendHolidayText(answer.AddText(), holiday);
    if (holidays.empty()) {
        std::string& text = answer.AddText();
        japanese::AppendDate(text, from);
        text += "から"sv;
        japanese::AppendDate(text, to);
        text += "までに祝日はありません。"sv;
    }
    JsonMembers values = answer.Values();
    std::string& list = values.Raw("holidays");
    list += '[';
    JsonMembers elements(list);
    for (const japanese::Holiday& holiday : holidays) {
        std::string& element = elements.Element();
        element += '{';
        JsonMembers(element).Date("date", year_month_day{holiday.date}).String("name", holiday.name);
        element += '}';
    }
    list += ']';
}

void DaysPage(Fields f, std::size_t count, const PageOptions& options, PageAnswer& answer) {
    ExpectFields("days", "2 fields (two dates)", count, 2, 2);
    const year_month_day from = Date(f[0], options), to = Date(f[1], options);
    const japanese::DayCount days = japanese::CountDays(from, to, options.inclusive);
    japanese::AppendDayCountSentence(answer.AddText(), from, to, days, options.inclusive);
    japanese::AppendWeeksSentence(answer.AddText(), days);
    japanese::AppendSpanSentence(answer.AddText(), days);
    answer.Values()
        .Integer("days", days.days)
        .Integer("weeks", days.weeks)
        .Integer("weekDays", days.weekDays)
        .Integer("years", days.years)
        .Integer("months", days.months)
        .Integer("dayRest", days.dayRest);
}

void AddPage(Fields f, std::size_t count, const PageOptions& options, PageAnswer& answer) {
    ExpectFields("add", "2 fields (a date and a period)", count, 2, 2);
    const year_month_day date = Date(f[0], options);
    const japanese::Period period = japanese::ParsePeriod(f[1]);
    const year_month_day result = japanese::AddPeriod(date, period);
    japanese::AppendAddSentence(answer.AddText(), date, period, result);
    answer.Values().Date("date", result);
}

japanese::BusinessRules Rules(const PageOptions& options) {
    japanese::BusinessRules rules;
    rules.weekend = options.weekend;
    rules.yearEnd = options.yearEnd;
    rules.closed = options.closed;
    japanese::SortClosedDays(rules.closed);
    return rules;
}

void WorkdaysPage(Fields f, std::size_t count, const PageOptions& options, PageAnswer& answer) {
    ExpectFields("workdays", "2 fields (two dates)", count, 2, 2);
    const year_month_day from = Date(f[0], options), to = Date(f[1], options);
    const std::int64_t days = japanese::CountBusinessDays(Rules(options), from, to);
    japanese::AppendBusinessDayCountSentence(answer.AddText(), from, to, days);
    answer.Values().Integer("workdays", days);
}

// A whole number of business days: an optional sign and decimal digits.
std::int64_t DayCountField(std::string_view text) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        throw japanese::CalendarError{"'" + BoundedText(text) +
                                      "' is not a whole number of business days"};
    }
    return value;
}

void WorkdayPage(Fields f, std::size_t count, const PageOptions& options, PageAnswer& answer) {
    ExpectFields("workday", "2 fields (a date and a number of business days)", count, 2, 2);
    const year_month_day date = Date(f[0], options);
    const std::int64_t n = DayCountField(f[1]);
    const year_month_day result = japanese::NthBusinessDay(Rules(options), date, n);
    japanese::AppendNthBusinessDaySentence(answer.AddText(), date, n, result);
    answer.Values().Date("date", result);
}

void AgePage(Fields f, std::size_t count, const PageOptions& options, PageAnswer& answer) {
    ExpectFields("age", "1 or 2 fields (the birthday, and the day; default today)", count, 1, 2);
    const year_month_day birth = Date(f[0], options);
    const year_month_day on = count == 2 ? Date(f[1], options) : year_month_day{options.today()};
    const japanese::Age age = japanese::AgeOn(birth, on);
    japanese::AppendAgeSentence(answer.AddText(), birth, on, age);
    answer.Values().Integer("age", age.age).Integer("kazoe", age.kazoe);
}

}  // namespace

bool RunCivilPage(std::string_view page, Fields fields, std::size_t count, const PageOptions& options,
                  PageAnswer& answer) {
    void (*compute)(Fields, std::size_t, const PageOptions&, PageAnswer&) = nullptr;
    if (page == "era"sv) {
        compute = EraPage;
    } else if (page == "holidays"sv) {
        compute = HolidaysPage;
    } else if (page == "days"sv) {
        compute = DaysPage;
    } else if (page == "add"sv) {
        compute = AddPage;
    } else if (page == "workdays"sv) {
        compute = WorkdaysPage;
    } else if (page == "workday"sv) {
        compute = WorkdayPage;
    } else if (page == "age"sv) {
        compute = AgePage;
    } else {
        return false;
    }
    compute(fields, count, options, answer);
    return true;
}

std::vector<MonthHoliday> MonthHolidays(int year, unsigned month) {
    std::vector<MonthHoliday> holidays;
    if (year < japanese::kFirstHolidayYear || year > japanese::kLastHolidayYear || month < 1 || month > 12) {
        return holidays;
    }
    const year_month ym = std::chrono::year{year} / std::chrono::month{month};
    for (const japanese::Holiday& holiday :
         japanese::HolidaySpan(sys_days{ym / 1}, sys_days{ym / last})) {
        holidays.push_back({static_cast<unsigned>(year_month_day{holiday.date}.day()), holiday.name});
    }
    return holidays;
}

void AppendMonthHolidays(JsonMembers& values, year_month_day date) {
    std::string& list = values.Raw("holidays");
    list += '[';
    JsonMembers elements(list);
    const int year = static_cast<int>(date.year());
    const unsigned month = static_cast<unsigned>(date.month());
    for (const MonthHoliday& holiday : MonthHolidays(year, month)) {
        std::string& element = elements.Element();
        element += '{';
        JsonMembers(element)
            .Date("date", date.year() / date.month() / std::chrono::day{holiday.day})
            .String("name", holiday.name);
        element += '}';
    }
    list += ']';
}

}  // namespace vesk::cli
