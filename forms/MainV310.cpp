#include "forms/MainV310.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <tuple>

#include "calendar/Calendar.h"
#include "datecalc/PageComputations.h"
#include "forms/AbutV310.h"
#include "forms/CountDown.h"
#include "forms/Edit.h"
#include "forms/FormSupport.h"
#include "forms/HandlerGuard.h"
#include "forms/Image.h"
#include "forms/Placement.h"
#include "forms/WindowManager.h"
#include "textconv/Conversions.h"
#include "textconv/Failures.h"
#include "textconv/SystemClock.h"

namespace vesk {

TPagesDlg* PagesDlg = nullptr;

namespace {

std::string Text(const TEdit* edit) { return FromQt(edit->text()); }
// A field the program writes shows its text from the first character.
void SetText(TEdit* edit, const std::string& text) { edit->SetText(ToQt(text)); }

// How long the splash may wait for the window system to put it on the screen
// before it is painted.
constexpr int kSplashExposeLimitMs = 2000;

}  // namespace

TPagesDlg::TPagesDlg(PagesDlgOptions options) : QWidget(nullptr), options_(std::move(options)) {
    PagesDlg = this;
    if (!options_.splashWait) options_.splashWait = [] { CountDown(kSplashSteps); };
    BuildLayout();
    BindHandlers();
    ArmTimer();
    // A failure in FormCreate is reported; the dialog is still built.
    Guarded([this] { FormCreate(); });
}

TPagesDlg::~TPagesDlg() {
    if (PagesDlg == this) PagesDlg = nullptr;
}

void TPagesDlg::BindHandlers() {
    auto bind = [this](auto* sender, auto signal, void (TPagesDlg::*handler)()) {
        connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    bind(Button1, &QPushButton::clicked, &TPagesDlg::Button1Click);
    bind(Button2, &QPushButton::clicked, &TPagesDlg::Button2Click);
    bind(Button3, &QPushButton::clicked, &TPagesDlg::Button3Click);
    bind(Button6, &QPushButton::clicked, &TPagesDlg::Button6Click);
    bind(Button4, &QPushButton::clicked, &TPagesDlg::Button4Click);
    bind(Image1, &TImage::clicked, &TPagesDlg::Image1Click);
    bind(Button5, &QPushButton::clicked, &TPagesDlg::Button5Click);
    bind(Timer1, &QTimer::timeout, &TPagesDlg::Timer1Timer);
}

void TPagesDlg::ArmTimer() {
    // Attaching the tick handler arms the timer; a timer the system refuses
    // fails the reading of the layout.
    try {
        if (!options_.refuseTimer) Timer1->start();
        if (!Timer1->isActive()) throw EOutOfResources(kTimerRefusedMessage);
    } catch (const Exception& failure) {
        throw MakeReadError(FromQt(Timer1->objectName()), "OnTimer", failure.Message());
    }
}

void TPagesDlg::FormCreate() {
    ShowSplash();

    // Today as "yyyy mm dd": characters 1-4 the year, 6-7 the month, 9-10 the day.
    const std::string today = TodayAsText();
    const std::string year = today.substr(0, 4);
    const std::string month = today.substr(5, 2);
    const std::string day = today.substr(8, 2);
    for (auto [y, m, d] : {std::tuple{Edit1, Edit2, Edit3}, std::tuple{Edit9, Edit10, Edit11},
                           std::tuple{Edit14, Edit15, Edit16}}) {
        SetText(y, year);
        SetText(m, month);
        SetText(d, day);
    }
}

void TPagesDlg::ShowSplash() {
    // Owned by the application, not by the dialog; destroyed by the run loop.
    auto* splash = new TAboutBox();
    splash->setObjectName(QStringLiteral("Splash"));
    AboutBox = splash;
    splash->show();
    splash->raise();
    splash->OKButton->hide();

    // Paint it now, with everything in it. The window system maps a new window
    // on its own time, so wait (taking no input) until it is on the screen.
    QElapsedTimer waited;
    waited.start();
    while (splash->windowHandle() && !splash->windowHandle()->isExposed() &&
           waited.elapsed() < kSplashExposeLimitMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    splash->repaint();
    QGuiApplication::sync();

    options_.splashWait();

    splash->OKButton->show();
    splash->deleteLater();
}

void TPagesDlg::Button1Click() { SetText(Ed4, WeekdayPage(Text(Ed1), Text(Ed2), Text(Ed3))); }

void TPagesDlg::Button2Click() {
    const DaySpanTexts texts =
        DaySpanPage(Text(Edit1), Text(Edit2), Text(Edit3), Text(Edit4), Text(Edit5), Text(Edit6));
    SetText(Edit7, texts.count);
    SetText(Edit8, texts.span);
}

void TPagesDlg::Button3Click() {
    SetText(Edit13, DateAfterPage(Text(Edit9), Text(Edit10), Text(Edit11), Text(Edit12)));
}

void TPagesDlg::Button6Click() {
    CalendarUpdate(*Calen1, Text(Edit14), Text(Edit15), Text(Edit16));
}

void TPagesDlg::Button4Click() {
    if (AboutBox) AboutBox->ShowModal(this);
}

void TPagesDlg::Image1Click() { Button4Click(); }

void TPagesDlg::Button5Click() { close(); }

void TPagesDlg::Timer1Timer() { Label19->setText(ToQt(UptimeText(SystemTickCount()))); }

bool TPagesDlg::event(QEvent* event) {
    if (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked) {
        blocked_ = event->type() == QEvent::WindowBlocked;
        // A screen reader learns that the dialog takes input again, or not.
        QAccessible::State changed;
        changed.disabled = true;
        QAccessibleStateChangeEvent sensitivity(this, changed);
        QAccessible::updateAccessibility(&sensitivity);
    }
    return QWidget::event(event);
}

void TPagesDlg::showEvent(QShowEvent* event) {
    AskForFrame(this, FrameBoxes::MinimiseAndClose);
    if (!placed_) {
        CentreOnScreen(this);
        placed_ = true;
    }
    QWidget::showEvent(event);
}

void TPagesDlg::closeEvent(QCloseEvent* event) {
    // The main window: closing it ends the program. Nothing can refuse.
    event->accept();
    QCoreApplication::quit();
}

}  // namespace vesk
