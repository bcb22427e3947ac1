// The main dialog as a user meets it: the start-up state, the three computing
// pages with good and bad input, the keyboard, and what a screen reader reads.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "GuiTestSupport.h"
#include "calendar/Calendar.h"
#include "forms/AbutV310.h"
#include "forms/Bevel.h"
#include "forms/FormSupport.h"
#include "forms/Image.h"
#include "forms/MainV310.h"
#include "forms/Panel.h"
#include "textconv/NumberFormat.h"

namespace vesk::test {
namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override { SetDecimalSeparator('.'); }
    DialogFixture fixture;
    TPagesDlg& dlg = fixture.Dialog();

    QLineEdit* Field(const char* name) {
        auto* edit = dlg.findChild<QLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(edit, nullptr) << name;
        return edit;
    }
    void Fill(const std::vector<std::pair<const char*, const char*>>& fields) {
        for (auto [name, text] : fields) Field(name)->setText(U(text));
    }
    void ShowPage(QWidget* page) { dlg.PageControl1->setCurrentWidget(page); }
};

TEST_F(MainDialogTest, StartsWithDesignDefaultsAndTodayInTheDateFields) {
    const QDate today = QDate::currentDate();
    const QString year = QString::number(today.year()).rightJustified(4, u'0');
    const QString month = QString::number(today.month()).rightJustified(2, u'0');
    const QString day = QString::number(today.day()).rightJustified(2, u'0');
    const std::vector<std::pair<const char*, QString>> expected = {
        {"Ed1", "2001"}, {"Ed2", "1"},    {"Ed3", "1"},     {"Ed4", ""},     {"Edit1", year},
        {"Edit2", month}, {"Edit3", day}, {"Edit4", "2001"}, {"Edit5", "1"}, {"Edit6", "1"},
        {"Edit7", ""},   {"Edit8", ""},   {"Edit9", year},  {"Edit10", month}, {"Edit11", day},
        {"Edit12", "270"}, {"Edit13", ""}, {"Edit14", year}, {"Edit15", month}, {"Edit16", day},
    };
    for (const auto& [name, text] : expected) EXPECT_EQ(Field(name)->text(), text) << name;
    // The fields start-up writes show their text from the first character.
    for (const char* name :
         {"Edit1", "Edit2", "Edit3", "Edit9", "Edit10", "Edit11", "Edit14", "Edit15", "Edit16"})
        EXPECT_EQ(Field(name)->cursorPosition(), 0) << name;
    EXPECT_TRUE(dlg.findChild<QLabel*>("Label19")->text().isEmpty());
    EXPECT_EQ(dlg.PageControl1->currentWidget(), dlg.TabSheet1);
    EXPECT_EQ(QApplication::focusWidget(), dlg.Ed1);
}

TEST_F(MainDialogTest, IsAFixedWindowWithItsOwnCaption) {
    EXPECT_EQ(dlg.windowTitle(), U("    Zelmoro ・２      Vesk_310     "));
    EXPECT_EQ(dlg.minimumSize(), QSize(431, 325));
    EXPECT_EQ(dlg.maximumSize(), QSize(431, 325));
    EXPECT_TRUE(dlg.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(dlg.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(dlg.windowIcon().isNull());
    // The taskbar reads the icon text: the application title.
    EXPECT_EQ(dlg.windowIconText(), U("  Zelmoro VESK_310"));
    // Panel4 lies over the grid's first header cell.
    auto* panel4 = dlg.findChild<QWidget*>("Panel4");
    auto* calendar = dlg.findChild<QWidget*>("Calen1");
    ASSERT_TRUE(panel4 && calendar);
    EXPECT_TRUE(calendar->geometry().contains(panel4->geometry()));
    EXPECT_GT(dlg.TabSheet4->children().indexOf(panel4), dlg.TabSheet4->children().indexOf(calendar));
    EXPECT_FALSE(calendar->isEnabled());
    // The page's settings clear UseCurrentDate and keep today's month.
    EXPECT_FALSE(dlg.Calen1->UseCurrentDate());
    EXPECT_EQ(dlg.Calen1->ShownDate(), Today());
}

// Every page is 403 x 225, so that Panel3 and the grid fill page 4 with no
// seam; the grid's cells are then 56 x 24 and Panel4 covers the first header cell.
TEST_F(MainDialogTest, PagesPanelAndGridFillTheirAreasExactly) {
    for (QWidget* page : {dlg.TabSheet1, dlg.TabSheet2, dlg.TabSheet3, dlg.TabSheet4}) {
        ShowPage(page);
        QCoreApplication::processEvents();
        EXPECT_EQ(page->size(), QSize(403, 225)) << page->objectName().toStdString();
    }
    const QRect page = dlg.TabSheet4->rect();
    EXPECT_EQ(dlg.Panel3->geometry(), QRect(0, 0, 403, 41));
    EXPECT_EQ(dlg.Calen1->geometry(), QRect(0, 41, 403, 184));
    EXPECT_EQ(dlg.Panel3->geometry().united(dlg.Calen1->geometry()), page);
    EXPECT_EQ(dlg.Calen1->DefaultColWidth(), 56);
    EXPECT_EQ(dlg.Calen1->DefaultRowHeight(), 24);
    EXPECT_TRUE(
        dlg.Calen1->CellRect(0, 0).translated(dlg.Calen1->pos()).contains(dlg.Panel4->geometry()));
}

// The pages have the button face of the dialog and its panels, not the tab
// pane's lighter colour of the style.
TEST_F(MainDialogTest, ThePagesHaveTheButtonFace) {
    const QColor face = LightPalette().color(QPalette::Button);
    ASSERT_EQ(face, QColor(212, 208, 200));
    for (QWidget* page : {dlg.TabSheet1, dlg.TabSheet2, dlg.TabSheet3}) {
        ShowPage(page);
        const QImage picture = dlg.grab().toImage();
        // An empty spot near each corner of the page.
        for (QPoint spot : {QPoint(3, 3), QPoint(page->width() - 4, page->height() - 4)})
            EXPECT_EQ(picture.pixelColor(page->mapTo(&dlg, spot)), face)
                << page->objectName().toStdString() << " " << spot.x() << "," << spot.y();
    }
}

// The uptime strip's lowered box: one shadow line along the top and left, one
// highlight line along the bottom and right, nothing doubled inside them.
TEST_F(MainDialogTest, TheLoweredBoxIsOneLineEachWay) {
    const QImage picture = dlg.TabSheet1->grab().toImage();
    const QRect box = dlg.Bevel2->geometry();
    ASSERT_EQ(box, QRect(55, 179, 321, 22));
    const QColor shadow = dlg.palette().color(QPalette::Dark);
    const QColor highlight = dlg.palette().color(QPalette::Light);
    for (int x = box.left(); x < box.right(); ++x) {
        ASSERT_EQ(picture.pixelColor(x, box.top()), shadow) << x;
        ASSERT_EQ(picture.pixelColor(x, box.bottom()), highlight) << x;
    }
    for (int y = box.top(); y < box.bottom(); ++y) {
        ASSERT_EQ(picture.pixelColor(box.left(), y), shadow) << y;
        ASSERT_EQ(picture.pixelColor(box.right(), y), highlight) << y;
    }
    // Between the lines and the labels (rows 181 to 198) the page shows through.
    const QColor page = picture.pixelColor(20, 20);
    for (int x : {box.left() + 2, box.center().x(), box.right() - 2}) {
        EXPECT_EQ(picture.pixelColor(x, box.top() + 1), page) << x;
        EXPECT_EQ(picture.pixelColor(x, box.bottom() - 1), page) << x;
    }
}

TEST_F(MainDialogTest, TheUptimeStripIsYellowBehindItsColouredTexts) {
    const std::pair<const char*, QColor> labels[] = {
        {"Label20", QColor(255, 0, 0)}, {"Label19", QColor(0, 0, 255)}, {"Label21", QColor(255, 0, 0)}};
    for (const auto& [name, text] : labels) {
        SCOPED_TRACE(name);
        auto* label = dlg.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(label, nullptr);
        const QImage picture = dlg.grab().toImage();
        const QPoint corner = label->mapTo(&dlg, QPoint(1, label->height() - 2));
        EXPECT_EQ(picture.pixelColor(corner), QColor(255, 255, 0));
        EXPECT_EQ(label->palette().color(QPalette::WindowText), text);
    }
}

struct PageCase {
    const char* name;
    int page;
    std::vector<std::pair<const char*, const char*>> inputs;
    const char* button;
    std::vector<std::pair<const char*, const char*>> outputs;
};

const std::vector<PageCase> kGoodInput = {
    {"weekday",
     0,
     {{"Ed1", "2001"}, {"Ed2", "1"}, {"Ed3", "1"}},
     "Button1",
     {{"Ed4", "  2001年1月1日は（月）曜日です。"}}},
    {"weekday, longer than its field",
     0,
     {{"Ed1", "2001"}, {"Ed2", "12"}, {"Ed3", "31"}},
     "Button1",
     {{"Ed4", "  2001年12月31日は（月）曜日です。"}}},
    {"weekday quotes the fields as typed",
     0,
     {{"Ed1", "$7D1"}, {"Ed2", "01"}, {"Ed3", "1"}},
     "Button1",
     {{"Ed4", "  $7D1年01月1日は（月）曜日です。"}}},
    {"day span",
     1,
     {{"Edit1", "2001"},
      {"Edit2", "1"},
      {"Edit3", "1"},
      {"Edit4", "2001"},
      {"Edit5", "12"},
      {"Edit6", "31"}},
     "Button2",
     {{"Edit7", "(１)から(２)までの日数は  364日です。"},
      {"Edit8", " およそ  1年  0ヶ月...です。"}}},
    {"date after",
     2,
     {{"Edit9", "2001"}, {"Edit10", "1"}, {"Edit11", "1"}, {"Edit12", "270"}},
     "Button3",
     {{"Edit13", "  2001年 9月 28日です。"}}},
    {"date after, a fraction of a day",
     2,
     {{"Edit9", "2001"}, {"Edit10", "1"}, {"Edit11", "1"}, {"Edit12", "0.1"}},
     "Button3",
     {{"Edit13", "  2001年 1月 1.09999999997672日です。"}}},
};

TEST_F(MainDialogTest, EachPageButtonWritesItsSentences) {
    for (const PageCase& c : kGoodInput) {
        SCOPED_TRACE(c.name);
        ShowPage(dlg.PageControl1->widget(c.page));
        Fill(c.inputs);
        for (auto [name, text] : c.outputs) Field(name)->setText("stale");
        BoxCloser noBox;
        Click(dlg.findChild<QPushButton*>(c.button));
        EXPECT_FALSE(noBox.Box().seen);
        for (auto [name, text] : c.outputs) {
            EXPECT_EQ(Field(name)->text(), U(text)) << name;
            // The sentence shows from its first character, as the program set it.
            EXPECT_EQ(Field(name)->cursorPosition(), 0) << name;
        }
    }
}

const std::vector<PageCase> kBadInput = {
    {"weekday year", 0, {{"Ed1", "abc"}, {"Ed2", "1"}, {"Ed3", "x"}}, "Button1",
     {{"Ed4", "'abc' は数値ではありません."}}},
    {"weekday month", 0, {{"Ed1", "2001"}, {"Ed2", "1.5"}, {"Ed3", "1"}}, "Button1",
     {{"Ed4", "'1.5' は数値ではありません."}}},
    {"day span, last field", 1,
     {{"Edit1", "2001"}, {"Edit2", "1"}, {"Edit3", "1"}, {"Edit4", "2001"}, {"Edit5", "1"}, {"Edit6", "1,5"}},
     "Button2", {{"Edit7", "'1,5' は浮動小数点数ではありません."}, {"Edit8", ""}}},
    {"day span overflow wins over a later bad field", 1,
     {{"Edit1", "1e400"}, {"Edit2", "1"}, {"Edit3", "1"}, {"Edit4", "x"}, {"Edit5", "1"}, {"Edit6", "1"}},
     "Button2", {{"Edit7", "浮動小数点数のオーバーフロー."}, {"Edit8", ""}}},
    {"date after, day count", 2, {{"Edit9", "2001"}, {"Edit10", "1"}, {"Edit11", "1"}, {"Edit12", ""}},
     "Button3", {{"Edit13", "'' は浮動小数点数ではありません."}}},
};

// A bad field shows the box and leaves every output with its earlier sentence.
// The expected box text stands in the first output's row.
TEST_F(MainDialogTest, BadInputShowsTheErrorBoxAndChangesNoOutput) {
    for (const PageCase& c : kBadInput) {
        SCOPED_TRACE(c.name);
        ShowPage(dlg.PageControl1->widget(c.page));
        Fill(c.inputs);
        for (auto [name, text] : c.outputs) Field(name)->setText(U("earlier sentence"));
        BoxCloser closer;
        Click(dlg.findChild<QPushButton*>(c.button));
        ASSERT_TRUE(closer.Box().seen);
        EXPECT_EQ(closer.Box().caption, U("  Zelmoro VESK_310"));
        EXPECT_EQ(closer.Box().text, U(c.outputs.front().second));
        EXPECT_EQ(closer.Box().icon, QMessageBox::Critical);
        EXPECT_EQ(closer.Box().buttons, 1);
        for (auto [name, text] : c.outputs) EXPECT_EQ(Field(name)->text(), U("earlier sentence")) << name;
        EXPECT_TRUE(dlg.isVisible());
    }
}

TEST_F(MainDialogTest, AfterAnOverflowTheNextClickComputesNormally) {
    ShowPage(dlg.TabSheet2);
    Fill({{"Edit1", "1e400"}, {"Edit2", "1"}, {"Edit3", "1"}, {"Edit4", "2001"}, {"Edit5", "12"}, {"Edit6", "31"}});
    {
        BoxCloser closer;
        Click(dlg.Button2);
        EXPECT_EQ(closer.Box().text, U("浮動小数点数のオーバーフロー."));
    }
    Fill({{"Edit1", "2001"}});
    BoxCloser noBox;
    Click(dlg.Button2);
    EXPECT_FALSE(noBox.Box().seen);
    EXPECT_EQ(dlg.Edit7->text(), U("(１)から(２)までの日数は  364日です。"));
    EXPECT_EQ(dlg.Edit8->text(), U(" およそ  1年  0ヶ月...です。"));
}

// The update button moves the grid; a failing step stops it with the box, and
// the steps before it stay applied.
TEST_F(MainDialogTest, TheCalendarPageMovesTheGridOrReportsTheFailure) {
    ShowPage(dlg.TabSheet4);
    Fill({{"Edit14", "2001"}, {"Edit15", "03"}, {"Edit16", "05"}});
    {
        BoxCloser noBox;
        Click(dlg.Button6);
        EXPECT_FALSE(noBox.Box().seen);
    }
    EXPECT_EQ(dlg.Calen1->Year(), 2001);
    EXPECT_EQ(dlg.Calen1->Month(), 3);
    EXPECT_EQ(dlg.Calen1->Day(), 5);

    const std::vector<std::tuple<const char*, const char*, const char*, const char*, int>> bad = {
        {"2002", "x", "1", "'x' は数値ではありません.", 2002},
        {"10000", "1", "1", "日付に変換できない値が渡されました.", 2002},
    };
    for (auto [year, month, day, text, yearAfter] : bad) {
        SCOPED_TRACE(text);
        Fill({{"Edit14", year}, {"Edit15", month}, {"Edit16", day}});
        BoxCloser closer;
        Click(dlg.Button6);
        EXPECT_EQ(closer.Box().caption, U("  Zelmoro VESK_310"));
        EXPECT_EQ(closer.Box().text, U(text));
        EXPECT_EQ(dlg.Calen1->Year(), yearAfter);
        EXPECT_EQ(dlg.Calen1->Month(), 3);
    }
}

TEST_F(MainDialogTest, EnterAndEscapeInAnEditFieldDoNothing) {
    for (QLineEdit* edit : {dlg.Ed1, dlg.Ed3}) {
        edit->setFocus();
        BoxCloser noBox;
        Key(edit, Qt::Key_Return);
        Key(edit, Qt::Key_Enter);
        Key(edit, Qt::Key_Escape);
        EXPECT_FALSE(noBox.Box().seen);
        EXPECT_TRUE(dlg.Ed4->text().isEmpty());
        EXPECT_TRUE(dlg.isVisible());
    }
}

TEST_F(MainDialogTest, EnterOrSpaceOnTheClickedButtonComputesAgain) {
    Click(dlg.Button1);
    ASSERT_EQ(QApplication::focusWidget(), dlg.Button1);
    for (int key : {Qt::Key_Return, Qt::Key_Space}) {
        dlg.Ed4->clear();
        Key(dlg.Button1, key);
        EXPECT_EQ(dlg.Ed4->text(), U("  2001年1月1日は（月）曜日です。")) << key;
    }
}

TEST_F(MainDialogTest, TabVisitsTheInputFieldsAndTheStripButtons) {
    const std::vector<std::pair<QWidget*, std::vector<const char*>>> rounds = {
        {dlg.TabSheet1, {"Ed1", "Ed2", "Ed3", "Button4", "Button5", "Ed1"}},
        {dlg.TabSheet2, {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Button4", "Button5", "Edit1"}},
        {dlg.TabSheet3, {"Edit9", "Edit10", "Edit11", "Edit12", "Button4", "Button5", "Edit9"}},
        {dlg.TabSheet4, {"Edit14", "Edit15", "Edit16", "Button6", "Button4", "Button5", "Edit14"}},
    };
    for (const auto& [page, stops] : rounds) {
        SCOPED_TRACE(page->objectName().toStdString());
        ShowPage(page);
        dlg.findChild<QWidget*>(stops.front())->setFocus();
        for (size_t i = 1; i < stops.size(); ++i) {
            Key(&dlg, Qt::Key_Tab);
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(stops[i])) << i;
        }
    }
}

TEST_F(MainDialogTest, ReadOnlyOnlyWhereTheUserMustNotType) {
    EXPECT_TRUE(dlg.Ed4->isReadOnly());
    for (QLineEdit* output : {dlg.Edit7, dlg.Edit8, dlg.Edit13}) EXPECT_FALSE(output->isReadOnly());
}

TEST_F(MainDialogTest, TypedLettersInTheCalendarYearBecomeCapitals) {
    ShowPage(dlg.TabSheet4);
    dlg.Edit14->setFocus();
    dlg.Edit14->clear();
    Type(dlg.Edit14, "ab1c");
    EXPECT_EQ(dlg.Edit14->text(), "AB1C");
    dlg.Edit15->setFocus();
    dlg.Edit15->clear();
    Type(dlg.Edit15, "ab");
    EXPECT_EQ(dlg.Edit15->text(), "ab");
}

TEST_F(MainDialogTest, AScreenReaderNamesFieldsByTheirLabelsAndReadsTheResults) {
    const std::vector<std::pair<QWidget*, const char*>> names = {
        {dlg.Ed1, "西暦年"}, {dlg.Ed2, "月"}, {dlg.Ed3, "日"}, {dlg.Ed4, "計算結果"},
        {dlg.Edit12, "何日後"}, {dlg.Edit13, "計算結果"}, {dlg.Edit7, "日 数"}, {dlg.Edit14, "西暦年"},
    };
    for (auto [widget, name] : names) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->text(QAccessible::Name), U(name)) << widget->objectName().toStdString();
    }
    Click(dlg.Button1);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dlg.Ed4)->text(QAccessible::Value),
              U("  2001年1月1日は（月）曜日です。"));
}

// The uptime is read as it ticks; the image is a picture named by its hint
// whose press action opens the about box; the window is a dialog.
TEST_F(MainDialogTest, AScreenReaderReadsTheUptimeTheImageAndTheWindow) {
    dlg.Timer1Timer();
    QAccessibleInterface* uptime = QAccessible::queryAccessibleInterface(dlg.Label19);
    ASSERT_FALSE(dlg.Label19->text().isEmpty());
    EXPECT_EQ(uptime->text(QAccessible::Name), dlg.Label19->text());
    EXPECT_EQ(uptime->text(QAccessible::Description), U("Win起動後 経過"));

    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dlg);
    EXPECT_EQ(window->role(), QAccessible::Dialog);
    EXPECT_EQ(window->text(QAccessible::Name), dlg.windowTitle());

    ShowPage(dlg.TabSheet3);
    QAccessibleInterface* image = QAccessible::queryAccessibleInterface(dlg.Image1);
    EXPECT_EQ(image->role(), QAccessible::Graphic);
    EXPECT_EQ(image->text(QAccessible::Name), U("猫の飾り物の写真 "));
    QAccessibleActionInterface* actions = image->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    ModalWatcher closer([&](QWidget* modal) {
        EXPECT_EQ(modal, &fixture.About());
        modal->close();
    });
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return closer.Fired(); }, 2000));
    EXPECT_FALSE(fixture.About().isVisible());
}

TEST_F(MainDialogTest, TheUptimeLabelGetsItsTextAtTheFirstTick) {
    EXPECT_TRUE(dlg.Label19->text().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.Label19->text().isEmpty(); }, 2500));
    EXPECT_TRUE(dlg.Label19->text().endsWith(U("秒 ")));
}

// A dark desktop palette, in force before the windows are built: the dialog,
// the about box and the error box keep the light colours the layout was drawn
// for, so the layout's black, navy and green texts stay readable.
TEST(DesktopThemeTest, TheWindowsKeepTheirLightPaletteUnderADarkDesktop) {
    struct Restore {
        QPalette saved = QApplication::palette();
        ~Restore() { QApplication::setPalette(saved); }
    } restore;
    QPalette dark;
    for (auto [role, colour] : std::initializer_list<std::pair<QPalette::ColorRole, QColor>>{
             {QPalette::Window, QColor(53, 53, 53)},
             {QPalette::WindowText, Qt::white},
             {QPalette::Base, QColor(35, 35, 35)},
             {QPalette::Text, Qt::white},
             {QPalette::Button, QColor(53, 53, 53)},
             {QPalette::ButtonText, Qt::white},
             {QPalette::Highlight, QColor(42, 130, 218)},
             {QPalette::HighlightedText, Qt::black},
             {QPalette::Light, QColor(80, 80, 80)},
             {QPalette::Dark, QColor(20, 20, 20)}})
        dark.setColor(role, colour);
    QApplication::setPalette(dark);
    SetDecimalSeparator('.');

    DialogFixture fixture;
    TPagesDlg& dlg = fixture.Dialog();
    const QPalette light = LightPalette();
    const QPalette::ColorRole roles[] = {QPalette::Window,    QPalette::Base,
                                         QPalette::Text,      QPalette::Button,
                                         QPalette::Highlight, QPalette::HighlightedText,
                                         QPalette::Light,     QPalette::Dark};
    for (QWidget* window : {static_cast<QWidget*>(&dlg), static_cast<QWidget*>(&fixture.About())})
        for (QPalette::ColorRole role : roles)
            EXPECT_EQ(window->palette().color(role), light.color(role))
                << window->objectName().toStdString() << role;

    // What the eye sees: a white field with black digits, white day cells, a
    // button-face header and the light highlight on the current day.
    const QImage field = dlg.Ed1->grab().toImage();
    EXPECT_EQ(field.pixelColor(field.width() - 6, field.height() / 2), QColor(Qt::white));
    bool blackDigits = false;
    for (int x = 0; x < field.width() && !blackDigits; ++x)
        for (int y = 0; y < field.height() && !blackDigits; ++y)
            blackDigits = field.pixelColor(x, y) == QColor(Qt::black);
    EXPECT_TRUE(blackDigits);
    dlg.PageControl1->setCurrentWidget(dlg.TabSheet4);
    const QImage grid = dlg.Calen1->grab().toImage();
    const TCalendar& calendar = *dlg.Calen1;
    const int blankRow = calendar.Row() == 6 ? 1 : 6;
    const int blankCol = calendar.CellLabel(0, blankRow).empty() ? 0 : 6;
    EXPECT_EQ(grid.pixelColor(calendar.CellRect(blankCol, blankRow).center()), QColor(Qt::white));
    EXPECT_EQ(grid.pixelColor(calendar.CellRect(3, 0).topLeft() + QPoint(3, 3)),
              light.color(QPalette::Button));
    EXPECT_EQ(grid.pixelColor(calendar.CellRect(calendar.Col(), calendar.Row()).topLeft()),
              light.color(QPalette::Highlight));

    dlg.PageControl1->setCurrentWidget(dlg.TabSheet1);
    dlg.Ed1->setText("abc");
    BoxCloser closer;
    Click(dlg.Button1);
    ASSERT_TRUE(closer.Box().seen);
    for (QPalette::ColorRole role : roles)
        EXPECT_EQ(closer.Box().palette.color(role), light.color(role)) << "error box " << role;
}

}  // namespace
}  // namespace vesk::test
