#include "datecalc/DateValue.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "textconv/Failures.h"
#include "textconv/SystemClock.h"

namespace vesk {

namespace {

// Day count from 1 January 1 to 30 December 1899, the zero of date values.
constexpr std::int32_t kDaysBeforeEpoch = 693594;
constexpr std::int32_t kFirstValue = 1 - kDaysBeforeEpoch;  // 1 January 1
constexpr std::int32_t kLastValue = 2958465;                // 31 December 9999
constexpr std::int32_t kDaysIn400Years = 146097;
constexpr std::int32_t kDaysIn100Years = 36524;
constexpr std::int32_t kDaysIn4Years = 1461;
constexpr std::int32_t kDaysInYear = 365;

constexpr std::array<int, 12> kCommonMonthLengths = {31, 28, 31, 30, 31, 30,
                                                     31, 31, 30, 31, 30, 31};

[[noreturn]] void RaiseInvalidDate() { throw EConvertError(kInvalidDateMessage); }

// The day count of a date value's integral part; raises for values outside
// the valid range (NaN and infinities included).
std::int32_t WholeDays(TDateTime value) {
    const double whole = std::trunc(value);
    if (!(whole >= kFirstValue && whole <= kLastValue)) RaiseInvalidDate();
    return static_cast<std::int32_t>(whole);
}

}  // namespace

bool IsGregorianLeap(std::int32_t year) noexcept {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int MonthLength(int month, bool leapYear) noexcept {
    if (month < 1 || month > 12) return 0;
    const int length = kCommonMonthLengths[static_cast<std::size_t>(month - 1)];
    return month == 2 && leapYear ? length + 1 : length;
}

TDateTime MakeDateValue(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    const bool leap = IsGregorianLeap(year);
    if (year < 1 || year > 9999 || day < 1 || day > MonthLength(month, leap)) {
        RaiseInvalidDate();  // MonthLength is 0 for a month outside 1 to 12
    }
    std::int32_t dayOfYear = day;  // [1, 366]
    for (int m = 1; m < month; ++m) dayOfYear += MonthLength(m, leap);
    const std::int32_t y = year - 1;  // [0, 9998]
    return static_cast<TDateTime>(y * kDaysInYear + y / 4 - y / 100 + y / 400 + dayOfYear -
                                  kDaysBeforeEpoch);
}

DateParts SplitDateValue(TDateTime value) {
    std::int32_t rest = WholeDays(value) + kDaysBeforeEpoch - 1;  // [0, 3652058]: days since 1 Jan 1
    const std::int32_t cycles400 = rest / kDaysIn400Years;        // [0, 24]
    rest %= kDaysIn400Years;
    // The last day of a 400-year cycle would count as a fifth century: keep it in the fourth.
    const std::int32_t centuries = std::min(rest / kDaysIn100Years, 3);  // [0, 3]
    rest -= centuries * kDaysIn100Years;
    const std::int32_t cycles4 = rest / kDaysIn4Years;  // [0, 24]
    rest %= kDaysIn4Years;
    const std::int32_t years = std::min(rest / kDaysInYear, 3);  // [0, 3], as for centuries
    rest -= years * kDaysInYear;                                 // [0, 365]: day of the year
    const std::int32_t year = cycles400 * 400 + centuries * 100 + cycles4 * 4 + years + 1;
    const bool leap = IsGregorianLeap(year);
    int month = 1;
    while (rest >= MonthLength(month, leap)) rest -= MonthLength(month++, leap);
    return {static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
            static_cast<std::uint16_t>(rest + 1)};
}

int WeekdayOf(TDateTime value) {
    // [1, 3652059]: positive over the valid range, so the remainder is [0, 6].
    return (WholeDays(value) + kDaysBeforeEpoch) % 7 + 1;
}

TDateTime Today() {
    const LocalDate date = ReadLocalDate();
    return MakeDateValue(static_cast<std::uint16_t>(date.year), static_cast<std::uint16_t>(date.month),
                         static_cast<std::uint16_t>(date.day));
}

}  // namespace vesk
