#include "forms/Placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <optional>

#include "forms/WindowManager.h"

namespace vesk {
namespace {

// How long a window that is about to be shown waits for the window manager to
// say which frame it will get.
constexpr std::chrono::milliseconds kFrameAnswerLimit{500};

// One axis: where the client area starts so that the frame, of the given
// leading and trailing widths, is centred on [start, start + length).
int CentredStart(int client, qreal leading, qreal trailing, int start, int length) {
    const qreal outer = client + leading + trailing;
    // Frame edge: the left-over space halved, the odd pixel after the window.
    const qreal edge = outer > length ? start : start + std::floor((length - outer) / 2);
    return static_cast<int>(std::lround(edge + leading));
}

bool OnX11() { return QGuiApplication::platformName() == QStringLiteral("xcb"); }

// The frame as the window manager says it is now, in Qt's pixels. On X11 only
// its own report counts: Qt's guess from the window tree is wrong while the
// window is not framed yet, and without any window manager.
std::optional<QMarginsF> CurrentFrame(const QWindow& window) {
    if (!OnX11()) return QMarginsF(window.frameMargins());
    const std::optional<QMargins> reported = ReportedFrameExtents(window);
    if (!reported) return std::nullopt;
    return QMarginsF(*reported) / window.devicePixelRatio();
}

// The frame that the window will get, before it is shown.
QMarginsF ExpectedFrame(const QWindow& window) {
    if (OnX11()) {
        std::optional<QMargins> extents = RequestFrameExtents(window, kFrameAnswerLimit);
        if (!extents) extents = ReportedFrameExtents(window);
        return extents ? QMarginsF(*extents) / window.devicePixelRatio() : QMarginsF();
    }
    return QMarginsF(window.frameMargins());
}

bool SameFrame(const QMarginsF& a, const QMarginsF& b) {
    const QMarginsF d = a - b;
    return std::abs(d.left()) < 0.5 && std::abs(d.top()) < 0.5 && std::abs(d.right()) < 0.5 &&
           std::abs(d.bottom()) < 0.5;
}

// Centres the window again when the frame it got differs from the one it was
// placed for, as long as it stands where it was put. Goes when the window is
// first hidden or has been moved by someone else.
class FrameCorrection : public QObject {
public:
    FrameCorrection(QWidget* window, QScreen* screen, const QMarginsF& frame, QPoint placed)
        : QObject(window), window_(window), screen_(screen), frame_(frame), placed_(placed) {
        window->installEventFilter(this);
        window->windowHandle()->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Hide:
                Done();
                break;
            case QEvent::Expose:
            case QEvent::Move:
            case QEvent::WindowActivate:
                Check();
                break;
            default:
                break;
        }
        return false;
    }

private:
    void Check() {
        QWindow* handle = window_->windowHandle();
        if (!handle || !screen_) return Done();
        const std::optional<QMarginsF> frame = CurrentFrame(*handle);
        if (!frame || SameFrame(*frame, frame_)) return;
        if (handle->position() != placed_) return Done();
        frame_ = *frame;
        placed_ = CentredClientPosition(window_->size(), frame_, screen_->availableGeometry());
        window_->setGeometry(QRect(placed_, window_->size()));
    }

    void Done() {
        window_->removeEventFilter(this);
        if (QWindow* handle = window_->windowHandle()) handle->removeEventFilter(this);
        deleteLater();
    }

    QWidget* window_;
    QPointer<QScreen> screen_;
    QMarginsF frame_;
    QPoint placed_;
};

}  // namespace

QPoint CentredClientPosition(QSize client, const QMarginsF& frame, const QRect& area) {
    return {CentredStart(client.width(), frame.left(), frame.right(), area.left(), area.width()),
            CentredStart(client.height(), frame.top(), frame.bottom(), area.top(), area.height())};
}

void CentreOnScreen(QWidget* window, QScreen* screen) {
    if (!screen) screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    window->winId();  // the window system's window, to ask about its frame
    QWindow* handle = window->windowHandle();
    if (!handle) return;
    const QMarginsF frame = ExpectedFrame(*handle);
    const QPoint placed = CentredClientPosition(window->size(), frame, screen->availableGeometry());
    // The client area's place: a position that includes the frame would be
    // turned into one with Qt's own guess at the frame, which is wrong before
    // the window manager has framed the window.
    window->setGeometry(QRect(placed, window->size()));
    new FrameCorrection(window, screen, frame, placed);
}

}  // namespace vesk
