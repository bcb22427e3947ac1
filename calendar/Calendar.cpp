#include "calendar/Calendar.h"

#include <QFontMetrics>
#include <QPainter>

#include "calendar/CalendarAccessible.h"

namespace vesk {

TCalendar::TCalendar(QWidget* parent) : TCustomGrid(parent) {
    // TMonthModel has set UseCurrentDate by now.
    SetFixedCols(0);
    SetFixedRows(1);
    SetColCount(kCalendarColCount);
    SetRowCount(kCalendarRowCount);
    // The grid has no scroll bars to switch off.
    SetOptions((Options() & ~TGridOptions{goRangeSelect}) | goDrawFocusSelected);
    Start(Today());
}

bool TCalendar::CanSelectCell(int col, int row) { return TMonthModel::CanSelectCell(col, row); }

void TCalendar::FitCellsToClient() {
    const QSize client = ClientRect().size();
    SetDefaultColWidth((client.width() - 6 * GridLineWidth()) / 7);
    SetDefaultRowHeight((client.height() - 6 * GridLineWidth()) / 7);
}

void TCalendar::PaintCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState) {
    const QString text = QString::fromStdString(CellLabel(col, row));
    if (text.isEmpty()) return;
    const QFontMetrics metrics(canvas.font());
    const int x = rect.left() + (rect.width() - metrics.horizontalAdvance(text)) / 2;
    const int y = rect.top() + (rect.height() - metrics.height()) / 2;
    canvas.setClipRect(rect, Qt::IntersectClip);
    canvas.drawText(QPoint(x, y + metrics.ascent()), text);
}

void TCalendar::Click() {
    TCustomGrid::Click();
    CellPicked();
}

void TCalendar::RepaintMonth() {
    InvalidateGrid();
    AnnounceCalendarChange(*this);
}

void TCalendar::resizeEvent(QResizeEvent*) { FitCellsToClient(); }

}  // namespace vesk
