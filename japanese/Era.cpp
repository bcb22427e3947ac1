#include "japanese/Era.h"

#include <array>
#include <cstdint>

#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;

// Each era from its first day by the decrees of the era names; 明治 from the
// day the Gregorian calendar began (明治5年太政官布告第337号: 明治5年12月3日
// became 明治6年1月1日).
constexpr std::array<Era, 5> kEras = {{
    {"明治", "明", 'M', 1868, year{1873} / January / 1},
    {"大正", "大", 'T', 1912, year{1912} / July / 30},
    {"昭和", "昭", 'S', 1926, year{1926} / December / 25},
    {"平成", "平", 'H', 1989, year{1989} / January / 8},
    {"令和", "令", 'R', 2019, year{2019} / May / 1},
}};

// The Japanese date of a Gregorian date known to lie in `era`.
JapaneseDate InEra(const Era& era, year_month_day date) noexcept {
    return {&era, static_cast<int>(date.year()) - era.firstYear + 1,
            static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day())};
}

// "平成31年4月30日 (2019-04-30)": a date in both calendars, for messages.
void AppendBoth(std::string& out, const Era& era, year_month_day date) {
    AppendJapaneseDate(out, InEra(era, date));
    out += " (";
    AppendIsoDate(out, date);
    out += ')';
}

}  // namespace

std::span<const Era> Eras() noexcept { return kEras; }

std::optional<JapaneseDate> ToJapanese(year_month_day date) noexcept {
    if (!date.ok() || date < kFirstJapaneseDate || date > kLastDate) return std::nullopt;
    for (auto era = kEras.rbegin(); era != kEras.rend(); ++era) {
        if (date >= era->firstDay) return InEra(*era, date);
    }
    return std::nullopt;  // not reached: 明治 begins on kFirstJapaneseDate
}

year_month_day FromJapanese(const JapaneseDate& date, std::string_view typed) {
    const Era& era = *date.era;
    std::string message;
    if (typed.empty()) {
        std::string written;
        AppendJapaneseDate(written, date);
        message = NotADate(written);
    } else {
        message = NotADate(typed);
    }
    message += ": ";
    if (date.year < 1) {
        message += "era years start at 1 (元年)";
        throw CalendarError{std::move(message)};
    }
    if (date.month < 1 || date.month > 12) {
        message += "there is no month ";
        AppendInteger(message, date.month);
        throw CalendarError{std::move(message)};
    }
    if (date.day < 1) {
        message += "there is no day 0";
        throw CalendarError{std::move(message)};
    }
    // [1 + firstYear, 2^31 + firstYear): no overflow in 64 bits.
    const std::int64_t gregorianYear = std::int64_t{era.firstYear} + date.year - 1;
    if (gregorianYear > 9999) {
        message += "dates run to 9999-12-31 (";
        AppendJapaneseDate(message, InEra(kEras.back(), kLastDate));
        message += ')';
        throw CalendarError{std::move(message)};
    }
    const year_month_day gregorian{year{static_cast<int>(gregorianYear)}, month{date.month},
                                   day{date.day}};
    if (!gregorian.ok()) {
        const year_month_day_last last{gregorian.year(), month_day_last{gregorian.month()}};
        message += EnglishMonthName(gregorian.month());
        message += " of ";
        message += era.name;
        AppendInteger(message, date.year);
        message += "年 (";
        AppendInteger(message, gregorianYear);
        message += ") has ";
        AppendInteger(message, static_cast<unsigned>(last.day()));
        message += " days";
        throw CalendarError{std::move(message)};
    }
    if (gregorian < era.firstDay) {
        if (&era == &kEras.front()) {
            message += "和暦 dates begin on ";
            AppendBoth(message, era, era.firstDay);
            message += ", when Japan took up the Gregorian calendar";
        } else {
            message += era.name;
            message += " began on ";
            AppendBoth(message, era, era.firstDay);
        }
        throw CalendarError{std::move(message)};
    }
    if (&era != &kEras.back()) {
        const year_month_day next = (&era + 1)->firstDay;
        if (gregorian >= next) {
            message += era.name;
            message += " ended with ";
            AppendBoth(message, era, year_month_day{sys_days{next} - days{1}});
            throw CalendarError{std::move(message)};
        }
    }
    return gregorian;
}

void AppendJapaneseDate(std::string& out, const JapaneseDate& date) {
    out += date.era->name;
    if (date.year == 1) {
        out += "元";
    } else {
        AppendInteger(out, date.year);
    }
    out += "年";
    AppendMonthDay(out, date.month, date.day);
}

}  // namespace vesk::japanese
