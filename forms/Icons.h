#pragma once
// The program's own 32 x 32, 16-colour pictures.

#include <QPixmap>

namespace vesk {

// The program icon: the main dialog's and the about box's.
QPixmap ProgramIcon();
// The cat ornament shown on the date-after page.
QPixmap CatOrnament();

}  // namespace vesk
