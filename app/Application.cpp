#include "app/Application.h"

#include <QLibraryInfo>
#include <QLocale>

#include "app/ErrorHandler.h"
#include "calendar/CalendarAccessible.h"
#include "forms/Accessible.h"
#include "forms/FormSupport.h"
#include "forms/HandlerGuard.h"
#include "textconv/DayAbbreviations.h"
#include "textconv/NumberFormat.h"

namespace vesk {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The program's name for the window system. No display name: the window
    // system would append it to every window caption.
    setApplicationName(QStringLiteral("vesk310"));
    setDesktopFileName(QStringLiteral("org.zelmoro.vesk310"));
    // The windows carry the light palette themselves; the rest (menus and
    // other pop-ups) gets it from here, whatever the desktop theme.
    setPalette(LightPalette());
    // What takes the system's font (the message boxes, the edit fields' menu,
    // the hints) takes it in the forms' proportional Gothic: a Japanese
    // desktop's default face may be a fixed-pitch one.
    setFont(InFace(font(), Face::PGothic));
    LoadQtTranslation(QLocale());
    // Screen readers read the month grid as a table, the image and the dialog.
    InstallCalendarAccessibility();
    InstallFormsAccessibility();
    // The forms hand every failure of their handlers to the error handler.
    InstallFailureHandler(&ApplicationErrorHandler);
}

bool TApplication::LoadQtTranslation(const QLocale& locale) {
    removeTranslator(&qtTranslation_);
    if (!qtTranslation_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    installTranslator(&qtTranslation_);
    return true;
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ApplicationErrorHandler(std::current_exception());
        return true;  // the interrupted event counts as handled
    }
}

bool TApplication::event(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) {
        ReadNumberFormatFromLocale();
        ReadDayAbbreviations();
    }
    return QApplication::event(event);
}

}  // namespace vesk
