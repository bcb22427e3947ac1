#pragma once
// How a failure becomes the text of a box: the application error handler's
// box and the last-resort box. The boxes themselves belong to the desktop
// program; these functions only compose their texts.

#include <cstdint>
#include <string>

namespace vesk {

// The application title: caption of the taskbar button and of every error box.
inline constexpr const char* kApplicationTitle = "  Zelmoro VESK_310";
// Caption of the last-resort box.
inline constexpr const char* kLastResortCaption = "アプリケーション エラー";

// The text of the application error handler's box for a failure message:
// a "." is appended when the message is not empty and its last character
// compares greater than "." (every letter, digit and Japanese character does;
// ".", blank, "!", "'", ")", ",", "-" and the other bytes up to 2E hex do not).
// Never fails.
std::string ShowFailureText(const std::string& message);

// The text of the last-resort box:
// "Exception <class> in module <module> at <8 hex digits>.\n<message>[.]",
// where "." is appended when the message is not empty and its last byte is not
// ".". Cut at 1023 bytes (never inside a UTF-8 character). Never fails.
std::string LastResortText(const std::string& className, const std::string& moduleName,
                           std::uint32_t offset, const std::string& message);

}  // namespace vesk
