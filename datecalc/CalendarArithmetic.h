#pragma once
// The date arithmetic of the three computing pages. WeekdayIndex follows the
// Gregorian calendar; DayNumber and DateFromDayNumber follow the four-year-rule
// calendar (every year divisible by 4 is a leap year). The real functions take
// and give 64-bit reals, carry out each operation in extended precision and
// round to 64 bits where the algorithm stores a value.

#include <cstdint>

namespace vesk {

// The day of the week of a date: 0 Sunday ... 6 Saturday for the dates of
// 1 March of year 0 on; -6 to -1 where the sum is negative (earlier dates, or a
// sum that wraps around). Takes any integers; never fails, wraps around.
std::int32_t WeekdayIndex(std::int32_t year, std::int32_t month, std::int32_t day);

// The running day count of a date (1 January 2001 = 730929). Takes any finite
// reals; raises EOverflow when a stored step exceeds the 64-bit range.
double DayNumber(double year, double month, double day);

struct ApproxSpanResult {
    double years;
    double months;
};
// A day difference as approximate years and months, truncated toward zero.
// Takes any finite real; raises EOverflow as DayNumber does.
ApproxSpanResult ApproxSpan(double difference);

struct RealDate {
    double year;
    double month;
    double day;
};
// The date of a day number: the inverse of DayNumber from 1 March of year 0
// (123) through 31 December 10000 (3652928). Takes any finite real; raises
// EOverflow as DayNumber does.
RealDate DateFromDayNumber(double dayNumber);

// The stored sum a + b, taken in extended precision: the pages' day
// difference (second + -first) and the day number n days after a date. Takes
// any finite reals; raises EOverflow when the sum exceeds the 64-bit range.
double StoredSum(double a, double b);

// The same four functions carried out step by step in extended arithmetic for
// every input. The functions above take a shortcut for whole numbers of
// moderate size (in 64-bit integers; the sum in 64-bit reals), where it gives
// the same bits; the tests compare the two.
namespace stepwise {
double DayNumber(double year, double month, double day);
ApproxSpanResult ApproxSpan(double difference);
RealDate DateFromDayNumber(double dayNumber);
double StoredSum(double a, double b);
}  // namespace stepwise

}  // namespace vesk
