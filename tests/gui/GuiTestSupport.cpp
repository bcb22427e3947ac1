#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "forms/AbutV310.h"
#include "forms/MainV310.h"

namespace vesk::test {

void Click(QWidget* widget) {
    QWidget* window = widget->window();
    const QPoint at = widget->mapTo(window, widget->rect().center());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}

void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(widget->window()->windowHandle(), static_cast<Qt::Key>(key), modifiers);
}

void Type(QWidget* widget, const QString& text) {
    for (QChar c : text) QTest::keyClick(widget->window()->windowHandle(), c.toLatin1());
}

struct ModalWatcher::State {
    std::function<void(QWidget*)> action;
    QTimer timer;
    int polls = 0;
    bool fired = false;
};

ModalWatcher::ModalWatcher(std::function<void(QWidget*)> action) : state_(std::make_shared<State>()) {
    state_->action = std::move(action);
    state_->timer.setInterval(10);
    std::weak_ptr<State> weak = state_;
    QObject::connect(&state_->timer, &QTimer::timeout, [weak] {
        auto state = weak.lock();
        if (!state) return;
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            state->timer.stop();
            state->fired = true;
            state->action(modal);
        } else if (++state->polls > 500) {
            state->timer.stop();
        }
    });
    state_->timer.start();
}

ModalWatcher::~ModalWatcher() { state_->timer.stop(); }

bool ModalWatcher::Fired() const { return state_->fired; }

BoxCloser::BoxCloser()
    : box_(std::make_shared<SeenBox>()), watcher_([box = box_](QWidget* modal) {
          auto* messageBox = qobject_cast<QMessageBox*>(modal);
          box->seen = true;
          box->caption = modal->windowTitle();
          box->width = modal->width();
          box->palette = modal->palette();
          if (!messageBox) return;
          box->text = messageBox->text();
          box->icon = messageBox->icon();
          box->buttons = static_cast<int>(messageBox->buttons().size());
          if (auto* label = messageBox->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
              box->textFace = QFontInfo(label->font()).family();
          if (QAbstractButton* ok = messageBox->button(QMessageBox::Ok)) {
              box->buttonFace = QFontInfo(ok->font()).family();
              Click(ok);
          }
      }) {}

DialogFixture::DialogFixture() {
    PagesDlgOptions options;
    options.splashWait = [] {};
    dialog_ = std::make_unique<TPagesDlg>(options);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the splash
    about_ = std::make_unique<TAboutBox>();
    AboutBox = about_.get();
    dialog_->show();
    dialog_->activateWindow();
    (void)QTest::qWaitForWindowActive(dialog_.get());
}

DialogFixture::~DialogFixture() {
    AboutBox = nullptr;
    about_.reset();
    dialog_.reset();
}

}  // namespace vesk::test
