#include "forms/HandlerGuard.h"

#include <atomic>

namespace vesk {
namespace {

std::atomic<FailureHandler> installed{nullptr};

}  // namespace

void InstallFailureHandler(FailureHandler handler) noexcept { installed.store(handler); }

void HandleFailure(std::exception_ptr caught) noexcept {
    const FailureHandler handler = installed.load();
    if (handler == nullptr) std::terminate();
    handler(std::move(caught));
}

}  // namespace vesk
