// The main dialog's layout: every control with its name, parent, position and
// size (pixels in the parent's client area), text, font, colour and keyboard
// properties, in one place. The behaviour is in MainV310.cpp.

#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "calendar/Calendar.h"
#include "forms/Accessible.h"
#include "forms/Bevel.h"
#include "forms/Edit.h"
#include "forms/FormSupport.h"
#include "forms/Icons.h"
#include "forms/Image.h"
#include "forms/MainV310.h"
#include "forms/PageControl.h"
#include "forms/Panel.h"
#include "forms/UpperCaseValidator.h"
#include "textconv/ErrorText.h"

namespace vesk {
namespace {

// Fonts of the layout. All faces are the proportional Gothic unless named.
const FontSpec kDialogFont{Face::PGothic, 14, kBlack};
const FontSpec kTabFont{Face::PGothic, 16, kGreen};
const FontSpec kInputFont{Face::PGothic, 16, kBlack};
const FontSpec kOutputFont{Face::PGothic, 15, kNavy};
const FontSpec kRed16{Face::PGothic, 16, kRed};
const FontSpec kBlue16{Face::PGothic, 16, kBlue};
const FontSpec kGreen16{Face::PGothic, 16, kGreen};
const FontSpec kFuchsia16{Face::PGothic, 16, kFuchsia};
const FontSpec kRed15{Face::PGothic, 15, kRed};
const FontSpec kBlue15{Face::PGothic, 15, kBlue};
const FontSpec kCalendarFont{Face::PGothic, 19, kBlack, true};
const FontSpec kSundayFont{Face::PGothic, 19, kRed, true};
const FontSpec kAboutButtonFont{Face::PMincho, 13, kBlack};

// Keyboard: a tab stop is reached by Tab; any other control that takes the
// focus takes it only from a click.
enum class Stop { Yes, No };

QLabel* Label(QWidget* parent, const char* name, int left, int top, int width, int height,
              const char* text, const FontSpec* font) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    Place(label, name, left, top, width, height);
    if (font) ApplyFont(label, *font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// A fixed-size label with a yellow background, for the uptime strip.
QLabel* StripLabel(QWidget* parent, const char* name, int left, int top, int width, int height,
                   const char* text, const FontSpec& font, Qt::Alignment alignment) {
    QLabel* label = Label(parent, name, left, top, width, height, text, &font);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setAutoFillBackground(true);
    // Its own role: otherwise the label takes the page's button-face role.
    label->setBackgroundRole(QPalette::Window);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, kYellow);
    label->setPalette(palette);
    return label;
}

TEdit* Edit(QWidget* parent, const char* name, int left, int top, int width, int height,
            const char* text, const FontSpec& font, Stop stop = Stop::Yes) {
    auto* edit = new TEdit(QString::fromUtf8(text), parent);
    Place(edit, name, left, top, width, height);
    ApplyFont(edit, font);
    edit->setFocusPolicy(stop == Stop::Yes ? Qt::StrongFocus : Qt::ClickFocus);
    return edit;
}

QPushButton* Button(QWidget* parent, const char* name, int left, int top, int width, int height,
                    const char* text, const FontSpec* font, Stop stop) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    Place(button, name, left, top, width, height);
    if (font) ApplyFont(button, *font);
    button->setFocusPolicy(stop == Stop::Yes ? Qt::StrongFocus : Qt::ClickFocus);
    // Enter presses the focused button. The window is no dialog, so no button
    // is ever the default one and Enter in an edit field presses nothing.
    button->setAutoDefault(true);
    return button;
}

QWidget* Page(QTabWidget* pages, const char* name, const char* caption) {
    auto* page = new QWidget(pages);
    page->setObjectName(QString::fromLatin1(name));
    // The button face of the dialog, not the style's lighter tab pane.
    page->setAutoFillBackground(true);
    page->setBackgroundRole(QPalette::Button);
    pages->addTab(page, QString::fromUtf8(caption));
    return page;
}

// A screen reader reads an edit field by the label in front of it.
void Names(TEdit* edit, QLabel* label, const char* name = nullptr) {
    if (label) label->setBuddy(edit);
    edit->setAccessibleName(name ? QString::fromUtf8(name) : label->text());
}

}  // namespace

void TPagesDlg::BuildLayout() {
    // The window: 431 x 325 client area, fixed, centred when shown.
    setObjectName(QStringLiteral("PagesDlg"));
    setWindowTitle(QString::fromUtf8("    Zelmoro ・２      Vesk_310     "));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // The taskbar shows the window's icon text: the application title.
    setWindowIconText(QString::fromUtf8(kApplicationTitle));
    setFixedSize(431, 325);
    setPalette(LightPalette());
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    ApplyFont(this, kDialogFont);
    setWindowIcon(ProgramWindowIcon());

    // Containers.
    Panel1 = new TPanel(this, TPanel::Bevel::Lowered, TPanel::Bevel::None, 2, 8);
    Place(Panel1, "Panel1", 0, 0, 431, 280);
    Bevel1 = new TBevel(Panel1, TBevel::Shape::RightLine);
    Place(Bevel1, "Bevel1", 10, 10, 411, 260);
    PageControl1 = new TPageControl(Panel1, QSize(403, 225));
    Place(PageControl1, "PageControl1", 10, 10, 411, 260);
    ApplyFont(PageControl1, kTabFont);
    PageControl1->setFocusPolicy(Qt::NoFocus);
    PageControl1->tabBar()->setFocusPolicy(Qt::NoFocus);
    Panel2 = new TPanel(this, TPanel::Bevel::None, TPanel::Bevel::Lowered, 2);
    Place(Panel2, "Panel2", 0, 280, 431, 45);

    TabSheet1 = Page(PageControl1, "TabSheet1", "曜日計算");
    ApplyFont(TabSheet1, kInputFont);
    TabSheet2 = Page(PageControl1, "TabSheet2", "日数計算");
    TabSheet3 = Page(PageControl1, "TabSheet3", "年月日計算");
    TabSheet4 = Page(PageControl1, "TabSheet4", "ｶﾚﾝﾀﾞｰ");

    // Page 1: day of the week.
    QWidget* p = TabSheet1;
    Label1 = Label(p, "Label1", 79, 13, 32, 16, "入力", &kRed16);
    Label2 = Label(p, "Label2", 63, 40, 48, 16, "西暦年", &kBlue16);
    Label3 = Label(p, "Label3", 96, 66, 16, 16, "月", &kBlue16);
    Label4 = Label(p, "Label4", 96, 92, 16, 16, "日", &kBlue16);
    Label5 = Label(p, "Label5", 50, 144, 64, 16, "計算結果", &kGreen16);
    Bevel2 = new TBevel(p, TBevel::Shape::LoweredBox);
    Place(Bevel2, "Bevel2", 55, 179, 321, 22);
    Label20 = StripLabel(p, "Label20", 56, 181, 111, 18, " Win起動後", kRed15, Qt::AlignHCenter);
    Label19 = StripLabel(p, "Label19", 166, 181, 151, 18, "", kBlue15, Qt::AlignHCenter);
    Label21 = StripLabel(p, "Label21", 314, 181, 61, 18, "経過", kRed15, Qt::AlignLeft);
    Button1 = Button(p, "Button1", 272, 92, 102, 27, "曜日計算", &kInputFont, Stop::No);
    Ed1 = Edit(p, "Ed1", 148, 36, 105, 24, "2001", kInputFont);
    Ed2 = Edit(p, "Ed2", 148, 64, 105, 24, "1", kInputFont);
    Ed3 = Edit(p, "Ed3", 148, 92, 105, 24, "1", kInputFont);
    Ed4 = Edit(p, "Ed4", 144, 140, 233, 23, "", kOutputFont, Stop::No);
    Ed4->setReadOnly(true);

    // Page 2: days between date (1) and date (2).
    p = TabSheet2;
    Label6 = Label(p, "Label6", 119, 7, 53, 16, "入力(１)", &kRed16);
    Label7 = Label(p, "Label7", 241, 7, 53, 16, "入力(２)", &kRed16);
    Label8 = Label(p, "Label8", 50, 37, 48, 16, "西暦年", &kBlue16);
    Label9 = Label(p, "Label9", 83, 63, 16, 16, "月", &kBlue16);
    Label10 = Label(p, "Label10", 83, 89, 16, 16, "日", &kBlue16);
    Label11 = Label(p, "Label11", 60, 126, 37, 16, "日 数", &kGreen16);
    Label12 = Label(p, "Label12", 60, 159, 37, 16, "期 間", nullptr);
    Edit1 = Edit(p, "Edit1", 113, 33, 101, 24, "", kInputFont);
    Edit2 = Edit(p, "Edit2", 113, 60, 101, 24, "", kInputFont);
    Edit3 = Edit(p, "Edit3", 113, 86, 101, 24, "", kInputFont);
    Edit4 = Edit(p, "Edit4", 235, 33, 101, 24, "2001", kInputFont);
    Edit5 = Edit(p, "Edit5", 235, 60, 101, 24, "1", kInputFont);
    Edit6 = Edit(p, "Edit6", 235, 86, 101, 24, "1", kInputFont);
    Edit7 = Edit(p, "Edit7", 113, 122, 260, 23, "", kOutputFont, Stop::No);
    Edit8 = Edit(p, "Edit8", 113, 155, 260, 23, "", kOutputFont, Stop::No);
    Button2 = Button(p, "Button2", 113, 188, 96, 25, "日数計算", nullptr, Stop::No);

    // Page 3: the date a number of days later.
    p = TabSheet3;
    Label13 = Label(p, "Label13", 66, 23, 32, 16, "入力", &kRed16);
    Label14 = Label(p, "Label14", 49, 49, 48, 16, "西暦年", &kBlue16);
    Label15 = Label(p, "Label15", 82, 76, 16, 16, "月", &kBlue16);
    Label16 = Label(p, "Label16", 82, 105, 16, 16, "日", &kBlue16);
    Label17 = Label(p, "Label17", 49, 142, 48, 16, "何日後", &kFuchsia16);
    Label18 = Label(p, "Label18", 36, 186, 64, 16, "計算結果", nullptr);
    Image1 = new TImage(p, CatOrnament());
    Place(Image1, "Image1", 296, 68, 34, 34);
    Image1->SetHint(QString::fromUtf8("猫の飾り物の写真 "));
    Edit9 = Edit(p, "Edit9", 131, 49, 100, 24, "", kInputFont);
    Edit10 = Edit(p, "Edit10", 131, 76, 100, 24, "", kInputFont);
    Edit11 = Edit(p, "Edit11", 131, 102, 100, 24, "", kInputFont);
    Edit12 = Edit(p, "Edit12", 131, 138, 100, 24, "270", kInputFont);
    Edit13 = Edit(p, "Edit13", 125, 182, 255, 23, "", kOutputFont, Stop::No);
    Button3 = Button(p, "Button3", 262, 138, 100, 25, "年月日計算", nullptr, Stop::No);

    // Page 4: month calendar. The grid lies below Panel3; Panel4 covers the
    // grid's first header cell with a red "日".
    p = TabSheet4;
    Calen1 = new TCalendar(p);
    Place(Calen1, "Calen1", 0, 41, 403, 184);
    ApplyFont(Calen1, kCalendarFont);
    Calen1->SetColor(kWhite);
    Calen1->setEnabled(false);
    Calen1->setFocusPolicy(Qt::NoFocus);
    Calen1->SetUseCurrentDate(false);  // clears the flag; the date stays
    Panel3 = new TPanel(p, TPanel::Bevel::Raised, TPanel::Bevel::None);
    Place(Panel3, "Panel3", 0, 0, 403, 41);
    Label22 = Label(Panel3, "Label22", 4, 12, 32, 16, "西暦", &kBlue16);
    Edit14 = Edit(Panel3, "Edit14", 40, 8, 57, 24, "EDIT14", kInputFont);
    Edit14->setValidator(new UpperCaseValidator(Edit14));
    Label23 = Label(Panel3, "Label23", 100, 12, 16, 16, "年", &kBlue16);
    Edit15 = Edit(Panel3, "Edit15", 131, 8, 34, 24, "Edit15", kInputFont);
    Label24 = Label(Panel3, "Label24", 168, 12, 16, 16, "月", &kBlue16);
    Edit16 = Edit(Panel3, "Edit16", 199, 8, 34, 24, "Edit16", kInputFont);
    Label25 = Label(Panel3, "Label25", 236, 12, 16, 16, "日", &kBlue16);
    Button6 = Button(Panel3, "Button6", 308, 8, 67, 25, "更 新", nullptr, Stop::Yes);
    Panel4 = new TPanel(p, TPanel::Bevel::Raised, TPanel::Bevel::None);
    Place(Panel4, "Panel4", 3, 43, 55, 24);
    ApplyFont(Panel4, kSundayFont);
    Panel4->SetCaption(QString::fromUtf8("日"));
    // The grid's header cell under it reads the same day name.
    HideFromScreenReaders(Panel4);

    // Bottom strip.
    Button4 = Button(Panel2, "Button4", 233, 8, 104, 29, "バージョン情報", &kAboutButtonFont, Stop::Yes);
    Button5 = Button(Panel2, "Button5", 108, 8, 85, 29, "終了", &kInputFont, Stop::Yes);

    // Tab order: the pages (each in its own order), then the bottom strip.
    const QList<QWidget*> order = {Button1, Ed1,    Ed2,    Ed3,    Ed4,    Edit1,  Edit2,
                                   Edit3,   Edit4,  Edit5,  Edit6,  Edit7,  Edit8,  Button2,
                                   Edit9,   Edit10, Edit11, Edit12, Edit13, Button3, Edit14,
                                   Edit15,  Edit16, Button6, Button4, Button5};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    // Names for screen readers, from the labels in front of the fields.
    Names(Ed1, Label2);
    Names(Ed2, Label3);
    Names(Ed3, Label4);
    Names(Ed4, Label5);
    Names(Edit1, Label8, "西暦年 (１)");
    Names(Edit2, Label9, "月 (１)");
    Names(Edit3, Label10, "日 (１)");
    Names(Edit4, nullptr, "西暦年 (２)");
    Names(Edit5, nullptr, "月 (２)");
    Names(Edit6, nullptr, "日 (２)");
    Names(Edit7, Label11);
    Names(Edit8, Label12);
    Names(Edit9, Label14);
    Names(Edit10, Label15);
    Names(Edit11, Label16);
    Names(Edit12, Label17);
    Names(Edit13, Label18);
    Names(Edit14, Label22, "西暦年");
    Names(Edit15, nullptr, "月");
    Names(Edit16, nullptr, "日");
    // The uptime label is read by its text, the ticking value; the strip's
    // fixed words describe it.
    Label19->setAccessibleDescription(QString::fromUtf8("Win起動後 経過"));

    // The one-second uptime timer; armed by ArmTimer.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setTimerType(Qt::CoarseTimer);

    PageControl1->setCurrentWidget(TabSheet1);
    Ed1->setFocus();
}

}  // namespace vesk
