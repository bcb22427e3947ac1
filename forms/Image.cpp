#include "forms/Image.h"

#include <QCursor>
#include <QEnterEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace vesk {

TImage::TImage(QWidget* parent, const QPixmap& picture) : QWidget(parent), picture_(picture) {
    setMouseTracking(true);
    hintTimer_.setSingleShot(true);
    hintTimer_.setInterval(kHintPause);
    connect(&hintTimer_, &QTimer::timeout, this, &TImage::ShowHint);
}

bool TImage::Clickable() const {
    return isSignalConnected(QMetaMethod::fromSignal(&TImage::clicked));
}

void TImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void TImage::enterEvent(QEnterEvent*) { hintTimer_.start(); }

void TImage::leaveEvent(QEvent*) {
    hintTimer_.stop();
    QToolTip::hideText();
}

void TImage::mouseMoveEvent(QMouseEvent*) {
    // The pointer must rest: any move before the hint shows starts the pause again.
    if (hintTimer_.isActive()) hintTimer_.start();
}

void TImage::mousePressEvent(QMouseEvent* event) {
    hintTimer_.stop();
    QToolTip::hideText();
    pressed_ = event->button() == Qt::LeftButton;
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
}

bool TImage::event(QEvent* event) {
    // The hint has its own timing; the platform's tooltip request is not used.
    if (event->type() == QEvent::ToolTip) return true;
    return QWidget::event(event);
}

void TImage::ShowHint() {
    if (hint_.isEmpty() || !isVisible()) return;
    QToolTip::showText(QCursor::pos(), hint_, this, rect(), kHintHide);
}

}  // namespace vesk
