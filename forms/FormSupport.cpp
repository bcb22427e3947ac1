#include "forms/FormSupport.h"

#include <QFont>
#include <QPalette>
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

QFont InFace(QFont font, Face face) {
    font.setFamilies({FamilyOf(face)});
    font.setStyleHint(face == Face::PMincho ? QFont::Serif : QFont::SansSerif);
    font.setFixedPitch(face == Face::Gothic);
    return font;
}

void ApplyFont(QWidget* widget, const FontSpec& wanted) {
    QFont font = InFace(QFont(), wanted.face);
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

}  // namespace vesk
