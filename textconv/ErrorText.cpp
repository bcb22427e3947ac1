#include "textconv/ErrorText.h"

#include <cstdio>

namespace vesk {

std::string ShowFailureText(const std::string& message) {
    // In UTF-8 the last byte of a multi-byte character is at least 80 hex, so
    // comparing the last byte decides exactly as comparing the last character.
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    return text;
}

std::string LastResortText(const std::string& className, const std::string& moduleName,
                           std::uint32_t offset, const std::string& message) {
    char address[9];
    std::snprintf(address, sizeof address, "%08X", static_cast<unsigned>(offset));
    std::string text = "Exception " + className + " in module " + moduleName + " at " +
                       address + ".\n" + message;
    if (!message.empty() && message.back() != '.') text += '.';
    constexpr std::size_t kLimit = 1023;
    if (text.size() > kLimit) {
        std::size_t cut = kLimit;
        // Back up over continuation bytes so that no character is split.
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text.resize(cut);
    }
    return text;
}

}  // namespace vesk
