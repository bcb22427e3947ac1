#pragma once
// Which decimal separators the calculator takes from its user.

#include <string_view>

namespace vesk::cli {

// True for exactly one printable ASCII byte that cannot be part of a number
// text: not a digit, a sign, a blank, "e"/"E" (exponent), "$" or "x"/"X"
// (hexadecimal forms). Any other separator would make number texts ambiguous
// or the answers invalid UTF-8.
constexpr bool IsUsableSeparator(std::string_view text) noexcept {
    if (text.size() != 1) return false;
    const char c = text[0];
    if (c <= ' ' || c >= 0x7F) return false;  // controls, the blank, DEL, non-ASCII
    if (c >= '0' && c <= '9') return false;
    switch (c) {
        case '+': case '-': case 'e': case 'E': case '$': case 'x': case 'X': return false;
        default: return true;
    }
}

}  // namespace vesk::cli
