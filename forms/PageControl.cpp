#include "forms/PageControl.h"

#include <QEvent>
#include <QStackedWidget>
#include <algorithm>

namespace vesk {
namespace {

// The gap between a page and the control's left, right and bottom edges.
constexpr int kPageInset = 4;

}  // namespace

TPageControl::TPageControl(QWidget* parent, QSize pageSize)
    : QTabWidget(parent), pageSize_(pageSize) {
    // The style places the page stack; the stack lays out the shown page
    // within its margins, which FitPages sets whenever the stack moves.
    stack_ = findChild<QStackedWidget*>();
    if (stack_) stack_->installEventFilter(this);
}

QRect TPageControl::PageRect() const {
    return QRect(QPoint(kPageInset, height() - kPageInset - pageSize_.height()), pageSize_);
}

bool TPageControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == stack_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        FitPages();
    return QTabWidget::eventFilter(watched, event);
}

void TPageControl::FitPages() {
    const QRect area = stack_->geometry();
    const QRect page = PageRect();
    stack_->setContentsMargins(
        std::max(page.left() - area.left(), 0), std::max(page.top() - area.top(), 0),
        std::max(area.right() - page.right(), 0), std::max(area.bottom() - page.bottom(), 0));
}

}  // namespace vesk
