#include <gtest/gtest.h>

#include <QAccessible>
#include <QDir>
#include <QImage>
#include <QTest>
#include <array>

#include "calendar/Calendar.h"

namespace vesk {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kSilver(192, 192, 192);
const QColor kGrey(128, 128, 128);

// The grid as the calendar page sets it up: 403 x 184, white, 19 px bold
// black, showing 1 January 2001 (the 1st a Monday, in week row 1, column 1).
class CalendarWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDayAbbreviations(kFallbackDayAbbreviations);
        calendar.setObjectName("Calen1");
        calendar.resize(403, 184);
        calendar.SetColor(kWhite);
        QFont font = calendar.font();
        font.setPixelSize(19);
        font.setBold(true);
        calendar.setFont(font);
        calendar.Start(MakeDateValue(2001, 1, 1));
        calendar.SetOnClick([this](TCustomGrid&) { ++clicks; });
        calendar.SetOnChange([this](TMonthModel&) { ++changes; });
        calendar.show();
        QCoreApplication::processEvents();
    }

    // A palette colour as it lands in a 32-bit picture.
    QColor System(QPalette::ColorRole role) const {
        return QColor(calendar.palette().color(QPalette::Active, role).rgb());
    }

    QImage Picture(const char* name) {
        QImage image = calendar.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // VESK310_SHOTS names a folder to keep the pictures in, for a look by eye.
        const QString folder = qEnvironmentVariable("VESK310_SHOTS");
        if (!folder.isEmpty()) image.save(QDir(folder).filePath(QString::fromLatin1(name) + ".png"));
        return image;
    }

    static bool Holds(const QImage& image, const QRect& area, const QColor& colour) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (image.pixelColor(x, y) == colour) return true;
            }
        }
        return false;
    }

    void Click(int col, int row) {
        QTest::mouseClick(&calendar, Qt::LeftButton, {}, calendar.CellRect(col, row).center());
    }

    TCalendar calendar;
    int clicks = 0;
    int changes = 0;
};

TEST_F(CalendarWidgetTest, CreationSetsUpTheGrid) {
    TCalendar fresh;
    EXPECT_EQ(fresh.ShownDate(), Today());
    EXPECT_TRUE(fresh.UseCurrentDate());
    EXPECT_FALSE(fresh.ReadOnly());
    EXPECT_EQ(fresh.StartOfWeek(), 0);
    EXPECT_EQ(fresh.ColCount(), 7);
    EXPECT_EQ(fresh.RowCount(), 7);
    EXPECT_EQ(fresh.FixedCols(), 0);
    EXPECT_EQ(fresh.FixedRows(), 1);
    EXPECT_EQ(fresh.GridLineWidth(), 1);
    EXPECT_EQ(fresh.Options(), TGridOptions{goDrawFocusSelected});
    EXPECT_EQ(fresh.CellLabel(fresh.Col(), fresh.Row()), std::to_string(fresh.Day()));
}

TEST_F(CalendarWidgetTest, CellsFitTheClientArea) {
    EXPECT_EQ(calendar.ClientRect(), QRect(2, 2, 399, 180));
    EXPECT_EQ(calendar.DefaultColWidth(), 56);
    EXPECT_EQ(calendar.DefaultRowHeight(), 24);
    EXPECT_EQ(calendar.CellRect(0, 0), QRect(2, 2, 56, 24));
    EXPECT_EQ(calendar.CellRect(6, 6), QRect(2 + 6 * 57, 2 + 6 * 25, 56, 24));

    calendar.SetGridLineWidth(2);  // the sizes follow at the next resize
    EXPECT_EQ(calendar.DefaultColWidth(), 56);
    calendar.FitCellsToClient();
    EXPECT_EQ(calendar.DefaultColWidth(), 55);  // (399 - 12) div 7
    EXPECT_EQ(calendar.DefaultRowHeight(), 24);  // (180 - 12) div 7
}

TEST_F(CalendarWidgetTest, PaintsHeaderCurrentCellLinesAndStrip) {
    const QImage image = Picture("calendar-2001-01");
    ASSERT_EQ(image.size(), QSize(403, 184));

    // The sunken border: shadow outside, dark shadow inside, light at the bottom right.
    EXPECT_EQ(image.pixelColor(0, 0), System(QPalette::Dark));
    EXPECT_EQ(image.pixelColor(1, 1), System(QPalette::Shadow));
    EXPECT_EQ(image.pixelColor(402, 183), System(QPalette::Light));
    EXPECT_EQ(image.pixelColor(401, 182), System(QPalette::Midlight));

    // A header cell: button face inside a raised bevel, black lines after it.
    const QRect header = calendar.CellRect(3, 0);
    EXPECT_EQ(image.pixelColor(header.left() + 3, header.top() + 3), System(QPalette::Button));
    EXPECT_EQ(image.pixelColor(header.left(), header.top() + 5), System(QPalette::Light));
    EXPECT_EQ(image.pixelColor(header.left() + 5, header.top()), System(QPalette::Light));
    EXPECT_EQ(image.pixelColor(header.right(), header.top() + 5), System(QPalette::Dark));
    EXPECT_EQ(image.pixelColor(header.left() + 5, header.bottom()), System(QPalette::Dark));
    EXPECT_EQ(image.pixelColor(header.right() + 1, header.top() + 5), kBlack);
    EXPECT_EQ(image.pixelColor(header.left() + 5, header.bottom() + 1), kBlack);
    EXPECT_TRUE(Holds(image, header, kBlack)) << "the day name";

    // The current cell, the 1st: highlight with its text in the highlight-text colour.
    const QRect current = calendar.CellRect(1, 1);
    EXPECT_EQ(image.pixelColor(current.topLeft()), System(QPalette::Highlight));
    EXPECT_EQ(image.pixelColor(current.bottomRight()), System(QPalette::Highlight));
    EXPECT_TRUE(Holds(image, current, System(QPalette::HighlightedText)));

    // Another day cell: white with black text and silver lines; a blank cell is white only.
    const QRect day = calendar.CellRect(2, 2);
    EXPECT_EQ(image.pixelColor(day.topLeft()), kWhite);
    EXPECT_TRUE(Holds(image, day, kBlack));
    EXPECT_EQ(image.pixelColor(day.right() + 1, day.top() + 5), kSilver);
    EXPECT_EQ(image.pixelColor(day.left() + 5, day.bottom() + 1), kSilver);
    const QRect blank = calendar.CellRect(0, 1);
    EXPECT_FALSE(Holds(image, blank, kBlack));
    EXPECT_FALSE(Holds(image, blank, System(QPalette::Highlight)));

    // The 5 pixel rows below the last row's line show the control colour.
    const QRect strip(2, 2 + 7 * 25, 399, 5);
    EXPECT_EQ(strip.bottom(), 181);
    for (int y = strip.top(); y <= strip.bottom(); ++y) {
        for (int x = strip.left(); x <= strip.right(); ++x) {
            ASSERT_EQ(image.pixelColor(x, y), kWhite) << x << "," << y;
        }
    }
}

TEST_F(CalendarWidgetTest, SilverControlGetsGreyLines) {
    calendar.SetColor(kSilver);
    const QImage image = Picture("calendar-silver");
    const QRect day = calendar.CellRect(2, 2);
    EXPECT_EQ(image.pixelColor(day.topLeft()), kSilver);
    EXPECT_EQ(image.pixelColor(day.right() + 1, day.top() + 5), kGrey);
}

// As on the calendar page: no tab stop, so no focus rectangle either way.
TEST_F(CalendarWidgetTest, DisabledLooksLikeEnabled) {
    calendar.setFocusPolicy(Qt::NoFocus);
    calendar.clearFocus();
    const QImage enabled = Picture("calendar-enabled");
    calendar.setEnabled(false);
    EXPECT_EQ(Picture("calendar-disabled"), enabled);
}

TEST_F(CalendarWidgetTest, WithoutThe3DLookABorderLineAndFlatHeader) {
    calendar.SetCtl3D(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(calendar.ClientRect(), QRect(1, 1, 401, 182));
    const QImage image = Picture("calendar-flat");
    EXPECT_EQ(image.pixelColor(0, 0), kBlack);
    const QRect header = calendar.CellRect(3, 0);
    EXPECT_EQ(image.pixelColor(header.left(), header.top() + 5), System(QPalette::Button));
}

TEST_F(CalendarWidgetTest, ClicksPickNonBlankDays) {
    Click(1, 3);  // the 15th
    EXPECT_EQ(calendar.Day(), 15);
    EXPECT_EQ(calendar.Col(), 1);
    EXPECT_EQ(calendar.Row(), 3);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(calendar.UseCurrentDate());

    Click(0, 1);  // blank
    Click(2, 0);  // header
    Click(6, 6);  // blank
    EXPECT_EQ(calendar.Day(), 15);
    EXPECT_EQ(calendar.Row(), 3);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 1);
}

TEST_F(CalendarWidgetTest, ArrowKeysStopAtBlankAndHeaderCells) {
    const struct {
        Qt::Key key;
        int day;
    } steps[] = {
        {Qt::Key_Right, 2}, {Qt::Key_Left, 1}, {Qt::Key_Left, 1}, {Qt::Key_Up, 1},
        {Qt::Key_Down, 8},  {Qt::Key_Home, 7}, {Qt::Key_End, 13},
    };
    for (const auto& step : steps) {
        QTest::keyClick(&calendar, step.key);
        EXPECT_EQ(calendar.Day(), step.day) << "after key " << step.key;
    }
    EXPECT_EQ(clicks, 5);  // the refused moves notify nothing
}

TEST_F(CalendarWidgetTest, ReadOnlyOrDisabledGridNeverMoves) {
    for (const bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only" : "disabled");
        calendar.SetReadOnly(readOnly);
        calendar.setEnabled(readOnly);  // read-only but enabled, or disabled alone
        Click(1, 3);
        Click(3, 2);
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_End}) QTest::keyClick(&calendar, key);
        EXPECT_EQ(calendar.Day(), 1);
        EXPECT_EQ(calendar.Col(), 1);
        EXPECT_EQ(calendar.Row(), 1);
        EXPECT_EQ(clicks, 0);
        EXPECT_EQ(changes, 0);
    }
}

TEST_F(CalendarWidgetTest, UpdateMovesTheGrid) {
    CalendarUpdate(calendar, "2024", "2", "29");
    EXPECT_EQ(calendar.FirstCellDay(), -3);
    EXPECT_EQ(calendar.Col(), 4);
    EXPECT_EQ(calendar.Row(), 5);
    EXPECT_EQ(changes, 3);
    Picture("calendar-2024-02-29");
}

QString U(const char* text) { return QString::fromUtf8(text); }

// A screen reader reads the grid as the eye sees it: a table named by the
// month, the weekday names in the header row, the day numbers in the six week
// rows below it, and the current day selected. The children are the cells of
// the grid, row by row.
TEST_F(CalendarWidgetTest, AScreenReaderReadsATableOfTheMonth) {
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&calendar);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Name), U("2001年1月"));
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->columnCount(), 7);
    EXPECT_EQ(cells->rowCount(), 6);
    EXPECT_EQ(table->childCount(), 49);

    const struct {
        int row;
        std::array<const char*, 7> names;
    } rows[] = {
        {0, {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}},
        {1, {"", "1", "2", "3", "4", "5", "6"}},
        {5, {"28", "29", "30", "31", "", "", ""}},
        {6, {"", "", "", "", "", "", ""}},
    };
    for (const auto& row : rows) {
        for (int col = 0; col < 7; ++col) {
            SCOPED_TRACE(testing::Message() << "row " << row.row << ", column " << col);
            QAccessibleInterface* cell = table->child(row.row * 7 + col);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->text(QAccessible::Name), U(row.names[static_cast<size_t>(col)]));
            EXPECT_EQ(table->indexOfChild(cell), row.row * 7 + col);
            if (row.row == 0) {
                EXPECT_EQ(cell->role(), QAccessible::ColumnHeader);
            } else {
                EXPECT_EQ(cell->role(), QAccessible::Cell);
                EXPECT_EQ(cells->cellAt(row.row - 1, col), cell);
                ASSERT_NE(cell->tableCellInterface(), nullptr);
                EXPECT_EQ(cell->tableCellInterface()->rowIndex(), row.row - 1);
                EXPECT_EQ(cell->tableCellInterface()->columnIndex(), col);
                EXPECT_EQ(cell->tableCellInterface()->columnHeaderCells(),
                          QList{table->child(col)});
            }
            EXPECT_EQ(cell->parent(), table);
            EXPECT_EQ(cell->rect().center(),
                      calendar.mapToGlobal(calendar.CellRect(col, row.row).center()));
        }
    }
    EXPECT_EQ(cells->columnDescription(1), U("Mon"));

    // The current cell: the 1st, in week row 1, column 1.
    const QList<QAccessibleInterface*> selected = cells->selectedCells();
    ASSERT_EQ(selected.size(), 1);
    QAccessibleInterface* current = selected.front();
    EXPECT_EQ(current, cells->cellAt(0, 1));
    EXPECT_EQ(current->text(QAccessible::Name), U("1"));
    EXPECT_TRUE(current->state().selected);
    EXPECT_FALSE(cells->cellAt(1, 2)->state().selected);

    // A point on the screen finds its cell.
    const QPoint onThe15th = calendar.mapToGlobal(calendar.CellRect(1, 3).center());
    EXPECT_EQ(table->childAt(onThe15th.x(), onThe15th.y()), cells->cellAt(2, 1));
}

// After a move the table reads the new month and the new current day.
TEST_F(CalendarWidgetTest, AfterAMoveTheTableReadsTheNewMonth) {
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&calendar);
    ASSERT_NE(table, nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    QAccessibleInterface* the29th = cells->cellAt(4, 4);  // week row 5, column 4
    EXPECT_EQ(the29th->text(QAccessible::Name), U(""));
    CalendarUpdate(calendar, "2024", "2", "29");
    EXPECT_EQ(table->text(QAccessible::Name), U("2024年2月"));
    EXPECT_EQ(the29th->text(QAccessible::Name), U("29"));
    EXPECT_EQ(cells->selectedCells(), QList<QAccessibleInterface*>{the29th});
    EXPECT_TRUE(the29th->state().selected);
    EXPECT_FALSE(cells->cellAt(0, 1)->state().selected);
}

// The current cell is selected whether or not the grid has the focus; it
// claims the focus only while the grid has it, and a grid that takes no focus
// has no cell that could.
TEST_F(CalendarWidgetTest, TheCurrentCellIsFocusedOnlyWhileTheGridIs) {
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&calendar);
    ASSERT_NE(table, nullptr);
    QAccessibleInterface* current = table->tableInterface()->cellAt(0, 1);
    calendar.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&calendar));

    calendar.clearFocus();
    ASSERT_FALSE(calendar.hasFocus());
    EXPECT_TRUE(current->state().selected);
    EXPECT_FALSE(current->state().focused);
    EXPECT_EQ(table->focusChild(), nullptr);

    calendar.setFocus();
    ASSERT_TRUE(calendar.hasFocus());
    EXPECT_TRUE(current->state().focused);
    EXPECT_EQ(table->focusChild(), current);
    EXPECT_TRUE(table->tableInterface()->cellAt(1, 2)->state().focusable);

    calendar.setFocusPolicy(Qt::NoFocus);
    calendar.clearFocus();
    EXPECT_FALSE(current->state().focused);
    EXPECT_FALSE(table->tableInterface()->cellAt(1, 2)->state().focusable);
}

}  // namespace
}  // namespace vesk
