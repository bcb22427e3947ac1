#pragma once
// The last-resort handler: for a failure that escapes start-up itself.

#include <exception>

namespace vesk {

// Shows the failure in a task-modal box captioned "アプリケーション エラー"
// with its class, the program's file name and the offset of the start-up code
// in it, and returns the exit code 1 for the process to end with.
int LastResortHandler(std::exception_ptr caught) noexcept;

}  // namespace vesk
