#pragma once
// The application error handler: every failure that escapes an event handler
// ends up here, is shown in a box captioned with the application title, and
// the program goes on with the next event.

#include <QMessageBox>
#include <QString>
#include <exception>

namespace vesk {

class Exception;

// The caption of the error boxes; start-up sets it before any form exists.
void SetApplicationTitle(const QString& title);
const QString& ApplicationTitle();

// Turns what was caught into the failure object that is shown: a
// std::bad_alloc becomes the one memory failure, any other exception a
// failure with its text.
void RethrowAsFailure(std::exception_ptr caught);

// Cancels a mouse capture, drops an EAbort silently, and shows anything else.
// Puts the floating-point unit back to its start-up settings after a
// floating-point or system failure. Never fails.
void ApplicationErrorHandler(std::exception_ptr caught) noexcept;

// The box of the application error handler: the message with the "." rule,
// the application title, the stop icon and one OK button.
void ShowFailure(const Exception& failure);

// A modal box over the whole application, transient for the active window
// (the main dialog when none is active) and shown on its monitor; the active
// window is active again afterwards.
QMessageBox::StandardButton ApplicationMessageBox(const QString& text, const QString& caption,
                                                  QMessageBox::Icon icon);

}  // namespace vesk
