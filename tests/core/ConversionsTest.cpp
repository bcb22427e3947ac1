// The five conversions: which texts are accepted, what they give, and the
// failure messages that quote the text as typed.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "textconv/Conversions.h"
#include "textconv/Failures.h"
#include "textconv/NumberFormat.h"

namespace vesk {
namespace {

// Pins the decimal separator for one test and puts "." back afterwards.
class Separator : public ::testing::Test {
protected:
    void SetUp() override { SetDecimalSeparator('.'); }
    void TearDown() override { SetDecimalSeparator('.'); }
};

std::string ConvertMessage(auto&& call) {
    try {
        call();
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return "(no failure)";
}

struct IntegerCase {
    const char* text;
    std::int32_t value;
};

TEST(IntegerParse, AcceptedTexts) {
    const IntegerCase cases[] = {
        // decimal
        {"2001", 2001}, {" 12", 12}, {"+7", 7}, {"-7", -7}, {"007", 7}, {"0", 0}, {"-0", 0},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
        {"0000000000002147483647", 2147483647},
        // hexadecimal
        {"$1F", 31}, {"x1F", 31}, {"X1F", 31}, {"0x1F", 31}, {"0X1f", 31}, {"  $7D1", 2001},
        {"$FFFFFFFF", -1}, {"$80000000", INT32_MIN}, {"$0000000010", 16}, {"$000000000", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::int32_t value = 12345;  // something wrong first
        value = IntegerParse(c.text);
        EXPECT_EQ(value, c.value);
    }
}

TEST(IntegerParse, RejectedTextsQuoteTheTextAsTyped) {
    const char* const texts[] = {
        // malformed
        "12 ", "- 7", "1e3", "1,000", "1.0", "12a", "\t12", "１２", "", " ", "-", "+", "$", "0x",
        "x", "-$1F", "-0x1F", "+$1F", "00x1F", "$1G", "$1F ",
        // out of range
        "2147483648", "-2147483649", "99999999999999999999999", "$100000000", "$123456789",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ConvertMessage([&] { IntegerParse(text); }),
                  "'" + std::string(text) + "' は数値ではありません");
    }
}

struct RealCase {
    const char* text;
    double value;  // compared after rounding to a 64-bit real
};

TEST_F(Separator, RealParseAcceptedTexts) {
    const RealCase cases[] = {
        {"2001", 2001}, {" 12 ", 12}, {"12 ", 12}, {"1e3", 1000}, {"1E3", 1000},
        {"1.5e-3", 0.0015}, {".5", 0.5}, {"5.", 5}, {".", 0}, {"-.5", -0.5}, {"1e", 1},
        {"1e+", 1}, {"1e-", 1}, {"+2.5", 2.5}, {"1e-4999", 0}, {"0.1", 0.1},
        {"12345678901234567890", 12345678901234567890.0}, {"1e308", 1e308},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RealParse(c.text).ToDouble(), c.value);
    }
    // "-0" is a negative zero.
    EXPECT_TRUE(RealParse("-0").SameBits(-Extended()));
    // Beyond the 64-bit range but inside the extended one: accepted.
    EXPECT_EQ(RealParse("1e0500").BiasedExponent(), 16383 + 1660);  // 10^500 ~ 2^1660.96
    EXPECT_TRUE(RealParse("1e400").IsFinite());
    // Digits are taken as one integer, rounded in extended after 19 digits.
    EXPECT_TRUE(RealParse("18446744073709551615").SameBits(Extended::FromUnsigned(UINT64_MAX)));
}

TEST_F(Separator, RealParseRejectedTexts) {
    const char* const texts[] = {
        // malformed
        "", " ", "+", "-", "e3", "1,000", "1 000", "1e 3", "- 1", "1.2.3", "$1F", "0x1F", "INF",
        "NAN", "1e5000", "1e+5000", "\t1", "1f", "1..", "１",
        // beyond the extended range
        "1e4999", "1e4933", "-1e4933",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ConvertMessage([&] { RealParse(text); }),
                  "'" + std::string(text) + "' は浮動小数点数ではありません");
    }
    // A million digits overflow the extended range: rejected, not hung.
    const std::string huge(1000000, '9');
    EXPECT_THROW(RealParse(huge), EConvertError);
    // ... but a million zeros after the separator is just a small number.
    EXPECT_EQ(RealParse("0." + std::string(1000000, '0') + "1").ToDouble(), 0.0);
}

TEST_F(Separator, RealParseFollowsTheDecimalSeparator) {
    SetDecimalSeparator(',');
    EXPECT_EQ(RealParse("1,5").ToDouble(), 1.5);
    EXPECT_EQ(RealParse("1,000").ToDouble(), 1.0);
    EXPECT_EQ(ConvertMessage([] { RealParse("1.5"); }), "'1.5' は浮動小数点数ではありません");
}

TEST_F(Separator, RealParseRoundsLikeItsDigitsAndScales) {
    // 0.1 is 1 / 10 rounded once in extended, then once more to 64 bits.
    EXPECT_TRUE(RealParse("0.1").SameBits(Extended::FromUnsigned(1) / Extended::FromUnsigned(10)));
    // A scale of 40 takes two steps: * 10^8, then * 10^32.
    const Extended expected = (Extended::FromUnsigned(3) * Extended::FromUnsigned(100000000)) *
                              Extended::FromBits(0x4069, 0x9DC5ADA82B70B59Eull);
    EXPECT_TRUE(RealParse("3e40").SameBits(expected));
}

struct TextCase {
    double value;
    const char* text;
};

TEST_F(Separator, RealToTextWritesFifteenSignificantDigits) {
    const TextCase cases[] = {
        {0.0, "0"}, {-0.0, "0"}, {1, "1"}, {-1, "-1"}, {0.5, "0.5"}, {100, "100"},
        {1234.5, "1234.5"}, {-365, "-365"}, {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"}, {0.1, "0.1"}, {0.1 + 0.2, "0.3"}, {0.0001, "0.0001"},
        {0.00012345, "0.00012345"}, {0.00001, "1E-5"}, {0.000012345, "1.2345E-5"},
        {-1.5e-7, "-1.5E-7"}, {999999999999999.0, "999999999999999"}, {1e15, "1E15"},
        {123456789012345678.0, "1.23456789012346E17"}, {99999999999999.95, "100000000000000"},
        {std::nextafter(10.0, 0.0), "10"}, {DBL_MAX, "1.79769313486232E308"},
        {4.9406564584124654e-324, "4.94065645841247E-324"}, {INFINITY, "INF"},
        {-INFINITY, "INF"}, {NAN, "NAN"}, {0.0999999999767169, "0.0999999999767169"},
        // an exact tie at the 16th digit rounds away from zero
        {1000000000000005.0, "1.00000000000001E15"}, {-1000000000000005.0, "-1.00000000000001E15"},
        {100000000000000.5, "100000000000001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RealToText(c.value), c.text);
    }
}

// A whole number below 10^15 is scaled exactly and keeps all its digits, so
// its text is its decimal digits; the sweep covers every number of up to five
// digits and the neighbours of every power of two and of ten in the range.
TEST_F(Separator, RealToTextWritesWholeNumbersAsTheirDigits) {
    SetDecimalSeparator(',');
    std::vector<std::int64_t> wholes;
    for (std::int64_t n = 1; n < 100000; ++n) wholes.push_back(n);
    for (std::int64_t p = 1; p < 1000000000000000; p *= 2) wholes.insert(wholes.end(), {p - 1, p, p + 1});
    for (std::int64_t p = 1; p < 1000000000000000; p *= 10) wholes.insert(wholes.end(), {p - 1, p, p + 1});
    wholes.push_back(999999999999999);
    for (const std::int64_t n : wholes) {
        for (const std::int64_t v : {n, -n}) {
            ASSERT_EQ(RealToText(static_cast<double>(v)), std::to_string(v));
        }
    }
    // the neighbours that are not whole, or too long, keep the general format
    EXPECT_EQ(RealToText(999999999999999.5), "1E15");
    EXPECT_EQ(RealToText(1e15 + 2), "1E15");
    EXPECT_EQ(RealToText(4.5), "4,5");
}

TEST_F(Separator, RealToTextUsesTheDecimalSeparator) {
    SetDecimalSeparator(',');
    EXPECT_EQ(RealToText(0.5), "0,5");
    EXPECT_EQ(RealToText(1.5e-7), "1,5E-7");
}

// Texts worked out by tests/core/real_to_text_model.py, which carries out the
// format's steps (extended scaling by the power-of-ten tables, rounding to an
// 18-digit integer, then to 15 digits on the 16th) in exact rational
// arithmetic. The comment gives digits 16 to 18 of the 18-digit integer.
TEST_F(Separator, RealToTextMatchesTheExactDerivation) {
    const TextCase cases[] = {
        {-0x1.65c28f5c28f40p+3, "-11.18"},  // 500; a day of the date-after page: -11.18, not -11.1799999999999
        {0x1.f128867a80000p+2, "7.76809846842662"},  // 500; a day of the date-after page
        {0x1.5003a847c1babp+76, "9.9173912771872E22"},  // 500; a day count of the span page
        {0x1.d70499e345e28p+67, "2.7152337514544E20"},  // 986; the years of that span
        {0x1.0000000000000p-877, "9.9241610332961E-265"},  // 568; the estimate of E is one too high
        {0x1.ff31d401c61dep-337, "7.13243444097167E-102"},  // 500; the rounded steps of the scaling decide: one rounded factor gives ...166
        {0x1.eaea22413b57bp-266, "1.61728710320615E-80"},  // 499; scaled to ...4994.5 (19 digits): ties to even, then / 10 gives ...499
        {0x1.5555555555555p-2, "0.333333333333333"},  // 315
        {0x1.5555555555555p-1, "0.666666666666667"},  // 630
        {0x1.3333333333334p-2, "0.3"},  // 044
        {0x1.6bcc41e8ffffdp+46, "100000000000000"},  // 531
        {0x1.3ffffffffffffp+3, "10"},  // 822; all nines carry into a new digit
        {0x1.fffffffffffffp+1023, "1.79769313486232E308"},  // 571; the largest 64-bit real
        {0x0.0000000000001p-1022, "4.94065645841247E-324"},  // 544; the smallest 64-bit denormal
        {0x1.b69b4ba630f35p+56, "1.23456789012346E17"},  // 680
        {-0x1.421f5f40d8376p-23, "-1.5E-7"},  // 993
        {0x1.c6bf526340028p+49, "1.00000000000001E15"},  // 500
        {0x1.99a16d3d6efc0p-4, "0.100007464140559"},  // 499
        {0x1.87f09e70db6b6p-665, "1.00007464140559E-200"},  // 499
        {0x1.65950fc57ec1ep+830, "1.00007464140559E250"},  // 499
        {0x1.99a24bdddc06bp-4, "0.100008293489511"},  // 500
        {0x1.87efc96dc1347p-665, "1.00006634791609E-200"},  // 500
        {0x1.65aedf4f631cfp+830, "1.00035662004894E250"},  // 500
        {0x1.99a4091eb61c1p-4, "0.100009952187413"},  // 501
        {0x1.87ee1f678cc69p-665, "1.00004976093707E-200"},  // 501
        {0x1.65920669fa7afp+830, "1.00004146744756E250"},  // 501
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RealToText(c.value), c.text);
    }
}

// The exact decimal expansion of |x|: at least 18 significant digits, and E
// with |x| = 0.d1d2... * 10^E.
struct Expansion {
    std::string digits;
    int exponent;
};

Expansion Exact(double x) {
    char buffer[1000];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x),
                             std::chars_format::scientific, 800).ptr;
    const std::string all(buffer, end);
    const std::size_t e = all.find('e');
    return {all.substr(0, 1) + all.substr(2, e - 2), std::stoi(all.substr(e + 1)) + 1};
}

// The first 15 digits of the expansion, one unit added in the 15th when `up`,
// without trailing zeros, as "digitsE<exponent>".
std::string FifteenDigits(const Expansion& exact, bool up) {
    std::string kept = exact.digits.substr(0, 15);
    int exponent = exact.exponent;
    if (up) {
        int k = 14;
        while (k >= 0 && kept[static_cast<std::size_t>(k)] == '9') kept[static_cast<std::size_t>(k--)] = '0';
        if (k < 0) {
            kept = "1";
            ++exponent;
        } else {
            ++kept[static_cast<std::size_t>(k)];
        }
    }
    while (kept.size() > 1 && kept.back() == '0') kept.pop_back();
    return kept + "E" + std::to_string(exponent);
}

// RealToText's digits and exponent in the same shape, parsed back from its text.
std::string Shape(const std::string& text) {
    std::string digits;
    int exponent = 0;
    const std::size_t e = text.find('E');
    const std::string mantissa = text.substr(text[0] == '-' ? 1 : 0, e == std::string::npos ? std::string::npos : e - (text[0] == '-' ? 1 : 0));
    const std::size_t point = mantissa.find('.');
    const std::string whole = mantissa.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : mantissa.substr(point + 1);
    std::string all = whole + fraction;
    exponent = static_cast<int>(whole.size());
    while (all.size() > 1 && all[0] == '0') {
        all.erase(0, 1);
        --exponent;
    }
    while (all.size() > 1 && all.back() == '0') all.pop_back();
    if (e != std::string::npos) exponent = std::stoi(text.substr(e + 1)) + 1;
    digits = all;
    return digits + "E" + std::to_string(exponent);
}

TEST_F(Separator, RealToTextOverTheWholeExponentRange) {
    // Every power of two and of ten that is a 64-bit real, with both neighbours,
    std::vector<double> values;
    for (int k = -1074; k <= 1023; ++k) values.push_back(std::ldexp(1.0, k));
    for (int k = -323; k <= 308; ++k) values.push_back(std::strtod(("1e" + std::to_string(k)).c_str(), nullptr));
    for (std::size_t i = 0, n = values.size(); i < n; ++i) {
        values.push_back(std::nextafter(values[i], 0.0));
        values.push_back(std::nextafter(values[i], INFINITY));
    }
    // and values spread over every binade by their bits.
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        values.push_back(std::bit_cast<double>(state >> 1));  // positive
    }
    // Of these, the only ones whose text is not the exact value rounded once,
    // with their texts, from tests/core/real_to_text_model.py.
    const TextCase differing[] = {
        {0x1.2a02ae6a978f1p-997, "8.69132291273769E-301"},  // not 8.69132291273768E-301
        {0x1.1b3d0a448cb49p-830, "1.54531074413917E-250"},  // not 1.54531074413916E-250
        {0x1.3e52bb493e2b2p-774, "1.25144463894599E-233"},  // not 1.25144463894598E-233
        {0x1.2bac3e58c82f4p-238, "2.65013764057665E-72"},  // not 2.65013764057664E-72
        {0x1.2aa0972bb7b82p-232, "1.69017065843433E-70"},  // not 1.69017065843432E-70
        {0x1.0000000000001p-140, "7.17464813734307E-43"},  // not 7.17464813734306E-43
        {0x1.fffffffffffffp-94, "1.0097419586829E-28"},  // not 1.00974195868289E-28
        {0x1.0000000000001p+362, "9.39417033109534E108"},  // not 9.39417033109533E108
        {0x1.f2a80db93136cp+365, "1.46389491135273E110"},  // not 1.46389491135272E110
        {0x1.fc245612c267fp+590, "8.04345277589534E177"},  // not 8.04345277589533E177
        {0x1.fffffffffffffp+600, "8.29903113776199E180"},  // not 8.29903113776198E180
        {0x1.e3df1fa8ae7d8p+682, "3.79268862754819E205"},  // not 3.79268862754818E205
        {0x1.51091199c4920p+923, "9.33515607296378E277"},  // not 9.33515607296377E277
    };
    for (double x : values) {
        if (x == 0 || !std::isfinite(x)) continue;
        SCOPED_TRACE(x);
        const std::string text = RealToText(x);
        ASSERT_EQ(RealToText(-x), "-" + text);
        const Expansion exact = Exact(x);
        const auto listed = std::find_if(std::begin(differing), std::end(differing),
                                         [x](const TextCase& d) { return d.value == x; });
        if (listed == std::end(differing)) {
            ASSERT_EQ(Shape(text), FifteenDigits(exact, exact.digits[15] >= '5')) << text;
        } else {
            // The double rounding: digits 16 to 18 of the exact value read
            // "499", the rounding to 18 digits took them to "500", and the
            // text is one unit higher in the 15th digit.
            ASSERT_EQ(text, listed->text);
            EXPECT_EQ(exact.digits.substr(15, 3), "499");
            EXPECT_EQ(Shape(text), FifteenDigits(exact, true));
        }
    }
}

TEST(IntegerToText, DigitsWithoutPadding) {
    EXPECT_EQ(IntegerToText(0), "0");
    EXPECT_EQ(IntegerToText(59), "59");
    EXPECT_EQ(IntegerToText(-5), "-5");
    EXPECT_EQ(IntegerToText(INT32_MIN), "-2147483648");
}

TEST(DateText, FourDigitYearTwoDigitMonthAndDay) {
    EXPECT_EQ(DateText({2024, 3, 5}), "2024 03 05");
    EXPECT_EQ(DateText({2024, 12, 31}), "2024 12 31");
    EXPECT_EQ(DateText({987, 1, 9}), "0987 01 09");
    const std::string today = TodayAsText();
    ASSERT_EQ(today.size(), 10u);
    EXPECT_EQ(today[4], ' ');
    EXPECT_EQ(today[7], ' ');
}

TEST(NumberFormat, OnlyASingleByteSettingIsUsed) {
    EXPECT_EQ(DecimalSeparatorFromSetting(","), ',');
    EXPECT_EQ(DecimalSeparatorFromSetting("."), '.');
    EXPECT_EQ(DecimalSeparatorFromSetting(""), '.');
    EXPECT_EQ(DecimalSeparatorFromSetting(",,"), '.');
    EXPECT_EQ(DecimalSeparatorFromSetting("٫"), '.');  // a multi-byte character
}

}  // namespace
}  // namespace vesk
