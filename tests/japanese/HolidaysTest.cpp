#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "TestDates.h"
#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"
#include "japanese/Holidays.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;
using test::D;
using test::Day;

constexpr std::string_view kPublished =
#include "PublishedHolidays.inc"
    ;

struct PublishedRow {
    year_month_day date;
    std::string name;
};

// The published rows by year, read from "YYYY/M/D,name" lines.
std::map<int, std::vector<PublishedRow>> PublishedByYear() {
    std::map<int, std::vector<PublishedRow>> years;
    std::string_view rest = kPublished;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.empty()) continue;
        const std::size_t slash1 = line.find('/'), slash2 = line.find('/', slash1 + 1),
                          comma = line.find(',');
        const int y = std::stoi(std::string(line.substr(0, slash1)));
        const auto m = static_cast<unsigned>(
            std::stoi(std::string(line.substr(slash1 + 1, slash2 - slash1 - 1))));
        const auto d = static_cast<unsigned>(
            std::stoi(std::string(line.substr(slash2 + 1, comma - slash2 - 1))));
        years[y].push_back({year{y} / month{m} / day{d}, std::string(line.substr(comma + 1))});
    }
    return years;
}

// The names this table gives where the published list has a name of its own:
// 休日 for both kinds of day the law makes 休日, the one-off days of 2019 as
// 休日（祝日扱い）, and 2019's 体育の日 with the name it took from 2020.
bool SameName(std::string_view published, std::string_view ours) {
    if (published == "休日") return ours == "振替休日" || ours == "国民の休日";
    if (published == "休日（祝日扱い）")
        return ours == "天皇の即位の日" || ours == "即位礼正殿の儀";
    if (published == "体育の日（スポーツの日）") return ours == "体育の日";
    return published == ours;
}

TEST(Holidays, AgreeWithThePublishedListDayForDay) {
    const auto published = PublishedByYear();
    ASSERT_EQ(published.begin()->first, 1955);
    ASSERT_EQ(published.rbegin()->first, 2027);
    for (const auto& [y, rows] : published) {
        SCOPED_TRACE(y);
        const std::span<const Holiday> ours = HolidaysOfYear(y);
        std::string oursText, publishedText;
        for (const Holiday& h : ours)
            oursText += IsoDate(year_month_day{h.date}) + " " + std::string(h.name) + "\n";
        for (const PublishedRow& r : rows) publishedText += IsoDate(r.date) + " " + r.name + "\n";
        ASSERT_EQ(ours.size(), rows.size()) << "ours:\n"
                                            << oursText << "published:\n"
                                            << publishedText;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(year_month_day{ours[i].date}, rows[i].date) << publishedText;
            EXPECT_TRUE(SameName(rows[i].name, ours[i].name))
                << rows[i].name << " vs " << ours[i].name;
        }
    }
}

// Which law makes each 休日: the published list names both kinds 休日.
TEST(Holidays, SubstituteAndInBetweenDaysByTheirRule) {
    const struct {
        const char* date;
        const char* name;  // nullptr: no holiday
    } rows[] = {
        // 昭和48年法律第10号 from 1973-04-12: the day after a Sunday 祝日.
        {"1973-02-12", nullptr},  // 建国記念の日 on a Sunday before the law
        {"1973-04-30", "振替休日"},
        {"1987-05-04", "振替休日"},  // 憲法記念日 on a Sunday: a substitute, not an in-between day
        {"1990-12-24", "振替休日"},
        // 昭和60年法律第103号 from 1985-12-27: a weekday between two 祝日.
        {"1986-05-04", nullptr},  // a Sunday
        {"1988-05-04", "国民の休日"},
        {"1997-05-04", nullptr},  // a Sunday
        {"2006-05-04", "国民の休日"},
        // 平成17年法律第43号 from 2007: the first day after that is no 祝日.
        {"2007-04-30", "振替休日"},
        {"2008-05-06", "振替休日"},  // みどりの日 on a Sunday, こどもの日 after it
        {"2009-05-06", "振替休日"},  // 憲法記念日 on a Sunday
        {"2009-09-22", "国民の休日"},
        {"2015-09-22", "国民の休日"},
        {"2026-09-22", "国民の休日"},
        // 2019: the days of 平成30年法律第99号 count as 祝日 for both rules.
        {"2019-04-30", "国民の休日"},
        {"2019-05-01", "天皇の即位の日"},
        {"2019-05-02", "国民の休日"},
        {"2019-05-06", "振替休日"},
        {"2019-10-22", "即位礼正殿の儀"},
        // The Olympic moves, and 天皇誕生日 between the two reigns.
        {"2020-07-24", "スポーツの日"},
        {"2021-08-09", "振替休日"},
        {"2020-10-12", nullptr},
        {"2019-12-23", nullptr},
        {"2019-02-23", nullptr},
        {"2020-02-24", "振替休日"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.date);
        const auto name = HolidayOn(Day(row.date));
        if (row.name == nullptr) {
            EXPECT_FALSE(name.has_value()) << *name;
        } else {
            ASSERT_TRUE(name.has_value());
            EXPECT_EQ(*name, row.name);
        }
    }
}

// Before the published list: the law took effect on 1948-07-20, so 1948 has
// only its last three holidays; 1949 to 1954 have the nine of the first law.
TEST(Holidays, TheFirstYearsOfTheLaw) {
    const std::span<const Holiday> y1948 = HolidaysOfYear(1948);
    ASSERT_EQ(y1948.size(), 3u);
    EXPECT_EQ(y1948[0].date, Day("1948-09-23"));
    EXPECT_EQ(y1948[0].name, "秋分の日");
    EXPECT_EQ(y1948[1].date, Day("1948-11-03"));
    EXPECT_EQ(y1948[2].date, Day("1948-11-23"));
    const std::vector<std::string_view> firstLaw = {"元日",       "成人の日",   "春分の日",
                                                    "天皇誕生日", "憲法記念日", "こどもの日",
                                                    "秋分の日",   "文化の日",   "勤労感謝の日"};
    for (int y = 1949; y <= 1954; ++y) {
        SCOPED_TRACE(y);
        std::vector<std::string_view> names;
        for (const Holiday& h : HolidaysOfYear(y)) names.push_back(h.name);
        EXPECT_EQ(names, firstLaw);
    }
}

// After the published list the rules decide: every year has the sixteen
// holidays of the law as it stands, and nothing but them and their 休日.
TEST(Holidays, YearsAfterThePublishedListHoldTheLawAsItStands) {
    const std::set<std::string_view> law = {
        "元日",       "成人の日",     "建国記念の日", "天皇誕生日",  "春分の日", "昭和の日",
        "憲法記念日", "みどりの日",   "こどもの日",   "海の日",      "山の日",   "敬老の日",
        "秋分の日",   "スポーツの日", "文化の日",     "勤労感謝の日"};
    for (int y = 2028; y <= kLastHolidayYear; ++y) {
        SCOPED_TRACE(y);
        std::set<std::string_view> named;
        sys_days previous{};
        for (const Holiday& h : HolidaysOfYear(y)) {
            EXPECT_GT(h.date, previous);
            previous = h.date;
            EXPECT_EQ(static_cast<int>(year_month_day{h.date}.year()), y);
            if (h.name != "振替休日" && h.name != "国民の休日") {
                EXPECT_TRUE(named.insert(h.name).second) << h.name;
            }
        }
        EXPECT_EQ(named, law);
    }
}

// The approximation formula at its edges: the sign of the inner integer part
// before 1983 (it truncates toward zero: floor would give 22 in 1901 and
// 1978), the change of formula between 1979 and 1980, and its last year.
// Values worked by hand from the formula, and where the published list
// covers the year, as it gives them.
TEST(Holidays, EquinoxFormulaAtItsEdges) {
    const struct {
        int year;
        unsigned spring, autumn;
    } rows[] = {
        {1900, 21, 23}, {1901, 21, 24}, {1978, 21, 23}, {1979, 21, 24}, {1980, 20, 23},
        {2012, 20, 22}, {2025, 20, 23}, {2027, 21, 23}, {2099, 20, 23},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.year);
        EXPECT_EQ(SpringEquinoxDay(row.year), row.spring);
        EXPECT_EQ(AutumnEquinoxDay(row.year), row.autumn);
    }
}

TEST(Holidays, BetweenTwoDatesIncludesBothInEitherOrder) {
    const std::vector<Holiday> forward = HolidaysBetween(D("2024-12-23"), D("2025-01-13"));
    ASSERT_EQ(forward.size(), 2u);
    EXPECT_EQ(forward[0].date, Day("2025-01-01"));
    EXPECT_EQ(forward[1].date, Day("2025-01-13"));  // the last day itself
    EXPECT_EQ(HolidaysBetween(D("2025-01-13"), D("2024-12-23")).size(), 2u);
    EXPECT_EQ(HolidaysBetween(D("2025-01-01"), D("2025-01-01")).size(), 1u);
    EXPECT_TRUE(HolidaysBetween(D("2025-01-02"), D("2025-01-12")).empty());
    EXPECT_EQ(HolidaysBetween(kFirstHolidayDate, kLastHolidayDate).size(),
              HolidaySpan(sys_days{kFirstHolidayDate}, sys_days{kLastHolidayDate}).size());
}

TEST(Holidays, OutsideTheTableIsRefusedWithTheRange) {
    for (const int y : {1947, 2100, -5, 100000}) {
        try {
            HolidaysOfYear(y);
            ADD_FAILURE() << y;
        } catch (const CalendarError& error) {
            EXPECT_EQ(error.message,
                      "the year " + std::to_string(y) +
                          " lies outside the years of the holiday table (1948 to 2099)");
        }
    }
    EXPECT_THROW(HolidaysBetween(D("1947-12-31"), D("1948-12-31")), CalendarError);
    EXPECT_THROW(HolidaysBetween(D("2099-01-01"), D("2100-01-01")), CalendarError);
    EXPECT_THROW(HolidaysBetween(year{2024} / 2 / 30, D("2024-12-31")), CalendarError);
    // The single look-up answers "none" outside and never raises.
    EXPECT_FALSE(HolidayOn(Day("1947-01-01")).has_value());
    EXPECT_FALSE(HolidayOn(Day("2100-01-01")).has_value());
    EXPECT_EQ(HolidayOn(Day("2099-12-31")), std::nullopt);
    EXPECT_EQ(HolidayOn(Day("2099-01-01")), "元日");
}

}  // namespace
}  // namespace vesk::japanese
