#pragma once
// What the forms share: the named colours, the three Japanese faces, and small
// helpers to place a control and give it a font.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <string>

class QWidget;

namespace vesk {

// The named colours of the layouts.
inline const QColor kBlack{0, 0, 0};
inline const QColor kWhite{255, 255, 255};
inline const QColor kRed{255, 0, 0};
inline const QColor kBlue{0, 0, 255};
inline const QColor kGreen{0, 128, 0};
inline const QColor kNavy{0, 0, 128};
inline const QColor kFuchsia{255, 0, 255};
inline const QColor kYellow{255, 255, 0};

// The light palette that the layouts' colours were chosen for: button face
// for windows and buttons, white fields with black text, a dark blue highlight
// with white text, and grey, white and dark grey for the 3-D edges. The same
// in the active and inactive windows; disabled texts are grey. The windows
// carry it themselves, so they look the same on every desktop theme.
QPalette LightPalette();

// Proportional Gothic, proportional Mincho and fixed-pitch Gothic.
enum class Face { PGothic, PMincho, Gothic };

struct FontSpec {
    Face face;
    int pixels;      // character height in pixels
    QColor colour;
    bool bold = false;
};

// The font with the face put in, its size and weight kept: for the windows
// that take the system's font size, such as the message boxes and menus.
QFont InFace(QFont font, Face face);

// Gives the widget the font and the text colour; its children inherit both
// unless they get their own.
void ApplyFont(QWidget* widget, const FontSpec& font);

// Names the widget and places it in its parent's client area.
void Place(QWidget* widget, const char* name, int left, int top, int width, int height);

// Field texts are UTF-8; these convert at the Qt boundary.
inline QString ToQt(const std::string& text) { return QString::fromStdString(text); }
inline std::string FromQt(const QString& text) { return text.toStdString(); }

}  // namespace vesk
