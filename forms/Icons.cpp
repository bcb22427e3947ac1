#include "forms/Icons.h"

// The XPM files are C arrays drawn by icons/make_icons.py.
#include "forms/icons/cat.xpm"
#include "forms/icons/program.xpm"

namespace vesk {

QPixmap ProgramIcon() { return QPixmap(program_xpm); }

QPixmap CatOrnament() { return QPixmap(cat_xpm); }

}  // namespace vesk
