#include "datecalc/CalendarArithmetic.h"

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

}  // namespace vesk
