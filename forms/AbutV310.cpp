#include "forms/AbutV310.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "forms/Bevel.h"
#include "forms/FormSupport.h"
#include "forms/Icons.h"
#include "forms/Image.h"
#include "forms/Panel.h"
#include "forms/Placement.h"
#include "forms/WindowManager.h"
#include "version/Version.h"

namespace vesk {

TAboutBox* AboutBox = nullptr;

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, int width, int height,
                  const char* text, const FontSpec& font) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    Place(label, name, left, top, width, height);
    ApplyFont(label, font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Labels size themselves to their text; the sizes above are the design texts'.
    label->adjustSize();
    return label;
}

}  // namespace

// Layout: pixels in the parent's client area; fonts as face, pixels, colour.
TAboutBox::TAboutBox() : QDialog(nullptr) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlags(kBoxWindowFlags);
    setFixedSize(265, 151);
    setPalette(LightPalette());
    setBackgroundRole(QPalette::Button);
    ApplyFont(this, {Face::PGothic, 12, kBlack});
    setWindowIcon(ProgramWindowIcon());

    Bevel2 = new TBevel(this, TBevel::Shape::LoweredBox);
    Place(Bevel2, "Bevel2", 0, 0, 265, 151);

    Panel1 = new TPanel(this, TPanel::Bevel::Lowered, TPanel::Bevel::None);
    Place(Panel1, "Panel1", 11, 18, 242, 95);

    ProgramIcon = new TImage(Panel1, vesk::ProgramIcon());
    Place(ProgramIcon, "ProgramIcon", 14, 8, 35, 33);
    ProductName = MakeLabel(Panel1, "ProductName", 66, 13, 160, 15, "Zelmoro ・２ (Vesk_310)",
                            {Face::PMincho, 15, kBlue});
    Version = MakeLabel(Panel1, "Version", 20, 62, 87, 15, "第 " VESK310_VERSION " 版", {Face::PMincho, 15, kBlack});
    NoticeLabel = MakeLabel(Panel1, "NoticeLabel", 86, 38, 129, 13, "日付計算の小道具",
                            {Face::PMincho, 13, kBlack});
    Bevel1 = new TBevel(Panel1, TBevel::Shape::LoweredFrame);
    Place(Bevel1, "Bevel1", 12, 8, 37, 33);
    Label1 = MakeLabel(Panel1, "Label1", 140, 62, 65, 15, "Zelmoro 工房", {Face::PGothic, 15, kBlack});

    OKButton = new QPushButton(QStringLiteral("O K"), this);
    Place(OKButton, "OKButton", 104, 119, 53, 24);
    ApplyFont(OKButton, {Face::Gothic, 13, kBlack});
    OKButton->setDefault(true);
    OKButton->setAutoDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);

    // Tab order: Panel1 (nothing in it takes the focus), then OKButton.
    OKButton->setFocus();
}

void TAboutBox::OKButtonClick() {
    // The button's modal result is 1; a modally shown box then closes.
    done(1);
}

void TAboutBox::ShowModal(QWidget* owner) {
    QPointer<QWidget> previous = QApplication::activeWindow();
    MakeTransientFor(this, owner ? owner : previous.data());
    exec();
    if (previous) previous->activateWindow();
}

void TAboutBox::showEvent(QShowEvent* event) {
    AskForFrame(this, FrameBoxes::Close);
    if (!placed_) {
        // Centred the first time; afterwards the box stays where it was left.
        CentreOnScreen(this);
        placed_ = true;
    }
    QDialog::showEvent(event);
    OKButton->setFocus(Qt::ActiveWindowFocusReason);
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    // No cancel button: Escape leaves the box open.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace vesk
