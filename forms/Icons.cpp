#include "forms/Icons.h"

// The XPM files are C arrays drawn by icons/make_icons.py, like the sizes of
// the program icon in icons/hicolor/ (compiled in through icons/icons.qrc).
#include "forms/icons/cat.xpm"
#include "forms/icons/program.xpm"

// The resources live in a static library: nothing would pull them into the
// program unless they are initialised by name. Outside any namespace, as Qt
// requires.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace vesk {

QPixmap ProgramIcon() { return QPixmap(program_xpm); }

QIcon ProgramWindowIcon() {
    InitIconResources();
    QIcon icon(ProgramIcon());
    for (const int size : {16, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/vesk310.png").arg(size), QSize(size, size));
    }
    return icon;
}

QPixmap CatOrnament() { return QPixmap(cat_xpm); }

}  // namespace vesk
