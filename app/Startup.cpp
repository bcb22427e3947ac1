#include "app/Startup.h"

#include <QWidget>
#include <memory>

#include "app/Application.h"
#include "app/ErrorHandler.h"
#include "app/LastResort.h"
#include "textconv/DayAbbreviations.h"
#include "forms/AbutV310.h"
#include "forms/Icons.h"
#include "textconv/ErrorText.h"
#include "textconv/NumberFormat.h"

namespace vesk {

int RunProgram(TApplication& application, PagesDlgOptions options) {
    std::unique_ptr<TPagesDlg> dialog;
    std::unique_ptr<TAboutBox> about;
    try {
        ReadNumberFormatFromLocale();
        ReadDayAbbreviations();
        // The title captions the error boxes. The window system has no
        // taskbar text apart from the window's caption, which stays the dialog's.
        SetApplicationTitle(QString::fromUtf8(kApplicationTitle));
        application.setWindowIcon(ProgramWindowIcon());

        dialog = std::make_unique<TPagesDlg>(std::move(options));
        about = std::make_unique<TAboutBox>();
        AboutBox = about.get();
    } catch (...) {
        PagesDlg = nullptr;
        AboutBox = nullptr;
        about.reset();
        dialog.reset();
        return LastResortHandler(std::current_exception());
    }

    // The run loop: shows the dialog, destroys the released splash, then takes
    // one event at a time, sleeping while there is none, until the dialog closes.
    dialog->show();
    application.exec();

    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isWindow() && window->isVisible()) window->hide();
    AboutBox = nullptr;
    about.reset();
    dialog.reset();
    return 0;
}

}  // namespace vesk
