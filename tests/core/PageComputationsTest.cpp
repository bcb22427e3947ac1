// The four page computations: field texts in, exact sentences or failures out.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <typeinfo>
#include <vector>

#include "datecalc/PageComputations.h"
#include "textconv/Failures.h"
#include "textconv/NumberFormat.h"

namespace vesk {
namespace {

class Pages : public ::testing::Test {
protected:
    void SetUp() override { SetDecimalSeparator('.'); }
    void TearDown() override { SetDecimalSeparator('.'); }
};

// "ClassName: message" of the failure a call raises.
template <typename Call>
std::string Failure(Call call) {
    try {
        call();
    } catch (const Exception& e) {
        return std::string(e.ClassName()) + ": " + e.Message();
    }
    return "(no failure)";
}

struct WeekdayCase {
    const char* what;
    const char *y, *m, *d, *sentence;
};

TEST_F(Pages, WeekdaySentencesQuoteTheFieldsAsTyped) {
    const WeekdayCase cases[] = {
        {"the defaults", "2001", "1", "1", "  2001年1月1日は（月）曜日です。"},
        {"blanks and zeros kept", " 2001", "01", "1", "   2001年01月1日は（月）曜日です。"},
        {"hexadecimal year", "$7D1", "1", "1", "  $7D1年1月1日は（月）曜日です。"},
        {"a day past the month's end", "2001", "2", "30", "  2001年2月30日は（金）曜日です。"},
        {"a negative index has no name", "-400", "3", "1", "  -400年3月1日は（）曜日です。"},
        {"Saturday", "2000", "1", "1", "  2000年1月1日は（土）曜日です。"},
        {"Sunday", "2024", "3", "3", "  2024年3月3日は（日）曜日です。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(WeekdayPage(c.y, c.m, c.d), c.sentence);
    }
}

TEST_F(Pages, WeekdayFailsOnTheFirstFieldThatIsNoInteger) {
    EXPECT_EQ(Failure([] { WeekdayPage("abc", "1", "x"); }), "EConvertError: 'abc' は数値ではありません");
    EXPECT_EQ(Failure([] { WeekdayPage("2001", "1.5", "1"); }), "EConvertError: '1.5' は数値ではありません");
    EXPECT_EQ(Failure([] { WeekdayPage("2001", "x", "y"); }), "EConvertError: 'x' は数値ではありません");
    EXPECT_EQ(Failure([] { WeekdayPage("2001", "1", ""); }), "EConvertError: '' は数値ではありません");
}

struct SpanCase {
    const char* what;
    std::vector<std::string> fields;
    const char *count, *span;
};

TEST_F(Pages, DaySpanSentences) {
    const SpanCase cases[] = {
        {"a year", {"2001", "1", "1", "2001", "12", "31"}, "364", "1年  0"},
        {"twenty months", {"2000", "1", "1", "2001", "9", "1"}, "609", "1年  8"},
        {"backwards, years a negative zero", {"2001", "1", "1", "2000", "1", "1"}, "-366", "0年  -11"},
        {"backwards two years", {"2001", "1", "1", "1998", "11", "1"}, "-792", "-2年  -1"},
        {"across 29 February 1900", {"1900", "2", "28", "1900", "3", "1"}, "2", "0年  0"},
        {"half a day", {"2001", "1", "1", "2001", "1", "1.5"}, "0.5", "0年  0"},
        {"a tenth, as stored", {"2001", "1", "1", "2001", "1", "1.1"}, "0.0999999999767169", "0年  0"},
        {"a count in exponent form", {".e1", ".e1", "-99173912771871955047503", "8213", "5", "8"},
         "9.9173912771872E22", "2.7152337514544E20年  -156344"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto& f = c.fields;
        const DaySpanTexts texts = DaySpanPage(f[0], f[1], f[2], f[3], f[4], f[5]);
        EXPECT_EQ(texts.count, std::string("(１)から(２)までの日数は  ") + c.count + "日です。");
        EXPECT_EQ(texts.span, std::string(" およそ  ") + c.span + "ヶ月...です。");
    }
}

struct FailureCase {
    const char* what;
    std::vector<std::string> fields;
    const char* failure;
};

TEST_F(Pages, DaySpanFailsInFieldOrder) {
    const FailureCase cases[] = {
        {"date (1) wins over date (2)", {"2001", "1", "x", "y", "1", "1"},
         "EConvertError: 'x' は浮動小数点数ではありません"},
        {"the year first", {"a", "b", "c", "2001", "1", "1"},
         "EConvertError: 'a' は浮動小数点数ではありません"},
        {"an overflow of date (1) wins over a bad date (2)", {"1e400", "1", "1", "x", "1", "1"},
         "EOverflow: 浮動小数点数のオーバーフロー"},
        {"a parsed real is stored before the next field is read", {"2001", "1e400", "x", "1", "1", "1"},
         "EOverflow: 浮動小数点数のオーバーフロー"},
        {"the day number of date (1) before date (2) is read", {"1e306", "1", "1", "x", "1", "1"},
         "EOverflow: 浮動小数点数のオーバーフロー"},
        {"date (2) after date (1)", {"2001", "1", "1", "2001", "1,5", "1"},
         "EConvertError: '1,5' は浮動小数点数ではありません"},
        {"the difference overflows", {"-4.9e305", "1", "1", "4.9e305", "1", "1"},
         "EOverflow: 浮動小数点数のオーバーフロー"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto& f = c.fields;
        EXPECT_EQ(Failure([&] { DaySpanPage(f[0], f[1], f[2], f[3], f[4], f[5]); }), c.failure);
    }
}

struct AfterCase {
    const char *y, *m, *d, *n, *sentence;
};

TEST_F(Pages, DateAfterSentences) {
    const AfterCase cases[] = {
        {"2001", "1", "1", "270", "  2001年 9月 28日です。"},
        {"2001", "3", "30", "1", "  2001年 3月 31日です。"},
        {"2001", "1", "1", "-1", "  2000年 12月 31日です。"},
        {"2001", "4", "31", "0", "  2001年 5月 1日です。"},
        {"2100", "2", "28", "1", "  2100年 2月 29日です。"},
        {"2100", "2", "28", "2", "  2100年 3月 1日です。"},
        {"2001", "1", "1.5", "270", "  2001年 9月 28.5日です。"},
        {"2001", "1", "1", "0.5", "  2001年 1月 1.5日です。"},
        {"2001", "1", "1", "0.1", "  2001年 1月 1.09999999997672日です。"},
        {"1", "1", "1", "-307", "  1年 2月 31日です。"},
        {"2001", "1", "1", "30", "  2001年 1月 31日です。"},
        // the 18-digit rounding reaches "500" and the 15-digit one rounds up
        {"-3", "5", "16.82", "397", "  0年 -5月 -11.18日です。"},
        {"9497", "7", "14.14", "-6.37190153154558025933", "  9497年 7月 7.76809846842662日です。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sentence);
        EXPECT_EQ(DateAfterPage(c.y, c.m, c.d, c.n), c.sentence);
    }
}

TEST_F(Pages, DateAfterParsesAllFourFieldsBeforeAnyArithmetic) {
    // The day number of 1e306 would overflow, but the bad day count is read first.
    EXPECT_EQ(Failure([] { DateAfterPage("1e306", "1", "1", "x"); }),
              "EConvertError: 'x' は浮動小数点数ではありません");
    EXPECT_EQ(Failure([] { DateAfterPage("1e306", "1", "1", "1"); }),
              "EOverflow: 浮動小数点数のオーバーフロー");
    EXPECT_EQ(Failure([] { DateAfterPage("2001", "1", "1", "1.7976931348623157e308"); }),
              "(no failure)");
    EXPECT_EQ(Failure([] { DateAfterPage("2001", "1", "1", "1e309"); }),
              "EOverflow: 浮動小数点数のオーバーフロー");
}

TEST(UptimeText, HoursMinutesSecondsWithoutLeadingZeros) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0, "0時間 0分 0秒 "},           {999, "0時間 0分 0秒 "},
        {3723999, "1時間 2分 3秒 "},      {2147483648u, "596時間 31分 23秒 "},
        {4294967295u, "1193時間 2分 47秒 "}, {59999, "0時間 0分 59秒 "},
    };
    for (const auto& [ticks, text] : cases) {
        SCOPED_TRACE(ticks);
        EXPECT_EQ(UptimeText(ticks), text);
    }
}

// Field texts of plain digits take a shortcut past real parse; a leading "+"
// sends the same number through real parse. Both must give the same bits, for
// every length up to 15 digits, leading zeros included, with either separator.
TEST(PageComputations, PlainDigitFieldsReadAsRealParseReadsThem) {
    std::mt19937_64 random(2001);
    for (const char separator : {'.', ','}) {
        SetDecimalSeparator(separator);
        for (int round = 0; round < 3000; ++round) {
            std::string digits;
            for (std::size_t n = 1 + random() % 15; n > 0; --n) digits += static_cast<char>('0' + random() % 10);
            SCOPED_TRACE(digits);
            ASSERT_EQ(DateAfterPage("2001", "1", "1", digits), DateAfterPage("2001", "1", "1", "+" + digits));
            const DaySpanTexts plain = DaySpanPage(digits, "1", "1", "2001", "3", digits.substr(0, 2));
            const DaySpanTexts parsed = DaySpanPage("+" + digits, "1", "1", "2001", "3", "+" + digits.substr(0, 2));
            ASSERT_EQ(plain.count, parsed.count);
            ASSERT_EQ(plain.span, parsed.span);
        }
    }
    SetDecimalSeparator('.');
}

}  // namespace
}  // namespace vesk
