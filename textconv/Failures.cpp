#include "textconv/Failures.h"

namespace vesk {

EOverflow::EOverflow() : EMathError(kOverflowMessage) {}
EInvalidOp::EInvalidOp() : EMathError(kInvalidOpMessage) {}
EZeroDivide::EZeroDivide() : EMathError(kZeroDivideMessage) {}

const EOutOfMemory& OutOfMemoryFailure() {
    // Created once, before memory can run out, and raised by reference after.
    static const EOutOfMemory failure(kOutOfMemoryMessage);
    return failure;
}

EReadError MakeReadError(const std::string& component, const std::string& property,
                         const std::string& innerMessage) {
    return EReadError(component + "." + property + " の読み込み中のエラー : " + innerMessage);
}

}  // namespace vesk
