#include "datecalc/MonthModel.h"

#include <limits>

#include "textconv/DayAbbreviations.h"
#include "textconv/Conversions.h"
#include "textconv/Failures.h"

namespace vesk {

namespace {

// [0, divisor - 1] for any dividend.
int FloorMod(int dividend, int divisor) {
    const int remainder = dividend % divisor;  // [-(divisor - 1), divisor - 1]
    return remainder < 0 ? remainder + divisor : remainder;
}

}  // namespace

void TMonthModel::Start(TDateTime shownDate) {
    const DateParts parts = SplitDateValue(shownDate);
    shownDate_ = MakeDateValue(parts.year, parts.month, parts.day);  // drops a time of day
    RebuildMonth();
}

void TMonthModel::SetStartOfWeek(TDayOfWeek value) {
    if (value == startOfWeek_) return;
    startOfWeek_ = value;
    RebuildMonth();
}

void TMonthModel::SetUseCurrentDate(bool value) {
    if (value == useCurrentDate_) return;
    useCurrentDate_ = value;
    if (!value) return;
    shownDate_ = Today();
    RebuildMonth();
}

int TMonthModel::GetDatePart(int index) const {
    const DateParts parts = SplitDateValue(shownDate_);
    switch (index) {
        case 1: return parts.year;
        case 2: return parts.month;
        case 3: return parts.day;
        default: return -1;
    }
}

void TMonthModel::SetDatePart(int index, std::int32_t value) {
    if (value <= 0) return;
    DateParts parts = SplitDateValue(shownDate_);
    switch (index) {
        case 1:
            if (value == parts.year) return;
            // The parts are 16 bits wide; a year that does not fit is refused
            // like any other year beyond 9999 rather than cut to its low bits.
            if (value > std::numeric_limits<std::uint16_t>::max()) {
                throw EConvertError(kInvalidDateMessage);
            }
            parts.year = static_cast<std::uint16_t>(value);
            break;
        case 2:
            if (value > 12 || value == parts.month) return;
            parts.month = static_cast<std::uint16_t>(value);
            break;
        case 3:
            if (value > DaysInShownMonth() || value == parts.day) return;
            parts.day = static_cast<std::uint16_t>(value);
            break;
        default:
            return;
    }
    shownDate_ = MakeDateValue(parts.year, parts.month, parts.day);  // raises before any change
    useCurrentDate_ = false;
    RebuildMonth();
    DoChange();
}

std::string TMonthModel::CellLabel(int col, int row) const {
    if (col < 0 || col >= kCalendarColCount || row < 0 || row >= kCalendarRowCount) return {};
    if (row == 0) {
        return DayAbbreviations()[static_cast<std::size_t>(FloorMod(startOfWeek_ + col, 7))];
    }
    const std::int32_t day = firstCellDay_ + col + 7 * (row - 1);  // [-5, 42]
    if (day < 1 || day > DaysInShownMonth()) return {};
    return IntegerToText(day);
}

int TMonthModel::DaysInMonth(int year, int month) const { return MonthLength(month, IsLeap(year)); }

int TMonthModel::DaysInShownMonth() const { return DaysInMonth(Year(), Month()); }

bool TMonthModel::IsLeap(std::int32_t year) const { return IsGregorianLeap(year); }

void TMonthModel::RebuildMonth() {
    struct RebuildingFlag {
        bool& flag;
        explicit RebuildingFlag(bool& f) : flag(f) { flag = true; }
        ~RebuildingFlag() { flag = false; }
    } rebuilding(rebuilding_);

    const DateParts parts = SplitDateValue(shownDate_);
    const int firstWeekday = WeekdayOf(MakeDateValue(parts.year, parts.month, 1));  // [1, 7]
    const int k = FloorMod(firstWeekday - startOfWeek_, 7);  // [0, 6]: column of the 1st plus one, mod 7
    firstCellDay_ = k == 0 ? -5 : 2 - k;                       // [-5, 1]
    const int cell = parts.day - firstCellDay_;                // [0, 36]
    PlaceCurrentCell(cell % 7, cell / 7 + 1);
    RepaintMonth();
}

bool TMonthModel::CanSelectCell(int col, int row) {
    if (readOnly_ && !rebuilding_) return false;
    return !CellLabel(col, row).empty();
}

void TMonthModel::CellPicked() {
    if (CurrentRow() < 1) return;  // the header never holds a day
    const std::string label = CellLabel(CurrentCol(), CurrentRow());
    if (!label.empty()) SetDatePart(3, IntegerParse(label));
}

void TMonthModel::DoChange() {
    if (onChange_) onChange_(*this);
}

void TMonthModel::PlaceCurrentCell(int col, int row) {
    if (!CanSelectCell(col, row)) return;
    currentCol_ = col;
    currentRow_ = row;
}

}  // namespace vesk
