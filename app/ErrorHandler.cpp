#include "app/ErrorHandler.h"

#include <QApplication>
#include <QGridLayout>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <new>

#include "forms/FormSupport.h"
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

void PrepareMessageBox(QMessageBox& box) {
    box.setPalette(LightPalette());
    // The box sizes itself to its layout; a spacer across the layout's bottom
    // row sets the least width.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const QMargins margins = grid->contentsMargins();
        const int width = kMessageBoxMinWidth - margins.left() - margins.right();
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

QMessageBox::StandardButton ApplicationMessageBox(const QString& text, const QString& caption,
                                                  QMessageBox::Icon icon) {
    QPointer<QWidget> active = QApplication::activeWindow();
    QMessageBox box(icon, caption, text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.setWindowModality(Qt::ApplicationModal);
    PrepareMessageBox(box);
    if (active && active->screen()) {
        box.setScreen(active->screen());
        box.adjustSize();
        CentreOnScreen(&box, active->screen());
    }
    const auto result = static_cast<QMessageBox::StandardButton>(box.exec());
    if (active) active->activateWindow();
    return result;
}

}  // namespace vesk
