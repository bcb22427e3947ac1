// What a screen reader is told, beyond the names of the fields: the states
// of the dialog while a box blocks it and of the page tabs, which pictures can
// be pressed, and what it is not told about at all.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "GuiTestSupport.h"
#include "calendar/Calendar.h"
#include "forms/AbutV310.h"
#include "forms/Image.h"
#include "forms/MainV310.h"
#include "forms/Panel.h"

namespace vesk::test {
namespace {

QAccessibleInterface* Face(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(face, nullptr);
    return face;
}

// While a modal box is up the dialog takes no input, and says so; it is
// sensitive again once the box is closed.
TEST(AccessibilityTest, TheDialogIsNotSensitiveWhileABoxBlocksIt) {
    DialogFixture fixture;
    TPagesDlg& dlg = fixture.Dialog();
    QAccessibleInterface* dialog = Face(&dlg);
    EXPECT_FALSE(dialog->state().disabled);

    const std::function<void()> opens[] = {
        [&] { Click(dlg.Button4); },
        [&] {
            dlg.Ed1->setText("abc");
            Click(dlg.Button1);
        },
    };
    for (const auto& open : opens) {
        bool disabledWhileShown = false;
        ModalWatcher watcher([&](QWidget* modal) {
            disabledWhileShown = dialog->state().disabled;
            modal->close();
        });
        open();
        ASSERT_TRUE(watcher.Fired());
        EXPECT_TRUE(disabledWhileShown);
        EXPECT_FALSE(dialog->state().disabled);
    }
}

// The cat on page 3 opens the about box; the program icon in the about box
// (and in the splash) does nothing, so it offers nothing to press.
TEST(AccessibilityTest, OnlyAPictureThatDoesSomethingOffersAPress) {
    DialogFixture fixture;
    const auto actionsOf = [](TImage* image) {
        QAccessibleActionInterface* actions = Face(image)->actionInterface();
        return actions ? actions->actionNames() : QStringList{};
    };
    EXPECT_EQ(actionsOf(fixture.Dialog().Image1),
              QStringList{QAccessibleActionInterface::pressAction()});
    EXPECT_EQ(actionsOf(fixture.About().ProgramIcon), QStringList{});
    TAboutBox splash;
    EXPECT_EQ(actionsOf(splash.ProgramIcon), QStringList{});
}

// The tab row lists the four pages; the shown page's tab is selected and no
// tab claims the focus, which the tab row never has. Pressing a tab shows its
// page.
TEST(AccessibilityTest, TheShownPagesTabIsSelectedAndNoneFocused) {
    DialogFixture fixture;
    TPagesDlg& dlg = fixture.Dialog();
    QAccessibleInterface* row = Face(dlg.PageControl1->tabBar());
    ASSERT_EQ(row->role(), QAccessible::PageTabList);
    ASSERT_EQ(row->childCount(), 4);
    const char* captions[] = {"曜日計算", "日数計算", "年月日計算", "ｶﾚﾝﾀﾞｰ"};
    for (int shown : {0, 2}) {
        dlg.PageControl1->setCurrentIndex(shown);
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(testing::Message() << "page " << shown << ", tab " << i);
            QAccessibleInterface* tab = row->child(i);
            ASSERT_NE(tab, nullptr);
            EXPECT_EQ(tab->role(), QAccessible::PageTab);
            EXPECT_EQ(tab->text(QAccessible::Name), QString::fromUtf8(captions[i]));
            EXPECT_EQ(tab->state().selected, i == shown);
            EXPECT_FALSE(tab->state().focused);
            EXPECT_EQ(tab->parent(), row);
            EXPECT_EQ(row->indexOfChild(tab), i);
        }
        EXPECT_EQ(row->focusChild(), nullptr);
    }
    row->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(dlg.PageControl1->currentWidget(), dlg.TabSheet4);
}

// Panel4's red "日" repeats the grid's Sunday header: the page's children go
// without it, and a point on it finds the grid below.
TEST(AccessibilityTest, ThePanelOverTheSundayHeaderIsLeftOut) {
    DialogFixture fixture;
    TPagesDlg& dlg = fixture.Dialog();
    dlg.PageControl1->setCurrentWidget(dlg.TabSheet4);
    QAccessibleInterface* page = Face(dlg.TabSheet4);
    QList<QObject*> children;
    for (int i = 0; i < page->childCount(); ++i) children.push_back(page->child(i)->object());
    EXPECT_FALSE(children.contains(dlg.Panel4));
    EXPECT_TRUE(children.contains(dlg.Panel3));
    EXPECT_TRUE(children.contains(dlg.Calen1));
    EXPECT_EQ(page->indexOfChild(Face(dlg.Panel4)), -1);
    EXPECT_EQ(page->indexOfChild(Face(dlg.Calen1)), children.indexOf(dlg.Calen1));
    const QPoint onPanel4 = dlg.Panel4->mapToGlobal(dlg.Panel4->rect().center());
    EXPECT_EQ(page->childAt(onPanel4.x(), onPanel4.y()), Face(dlg.Calen1));
}

}  // namespace
}  // namespace vesk::test
