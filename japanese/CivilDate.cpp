#include "japanese/CivilDate.h"

#include <array>

#include "japanese/CalendarError.h"

namespace vesk::japanese {
namespace {

constexpr std::array<std::string_view, 7> kWeekdayNames = {"日", "月", "火", "水",
                                                           "木", "金", "土"};
constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// At least `width` digits, zeros in front.
void AppendPadded(std::string& out, std::int64_t value, std::int64_t width) {
    for (std::int64_t power = 10; --width > 0; power *= 10) {
        if (value >= 0 && value < power) out += '0';
    }
    AppendInteger(out, value);
}

}  // namespace

void RequireDateRange(std::chrono::year_month_day date) {
    if (InDateRange(date)) return;
    std::string message = IsoDate(date);
    message += date.ok()
                   ? " lies outside the dates this calculator takes (0001-01-01 to 9999-12-31)"
                   : " is not a date";
    throw CalendarError{std::move(message)};
}

void AppendIsoDate(std::string& out, std::chrono::year_month_day date) {
    AppendPadded(out, static_cast<int>(date.year()), 4);
    out += '-';
    AppendPadded(out, static_cast<unsigned>(date.month()), 2);
    out += '-';
    AppendPadded(out, static_cast<unsigned>(date.day()), 2);
}

std::string IsoDate(std::chrono::year_month_day date) {
    std::string text;
    AppendIsoDate(text, date);
    return text;
}

void AppendUnsigned(std::string& out, std::uint64_t value) {
    char digits[20];  // 2^64 has 20 digits
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0) out += digits[--n];
}

void AppendInteger(std::string& out, std::int64_t value) {
    if (value < 0) out += '-';
    // Through unsigned, so that the most negative value has a magnitude too.
    AppendUnsigned(
        out, value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value));
}

void AppendMonthDay(std::string& out, unsigned month, unsigned day) {
    AppendInteger(out, month);
    out += "月";
    AppendInteger(out, day);
    out += "日";
}

std::string_view WeekdayName(std::chrono::weekday weekday) noexcept {
    return kWeekdayNames[weekday.c_encoding() % 7];
}

std::string_view EnglishMonthName(std::chrono::month month) noexcept {
    return month.ok() ? kMonthNames[static_cast<unsigned>(month) - 1] : std::string_view{};
}

}  // namespace vesk::japanese
