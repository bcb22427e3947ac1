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

char* WriteUnsigned(char* p, std::uint64_t value) noexcept {
    // Two digits at a time from the end, after counting them: most numbers
    // are years, months and days.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    std::size_t digits = 1;
    for (std::uint64_t rest = value; rest >= 10; rest /= 10) ++digits;
    char* const end = p + digits;
    char* q = end;
    while (value >= 100) {
        const auto pair = static_cast<std::size_t>(value % 100) * 2;
        value /= 100;
        *--q = kPairs[pair + 1];
        *--q = kPairs[pair];
    }
    if (value >= 10) {
        const auto pair = static_cast<std::size_t>(value) * 2;
        *--q = kPairs[pair + 1];
        *--q = kPairs[pair];
    } else {
        *--q = static_cast<char>('0' + value);
    }
    return end;
}

char* WriteInteger(char* p, std::int64_t value) noexcept {
    if (value < 0) *p++ = '-';
    // Through unsigned, so that the most negative value has a magnitude too.
    return WriteUnsigned(
        p, value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value));
}

void AppendUnsigned(std::string& out, std::uint64_t value) {
    char text[kIntegerRoom];
    out.append(text, static_cast<std::size_t>(WriteUnsigned(text, value) - text));
}

void AppendInteger(std::string& out, std::int64_t value) {
    char text[kIntegerRoom];
    out.append(text, static_cast<std::size_t>(WriteInteger(text, value) - text));
}

void AppendMonthDay(std::string& out, unsigned month, unsigned day) {
    char text[2 * kIntegerRoom + 6];
    char* p = WriteUnsigned(text, month);
    for (const char c : std::string_view("月")) *p++ = c;
    p = WriteUnsigned(p, day);
    for (const char c : std::string_view("日")) *p++ = c;
    out.append(text, static_cast<std::size_t>(p - text));
}

std::string_view WeekdayName(std::chrono::weekday weekday) noexcept {
    return kWeekdayNames[weekday.c_encoding() % 7];
}

std::string_view EnglishMonthName(std::chrono::month month) noexcept {
    return month.ok() ? kMonthNames[static_cast<unsigned>(month) - 1] : std::string_view{};
}

}  // namespace vesk::japanese
