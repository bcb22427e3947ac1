#pragma once
// The month that the calendar grid shows, without any window: the date it
// holds, the layout of that month in seven columns by six week rows under a
// header row, the cell texts, the selection rule and the changes of year,
// month and day. The grid control TCalendar derives from it and puts the
// current cell and the repainting into its grid; the command-line calculator
// uses it as it stands, with the current cell kept here.
//
// Cells: columns 0 to 6 from the left, rows 0 to 6 from the top; row 0 is the
// header, rows 1 to 6 are week rows. The cell in week row i and column j
// stands for the day FirstCellDay + j + 7 * (i - 1) and is blank unless that
// lies within the shown month.

#include <cstdint>
#include <functional>
#include <string>

#include "datecalc/DateValue.h"

namespace vesk {

using TDayOfWeek = std::uint8_t;  // the weekday of column 0: 0 Sunday ... 6 Saturday

class TMonthModel;
using TNotifyEvent = std::function<void(TMonthModel& sender)>;

inline constexpr int kCalendarColCount = 7;
inline constexpr int kCalendarRowCount = 7;  // the header and six week rows

class TMonthModel {
public:
    // Sets UseCurrentDate; the date and the layout come with Start.
    TMonthModel() = default;
    virtual ~TMonthModel() = default;
    TMonthModel(const TMonthModel&) = delete;
    TMonthModel& operator=(const TMonthModel&) = delete;

    // Takes the date to show and lays out its month. Raises EConvertError with
    // kInvalidDateMessage for a value that is no valid date; then nothing
    // changes.
    void Start(TDateTime shownDate);

    // The date held; always a valid date value.
    TDateTime ShownDate() const noexcept { return shownDate_; }
    // [-5, 1]: the day of the first week-row cell; below 1 means blank.
    std::int32_t FirstCellDay() const noexcept { return firstCellDay_; }
    // Raised after the date has changed through Year, Month or Day.
    const TNotifyEvent& OnChange() const noexcept { return onChange_; }
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }
    // When set, the user cannot make any cell current.
    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool value) noexcept { readOnly_ = value; }
    // Lays the month out again when the value changes; never raises OnChange.
    TDayOfWeek StartOfWeek() const noexcept { return startOfWeek_; }
    void SetStartOfWeek(TDayOfWeek value);
    // True only while RebuildMonth runs.
    bool Rebuilding() const noexcept { return rebuilding_; }
    // Setting it to true, from false, takes the date from the clock again and
    // lays out its month; never raises OnChange.
    bool UseCurrentDate() const noexcept { return useCurrentDate_; }
    void SetUseCurrentDate(bool value);

    int Year() const { return GetDatePart(1); }
    int Month() const { return GetDatePart(2); }
    int Day() const { return GetDatePart(3); }
    void SetYear(std::int32_t value) { SetDatePart(1, value); }
    void SetMonth(std::int32_t value) { SetDatePart(2, value); }
    void SetDay(std::int32_t value) { SetDatePart(3, value); }

    // Index 1 year, 2 month, 3 day of ShownDate; -1 for any other index.
    int GetDatePart(int index) const;

    // Sets the year (index 1), month (2) or day (3), keeping the other parts,
    // then clears UseCurrentDate, lays the month out and raises OnChange.
    // Ignored without a message: a value of 0 or less, the present value, a
    // month above 12, a day beyond the shown month, any other index.
    // Raises EConvertError with kInvalidDateMessage when the parts make no
    // valid date (a kept day missing from the new month, a year above 9999,
    // years of 65536 and above included); then nothing changes and OnChange is
    // not raised.
    void SetDatePart(int index, std::int32_t value);

    // The text of a cell: the weekday abbreviation in row 0, the day number in
    // a week row, "" for a blank cell or a cell outside the grid. Never fails.
    std::string CellLabel(int col, int row) const;

    // Month 1 to 12 of any year: 28 to 31. Never fails.
    virtual int DaysInMonth(int year, int month) const;
    virtual int DaysInShownMonth() const;
    // Gregorian rule. Never fails.
    virtual bool IsLeap(std::int32_t year) const;
    // Lays out the month of ShownDate: FirstCellDay, the current cell on the
    // shown day, a repaint. Rebuilding is set while it runs.
    virtual void RebuildMonth();

    // The selection rule: refuses every cell while ReadOnly is set (except for
    // the move made by RebuildMonth) and every blank cell.
    virtual bool CanSelectCell(int col, int row);

    // After the user has made a cell current: the day of that cell becomes
    // Day, as through SetDatePart. Nothing for a blank cell.
    void CellPicked();

    // Raises OnChange with this month as sender, when a handler is set.
    virtual void DoChange();

    // The current cell of the grid that shows the month.
    virtual int CurrentCol() const { return currentCol_; }
    virtual int CurrentRow() const { return currentRow_; }

protected:
    // Makes a cell current when CanSelectCell accepts it; a grid moves its
    // own current cell instead, without scrolling.
    virtual void PlaceCurrentCell(int col, int row);
    // Repaints the whole grid; nothing to do without a window.
    virtual void RepaintMonth() {}

private:
    TDateTime shownDate_ = 0;  // 30 December 1899 until Start
    std::int32_t firstCellDay_ = 1;
    TNotifyEvent onChange_;
    bool readOnly_ = false;
    TDayOfWeek startOfWeek_ = 0;
    bool rebuilding_ = false;
    bool useCurrentDate_ = true;
    int currentCol_ = 0;
    int currentRow_ = 1;
};

}  // namespace vesk
