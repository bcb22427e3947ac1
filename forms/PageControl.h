#pragma once
// A tab control whose pages all have one fixed size, whatever the style makes
// of the tab row and the frame: each page stands 4 pixels in from the control's
// left, right and bottom edges, as the layout's pages do.

#include <QSize>
#include <QTabWidget>

class QStackedWidget;

namespace vesk {

class TPageControl : public QTabWidget {
    Q_OBJECT
public:
    TPageControl(QWidget* parent, QSize pageSize);

    // Where a page stands in the control, in the control's coordinates.
    QRect PageRect() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Puts the pages on PageRect, as far as the style's page area allows.
    void FitPages();

    QSize pageSize_;
    QStackedWidget* stack_ = nullptr;
};

}  // namespace vesk
