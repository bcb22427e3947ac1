#include "forms/FormSupport.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

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

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

}  // namespace vesk
