#include "forms/Bevel.h"

#include <QPainter>
#include <qdrawutil.h>

namespace vesk {

TBevel::TBevel(QWidget* parent, Shape shape) : QWidget(parent), shape_(shape) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const QRect r = rect();
    switch (shape_) {
    case Shape::LoweredBox:
        // One line each: shadow along the top and left, highlight along the
        // bottom and right.
        painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), pal.color(QPalette::Dark));
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), pal.color(QPalette::Dark));
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), pal.color(QPalette::Light));
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), pal.color(QPalette::Light));
        break;
    case Shape::LoweredFrame:
        qDrawShadeRect(&painter, r, pal, true, 1, 1);
        break;
    case Shape::RightLine:
        qDrawShadeLine(&painter, r.right() - 1, r.top(), r.right() - 1, r.bottom(), pal, true, 1, 0);
        break;
    }
}

}  // namespace vesk
