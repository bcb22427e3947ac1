#pragma once
// The application's message boxes (the error handler's and the last-resort
// box): the forms' light palette, wide enough for a window manager's title bar
// to show the caption in full, a close box only, transient for the window that
// owns them, and centred on a screen from the moment they are shown.

#include <QMessageBox>
#include <QPointer>

class QScreen;

namespace vesk {

inline constexpr int kMessageBoxMinWidth = 300;

class TMessageBox : public QMessageBox {
public:
    // One OK button. Without an owner the box stands alone; without a screen
    // it is centred on its owner's, or on the primary screen.
    TMessageBox(Icon icon, const QString& caption, const QString& text, QWidget* owner = nullptr,
                QScreen* screen = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPointer<QWidget> owner_;
    QPointer<QScreen> screen_;
    bool placed_ = false;
};

}  // namespace vesk
