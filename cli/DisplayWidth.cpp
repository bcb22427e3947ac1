#include "cli/DisplayWidth.h"

#include <algorithm>

#if defined(VESK310_UTF8PROC)
#include <utf8proc.h>
#endif

namespace vesk::cli {

int DisplayWidth(std::string_view text) {
#if defined(VESK310_UTF8PROC)
    int width = 0;
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    auto left = static_cast<utf8proc_ssize_t>(text.size());
    while (left > 0) {
        utf8proc_int32_t code = 0;
        utf8proc_ssize_t length = utf8proc_iterate(bytes, left, &code);
        if (length <= 0) {  // a byte that starts no character: one column, as a replacement
            length = 1;
            width += 1;
        } else {
            width += utf8proc_charwidth(code);
        }
        bytes += length;
        left -= length;
    }
    return width;
#else
    // The cross builds have no utf8proc: two columns for each East Asian wide
    // or full-width character, one for any other.
    int width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        }
        const bool wide =
            (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
            (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
            (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
            (code >= 0xFFE0 && code <= 0xFFE6) || code >= 0x20000;
        width += wide ? 2 : 1;
        i += length;
    }
    return width;
#endif
}

std::string PadLeft(std::string_view text, int width) {
    std::string padded(static_cast<std::size_t>(std::max(width - DisplayWidth(text), 0)), ' ');
    padded += text;
    return padded;
}

}  // namespace vesk::cli
