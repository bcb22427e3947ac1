// The lasting about box: modal, the same instance from Button4 and Image1,
// centred the first time and where it was left afterwards, OK focused, Escape
// ignored, the dialog blocked and still ticking behind it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include "GuiTestSupport.h"
#include "forms/AbutV310.h"
#include "forms/Image.h"
#include "forms/MainV310.h"

namespace vesk::test {
namespace {

TEST(AboutBoxTest, ShowsTheSameBoxModallyFromTheButtonAndTheImage) {
    DialogFixture fixture;
    TPagesDlg& dlg = fixture.Dialog();
    TAboutBox& about = fixture.About();
    QPoint movedTo;

    ModalWatcher first([&](QWidget* modal) {
        EXPECT_EQ(modal, &about);
        EXPECT_EQ(about.windowTitle(), QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報"));
        EXPECT_TRUE(about.OKButton->isVisible());
        const QPoint screenCentre = about.screen()->availableGeometry().center();
        EXPECT_LE((about.frameGeometry().center() - screenCentre).manhattanLength(), 2);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == about.OKButton; }, 1000));
        Key(&about, Qt::Key_Escape);
        EXPECT_TRUE(about.isVisible());
        movedTo = about.pos() + QPoint(-40, 25);
        about.move(movedTo);
        Key(&about, Qt::Key_Return);
    });
    Click(dlg.Button4);
    EXPECT_TRUE(first.Fired());
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), 1);

    dlg.PageControl1->setCurrentWidget(dlg.TabSheet3);
    ModalWatcher second([&](QWidget* modal) {
        EXPECT_EQ(modal, &about);
        EXPECT_EQ(about.pos(), movedTo);
        // Behind the box the dialog takes no clicks but keeps ticking.
        dlg.Edit13->setText("unchanged");
        Click(dlg.Button3);
        EXPECT_EQ(dlg.Edit13->text(), "unchanged");
        const QString before = dlg.Label19->text();
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.Label19->text() != before; }, 2500));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == about.OKButton; }, 1000));
        Key(&about, Qt::Key_Space);
    });
    Click(dlg.Image1);
    EXPECT_TRUE(second.Fired());
    EXPECT_FALSE(about.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dlg; }, 1000));
}

TEST(AboutBoxTest, TheCloseBoxEndsTheShowingToo) {
    DialogFixture fixture;
    ModalWatcher closer([&](QWidget* modal) { modal->close(); });
    Click(fixture.Dialog().Button4);
    EXPECT_TRUE(closer.Fired());
    EXPECT_FALSE(fixture.About().isVisible());
}

TEST(AboutBoxTest, TheCatHasItsHintAfterAPause) {
    DialogFixture fixture;
    TImage* image = fixture.Dialog().Image1;
    EXPECT_EQ(image->Hint(), QString::fromUtf8("猫の飾り物の写真 "));
    fixture.Dialog().PageControl1->setCurrentWidget(fixture.Dialog().TabSheet3);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(image, &enter);
    EXPECT_TRUE(image->HintPending());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(image, &leave);
    EXPECT_FALSE(image->HintPending());
}

}  // namespace
}  // namespace vesk::test
