#include "datecalc/MonthModel.h"

#include <gtest/gtest.h>

#include "datecalc/CalendarUpdate.h"
#include "textconv/DayAbbreviations.h"
#include "textconv/Failures.h"

namespace vesk {
namespace {

// A month model started at a date, counting its OnChange events.
class ShownMonth : public TMonthModel {
public:
    ShownMonth(std::uint16_t year, std::uint16_t month, std::uint16_t day, TDayOfWeek startOfWeek = 0) {
        SetStartOfWeek(startOfWeek);
        Start(MakeDateValue(year, month, day));
        SetOnChange([this](TMonthModel& sender) {
            EXPECT_EQ(&sender, this);
            ++changes;
        });
    }
    // The labels of a row joined by ",".
    std::string RowText(int row) const {
        std::string text;
        for (int col = 0; col < kCalendarColCount; ++col) text += (col ? "," : "") + CellLabel(col, row);
        return text;
    }
    int changes = 0;
};

class MonthModelTest : public ::testing::Test {
protected:
    void SetUp() override { SetDayAbbreviations(kFallbackDayAbbreviations); }
    void TearDown() override { SetDayAbbreviations(kFallbackDayAbbreviations); }
};

TEST_F(MonthModelTest, Layouts) {
    const struct {
        const char* name;
        std::uint16_t year, month, day;
        TDayOfWeek startOfWeek;
        int firstCellDay, col, row;
        std::array<const char*, 7> rows;  // nullptr: not checked
    } cases[] = {
        {"January 2001, the 1st a Monday", 2001, 1, 1, 0, 0, 1, 1,
         {"Sun,Mon,Tue,Wed,Thu,Fri,Sat", ",1,2,3,4,5,6", nullptr, nullptr, nullptr, "28,29,30,31,,,",
          ",,,,,,"}},
        {"January 2000, the 1st a Saturday", 2000, 1, 31, 0, -5, 1, 6,
         {nullptr, ",,,,,,1", "2,3,4,5,6,7,8", nullptr, nullptr, nullptr, "30,31,,,,,"}},
        {"February 2015, four full weeks", 2015, 2, 14, 0, 1, 6, 2,
         {nullptr, "1,2,3,4,5,6,7", "8,9,10,11,12,13,14", "15,16,17,18,19,20,21", "22,23,24,25,26,27,28",
          ",,,,,,", ",,,,,,"}},
        {"29 February 2024", 2024, 2, 29, 0, -3, 4, 5,
         {nullptr, ",,,,1,2,3", nullptr, nullptr, nullptr, "25,26,27,28,29,,", ",,,,,,"}},
        {"January 2001 from Monday", 2001, 1, 1, 1, 1, 0, 1,
         {"Mon,Tue,Wed,Thu,Fri,Sat,Sun", "1,2,3,4,5,6,7", nullptr, nullptr, nullptr, "29,30,31,,,,", nullptr}},
        {"January 2000 from Saturday", 2000, 1, 1, 6, 1, 0, 1,
         {"Sat,Sun,Mon,Tue,Wed,Thu,Fri", "1,2,3,4,5,6,7", nullptr, nullptr, nullptr, "29,30,31,,,,", nullptr}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ShownMonth month(c.year, c.month, c.day, c.startOfWeek);
        EXPECT_EQ(month.FirstCellDay(), c.firstCellDay);
        EXPECT_EQ(month.CurrentCol(), c.col);
        EXPECT_EQ(month.CurrentRow(), c.row);
        for (int row = 0; row < kCalendarRowCount; ++row) {
            if (c.rows[static_cast<std::size_t>(row)]) {
                EXPECT_EQ(month.RowText(row), c.rows[static_cast<std::size_t>(row)]) << "row " << row;
            }
        }
    }
}

// Every month of every year from every start of the week: the 1st in week
// row 1 at its weekday's column, the current cell on the shown day, no day
// beyond week row 6.
TEST_F(MonthModelTest, EveryMonthLaysOutWithinSixWeeks) {
    for (TDayOfWeek startOfWeek = 0; startOfWeek < 7; ++startOfWeek) {
        ShownMonth month(1, 1, 1, startOfWeek);
        for (int year = 1; year <= 9999; year += (year < 2100 ? 1 : 97)) {
            for (int m = 1; m <= 12; ++m) {
                const int length = MonthLength(m, IsGregorianLeap(year));
                month.Start(MakeDateValue(static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(m),
                                          static_cast<std::uint16_t>(length)));
                const int firstWeekday = WeekdayOf(MakeDateValue(static_cast<std::uint16_t>(year),
                                                                 static_cast<std::uint16_t>(m), 1));
                const int firstCol = (firstWeekday - 1 - startOfWeek + 7) % 7;
                const int last = length - month.FirstCellDay();
                if (month.FirstCellDay() != 1 - firstCol || month.CellLabel(firstCol, 1) != "1" ||
                    month.CurrentCol() != last % 7 || month.CurrentRow() != last / 7 + 1 ||
                    month.CurrentRow() > 6 ||
                    month.CellLabel(month.CurrentCol(), month.CurrentRow()) != std::to_string(length)) {
                    FAIL() << year << "-" << m << " from weekday " << int{startOfWeek};
                }
            }
        }
    }
}

TEST_F(MonthModelTest, HeaderFollowsTheDayAbbreviations) {
    SetDayAbbreviations({"日", "月", "火", "水", "木", "金", "土"});
    const ShownMonth month(2001, 1, 1, 3);
    EXPECT_EQ(month.RowText(0), "水,木,金,土,日,月,火");
    SetDayAbbreviations({"", "", "", "", "", "", ""});
    EXPECT_EQ(month.RowText(0), "Wed,Thu,Fri,Sat,Sun,Mon,Tue");
}

TEST_F(MonthModelTest, CellsOutsideTheGridAreBlank) {
    const ShownMonth month(2015, 2, 1);
    EXPECT_EQ(month.CellLabel(-1, 1), "");
    EXPECT_EQ(month.CellLabel(7, 1), "");
    EXPECT_EQ(month.CellLabel(0, 7), "");
    EXPECT_EQ(month.CellLabel(0, -1), "");
}

// The update action: each row starts from a fresh month (UseCurrentDate set)
// and shows where the date ends, whether a failure stops it, and how many
// OnChange events it raised.
TEST_F(MonthModelTest, UpdateSequences) {
    const struct {
        const char* name;
        std::uint16_t year, month, day;
        const char *yearText, *monthText, *dayText;
        const char* failure;  // nullptr: none
        std::uint16_t endYear, endMonth, endDay;
        int changes;
    } cases[] = {
        // Applied in full or in part.
        {"a day missing in February is ignored", 2024, 1, 10, "2024", "2", "30", nullptr, 2024, 2, 10, 1},
        {"a month above 12 is ignored", 2024, 1, 31, "2024", "13", "5", nullptr, 2024, 1, 5, 1},
        {"a year of 0 is ignored", 2024, 1, 31, "0", "3", "5", nullptr, 2024, 3, 5, 2},
        {"a negative year is ignored", 2024, 1, 31, "-5", "3", "5", nullptr, 2024, 3, 5, 2},
        {"a day of 0 is ignored", 2024, 1, 31, "2023", "1", "0", nullptr, 2023, 1, 31, 1},
        {"the present date with leading zeros changes nothing", 2024, 3, 5, "2024", "03", "05", nullptr,
         2024, 3, 5, 0},
        {"the 29th of February from another year", 2023, 3, 29, "2024", "2", "29", nullptr, 2024, 2, 29, 2},
        {"hexadecimal texts are integers too", 2024, 1, 1, "$7E9", "0x2", "x1F", nullptr, 2025, 2, 1, 2},
        // Stopped by a date that does not exist.
        {"30 April from the 31st of January", 2024, 1, 31, "2024", "4", "30", kInvalidDateMessage, 2024, 1,
         31, 0},
        {"the new year stays when the month fails", 2024, 1, 31, "2025", "4", "30", kInvalidDateMessage,
         2025, 1, 31, 1},
        {"29 February into a common year", 2024, 2, 29, "2023", "2", "28", kInvalidDateMessage, 2024, 2, 29,
         0},
        {"year 10000", 2024, 1, 31, "10000", "1", "1", kInvalidDateMessage, 2024, 1, 31, 0},
        {"year 65535", 2024, 1, 31, "65535", "1", "1", kInvalidDateMessage, 2024, 1, 31, 0},
        {"year 65536 is refused, not cut to 0", 2024, 1, 31, "65536", "1", "1", kInvalidDateMessage, 2024, 1,
         31, 0},
        {"year 67560 is refused, not cut to 2024", 2023, 1, 31, "67560", "1", "1", kInvalidDateMessage, 2023,
         1, 31, 0},
        {"the largest integer year", 2024, 1, 31, "2147483647", "1", "1", kInvalidDateMessage, 2024, 1, 31,
         0},
        // Stopped by a text that is no integer.
        {"a year that is no integer", 2024, 1, 31, "abc", "2", "1", "'abc' は数値ではありません", 2024, 1, 31,
         0},
        {"a month that is no integer after a new year", 2024, 1, 31, "2025", "2.0", "1",
         "'2.0' は数値ではありません", 2025, 1, 31, 1},
        {"a day with a trailing blank", 2024, 1, 31, "2024", "3", "5 ", "'5 ' は数値ではありません", 2024, 3,
         31, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShownMonth month(c.year, c.month, c.day);
        ASSERT_TRUE(month.UseCurrentDate());
        try {
            CalendarUpdate(month, c.yearText, c.monthText, c.dayText);
            EXPECT_EQ(c.failure, nullptr) << "no failure";
        } catch (const EConvertError& e) {
            EXPECT_NE(c.failure, nullptr) << e.Message();
            if (c.failure) {
                EXPECT_EQ(e.Message(), c.failure);
            }
        }
        EXPECT_EQ(month.Year(), c.endYear);
        EXPECT_EQ(month.Month(), c.endMonth);
        EXPECT_EQ(month.Day(), c.endDay);
        EXPECT_EQ(month.changes, c.changes);
        EXPECT_EQ(month.UseCurrentDate(), c.changes == 0);
        // The layout is the end date's, so a failure left the grid as it was.
        const ShownMonth expected(c.endYear, c.endMonth, c.endDay);
        EXPECT_EQ(month.FirstCellDay(), expected.FirstCellDay());
        EXPECT_EQ(month.CurrentCol(), expected.CurrentCol());
        EXPECT_EQ(month.CurrentRow(), expected.CurrentRow());
    }
}

TEST_F(MonthModelTest, UpdateReachesAprilThroughTheThirtieth) {
    ShownMonth month(2024, 1, 31);
    CalendarUpdate(month, "2024", "1", "30");
    CalendarUpdate(month, "2024", "4", "30");
    EXPECT_EQ(month.ShownDate(), MakeDateValue(2024, 4, 30));
    EXPECT_EQ(month.changes, 2);
}

TEST_F(MonthModelTest, SetDatePartIgnoresOtherIndexes) {
    ShownMonth month(2024, 1, 31);
    for (int index : {0, 4, -1}) month.SetDatePart(index, 5);
    EXPECT_EQ(month.ShownDate(), MakeDateValue(2024, 1, 31));
    EXPECT_EQ(month.GetDatePart(0), -1);
    EXPECT_EQ(month.GetDatePart(4), -1);
    EXPECT_EQ(month.changes, 0);
    EXPECT_TRUE(month.UseCurrentDate());
}

TEST_F(MonthModelTest, SettersWithoutOnChange) {
    ShownMonth month(2001, 1, 1);
    month.SetStartOfWeek(1);
    EXPECT_EQ(month.FirstCellDay(), 1);  // laid out again
    EXPECT_EQ(month.CurrentCol(), 0);
    month.SetUseCurrentDate(false);
    EXPECT_EQ(month.ShownDate(), MakeDateValue(2001, 1, 1));  // the date is kept
    month.SetUseCurrentDate(true);
    EXPECT_EQ(month.ShownDate(), Today());
    EXPECT_EQ(month.changes, 0);
}

// Records Rebuilding while the current cell moves, and can make that move fail.
class WatchedMonth : public TMonthModel {
public:
    bool rebuildingSeen = false;
    bool failMove = false;

protected:
    void PlaceCurrentCell(int col, int row) override {
        rebuildingSeen = Rebuilding();
        if (failMove) throw EConvertError("move failed");
        TMonthModel::PlaceCurrentCell(col, row);
    }
};

TEST_F(MonthModelTest, RebuildingIsSetOnlyWhileTheMonthIsLaidOut) {
    WatchedMonth month;
    month.Start(MakeDateValue(2024, 1, 31));
    EXPECT_TRUE(month.rebuildingSeen);
    EXPECT_FALSE(month.Rebuilding());
    month.failMove = true;
    EXPECT_THROW(month.RebuildMonth(), EConvertError);
    EXPECT_FALSE(month.Rebuilding());
}

TEST_F(MonthModelTest, ReadOnlyRefusesTheUserButNotTheLayout) {
    ShownMonth month(2024, 1, 31);
    EXPECT_TRUE(month.CanSelectCell(3, 2));
    EXPECT_FALSE(month.CanSelectCell(0, 1));  // blank
    month.SetReadOnly(true);
    EXPECT_FALSE(month.CanSelectCell(3, 2));
    month.SetDay(15);  // the layout still moves the current cell
    EXPECT_EQ(month.CellLabel(month.CurrentCol(), month.CurrentRow()), "15");
}

}  // namespace
}  // namespace vesk
