#pragma once
// The failure classes. Every failure carries one message text (UTF-8), fixed
// when the object is created; nothing in the calculations catches them, the two
// catchers of the desktop program show them.

#include <exception>
#include <string>

namespace vesk {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    // The class name as the user sees it in the last-resort box ("EConvertError").
    virtual const char* ClassName() const noexcept { return "Exception"; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

#define VESK_FAILURE_CLASS(Name, Base)                                      \
    class Name : public Base {                                              \
    public:                                                                 \
        using Base::Base;                                                   \
        const char* ClassName() const noexcept override { return #Name; }   \
    }

VESK_FAILURE_CLASS(EConvertError, Exception);
VESK_FAILURE_CLASS(EAbort, Exception);
VESK_FAILURE_CLASS(EExternal, Exception);
VESK_FAILURE_CLASS(EMathError, EExternal);
VESK_FAILURE_CLASS(EHeapException, Exception);
VESK_FAILURE_CLASS(EOutOfMemory, EHeapException);
VESK_FAILURE_CLASS(EOutOfResources, EOutOfMemory);
VESK_FAILURE_CLASS(EStreamError, Exception);
VESK_FAILURE_CLASS(EFilerError, EStreamError);
VESK_FAILURE_CLASS(EReadError, EFilerError);

#undef VESK_FAILURE_CLASS

// The floating-point failures carry fixed messages.
class EOverflow : public EMathError {
public:
    EOverflow();
    const char* ClassName() const noexcept override { return "EOverflow"; }
};
class EInvalidOp : public EMathError {
public:
    EInvalidOp();
    const char* ClassName() const noexcept override { return "EInvalidOp"; }
};
class EZeroDivide : public EMathError {
public:
    EZeroDivide();
    const char* ClassName() const noexcept override { return "EZeroDivide"; }
};

// Fixed message texts.
inline constexpr const char* kOverflowMessage = "浮動小数点数のオーバーフロー";
inline constexpr const char* kInvalidOpMessage = "不正な浮動小数点数演算命令";
inline constexpr const char* kZeroDivideMessage = "0 による浮動小数点数除算";
inline constexpr const char* kOutOfMemoryMessage = "メモリが足りません";
inline constexpr const char* kTimerRefusedMessage = "タイマーを取得できません";
inline constexpr const char* kInvalidDateMessage = "日付に変換できない値が渡されました";

// The one memory failure of the program, created at start-up with its message.
// The catchers turn std::bad_alloc into it.
const EOutOfMemory& OutOfMemoryFailure();

// Wraps a failure met while a form's layout sets a property:
// "<component>.<property> の読み込み中のエラー : <inner message>".
EReadError MakeReadError(const std::string& component, const std::string& property,
                         const std::string& innerMessage);

}  // namespace vesk
