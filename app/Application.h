#pragma once
// The application object: every event is delivered through notify, which
// hands whatever escapes an event handler to the application error handler
// and goes on with the next event.

#include <QApplication>
#include <QTranslator>

class QLocale;

namespace vesk {

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Qt's own texts (the edit fields' menu, the message boxes' buttons) in
    // the language of the locale, as far as Qt's translations have it; in
    // English otherwise. The application does this for the user's locale when
    // it starts. True when a translation was found.
    bool LoadQtTranslation(const QLocale& locale);

protected:
    bool event(QEvent* event) override;

private:
    QTranslator qtTranslation_;
};

}  // namespace vesk
