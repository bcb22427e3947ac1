// The application error handler as every event reaches it through the
// application object: shown failures, the silent EAbort, the mouse capture,
// and the floating-point unit put back after a floating-point failure.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <cfenv>

#include "GuiTestSupport.h"
#include "app/ErrorHandler.h"
#include "textconv/Failures.h"

namespace vesk::test {
namespace {

// An object whose event handler fails with whatever it is given.
class Failing : public QObject {
public:
    std::function<void()> fail;
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) fail();
        return QObject::event(event);
    }
};

SeenBox Deliver(std::function<void()> fail) {
    Failing receiver;
    receiver.fail = std::move(fail);
    BoxCloser closer;
    QEvent event(QEvent::User);
    EXPECT_TRUE(QApplication::sendEvent(&receiver, &event));  // handled either way
    return closer.Box();
}

TEST(ErrorHandlerTest, AFailureEscapingAnEventIsShownWithTheApplicationTitle) {
    struct Case {
        const char* name;
        std::function<void()> fail;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"japanese message gets a full stop", [] { throw EConvertError("'abc' は数値ではありません"); },
         "'abc' は数値ではありません."},
        {"message ending in a full stop", [] { throw Exception("done."); }, "done."},
        {"message ending in a blank", [] { throw Exception("blank "); }, "blank "},
        {"empty message", [] { throw Exception(""); }, ""},
        {"out of memory", [] { throw std::bad_alloc(); }, "メモリが足りません."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SeenBox box = Deliver(c.fail);
        ASSERT_TRUE(box.seen);
        EXPECT_EQ(box.caption, QString::fromUtf8("  Zelmoro VESK_310"));
        EXPECT_EQ(box.text, QString::fromUtf8(c.text));
        EXPECT_EQ(box.icon, QMessageBox::Critical);
        // Wide enough for a title bar to show the whole caption.
        EXPECT_GE(box.width, 300);
        // The forms' proportional Japanese face, whatever the desktop's default.
        EXPECT_EQ(box.textFace, QStringLiteral("IPAPGothic"));
        EXPECT_EQ(box.buttonFace, QStringLiteral("IPAPGothic"));
    }
}

TEST(ErrorHandlerTest, AnAbortShowsNothing) {
    bool reached = false;
    const SeenBox box = Deliver([&] {
        reached = true;
        throw EAbort("silent");
    });
    EXPECT_TRUE(reached);
    EXPECT_FALSE(box.seen);
}

TEST(ErrorHandlerTest, AFailureCancelsTheMouseCapture) {
    QWidget grabber;
    grabber.show();
    (void)QTest::qWaitForWindowExposed(&grabber);
    grabber.grabMouse();
    ASSERT_EQ(QWidget::mouseGrabber(), &grabber);
    Deliver([] { throw EAbort(""); });
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST(ErrorHandlerTest, AFloatingPointFailureLeavesTheStartupSettingsBehind) {
    constexpr int kFailureFlags = FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID;
    int flagsWhileShown = -1;
    int roundingWhileShown = -1;
    Failing receiver;
    receiver.fail = [] {
        std::feraiseexcept(FE_OVERFLOW | FE_DIVBYZERO);
        std::fesetround(FE_UPWARD);
        throw EOverflow();
    };
    ModalWatcher watcher([&](QWidget* modal) {
        flagsWhileShown = std::fetestexcept(kFailureFlags);
        roundingWhileShown = std::fegetround();
        modal->close();
    });
    QEvent event(QEvent::User);
    QApplication::sendEvent(&receiver, &event);
    ASSERT_TRUE(watcher.Fired());
    EXPECT_EQ(flagsWhileShown, 0);
    EXPECT_EQ(roundingWhileShown, FE_TONEAREST);
    EXPECT_EQ(std::fetestexcept(kFailureFlags), 0);
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
}

}  // namespace
}  // namespace vesk::test
