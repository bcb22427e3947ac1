#include "app/ErrorHandler.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <new>

#include "app/MessageBox.h"
#include "forms/MainV310.h"
#include "textconv/ErrorText.h"
#include "textconv/Failures.h"
#include "textconv/FloatEnvironment.h"

namespace vesk {
namespace {

QString& Title() {
    static QString title = QString::fromUtf8(kApplicationTitle);
    return title;
}

}  // namespace

void SetApplicationTitle(const QString& title) { Title() = title; }

const QString& ApplicationTitle() { return Title(); }

void RethrowAsFailure(std::exception_ptr caught) {
    try {
        std::rethrow_exception(caught);
    } catch (const Exception&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw OutOfMemoryFailure();
    } catch (const std::exception& other) {
        throw Exception(other.what());
    } catch (...) {
        throw Exception("");
    }
}

void ApplicationErrorHandler(std::exception_ptr caught) noexcept {
    try {
        if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
        try {
            RethrowAsFailure(caught);
        } catch (const EAbort&) {
            return;
        } catch (const Exception& failure) {
            // Failures of the processor or the system leave the unit as at start-up.
            if (dynamic_cast<const EExternal*>(&failure) || dynamic_cast<const EHeapException*>(&failure))
                ResetFloatEnvironment();
            ShowFailure(failure);
        }
    } catch (...) {
        // Showing the box failed as well; there is nobody left to tell.
    }
}

void ShowFailure(const Exception& failure) {
    ApplicationMessageBox(QString::fromStdString(ShowFailureText(failure.Message())),
                          ApplicationTitle(), QMessageBox::Critical);
}

QMessageBox::StandardButton ApplicationMessageBox(const QString& text, const QString& caption,
                                                  QMessageBox::Icon icon) {
    QPointer<QWidget> active = QApplication::activeWindow();
    // Over the active window, else over the main dialog while it is shown.
    QWidget* owner = active ? active.data() : PagesDlg;
    TMessageBox box(icon, caption, text, owner);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.setWindowModality(Qt::ApplicationModal);
    const auto result = static_cast<QMessageBox::StandardButton>(box.exec());
    if (active) active->activateWindow();
    return result;
}

}  // namespace vesk
