#include "forms/Panel.h"

#include <QPainter>
#include <qdrawutil.h>

namespace vesk {

TPanel::TPanel(QWidget* parent, Bevel outer, Bevel inner, int bevelWidth, int borderWidth)
    : QWidget(parent), outer_(outer), inner_(inner), bevelWidth_(bevelWidth),
      borderWidth_(borderWidth) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

void TPanel::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void TPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect area = rect();
    auto drawBevel = [&](Bevel bevel) {
        if (bevel == Bevel::None) return;
        qDrawShadePanel(&painter, area, palette(), bevel == Bevel::Lowered, bevelWidth_);
        area.adjust(bevelWidth_, bevelWidth_, -bevelWidth_, -bevelWidth_);
    };
    drawBevel(outer_);
    area.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    drawBevel(inner_);
    if (!caption_.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter, caption_);
    }
}

}  // namespace vesk
