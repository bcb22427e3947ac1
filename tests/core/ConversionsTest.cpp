// The five conversions: which texts are accepted, what they give, and the
// failure messages that quote the text as typed.

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

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

TEST_F(Separator, RealToTextUsesTheDecimalSeparator) {
    SetDecimalSeparator(',');
    EXPECT_EQ(RealToText(0.5), "0,5");
    EXPECT_EQ(RealToText(1.5e-7), "1,5E-7");
}

// The exact decimal expansion of |x| rounded to 15 digits, half away from zero,
// written the same way: an oracle from the exact digits.
std::string ExactlyRounded(double x) {
    char buffer[1000];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x),
                             std::chars_format::scientific, 800).ptr;
    std::string all(buffer, end);
    const std::size_t e = all.find('e');
    int exponent = std::stoi(all.substr(e + 1)) + 1;
    std::string digits = all.substr(0, 1) + all.substr(2, e - 2);
    std::string kept = digits.substr(0, 15);
    if (digits[15] >= '5') {
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

TEST_F(Separator, RealToTextIsExactOverTheWholeExponentRange) {
    // Every power of two and of ten that is a 64-bit real, with both neighbours.
    std::vector<double> values;
    for (int k = -1074; k <= 1023; ++k) values.push_back(std::ldexp(1.0, k));
    for (int k = -323; k <= 308; ++k) values.push_back(std::strtod(("1e" + std::to_string(k)).c_str(), nullptr));
    for (std::size_t i = 0, n = values.size(); i < n; ++i) {
        values.push_back(std::nextafter(values[i], 0.0));
        values.push_back(std::nextafter(values[i], INFINITY));
    }
    for (double x : values) {
        if (x == 0 || std::isinf(x)) continue;
        SCOPED_TRACE(x);
        const std::string text = RealToText(x);
        ASSERT_EQ(Shape(text), ExactlyRounded(x)) << text;
        ASSERT_EQ(RealToText(-x), "-" + text);
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
