#include <gtest/gtest.h>

#include <string>

#include "TestDates.h"
#include "japanese/CalendarError.h"
#include "japanese/Era.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;
using test::D;

std::string Japanese(std::string_view iso) {
    const auto date = ToJapanese(D(iso));
    if (!date) return "none";
    std::string text;
    AppendJapaneseDate(text, *date);
    return text;
}

TEST(Era, EachEraFromItsFirstDay) {
    const struct {
        const char* iso;
        const char* japanese;
    } rows[] = {
        {"1872-12-31", "none"},  // the lunisolar calendar's last year
        {"0001-01-01", "none"},
        {"1873-01-01", "明治6年1月1日"},
        {"1912-07-29", "明治45年7月29日"},
        {"1912-07-30", "大正元年7月30日"},
        {"1926-12-24", "大正15年12月24日"},
        {"1926-12-25", "昭和元年12月25日"},
        {"1927-01-01", "昭和2年1月1日"},
        {"1989-01-07", "昭和64年1月7日"},
        {"1989-01-08", "平成元年1月8日"},
        {"2019-04-30", "平成31年4月30日"},
        {"2019-05-01", "令和元年5月1日"},
        {"2020-01-01", "令和2年1月1日"},
        {"2024-01-05", "令和6年1月5日"},
        {"9999-12-31", "令和7981年12月31日"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.iso);
        EXPECT_EQ(Japanese(row.iso), row.japanese);
    }
    EXPECT_FALSE(ToJapanese(year{2024} / 2 / 30).has_value());
    EXPECT_FALSE(ToJapanese(year{10000} / 1 / 1).has_value());
}

TEST(Era, TheTableItself) {
    const auto eras = Eras();
    ASSERT_EQ(eras.size(), 5u);
    std::string names, initials, latin;
    for (const Era& era : eras) {
        names += era.name;
        initials += era.initial;
        latin += era.latin;
        // The era's first day lies in the Gregorian year of its 元年 (明治 excepted).
        if (&era != &eras.front()) {
            EXPECT_EQ(static_cast<int>(era.firstDay.year()), era.firstYear);
        }
    }
    EXPECT_EQ(names, "明治大正昭和平成令和");
    EXPECT_EQ(initials, "明大昭平令");
    EXPECT_EQ(latin, "MTSHR");
}

TEST(Era, FromJapaneseWritesTheDateWhenNoTextIsGiven) {
    const Era& reiwa = Eras().back();
    EXPECT_EQ(FromJapanese({&reiwa, 6, 1, 5}), D("2024-01-05"));
    try {
        FromJapanese({&reiwa, 6, 2, 30});
        ADD_FAILURE();
    } catch (const CalendarError& error) {
        EXPECT_EQ(error.message,
                  "'令和6年2月30日' is not a date: February of 令和6年 (2024) has 29 days");
    }
    EXPECT_THROW(FromJapanese({&reiwa, 2147483647, 1, 1}), CalendarError);
    EXPECT_THROW(FromJapanese({&reiwa, -2147483647 - 1, 1, 1}), CalendarError);
    EXPECT_THROW(FromJapanese({&reiwa, 6, 1, 0}), CalendarError);
}

}  // namespace
}  // namespace vesk::japanese
