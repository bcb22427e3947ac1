#pragma once
// The month calendar grid: seven columns by seven rows, the weekday
// abbreviations in the header row and the days of the shown month in the six
// week rows, with the day of the date it holds current and highlighted. The
// month logic comes from TMonthModel; the grid keeps the current cell.

#include <string>

#include "datecalc/CalendarUpdate.h"
#include "calendar/CustomGrid.h"
#include "textconv/DayAbbreviations.h"
#include "datecalc/MonthModel.h"

namespace vesk {

class TCalendar : public TCustomGrid, public TMonthModel {
    Q_OBJECT

public:
    // Shows today's month, Sunday first, today current; UseCurrentDate set,
    // range selection off, the current cell painted selected while focused.
    explicit TCalendar(QWidget* parent = nullptr);

    // The selection rule of TMonthModel, asked by the grid as well.
    bool CanSelectCell(int col, int row) override;
    int CurrentCol() const override { return Col(); }
    int CurrentRow() const override { return Row(); }

    // Shares the client area among the seven columns and seven rows:
    // (W - 6 * GridLineWidth) div 7 by (H - 6 * GridLineWidth) div 7 pixels.
    // Runs at every resize.
    void FitCellsToClient();

protected:
    // Draws the cell's label centred, clipped to the cell.
    void PaintCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) override;
    // OnClick, then the picked day becomes Day.
    void Click() override;
    void PlaceCurrentCell(int col, int row) override { MoveCurrentCell(col, row); }
    // Repaints, and tells screen readers what changed.
    void RepaintMonth() override;
    void resizeEvent(QResizeEvent* event) override;
};

// The calendar page's update on the grid itself (see CalendarUpdate.h).
inline void CalendarUpdate(TCalendar& calendar, const std::string& yearText, const std::string& monthText,
                           const std::string& dayText) {
    CalendarUpdate(static_cast<TMonthModel&>(calendar), yearText, monthText, dayText);
}

}  // namespace vesk
