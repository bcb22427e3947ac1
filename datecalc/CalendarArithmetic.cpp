#include "datecalc/CalendarArithmetic.h"

#include <cmath>

#include "numeric/Extended.h"

namespace vesk {
namespace {

using X = Extended;

// The constants, each in the format in which it takes part.
const X k365_25 = X::FromDouble(365.25);
// Nearest extended to 30.6: above it by about 3.5e-19.
constexpr X k30_6 = X::FromBits(0x4003, 0xF4CCCCCCCCCCCCCDull);
// Nearest extended to 122.1: below it by about 1.4e-18.
constexpr X k122_1 = X::FromBits(0x4005, 0xF433333333333333ull);
const X kOne = X::FromDouble(1);
const X kThree = X::FromDouble(3);
const X kTwelve = X::FromDouble(12);

X Ext(double value) { return X::FromDouble(value); }

// Wrap-around 32-bit integer arithmetic, through unsigned types.
std::int32_t Wrap(std::uint32_t bits) { return static_cast<std::int32_t>(bits); }
std::uint32_t Bits(std::int32_t value) { return static_cast<std::uint32_t>(value); }

}  // namespace

std::int32_t WeekdayIndex(std::int32_t y, std::int32_t m, std::int32_t d) {
    if (m < 3) {
        y = Wrap(Bits(y) - 1u);
        m = Wrap(Bits(m) + 12u);
    }
    // Divisions truncate toward zero; none of them can overflow (no divisor is -1).
    const std::int32_t s = Wrap(Bits(y) + Bits(y / 4) - Bits(y / 100) + Bits(y / 400));
    const std::int32_t t = Wrap(Bits(m) * 13u + 8u) / 5;
    return Wrap(Bits(t) + Bits(s) + Bits(d)) % 7;  // [-6, 6]: the remainder takes the dividend's sign
}

namespace stepwise {

double DayNumber(double year, double month, double day) {
    if (!(month >= 3)) {
        year = Stored(Ext(year) - kOne);
        month = Stored(Ext(month) + kTwelve);
    }
    month = Stored(Ext(month) + kOne);
    const double a = Stored((Ext(year) * k365_25).Trunc());
    const double b = Stored((k30_6 * Ext(month)).Trunc());
    return Stored((Ext(a) + Ext(b)) + Ext(day));
}

ApproxSpanResult ApproxSpan(double difference) {
    const double t = Stored(Ext(difference) + kThree);
    const double years = Stored((Ext(t) / k365_25).Trunc());
    const double rest = Stored(Ext(t) - Ext(years) * k365_25);
    const double months = Stored((Ext(rest) / k30_6).Trunc());
    return {years, months};
}

RealDate DateFromDayNumber(double dayNumber) {
    const X s = Ext(dayNumber);
    const double a = Stored(s - k122_1);
    double year = Stored((Ext(a) / k365_25).Trunc());
    const double b = Stored((k365_25 * Ext(year)).Trunc());
    const double rest = Stored(s - Ext(b));
    double month = Stored((Ext(rest) / k30_6).Trunc());
    const double e = Stored((k30_6 * Ext(month)).Trunc());
    double day = Stored(Ext(rest) - Ext(e));
    if (month >= 14) month = Stored(Ext(month) - kTwelve);
    month = Stored(Ext(month) - kOne);
    if (!(month > 2)) year = Stored(Ext(year) + kOne);
    // Comes after the year step, and the year is not looked at again.
    if (day == 0) {
        day = 31;
        month = Stored(Ext(month) - kOne);
    }
    return {year, month, day};
}

double StoredSum(double a, double b) { return Stored(Ext(a) + Ext(b)); }

}  // namespace stepwise

// The shortcuts. For whole numbers within the bounds below every step of the
// extended computation is exact or provably truncates to the integer quotient
// taken here, so the results are the same bits:
// - y * 365.25 = 1461 y / 4 exactly; t / 365.25 = 4 t / 1461 is a whole number
//   or at least 1/1461 away from one; every sum and difference is a whole
//   number (or a quarter) far below 2^53, so nothing rounds;
// - 30.6 is taken slightly too large (by 1.1e-20 relatively): M * 30.6 is a
//   whole number or at least 0.2 away from one, and rest / 30.6 a whole number
//   or at least 1/612 away from one, so neither the excess nor the rounding,
//   both below 1e-8, can move a truncation; where the exact quotient is whole
//   the excess is below half a unit of the last place and rounds away;
// - a sum of two whole numbers up to 2^53 in magnitude is below 2^54, exact in
//   extended, so storing it rounds once, as the 64-bit sum does (x - x is +0
//   in both);
// - (s - 122.1) / 365.25 = (20 s - 2442) / 7305 is never whole (20 s - 2442 is
//   not a multiple of 5) and stays at least 1/7305 away from a whole number,
//   far more than the error of storing s - 122.1 as a 64-bit real.
// The integer divisions truncate toward zero, as Int does. Int of a value
// between -1 and 0 is a negative zero; where that reaches a result it is
// given back as such.
namespace {

constexpr double kWholeDateLimit = 2147483648.0;  // 2^31, for years and months
constexpr double kWholeDayLimit = 1099511627776.0;  // 2^40, for days and day numbers
constexpr double kWholeSumLimit = 9007199254740992.0;  // 2^53, for the terms of a sum

// Whether x is a whole number with |x| <= limit; sets *whole to it.
bool Whole(double x, double limit, std::int64_t* whole) {
    if (!(std::fabs(x) <= limit) || x != std::trunc(x)) return false;
    *whole = static_cast<std::int64_t>(x);
    return true;
}

double ZeroSignedLike(std::int64_t value, bool negative) {
    return value == 0 && negative ? -0.0 : static_cast<double>(value);
}

}  // namespace

double DayNumber(double year, double month, double day) {
    std::int64_t y = 0, m = 0, d = 0;
    if (!Whole(year, kWholeDateLimit, &y) || !Whole(month, kWholeDateLimit, &m) || !Whole(day, kWholeDayLimit, &d)) {
        return stepwise::DayNumber(year, month, day);
    }
    if (m < 3) {
        y -= 1;
        m += 12;
    }
    m += 1;
    const std::int64_t a = 1461 * y / 4;  // |a| < 2^42
    const std::int64_t b = 153 * m / 5;   // |b| < 2^37
    return static_cast<double>(a + b + d);  // never a negative zero: b is never one
}

ApproxSpanResult ApproxSpan(double difference) {
    std::int64_t t = 0;
    if (!Whole(difference, kWholeDayLimit, &t)) return stepwise::ApproxSpan(difference);
    t += 3;
    const std::int64_t years = 4 * t / 1461;
    const std::int64_t quarters = 4 * t - 1461 * years;  // 4 * rest: (-1461, 1461)
    const std::int64_t months = 5 * quarters / 612;
    return {ZeroSignedLike(years, t < 0), ZeroSignedLike(months, quarters < 0)};
}

RealDate DateFromDayNumber(double dayNumber) {
    std::int64_t s = 0;
    if (!Whole(dayNumber, kWholeDayLimit, &s)) return stepwise::DateFromDayNumber(dayNumber);
    std::int64_t year = (20 * s - 2442) / 7305;
    // A negative zero year (s from -243 to 122) always gains 1 below, and a
    // negative zero month always loses 1, so neither reaches the result.
    const std::int64_t rest = s - 1461 * year / 4;  // [-243, 488]
    std::int64_t month = 5 * rest / 153;
    std::int64_t day = rest - 153 * month / 5;
    if (month >= 14) month -= 12;
    month -= 1;
    if (!(month > 2)) year += 1;
    if (day == 0) {
        day = 31;
        month -= 1;
    }
    return {static_cast<double>(year), static_cast<double>(month), static_cast<double>(day)};
}

double StoredSum(double a, double b) {
    std::int64_t whole = 0;
    if (!Whole(a, kWholeSumLimit, &whole) || !Whole(b, kWholeSumLimit, &whole)) return stepwise::StoredSum(a, b);
    return a + b;
}

}  // namespace vesk
