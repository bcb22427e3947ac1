#pragma once
// The main dialog: four computing pages, a bottom strip with the about and the
// close buttons, and the one-second uptime timer. Handlers only read fields,
// call the page computations and write fields.

#include <QWidget>
#include <functional>

#include "forms/Edit.h"

class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;

namespace vesk {

class TBevel;
class TCalendar;
class TImage;
class TPanel;

// What start-up may change for tests; the defaults are the program's own.
struct PagesDlgOptions {
    // The splash's wait; the program counts down the full kSplashSteps.
    std::function<void()> splashWait;
    // Makes arming the timer fail as if the system had no timer left.
    bool refuseTimer = false;
};

class TPagesDlg : public QWidget {
    Q_OBJECT
public:
    // Builds the dialog from its layout (arming Timer1), then runs FormCreate.
    // Raises EReadError when the timer cannot be armed; a failure inside
    // FormCreate is reported and does not stop the construction.
    explicit TPagesDlg(PagesDlgOptions options = {});
    ~TPagesDlg() override;

    // Dialog frame.
    TPanel* Panel1;
    TBevel* Bevel1;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QWidget* TabSheet4;
    TPanel* Panel2;
    QTimer* Timer1;

    // Page 1: day of the week.
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    TBevel* Bevel2;
    QLabel* Label20;
    QLabel* Label19;
    QLabel* Label21;
    QPushButton* Button1;
    TEdit* Ed1;
    TEdit* Ed2;
    TEdit* Ed3;
    TEdit* Ed4;

    // Page 2: days between two dates.
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    TEdit* Edit1;
    TEdit* Edit2;
    TEdit* Edit3;
    TEdit* Edit4;
    TEdit* Edit5;
    TEdit* Edit6;
    TEdit* Edit7;
    TEdit* Edit8;
    QPushButton* Button2;

    // Page 3: the date a number of days later.
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label16;
    QLabel* Label17;
    QLabel* Label18;
    TImage* Image1;
    TEdit* Edit9;
    TEdit* Edit10;
    TEdit* Edit11;
    TEdit* Edit12;
    TEdit* Edit13;
    QPushButton* Button3;

    // Page 4: month calendar.
    TPanel* Panel3;
    QLabel* Label22;
    TEdit* Edit14;
    QLabel* Label23;
    TEdit* Edit15;
    QLabel* Label24;
    TEdit* Edit16;
    QLabel* Label25;
    QPushButton* Button6;
    TCalendar* Calen1;
    TPanel* Panel4;

    // Bottom strip.
    QPushButton* Button4;
    QPushButton* Button5;

    // Handlers.
    void FormCreate();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button6Click();
    void Button4Click();
    void Image1Click();
    void Button5Click();
    void Timer1Timer();

    // True while a modal box (the about box, an error box) blocks the dialog.
    bool Blocked() const { return blocked_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();    // MainV310Layout.cpp
    void BindHandlers();
    void ArmTimer();
    void ShowSplash();

    PagesDlgOptions options_;
    bool placed_ = false;
    bool blocked_ = false;
};

// The main dialog; set when its construction starts, cleared when it fails.
extern TPagesDlg* PagesDlg;

}  // namespace vesk
