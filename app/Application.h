#pragma once
// The application object: every event is delivered through notify, which
// hands whatever escapes an event handler to the application error handler
// and goes on with the next event.

#include <QApplication>

namespace vesk {

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

protected:
    bool event(QEvent* event) override;
};

}  // namespace vesk
