// The date arithmetic: worked examples, and sweeps over whole ranges.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "datecalc/CalendarArithmetic.h"
#include "textconv/Failures.h"

namespace vesk {
namespace {

struct WeekdayCase {
    const char* what;
    std::int32_t y, m, d, index;
};

TEST(WeekdayIndex, WorkedExamples) {
    const WeekdayCase cases[] = {
        {"a Monday", 2001, 1, 1, 1},
        {"leap day 2000", 2000, 2, 29, 2},
        {"Gregorian 1900 has no 29 February", 1900, 3, 1, 4},
        {"nor has 2100", 2100, 3, 1, 1},
        {"year 1", 1, 1, 1, 1},
        {"month 0 is December before", 2001, 0, 1, 5},
        {"month 13 is January after", 2001, 13, 1, 2},
        {"negative days run back", 2001, 1, -10, 4},
        {"negative sums give negative indexes", -400, 3, 1, -4},
        {"a sum that wraps around", 2147483647, 3, 1, -6},
        // y - 1 wraps to 2147483647; s = 2147483647 + 536870911 - 21474836 + 5368709
        // wraps to -1626718865; t = 35; -1626718829 % 7 = -1.
        {"the year before the most negative wraps to the most positive", INT32_MIN, 1, 1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(WeekdayIndex(c.y, c.m, c.d), c.index);
    }
}

bool IsGregorianLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int GregorianMonthLength(int y, int m) {
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return lengths[m - 1] + (m == 2 && IsGregorianLeap(y) ? 1 : 0);
}

TEST(WeekdayIndex, AgreesWithACountOfDaysOverYears1To9999) {
    // 1 January of year 1 was a Monday; count on day by day.
    int weekday = 1;
    for (int y = 1; y <= 9999; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1, n = GregorianMonthLength(y, m); d <= n; ++d) {
                ASSERT_EQ(WeekdayIndex(y, m, d), weekday) << y << "-" << m << "-" << d;
                weekday = (weekday + 1) % 7;
            }
        }
    }
}

struct DayNumberCase {
    double y, m, d, number;
};

TEST(DayNumber, WorkedExamples) {
    const DayNumberCase cases[] = {
        {1, 1, 1, 429}, {2001, 1, 1, 730929}, {2001, 1, 31, 730959}, {2001, 3, 31, 731018},
        {2001, 8, 31, 731171}, {2001, 9, 28, 731199}, {2000, 2, 29, 730622}, {2000, 3, 1, 730623},
        {1900, 2, 28, 694096}, {1900, 2, 29, 694097}, {1900, 3, 1, 694098},
        {2100, 2, 28, 767146}, {2100, 2, 29, 767147}, {2100, 3, 1, 767148},
        // year 0: 29 February and 1 March share a number
        {0, 2, 29, 123}, {0, 3, 1, 123},
        // dates that do not exist are counted on
        {2001, 0, 1, 730898}, {2000, 12, 1, 730898}, {2001, 13, 1, 731294}, {2002, 1, 1, 731294},
        {2001, 4, 31, 731049}, {2001, 5, 1, 731049},
        // fractions flow through
        {2001, 1, 1.5, 730929.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        EXPECT_EQ(DayNumber(c.y, c.m, c.d), c.number);
    }
}

TEST(DayNumber, OverflowsBeyondTheRangeOfA64BitReal) {
    EXPECT_THROW(DayNumber(1e306, 1, 1), EOverflow);
    EXPECT_NO_THROW(DayNumber(1e305, 1, 1));
    EXPECT_THROW(DayNumber(-1e306, 1, 1), EOverflow);
    EXPECT_THROW(DayNumber(5e305, 1, 1), EOverflow);
    EXPECT_NO_THROW(DayNumber(4.9e305, 1, 1));
}

struct SpanCase {
    double difference, years, months;
    bool negativeZeroYears, negativeZeroMonths;
};

TEST(ApproxSpan, WorkedExamples) {
    const SpanCase cases[] = {
        {364, 1, 0, false, false}, {609, 1, 8, false, false}, {1458, 4, 0, false, false},
        {0, 0, 0, false, false}, {-3, 0, 0, false, false}, {-4, 0, 0, true, true},
        {-366, 0, -11, true, false}, {-792, -2, -1, false, false}, {0.5, 0, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.difference);
        const ApproxSpanResult r = ApproxSpan(c.difference);
        EXPECT_EQ(r.years, c.years);
        EXPECT_EQ(r.months, c.months);
        EXPECT_EQ(std::signbit(r.years), c.negativeZeroYears || c.years < 0);
        EXPECT_EQ(std::signbit(r.months), c.negativeZeroMonths || c.months < 0);
    }
}

TEST(ApproxSpan, EqualsExactTruncationUpToTenMillionDays) {
    for (long long delta = -10000000; delta <= 10000000; delta += 997) {
        const ApproxSpanResult r = ApproxSpan(static_cast<double>(delta));
        // Exact in quarter days: (delta + 3) / 365.25 = 4 (delta + 3) / 1461.
        const long long t4 = 4 * (delta + 3);
        const long long years = t4 / 1461;                    // truncates toward zero
        const long long rest10 = (t4 - 1461 * years) * 10;    // 40 * rest, exact
        const long long months = rest10 / (4 * 306);          // rest / 30.6
        ASSERT_EQ(r.years, static_cast<double>(years)) << delta;
        ASSERT_EQ(r.months, static_cast<double>(months)) << delta;
    }
}

struct DateCase {
    double number, y, m, d;
};

TEST(DateFromDayNumber, WorkedExamples) {
    const DateCase cases[] = {
        {731199, 2001, 9, 28}, {731018, 2001, 3, 31}, {731171, 2001, 8, 31},
        {730959, 2001, 1, 31}, {123, 0, 3, 1}, {122, 1, 2, 31}, {118, 1, 2, 27}, {64, 1, 1, 3},
        {730930.5, 2001, 1, 2.5}, {767147, 2100, 2, 29}, {767148, 2100, 3, 1},
        {3652928, 10000, 12, 31},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        const RealDate date = DateFromDayNumber(c.number);
        EXPECT_EQ(date.year, c.y);
        EXPECT_EQ(date.month, c.m);
        EXPECT_EQ(date.day, c.d);
    }
}

bool IsFourYearLeap(int y) { return y % 4 == 0; }

TEST(DateFromDayNumber, InverseOfDayNumberOnEveryDayFrom123To3652928) {
    // Walk the four-year-rule calendar from 1 March of year 0, both ways.
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int y = 0, m = 3, d = 1;
    for (double n = 123; n <= 3652928; ++n) {
        const RealDate date = DateFromDayNumber(n);
        if (date.year != y || date.month != m || date.day != d) {
            FAIL() << n << " gives " << date.year << "-" << date.month << "-" << date.day
                   << ", expected " << y << "-" << m << "-" << d;
        }
        if (DayNumber(y, m, d) != n) FAIL() << y << "-" << m << "-" << d << " is not " << n;
        const int length = lengths[m - 1] + (m == 2 && IsFourYearLeap(y) ? 1 : 0);
        if (++d > length) {
            d = 1;
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
    }
    EXPECT_EQ(y, 10001);
}

TEST(DateFromDayNumber, LargeNumbersRunThroughTheSameSteps) {
    EXPECT_NO_THROW(DateFromDayNumber(1.7976931348623157e308));
    EXPECT_NO_THROW(DateFromDayNumber(-1.7976931348623157e308));
    // Far beyond year 10000 the steps still invert each other on whole dates.
    const RealDate date = DateFromDayNumber(DayNumber(1000000, 6, 15));
    EXPECT_EQ(date.year, 1000000);
    EXPECT_EQ(date.month, 6);
    EXPECT_EQ(date.day, 15);
}

// The whole-number shortcuts against the step-by-step extended computation,
// bit for bit (a negative zero included): every input of a dense range around
// the calendar, the bounds of the shortcuts and their neighbours, and random
// whole numbers over the shortcuts' whole reach.
namespace shortcut {

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

::testing::AssertionResult SameDate(const RealDate& a, const RealDate& b) {
    if (SameBits(a.year, b.year) && SameBits(a.month, b.month) && SameBits(a.day, b.day))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a.year << "/" << a.month << "/" << a.day << " against " << b.year << "/"
                                         << b.month << "/" << b.day;
}

// Whole numbers near 0, near the bounds 2^31 and 2^40, and at random below them.
std::vector<double> Wholes(double bound, std::mt19937_64& random) {
    std::vector<double> values;
    for (double v = -50; v <= 50; ++v) values.push_back(v);
    values.push_back(-0.0);
    for (const double edge : {bound, bound / 2, 1e6}) {
        for (double v = edge - 3; v <= edge + 3; ++v) values.insert(values.end(), {v, -v});
    }
    std::uniform_real_distribution<double> spread(-bound, bound);
    for (int i = 0; i < 2000; ++i) values.push_back(std::trunc(spread(random)));
    return values;
}

TEST(WholeNumberShortcuts, DayNumberGivesTheSameBits) {
    for (double y = -3000; y <= 3000; ++y) {
        for (double m = -15; m <= 27; ++m) {
            for (const double d : {-400.0, -1.0, 0.0, 1.0, 29.0, 31.0, 400.0}) {
                ASSERT_TRUE(SameBits(DayNumber(y, m, d), stepwise::DayNumber(y, m, d))) << y << " " << m << " " << d;
            }
        }
    }
    std::mt19937_64 random(310);
    const std::vector<double> years = Wholes(2147483648.0, random);
    const std::vector<double> days = Wholes(1099511627776.0, random);
    for (std::size_t i = 0; i < years.size(); ++i) {
        for (const double m : {years[(i * 7) % years.size()], -13.0, 2.0, 3.0, 14.0}) {
            const double y = years[i], d = days[i % days.size()];
            ASSERT_TRUE(SameBits(DayNumber(y, m, d), stepwise::DayNumber(y, m, d))) << y << " " << m << " " << d;
        }
    }
}

TEST(WholeNumberShortcuts, ApproxSpanGivesTheSameBits) {
    std::vector<double> differences;
    for (double t = -3000000; t <= 3000000; ++t) differences.push_back(t);
    std::mt19937_64 random(311);
    const std::vector<double> far = Wholes(1099511627776.0, random);
    differences.insert(differences.end(), far.begin(), far.end());
    for (const double t : differences) {
        const ApproxSpanResult fast = ApproxSpan(t), slow = stepwise::ApproxSpan(t);
        ASSERT_TRUE(SameBits(fast.years, slow.years) && SameBits(fast.months, slow.months))
            << t << ": " << fast.years << " " << fast.months << " against " << slow.years << " " << slow.months;
    }
}

TEST(WholeNumberShortcuts, DateFromDayNumberGivesTheSameBits) {
    std::vector<double> numbers;
    for (double s = -1000000; s <= 4000000; ++s) numbers.push_back(s);
    std::mt19937_64 random(312);
    const std::vector<double> far = Wholes(1099511627776.0, random);
    numbers.insert(numbers.end(), far.begin(), far.end());
    for (const double s : numbers) {
        ASSERT_TRUE(SameDate(DateFromDayNumber(s), stepwise::DateFromDayNumber(s))) << s;
    }
}

// Every pair from a set of whole numbers: both zeros, the small ones, and
// those near 2^53, where the sum no longer fits and rounds (ties to even).
TEST(WholeNumberShortcuts, StoredSumGivesTheSameBits) {
    std::mt19937_64 random(313);
    // Below 2^53 at random and near 2^52; at 2^53 the neighbours that a
    // 64-bit real has.
    std::vector<double> terms = Wholes(4503599627370496.0, random);
    for (const double near : {9007199254740990.0, 9007199254740991.0, 9007199254740992.0, 9007199254740994.0}) {
        terms.insert(terms.end(), {near, -near});
    }
    // Beyond the shortcut's reach: 2^65 + 4097 rounds twice in extended
    // (to 2^65 + 4096, then a tie to 2^65) but once in 64 bits (2^65 + 8192).
    terms.insert(terms.end(), {36893488147419103232.0, -36893488147419103232.0, 4097.0, 18446744073709551616.0});
    for (const double a : terms) {
        for (const double b : terms) {
            ASSERT_TRUE(SameBits(StoredSum(a, b), stepwise::StoredSum(a, b))) << a << " + " << b;
        }
    }
}

}  // namespace shortcut
}  // namespace
}  // namespace vesk
