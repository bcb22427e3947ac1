#pragma once
// The program's own pictures: 32 x 32, 16 colours, and the program icon's
// larger sizes for the window system.

#include <QIcon>
#include <QPixmap>

namespace vesk {

// The program icon as the about box draws it: 32 x 32.
QPixmap ProgramIcon();
// The program icon for windows: the 32 x 32 picture with its 16, 48, 64, 128
// and 256 pixel sizes, so that a large or HiDPI display picks a sharp one.
QIcon ProgramWindowIcon();
// The cat ornament shown on the date-after page.
QPixmap CatOrnament();

}  // namespace vesk
