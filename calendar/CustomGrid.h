#pragma once
// The grid base of the month calendar: a fixed number of equally sized
// columns and rows, fixed rows and columns at the top and left, a line after
// every cell, a current cell with a one-cell or range selection, a hook that
// paints each cell, a hook that may refuse a cell before it becomes current,
// and a click notification after the user has moved the current cell. There
// is no scrolling: the grid is drawn from the top left of its client area and
// clipped at its right and bottom.
//
// The border is a sunken 3-D edge of 2 pixels on each side while the 3-D look
// is on (the default), else a 1-pixel line; the client area lies inside it.

#include <QWidget>

#include <functional>
#include <optional>

class QPainter;

namespace vesk {

enum TGridOption : unsigned {
    goRangeSelect = 1U << 0,        // Shift with a click or an arrow key, or a drag, spans cells
    goDrawFocusSelected = 1U << 1,  // the current cell is painted selected while focused, too
};
using TGridOptions = unsigned;  // a combination of TGridOption

enum TGridDrawStateFlag : unsigned {
    gdSelected = 1U << 0,  // painted in the highlight colours
    gdFocused = 1U << 1,   // the current cell of a focused grid
    gdFixed = 1U << 2,     // a cell of a fixed row or column
};
using TGridDrawState = unsigned;  // a combination of TGridDrawStateFlag

struct TGridCoord {
    int col;
    int row;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

class TCustomGrid;
using TGridNotifyEvent = std::function<void(TCustomGrid& sender)>;

class TCustomGrid : public QWidget {
    Q_OBJECT

public:
    // The framework's defaults: 5 x 5 cells, one fixed row and column, cells of
    // 64 x 24 pixels, 1-pixel lines, range selection on, 3-D look on, a tab
    // stop, the window colour of the palette as control colour.
    explicit TCustomGrid(QWidget* parent = nullptr);

    // Counts of at least 1; a count that leaves no cell beyond the fixed ones
    // is refused (nothing changes). The current cell is kept inside the grid.
    int ColCount() const noexcept { return colCount_; }
    void SetColCount(int value);
    int RowCount() const noexcept { return rowCount_; }
    void SetRowCount(int value);
    // 0 to count - 1; other values are refused.
    int FixedCols() const noexcept { return fixedCols_; }
    void SetFixedCols(int value);
    int FixedRows() const noexcept { return fixedRows_; }
    void SetFixedRows(int value);

    // Pixels, 0 or more (negative values count as 0); each change repaints.
    int DefaultColWidth() const noexcept { return defaultColWidth_; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const noexcept { return defaultRowHeight_; }
    void SetDefaultRowHeight(int value);
    // The width of the line after every cell, to the right and below.
    int GridLineWidth() const noexcept { return gridLineWidth_; }
    void SetGridLineWidth(int value);

    TGridOptions Options() const noexcept { return options_; }
    void SetOptions(TGridOptions value);

    // The 3-D look: a sunken border and raised fixed cells.
    bool Ctl3D() const noexcept { return ctl3D_; }
    void SetCtl3D(bool value);

    // The control colour: the background of the non-fixed cells and of the
    // area beyond the last column and row. The window colour by default.
    QColor Color() const;
    void SetColor(const QColor& colour);

    // The current cell.
    int Col() const noexcept { return current_.col; }
    int Row() const noexcept { return current_.row; }
    // The selected cells, from the top-left to the bottom-right cell: the
    // current cell alone without range selection.
    QRect Selection() const;

    // Raised by Click.
    const TGridNotifyEvent& OnClick() const noexcept { return onClick_; }
    void SetOnClick(TGridNotifyEvent handler) { onClick_ = std::move(handler); }

    // Makes a cell current from code, without scrolling, when it is a
    // non-fixed cell of the grid and CanSelectCell accepts it; the selection
    // becomes that cell. Otherwise nothing changes. No click notification.
    void MoveCurrentCell(int col, int row);

    // Repaints the whole control.
    void InvalidateGrid();

    // The client area: the widget less its border.
    QRect ClientRect() const { return contentsRect(); }
    // A cell's rectangle in widget coordinates, lines excluded. Takes any
    // column and row.
    QRect CellRect(int col, int row) const;
    // The cell under a point of the widget; a line belongs to the cell before
    // it. None outside the cells.
    std::optional<TGridCoord> CellAt(const QPoint& point) const;

protected:
    // Paints the content of a cell whose background is already filled. The
    // canvas holds the control's font and the text colour of the cell's state.
    virtual void PaintCell(QPainter& canvas, int col, int row, const QRect& rect,
                           TGridDrawState state);
    // Asked before the current cell moves or the selection spans a cell;
    // false keeps them as they are.
    virtual bool CanSelectCell(int col, int row);
    // After the user has moved the current cell with the mouse or the keys:
    // raises OnClick.
    virtual void Click();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // A palette colour as the system gives it, whether the control is enabled,
    // disabled or in an inactive window.
    QColor SystemColour(QPalette::ColorRole role) const;
    void UpdateBorder();
    void KeepCurrentInside();
    bool IsFixed(int col, int row) const;
    // The user's move of the current cell (or, with extend, of the far corner
    // of a range); true when it was accepted.
    bool MoveByUser(TGridCoord target, bool extend);
    void PaintGridCell(QPainter& painter, int col, int row);

    int colCount_ = 5;
    int rowCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    int gridLineWidth_ = 1;
    TGridOptions options_ = goRangeSelect;
    bool ctl3D_ = true;
    TGridCoord current_{1, 1};
    TGridCoord rangeEnd_{1, 1};  // the far corner of the selection; the current cell without a range
    TGridNotifyEvent onClick_;
};

}  // namespace vesk
