#pragma once
// Filling a fixed message pattern with a field text.

#include <string>
#include <string_view>

namespace vesk {

// The pattern with its "%s" replaced by the text exactly as given: nothing
// trimmed or escaped. A pattern without "%s" is returned unchanged.
inline std::string FillMessage(const std::string& pattern, std::string_view text) {
    const std::size_t at = pattern.find("%s");
    if (at == std::string::npos) return pattern;
    std::string message = pattern;
    message.replace(at, 2, text);
    return message;
}

}  // namespace vesk
