#include "app/MessageBox.h"

#include <QGridLayout>
#include <QScreen>

#include "forms/FormSupport.h"
#include "forms/Placement.h"
#include "forms/WindowManager.h"

namespace vesk {

TMessageBox::TMessageBox(Icon icon, const QString& caption, const QString& text, QWidget* owner,
                         QScreen* screen)
    : QMessageBox(icon, caption, text, QMessageBox::Ok, nullptr, kBoxWindowFlags),
      owner_(owner),
      screen_(screen) {
    if (!screen_ && owner) screen_ = owner->screen();
    setPalette(LightPalette());
    if (screen_) setScreen(screen_);
    // The box sizes itself to its layout; a spacer across the layout's bottom
    // row sets the least width.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const QMargins margins = grid->contentsMargins();
        const int width = kMessageBoxMinWidth - margins.left() - margins.right();
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

void TMessageBox::showEvent(QShowEvent* event) {
    QMessageBox::showEvent(event);  // gives the box its size
    MakeTransientFor(this, owner_);
    AskForFrame(this, FrameBoxes::Close);
    if (!placed_) {
        CentreOnScreen(this, screen_);
        placed_ = true;
    }
}

}  // namespace vesk
