#include "textconv/DayAbbreviations.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace vesk {
namespace {

class DayAbbreviationsTest : public ::testing::Test {
protected:
    void TearDown() override { SetDayAbbreviations(kFallbackDayAbbreviations); }
};

TEST_F(DayAbbreviationsTest, EmptyEntriesTakeTheirFallback) {
    SetDayAbbreviations({"日", "", "火", "", "", "金", ""});
    EXPECT_EQ(DayAbbreviations(), (TDayNames{"日", "Mon", "火", "Wed", "Thu", "金", "Sat"}));
}

// Locales by name and from the environment: the POSIX way of reading them.
#if !defined(_WIN32)

TEST_F(DayAbbreviationsTest, TheCLocaleGivesTheEnglishNamesSundayFirst) {
    EXPECT_EQ(LocaleDayAbbreviations("C"), kFallbackDayAbbreviations);
}

TEST_F(DayAbbreviationsTest, ALocaleThatCannotBeOpenedGivesNothing) {
    EXPECT_EQ(LocaleDayAbbreviations("xx_NOWHERE.UTF-8"), TDayNames{});
}

// The user's locale comes from the environment; one that does not exist
// leaves the header in English.
TEST_F(DayAbbreviationsTest, ReadFromTheUsersLocale) {
    const char* saved = std::getenv("LC_ALL");
    const std::string previous = saved ? saved : "";
    SetDayAbbreviations({"a", "b", "c", "d", "e", "f", "g"});
    ::setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
    ReadDayAbbreviations();
    EXPECT_EQ(DayAbbreviations(), kFallbackDayAbbreviations);

    SetDayAbbreviations({"a", "b", "c", "d", "e", "f", "g"});
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ReadDayAbbreviations();
    EXPECT_EQ(DayAbbreviations(), kFallbackDayAbbreviations);
    if (saved) {
        ::setenv("LC_ALL", previous.c_str(), 1);
    } else {
        ::unsetenv("LC_ALL");
    }
}

#endif

}  // namespace
}  // namespace vesk
