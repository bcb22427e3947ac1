#pragma once
// Helpers for driving the forms as a user would: real mouse and key events
// through the window system layer (so modal blocking applies), and a watcher
// that deals with the next modal box.

#include <QMessageBox>
#include <QPalette>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <ostream>

class QWidget;

// Readable failure messages for the Qt values the tests compare.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QSize& size, std::ostream* out) {
    *out << size.width() << " x " << size.height();
}
inline void PrintTo(const QRect& rect, std::ostream* out) {
    *out << rect.x() << "," << rect.y() << " " << rect.width() << " x " << rect.height();
}
inline void PrintTo(const QColor& colour, std::ostream* out) {
    *out << "rgb(" << colour.red() << "," << colour.green() << "," << colour.blue() << ")";
}

namespace vesk {
class TAboutBox;
class TPagesDlg;
}

namespace vesk::test {

// A left click in the middle of the widget, delivered to its window.
void Click(QWidget* widget);
// A key press and release delivered to the window that holds the widget;
// the window's focus widget receives it.
void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void Type(QWidget* widget, const QString& text);

// What a modal box showed.
struct SeenBox {
    bool seen = false;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    int width = 0;
    QPalette palette;
    // The faces that the text and the OK button are drawn in.
    QString textFace;
    QString buttonFace;
};

// Runs action on the first modal window that appears within five seconds
// (from inside its modal loop). The watcher is cancelled when destroyed.
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<void(QWidget*)> action);
    ~ModalWatcher();
    bool Fired() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

// Watches for the next message box: records it and presses its OK button.
class BoxCloser {
public:
    BoxCloser();
    const SeenBox& Box() const { return *box_; }

private:
    std::shared_ptr<SeenBox> box_;
    ModalWatcher watcher_;
};

// A main dialog as start-up leaves it (splash without the wait), shown and
// active, with a lasting about box behind AboutBox.
class DialogFixture {
public:
    DialogFixture();
    ~DialogFixture();
    TPagesDlg& Dialog() { return *dialog_; }
    TAboutBox& About() { return *about_; }

private:
    std::unique_ptr<TPagesDlg> dialog_;
    std::unique_ptr<TAboutBox> about_;
};

}  // namespace vesk::test
