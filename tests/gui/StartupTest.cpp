// The whole start-up on the program's own application object: the splash
// before the dialog and gone after it, every way of closing with exit code 0,
// and the refused timer with the last-resort box and exit code 1.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "GuiTestSupport.h"
#include "app/Application.h"
#include "app/Startup.h"
#include "forms/AbutV310.h"
#include "forms/CountDown.h"
#include "forms/MainV310.h"

namespace vesk::test {
namespace {

TApplication& App() { return *static_cast<TApplication*>(QCoreApplication::instance()); }

// Runs the program; once the dialog is up, `close` ends it.
int RunAndClose(const std::function<void(TPagesDlg&)>& close) {
    PagesDlgOptions options;
    options.splashWait = [close] {
        QTimer::singleShot(0, [close] {
            ASSERT_NE(PagesDlg, nullptr);
            ASSERT_TRUE(PagesDlg->isVisible());
            close(*PagesDlg);
        });
    };
    return RunProgram(App(), options);
}

TEST(StartupTest, TheSplashShowsBeforeTheDialogAndIsGoneOnceItRuns) {
    QPointer<TAboutBox> splash;
    bool dialogHidden = false, okHidden = false, centred = false;
    bool splashGoneWhenRunning = false, dialogShown = false;
    PagesDlgOptions options;
    options.splashWait = [&] {
        splash = AboutBox;
        ASSERT_TRUE(splash && splash->isVisible());
        dialogHidden = !PagesDlg->isVisible();
        okHidden = splash->OKButton->isHidden();
        const QPoint centre = splash->screen()->availableGeometry().center();
        centred = (splash->frameGeometry().center() - centre).manhattanLength() <= 2;
        QTimer::singleShot(50, [&] {
            splashGoneWhenRunning = splash.isNull() && AboutBox != nullptr;
            dialogShown = PagesDlg->isVisible();
            Click(PagesDlg->Button5);
        });
    };
    EXPECT_EQ(RunProgram(App(), options), 0);
    EXPECT_TRUE(dialogHidden);
    EXPECT_TRUE(okHidden);
    EXPECT_TRUE(centred);
    EXPECT_TRUE(splashGoneWhenRunning);
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(PagesDlg, nullptr);
    EXPECT_EQ(AboutBox, nullptr);
}

TEST(StartupTest, EveryWayOfClosingEndsWithExitCodeZero) {
    EXPECT_EQ(RunAndClose([](TPagesDlg& dlg) { Click(dlg.Button5); }), 0);
    EXPECT_EQ(RunAndClose([](TPagesDlg& dlg) {
                  dlg.Button5->setFocus();
                  Key(&dlg, Qt::Key_Space);
              }),
              0);
    EXPECT_EQ(RunAndClose([](TPagesDlg& dlg) { dlg.windowHandle()->close(); }), 0);  // close box
}

TEST(StartupTest, ARefusedTimerEndsStartUpInTheLastResortBox) {
    PagesDlgOptions options;
    options.refuseTimer = true;
    bool splashShown = false;
    options.splashWait = [&] { splashShown = true; };
    BoxCloser closer;
    EXPECT_EQ(RunProgram(App(), options), 1);
    ASSERT_TRUE(closer.Box().seen);
    EXPECT_EQ(closer.Box().caption, QString::fromUtf8("アプリケーション エラー"));
    EXPECT_EQ(closer.Box().icon, QMessageBox::Critical);
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QRegularExpression expected(
        "^Exception EReadError in module " + QRegularExpression::escape(program) +
        " at [0-9A-F]{8}\\.\\n" +
        QRegularExpression::escape(QString::fromUtf8("Timer1.OnTimer の読み込み中のエラー : タイマーを取得できません.")) +
        "$");
    EXPECT_TRUE(expected.match(closer.Box().text).hasMatch()) << closer.Box().text.toStdString();
    EXPECT_FALSE(splashShown);
    EXPECT_EQ(PagesDlg, nullptr);
}

TEST(StartupTest, TheCountDownTakesEveryStep) {
    EXPECT_EQ(kSplashSteps, 40'000'001u);
    EXPECT_EQ(CountDown(kSplashSteps), kSplashSteps);
    EXPECT_EQ(CountDown(0), 0u);
}

}  // namespace
}  // namespace vesk::test
