#pragma once
// An image: draws a picture at its own size from the top-left corner, reports
// clicks, and shows its hint after the pointer has rested on it for a while.

#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace vesk {

class TImage : public QWidget {
    Q_OBJECT
public:
    // Hint timing: shown after the pointer has rested this long, hidden this
    // long after it appeared.
    static constexpr int kHintPause = 500;
    static constexpr int kHintHide = 2500;

    TImage(QWidget* parent, const QPixmap& picture);

    void SetHint(const QString& hint) { hint_ = hint; }
    const QString& Hint() const { return hint_; }
    // True while the hint is waiting for the pointer to rest.
    bool HintPending() const { return hintTimer_.isActive(); }
    // True when a handler is bound to the clicks.
    bool Clickable() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void ShowHint();

    QPixmap picture_;
    QString hint_;
    QTimer hintTimer_;
    bool pressed_ = false;
};

}  // namespace vesk
