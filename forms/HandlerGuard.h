#pragma once
// Every event handler of the forms runs through Guarded: a failure ends the
// handler at once and goes to the failure handler that start-up installs.
// Nothing may unwind through Qt's own frames, so the failure stops here.

#include <exception>

namespace vesk {

using FailureHandler = void (*)(std::exception_ptr caught) noexcept;

// Installs the handler that Guarded hands every failure to (the application
// installs its error handler once, when it is created). Never fails.
void InstallFailureHandler(FailureHandler handler) noexcept;

// Hands a caught failure to the installed handler. Without one, nothing could
// show the failure, so the program ends (std::terminate).
void HandleFailure(std::exception_ptr caught) noexcept;

// Runs an event handler; what fails in it goes to the installed failure handler.
template <class Handler>
void Guarded(Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        HandleFailure(std::current_exception());
    }
}

}  // namespace vesk
