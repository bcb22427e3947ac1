#pragma once
// The eras of the Japanese calendar since Japan took up the Gregorian
// calendar on 明治6年1月1日 (1873-01-01), and the conversions between a
// Gregorian date and its 和暦.

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vesk::japanese {

struct Era {
    std::string_view name;     // "令和"
    std::string_view initial;  // its one-character form, "令"
    char latin;                // its Latin initial, 'R'
    int firstYear;             // the Gregorian year of its 元年, 2019
    // The first Gregorian date of the era: its first day, or for 明治 the day
    // the Gregorian calendar began (明治6年1月1日).
    std::chrono::year_month_day firstDay;
};

// 明治, 大正, 昭和, 平成, 令和, in order.
std::span<const Era> Eras() noexcept;

// The first day of 和暦 in the Gregorian calendar, 1873-01-01.
inline constexpr std::chrono::year_month_day kFirstJapaneseDate{
    std::chrono::year{1873}, std::chrono::January, std::chrono::day{1}};

struct JapaneseDate {
    const Era* era;  // one of Eras()
    int year;        // the era year, 1 for 元年
    unsigned month;  // 1 to 12
    unsigned day;    // 1 to 31
};

// The 和暦 of a date; none before 1873-01-01, after 9999-12-31 or for a date
// that is not ok(). Never raises.
std::optional<JapaneseDate> ToJapanese(std::chrono::year_month_day date) noexcept;

// The Gregorian date of a 和暦 date. Raises CalendarError when it names no
// day: era year below 1, a month or day that does not exist, a day past the
// era's end or before its first day (before 1873-01-01 for 明治), or a year
// past 9999. The message quotes `typed` as the text of the date; when
// `typed` is empty it writes the date out ("令和6年2月30日").
std::chrono::year_month_day FromJapanese(const JapaneseDate& date, std::string_view typed = {});

// Appends the 和暦 date as people write it, "令和6年1月5日", with 元年 for the
// era's first year ("令和元年5月1日"). Raises nothing but for memory.
void AppendJapaneseDate(std::string& out, const JapaneseDate& date);

}  // namespace vesk::japanese
