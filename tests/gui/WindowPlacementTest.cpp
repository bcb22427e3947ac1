// Where the windows open and what they ask of the window manager: centred on
// the screen with their frame from the first position they are given, a title
// bar that stays on a screen smaller than the window, and boxes that stay
// modal: transient for the dialog, with a close box only.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "GuiTestSupport.h"
#include "forms/AbutV310.h"
#include "forms/MainV310.h"
#include "forms/Placement.h"
#include "forms/WindowManager.h"

namespace vesk::test {
namespace {

// How far the frame's centre lies from the area's, in half pixels per axis.
QPoint HalfPixelsOffCentre(const QRect& frame, const QRect& area) {
    return {2 * (frame.left() - area.left()) + frame.width() - area.width(),
            2 * (frame.top() - area.top()) + frame.height() - area.height()};
}

TEST(WindowPlacementTest, TheClientAreaGoesWhereTheFramedWindowIsCentred) {
    struct Case {
        const char* name;
        QSize client;
        QMarginsF frame;
        QRect area;
        QPoint expected;
    };
    const Case cases[] = {
        // Fits: the frame is centred; an odd pixel left over goes after it.
        {"the dialog under openbox", {431, 325}, {1, 20, 1, 1}, {0, 0, 1280, 1024}, {424, 359}},
        {"the about box", {265, 151}, {1, 20, 1, 1}, {0, 0, 1280, 1024}, {507, 446}},
        {"no frame", {431, 325}, {}, {0, 0, 1280, 1024}, {424, 349}},
        {"a work area beside a panel", {400, 300}, {4, 24, 4, 4}, {100, 30, 800, 600}, {300, 190}},
        {"half pixels of a scaled frame",
         {431, 325},
         {0.5, 10, 0.5, 0.5},
         {0, 0, 640, 512},
         {105, 98}},
        // Larger than the area: the frame's left or top edge, with the title
        // bar, stays on it.
        {"taller than the screen", {862, 650}, {1, 20, 1, 1}, {0, 0, 1280, 600}, {209, 20}},
        {"wider and taller", {862, 650}, {1, 20, 1, 1}, {0, 0, 800, 600}, {1, 20}},
        {"larger than a second screen", {862, 650}, {1, 20, 1, 1}, {1280, 0, 800, 600}, {1281, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CentredClientPosition(c.client, c.frame, c.area), c.expected);
    }
}

// The window is given its centred place before it is first shown, frame
// included, and nothing moves it afterwards.
void ExpectCentredFromTheStart(QWidget& window) {
    QWindow* handle = window.windowHandle();
    ASSERT_NE(handle, nullptr);
    const QRect area = window.screen()->availableGeometry();
    const QRect first = handle->frameGeometry();
    EXPECT_EQ(first.size(), window.size().grownBy(handle->frameMargins()));
    const QPoint off = HalfPixelsOffCentre(first, area);
    EXPECT_LE(std::abs(off.x()), 1) << off.x();
    EXPECT_LE(std::abs(off.y()), 1) << off.y();
    QTest::qWait(50);
    EXPECT_EQ(handle->frameGeometry(), first);
}

TEST(WindowPlacementTest, TheDialogsFirstPositionIsTheCentredOne) {
    PagesDlgOptions options;
    options.splashWait = [] {};
    TPagesDlg dialog(options);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the splash
    AboutBox = nullptr;
    dialog.show();  // no event loop has run since
    ExpectCentredFromTheStart(dialog);
}

TEST(WindowPlacementTest, TheAboutBoxsFirstPositionIsTheCentredOne) {
    TAboutBox about;
    about.show();
    ExpectCentredFromTheStart(about);
}

// What the boxes ask of the window manager, in the Motif hints' own bits.
TEST(WindowPlacementTest, TheFrameHintsOfferNoMaximiseBoxAndNoResizing) {
    constexpr std::uint32_t kResize = 1U << 1, kMove = 1U << 2, kMinimise = 1U << 3,
                            kMaximise = 1U << 4, kClose = 1U << 5;
    constexpr std::uint32_t kResizeHandles = 1U << 2, kTitle = 1U << 3, kMinimiseBox = 1U << 5,
                            kMaximiseBox = 1U << 6;
    const struct {
        FrameBoxes boxes;
        bool minimise;
    } cases[] = {{FrameBoxes::Close, false}, {FrameBoxes::MinimiseAndClose, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.minimise ? "the dialog" : "a box");
        const MotifHints hints = MotifHintsFor(c.boxes);
        EXPECT_EQ(hints.flags, 3u);  // functions and decorations are given
        EXPECT_EQ(hints.functions & (kMove | kClose), kMove | kClose);
        EXPECT_EQ((hints.functions & kMinimise) != 0, c.minimise);
        EXPECT_EQ(hints.functions & (kResize | kMaximise), 0u);
        EXPECT_NE(hints.decorations & kTitle, 0u);
        EXPECT_EQ((hints.decorations & kMinimiseBox) != 0, c.minimise);
        EXPECT_EQ(hints.decorations & (kResizeHandles | kMaximiseBox), 0u);
    }
}

// A box over the dialog: transient for it, so that a window manager keeps
// them together, and a close box without minimise or maximise boxes.
void ExpectABoxOf(QWidget* box, TPagesDlg& dialog) {
    const Qt::WindowFlags flags = box->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    ASSERT_NE(box->windowHandle(), nullptr);
    EXPECT_EQ(box->windowHandle()->transientParent(), dialog.windowHandle());
}

TEST(WindowPlacementTest, EachBoxIsTransientForTheDialogWithACloseBoxOnly) {
    DialogFixture fixture;
    TPagesDlg& dlg = fixture.Dialog();
    EXPECT_TRUE(dlg.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(dlg.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dlg.windowFlags() & Qt::WindowMaximizeButtonHint);

    ModalWatcher about([&](QWidget* modal) {
        EXPECT_EQ(modal, &fixture.About());
        ExpectABoxOf(modal, dlg);
        modal->close();
    });
    Click(dlg.Button4);
    EXPECT_TRUE(about.Fired());

    dlg.Ed1->setText("abc");
    ModalWatcher error([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        ExpectABoxOf(box, dlg);
        EXPECT_EQ(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    });
    Click(dlg.Button1);
    EXPECT_TRUE(error.Fired());
}

}  // namespace
}  // namespace vesk::test
