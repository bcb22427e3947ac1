#include "calendar/CalendarAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include "calendar/Calendar.h"

namespace vesk {
namespace {

QString Label(const TCalendar& grid, int row, int col) {
    return QString::fromStdString(grid.CellLabel(col, row));
}

// One cell of the grid, by its row and column in the grid: a header cell in
// the fixed row, a table cell below it. The table owns its cells.
class CalendarCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    CalendarCell(TCalendar* grid, int row, int col) : grid_(grid), row_(row), col_(col) {}

    bool isValid() const override { return !grid_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return table(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (!grid_ || t != QAccessible::Name) return {};
        return Label(*grid_, row_, col_);
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!grid_) return {};
        const QRect cell = grid_->CellRect(col_, row_);
        return QRect(grid_->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::Role role() const override {
        return grid_ && row_ < grid_->FixedRows() ? QAccessible::ColumnHeader : QAccessible::Cell;
    }

    // The current cell is selected; it is focused only while the grid has
    // the focus. A day cell can take the focus when the grid can.
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!grid_) return state;
        state.disabled = !grid_->isEnabled();
        state.invisible = !grid_->isVisible();
        state.readOnly = true;
        if (role() == QAccessible::Cell && !Label(*grid_, row_, col_).isEmpty()) {
            state.selectable = true;
            state.focusable = grid_->isEnabled() && grid_->focusPolicy() != Qt::NoFocus;
        }
        state.selected = isSelected();
        state.focused = state.selected && grid_->hasFocus();
        return state;
    }

    // A day cell is a cell of the table; a header cell heads its column.
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface && role() == QAccessible::Cell)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override {
        return grid_ && grid_->Col() == col_ && grid_->Row() == row_;
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return col_; }
    int rowIndex() const override { return grid_ ? row_ - grid_->FixedRows() : -1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override {
        return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
    }

private:
    QPointer<TCalendar> grid_;
    int row_;
    int col_;
};

class CalendarTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit CalendarTable(TCalendar* grid) : QAccessibleWidget(grid, QAccessible::Table) {
        Remember();
    }

    ~CalendarTable() override {
        for (QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
    }

    TCalendar* Grid() const { return static_cast<TCalendar*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && Grid()->accessibleName().isEmpty())
            return QString::fromStdString(MonthCaption(*Grid()));
        return QAccessibleWidget::text(t);
    }

    // The children: every cell of the grid, row by row, the header row first.
    int childCount() const override { return Grid()->RowCount() * Grid()->ColCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        return GridCell(index / Grid()->ColCount(), index % Grid()->ColCount());
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        for (auto cell = cells_.cbegin(); cell != cells_.cend(); ++cell)
            if (cell.value() == id) return cell.key();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const std::optional<TGridCoord> cell = Grid()->CellAt(Grid()->mapFromGlobal(QPoint(x, y)));
        return cell ? GridCell(cell->row, cell->col) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return Grid()->hasFocus() ? CurrentCell() : nullptr;
    }
    QAccessibleInterface* CurrentCell() const { return GridCell(Grid()->Row(), Grid()->Col()); }

    // The cell in a row and column of the grid, the header row included.
    QAccessibleInterface* GridCell(int row, int col) const {
        if (row < 0 || row >= Grid()->RowCount() || col < 0 || col >= Grid()->ColCount())
            return nullptr;
        const int index = row * Grid()->ColCount() + col;
        if (const auto found = cells_.constFind(index); found != cells_.cend())
            return QAccessible::accessibleInterface(*found);
        auto* cell = new CalendarCell(Grid(), row, col);
        cells_.insert(index, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }

    // The table: the week rows, under the header row of weekday names (as in
    // Qt's own tables, whose AT-SPI bridge finds a column's header through the
    // cell in row 0).
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        return row < 0 ? nullptr : GridCell(row + Grid()->FixedRows(), column);
    }
    int selectedCellCount() const override { return 1; }
    QList<QAccessibleInterface*> selectedCells() const override { return {CurrentCell()}; }
    QString columnDescription(int column) const override { return Label(*Grid(), 0, column); }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return Grid()->ColCount(); }
    int rowCount() const override { return Grid()->RowCount() - Grid()->FixedRows(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // The date changes through the page's fields only.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // Announces what changed since the last announcement: the table's name,
    // the names of the cells whose labels changed, and the current cell.
    void AnnounceChange() {
        TCalendar* grid = Grid();
        if (text(QAccessible::Name) != caption_) {
            QAccessibleEvent name(grid, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&name);
        }
        for (int index = 0; index < childCount() && index < labels_.size(); ++index) {
            const int row = index / grid->ColCount();
            const int col = index % grid->ColCount();
            if (Label(*grid, row, col) == labels_[index]) continue;
            QAccessibleEvent name(GridCell(row, col), QAccessible::NameChanged);
            QAccessible::updateAccessibility(&name);
        }
        const int current = grid->Row() * grid->ColCount() + grid->Col();
        if (current != current_) {
            // The cell left and the cell reached: each reports its selected
            // state as it is now, and its focused state while the grid has
            // the focus.
            QAccessible::State focus;
            focus.focused = true;
            for (int index : {current_, current}) {
                if (QAccessibleInterface* cell = child(index)) {
                    QAccessibleEvent selection(cell, QAccessible::Selection);
                    QAccessible::updateAccessibility(&selection);
                    if (!grid->hasFocus()) continue;
                    QAccessibleStateChangeEvent focused(cell, focus);
                    QAccessible::updateAccessibility(&focused);
                }
            }
        }
        Remember();
    }

private:
    void Remember() {
        caption_ = text(QAccessible::Name);
        labels_.clear();
        for (int index = 0; index < childCount(); ++index)
            labels_.push_back(
                Label(*Grid(), index / Grid()->ColCount(), index % Grid()->ColCount()));
        current_ = Grid()->Row() * Grid()->ColCount() + Grid()->Col();
    }

    mutable QHash<int, QAccessible::Id> cells_;  // by row * columns + column of the grid
    // What the last announcement left a screen reader knowing.
    QString caption_;
    QStringList labels_;
    int current_ = -1;
};

QList<QAccessibleInterface*> CalendarCell::columnHeaderCells() const {
    if (!grid_ || row_ < grid_->FixedRows()) return {};
    const auto* table =
        dynamic_cast<const CalendarTable*>(QAccessible::queryAccessibleInterface(grid_.data()));
    if (!table) return {};
    return {table->GridCell(0, col_)};
}

QAccessibleInterface* CalendarFactory(const QString&, QObject* object) {
    if (auto* grid = qobject_cast<TCalendar*>(object)) return new CalendarTable(grid);
    return nullptr;
}

}  // namespace

void InstallCalendarAccessibility() { QAccessible::installFactory(&CalendarFactory); }

std::string MonthCaption(const TCalendar& calendar) {
    return std::to_string(calendar.Year()) + "年" + std::to_string(calendar.Month()) + "月";
}

void AnnounceCalendarChange(TCalendar& calendar) {
    if (!QAccessible::isActive() || !calendar.isVisible()) return;
    if (auto* table =
            dynamic_cast<CalendarTable*>(QAccessible::queryAccessibleInterface(&calendar)))
        table->AnnounceChange();
}

}  // namespace vesk
