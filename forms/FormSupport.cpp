#include "forms/FormSupport.h"

#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace vesk {
namespace {

QString FamilyOf(Face face) {
    switch (face) {
    case Face::PGothic: return QStringLiteral("IPAPGothic");
    case Face::PMincho: return QStringLiteral("IPAPMincho");
    case Face::Gothic: return QStringLiteral("IPAGothic");
    }
    return {};
}

}  // namespace

QPalette LightPalette() {
    const QColor face(212, 208, 200);
    const QColor shadow(128, 128, 128);
    QPalette palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const QColor text = disabled ? shadow : kBlack;
        palette.setColor(group, QPalette::Window, face);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Base, kWhite);
        palette.setColor(group, QPalette::AlternateBase, face);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::PlaceholderText, shadow);
        palette.setColor(group, QPalette::Button, face);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::BrightText, kWhite);
        palette.setColor(group, QPalette::Light, kWhite);
        palette.setColor(group, QPalette::Midlight, face);
        palette.setColor(group, QPalette::Mid, QColor(160, 160, 160));
        palette.setColor(group, QPalette::Dark, shadow);
        palette.setColor(group, QPalette::Shadow, QColor(64, 64, 64));
        palette.setColor(group, QPalette::Highlight, disabled ? shadow : QColor(10, 36, 106));
        palette.setColor(group, QPalette::HighlightedText, kWhite);
        palette.setColor(group, QPalette::ToolTipBase, QColor(255, 255, 225));
        palette.setColor(group, QPalette::ToolTipText, kBlack);
        palette.setColor(group, QPalette::Link, kBlue);
        palette.setColor(group, QPalette::LinkVisited, QColor(128, 0, 128));
    }
    return palette;
}

void ApplyFont(QWidget* widget, const FontSpec& wanted) {
    QFont font(FamilyOf(wanted.face));
    font.setStyleHint(wanted.face == Face::PMincho ? QFont::Serif : QFont::SansSerif);
    if (wanted.face == Face::Gothic) font.setFixedPitch(true);
    font.setPixelSize(wanted.pixels);
    font.setBold(wanted.bold);
    widget->setFont(font);

    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::All, role, wanted.colour);
    widget->setPalette(palette);
}

void Place(QWidget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
}

namespace {

void MoveFrameToCentre(QWidget* window, const QScreen* screen) {
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());  // a window's position is its frame's
}

// A window manager adds its frame once the window is on the screen, and only
// then reports its extents. This watcher centres the window again, frame
// included, as soon as a frame shows: at the window's first exposure, move,
// activation or paint after that. It goes when the window is first hidden, so
// later positions stay the user's.
class FrameCentring : public QObject {
public:
    FrameCentring(QWidget* window, QScreen* screen)
        : QObject(window), window_(window), screen_(screen) {
        window->installEventFilter(this);
        if (QWindow* handle = window->windowHandle()) handle->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Hide:
                Done();
                break;
            case QEvent::Expose:
            case QEvent::Move:
            case QEvent::Paint:
            case QEvent::WindowActivate:
                if (window_->frameGeometry() != window_->geometry()) {
                    if (screen_) MoveFrameToCentre(window_, screen_);
                    Done();
                }
                break;
            default:
                break;
        }
        return false;
    }

private:
    void Done() {
        window_->removeEventFilter(this);
        if (QWindow* handle = window_->windowHandle()) handle->removeEventFilter(this);
        deleteLater();
    }

    QWidget* window_;
    QPointer<QScreen> screen_;
};

}  // namespace

void CentreOnScreen(QWidget* window, QScreen* screen) {
    if (!screen) screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    MoveFrameToCentre(window, screen);
    if (window->frameGeometry() == window->geometry()) new FrameCentring(window, screen);
}

}  // namespace vesk
