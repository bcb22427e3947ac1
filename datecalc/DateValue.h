#pragma once
// Date values: the number of days since 30 December 1899, held in a 64-bit
// real whose integral part is the day count. Years follow the Gregorian
// leap-year rule back to year 1; the valid range is 1 January 1 (-693593)
// through 31 December 9999 (2958465).

#include <cstdint>

namespace vesk {

using TDateTime = double;

// The parts of a date value, as the calendar works on them.
struct DateParts {
    std::uint16_t year;   // 1 to 9999
    std::uint16_t month;  // 1 to 12
    std::uint16_t day;    // 1 to the length of the month
};

// Gregorian leap year: divisible by 4 and either not by 100 or by 400.
// Takes any year; never fails.
bool IsGregorianLeap(std::int32_t year) noexcept;

// The length of a month: 31, 28 (29 in a leap year), 31, 30, ... 31.
// Takes month 1 to 12; gives 0 for any other month. Never fails.
int MonthLength(int month, bool leapYear) noexcept;

// The date value of a year, month and day. Valid when 1 <= year <= 9999,
// 1 <= month <= 12 and 1 <= day <= the month's length (29 days in February of
// a leap year). Raises EConvertError with kInvalidDateMessage for any other
// triple.
TDateTime MakeDateValue(std::uint16_t year, std::uint16_t month, std::uint16_t day);

// The year, month and day of a date value: the inverse of MakeDateValue; the
// fraction (a time of day) is ignored. Raises EConvertError with
// kInvalidDateMessage for a value outside the valid range or not finite.
DateParts SplitDateValue(TDateTime value);

// The weekday of a date value: 1 Sunday, 2 Monday ... 7 Saturday. Raises
// EConvertError with kInvalidDateMessage as SplitDateValue does.
int WeekdayOf(TDateTime value);

// The date value of the local clock's date. Never fails for a clock between
// the years 1 and 9999.
TDateTime Today();

}  // namespace vesk
