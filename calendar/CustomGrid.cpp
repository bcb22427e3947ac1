#include "calendar/CustomGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace vesk {

namespace {

// Lines around the fixed cells.
const QColor kFixedLineColour(0, 0, 0);
// Lines around the other cells, and on a control that is silver itself.
const QColor kCellLineColour(192, 192, 192);
const QColor kCellLineOnSilverColour(128, 128, 128);
// The border without the 3-D look.
const QColor kPlainBorderColour(0, 0, 0);

constexpr int kSunkenBorderWidth = 2;
constexpr int kPlainBorderWidth = 1;

// A one-pixel frame just inside a rectangle: top and left in one colour,
// bottom and right in the other.
void DrawEdgeFrame(QPainter& painter, const QRect& rect, const QColor& topLeft,
                   const QColor& bottomRight) {
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
}

}  // namespace

TCustomGrid::TCustomGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    setForegroundRole(QPalette::Text);
    UpdateBorder();
}

void TCustomGrid::SetColCount(int value) {
    if (value < 1 || value <= fixedCols_ || value == colCount_) return;
    colCount_ = value;
    KeepCurrentInside();
}

void TCustomGrid::SetRowCount(int value) {
    if (value < 1 || value <= fixedRows_ || value == rowCount_) return;
    rowCount_ = value;
    KeepCurrentInside();
}

void TCustomGrid::SetFixedCols(int value) {
    if (value < 0 || value >= colCount_ || value == fixedCols_) return;
    fixedCols_ = value;
    KeepCurrentInside();
}

void TCustomGrid::SetFixedRows(int value) {
    if (value < 0 || value >= rowCount_ || value == fixedRows_) return;
    fixedRows_ = value;
    KeepCurrentInside();
}

void TCustomGrid::SetDefaultColWidth(int value) {
    defaultColWidth_ = std::max(value, 0);
    InvalidateGrid();
}

void TCustomGrid::SetDefaultRowHeight(int value) {
    defaultRowHeight_ = std::max(value, 0);
    InvalidateGrid();
}

void TCustomGrid::SetGridLineWidth(int value) {
    value = std::max(value, 0);
    if (value == gridLineWidth_) return;
    gridLineWidth_ = value;
    InvalidateGrid();
}

void TCustomGrid::SetOptions(TGridOptions value) {
    options_ = value;
    if ((options_ & goRangeSelect) == 0) rangeEnd_ = current_;
    InvalidateGrid();
}

void TCustomGrid::SetCtl3D(bool value) {
    if (value == ctl3D_) return;
    ctl3D_ = value;
    UpdateBorder();
}

QColor TCustomGrid::Color() const { return SystemColour(backgroundRole()); }

void TCustomGrid::SetColor(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(backgroundRole(), colour);  // every colour group alike
    setPalette(colours);
    InvalidateGrid();
}

QRect TCustomGrid::Selection() const {
    return QRect(QPoint(std::min(current_.col, rangeEnd_.col), std::min(current_.row, rangeEnd_.row)),
                 QPoint(std::max(current_.col, rangeEnd_.col), std::max(current_.row, rangeEnd_.row)));
}

void TCustomGrid::MoveCurrentCell(int col, int row) {
    if (col < fixedCols_ || col >= colCount_ || row < fixedRows_ || row >= rowCount_) return;
    if (!CanSelectCell(col, row)) return;
    current_ = {col, row};
    rangeEnd_ = current_;
    InvalidateGrid();
}

void TCustomGrid::InvalidateGrid() { update(); }

QRect TCustomGrid::CellRect(int col, int row) const {
    const QRect client = ClientRect();
    return QRect(client.left() + col * (defaultColWidth_ + gridLineWidth_),
                 client.top() + row * (defaultRowHeight_ + gridLineWidth_), defaultColWidth_,
                 defaultRowHeight_);
}

std::optional<TGridCoord> TCustomGrid::CellAt(const QPoint& point) const {
    const QRect client = ClientRect();
    const int pitchX = defaultColWidth_ + gridLineWidth_;
    const int pitchY = defaultRowHeight_ + gridLineWidth_;
    if (!client.contains(point) || pitchX == 0 || pitchY == 0) return std::nullopt;
    const int col = (point.x() - client.left()) / pitchX;  // >= 0: the point is inside
    const int row = (point.y() - client.top()) / pitchY;
    if (col >= colCount_ || row >= rowCount_) return std::nullopt;
    return TGridCoord{col, row};
}

void TCustomGrid::PaintCell(QPainter&, int, int, const QRect&, TGridDrawState) {}

bool TCustomGrid::CanSelectCell(int, int) { return true; }

void TCustomGrid::Click() {
    if (onClick_) onClick_(*this);
}

QColor TCustomGrid::SystemColour(QPalette::ColorRole role) const {
    return palette().color(QPalette::Active, role);
}

void TCustomGrid::UpdateBorder() {
    const int width = ctl3D_ ? kSunkenBorderWidth : kPlainBorderWidth;
    setContentsMargins(width, width, width, width);
    InvalidateGrid();
}

void TCustomGrid::KeepCurrentInside() {
    current_.col = std::clamp(current_.col, fixedCols_, colCount_ - 1);
    current_.row = std::clamp(current_.row, fixedRows_, rowCount_ - 1);
    rangeEnd_ = current_;
    InvalidateGrid();
}

bool TCustomGrid::IsFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }

bool TCustomGrid::MoveByUser(TGridCoord target, bool extend) {
    if (target.col < fixedCols_ || target.col >= colCount_ || target.row < fixedRows_ ||
        target.row >= rowCount_) {
        return false;
    }
    if (!CanSelectCell(target.col, target.row)) return false;
    if (extend && (options_ & goRangeSelect) != 0) {
        rangeEnd_ = target;
    } else {
        current_ = target;
        rangeEnd_ = target;
    }
    InvalidateGrid();
    return true;
}

void TCustomGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const std::optional<TGridCoord> cell = CellAt(event->position().toPoint());
    if (!cell) return;
    const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0;
    if (MoveByUser(*cell, extend) && !extend) Click();
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) == 0 || (options_ & goRangeSelect) == 0) return;
    const std::optional<TGridCoord> cell = CellAt(event->position().toPoint());
    if (cell && !(*cell == rangeEnd_)) MoveByUser(*cell, true);
}

void TCustomGrid::keyPressEvent(QKeyEvent* event) {
    const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0 && (options_ & goRangeSelect) != 0;
    TGridCoord target = extend ? rangeEnd_ : current_;
    switch (event->key()) {
        case Qt::Key_Left: --target.col; break;
        case Qt::Key_Right: ++target.col; break;
        case Qt::Key_Up: --target.row; break;
        case Qt::Key_Down: ++target.row; break;
        case Qt::Key_Home: target.col = fixedCols_; break;
        case Qt::Key_End: target.col = colCount_ - 1; break;
        default: return QWidget::keyPressEvent(event);
    }
    if (MoveByUser(target, extend) && !extend) Click();
}

void TCustomGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    InvalidateGrid();
}

void TCustomGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    InvalidateGrid();
}

void TCustomGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect outer = rect();
    if (ctl3D_) {
        DrawEdgeFrame(painter, outer, SystemColour(QPalette::Dark), SystemColour(QPalette::Light));
        DrawEdgeFrame(painter, outer.adjusted(1, 1, -1, -1), SystemColour(QPalette::Shadow),
                      SystemColour(QPalette::Midlight));
    } else {
        DrawEdgeFrame(painter, outer, kPlainBorderColour, kPlainBorderColour);
    }
    const QRect client = ClientRect();
    painter.setClipRect(client);
    painter.fillRect(client, Color());
    for (int row = 0; row < rowCount_; ++row) {
        for (int col = 0; col < colCount_; ++col) PaintGridCell(painter, col, row);
    }
}

void TCustomGrid::PaintGridCell(QPainter& painter, int col, int row) {
    const QRect cell = CellRect(col, row);
    if (!cell.adjusted(0, 0, gridLineWidth_, gridLineWidth_).intersects(ClientRect())) return;

    const bool fixed = IsFixed(col, row);
    const QColor lineColour = fixed                                     ? kFixedLineColour
                              : Color() == kCellLineColour ? kCellLineOnSilverColour
                                                                        : kCellLineColour;
    if (gridLineWidth_ > 0) {
        painter.fillRect(QRect(cell.right() + 1, cell.top(), gridLineWidth_, cell.height() + gridLineWidth_),
                         lineColour);
        painter.fillRect(QRect(cell.left(), cell.bottom() + 1, cell.width(), gridLineWidth_), lineColour);
    }

    TGridDrawState state = fixed ? gdFixed : 0U;
    const bool isCurrent = col == current_.col && row == current_.row;
    if (isCurrent && hasFocus()) state |= gdFocused;
    if (!fixed && Selection().contains(col, row) &&
        (!(state & gdFocused) || (options_ & goDrawFocusSelected) != 0)) {
        state |= gdSelected;
    }

    QColor background = Color();
    QColor text = SystemColour(foregroundRole());
    if (fixed) {
        background = SystemColour(QPalette::Button);
    } else if (state & gdSelected) {
        background = SystemColour(QPalette::Highlight);
        text = SystemColour(QPalette::HighlightedText);
    }
    painter.fillRect(cell, background);

    painter.save();
    painter.setFont(font());
    painter.setPen(text);
    PaintCell(painter, col, row, cell, state);
    painter.restore();

    if (fixed && ctl3D_) {
        DrawEdgeFrame(painter, cell, SystemColour(QPalette::Light), SystemColour(QPalette::Dark));
    }
    if (state & gdFocused) {
        painter.save();
        painter.setPen(QPen(text, 1, Qt::DotLine));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.restore();
    }
}

}  // namespace vesk
