#include "japanese/WidthFold.h"

namespace vesk::japanese {
namespace {

// The ASCII character a three-byte UTF-8 sequence folds to, or 0 when it does
// not fold: b0 is its lead byte (0xE2, 0xE3 or 0xEF), b1 and b2 the two after it.
char FoldThreeBytes(unsigned char b0, unsigned char b1, unsigned char b2) noexcept {
    if (b0 == 0xEF) {
        // U+FF01..U+FF3F is EF BC 81..BF, U+FF40..U+FF5E is EF BD 80..9E.
        if (b1 == 0xBC && b2 >= 0x81 && b2 <= 0xBF) return static_cast<char>(0x21 + (b2 - 0x81));
        if (b1 == 0xBD && b2 >= 0x80 && b2 <= 0x9E) return static_cast<char>(0x60 + (b2 - 0x80));
        if (b1 == 0xBD && b2 == 0xB0) return '-';  // U+FF70 half-width prolonged sound mark
        return 0;
    }
    if (b0 == 0xE3) {
        if (b1 == 0x80 && b2 == 0x80) return ' ';  // U+3000 ideographic space
        if (b1 == 0x80 && b2 == 0x81) return ',';  // U+3001 ideographic comma
        if (b1 == 0x83 && b2 == 0xBC) return '-';  // U+30FC prolonged sound mark
        return 0;
    }
    if (b0 == 0xE2) {
        // U+2010..U+2015 hyphens and dashes
        if (b1 == 0x80 && b2 >= 0x90 && b2 <= 0x95) return '-';
        if (b1 == 0x88 && b2 == 0x92) return '-';  // U+2212 minus sign
    }
    return 0;
}

// Folds `text` into `out` (room for text.size() bytes at least); returns the size written.
std::size_t Fold(std::string_view text, char* out) noexcept {
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        if ((b0 == 0xE2 || b0 == 0xE3 || b0 == 0xEF) && i + 2 < text.size()) {
            const char folded = FoldThreeBytes(b0, static_cast<unsigned char>(text[i + 1]),
                                               static_cast<unsigned char>(text[i + 2]));
            if (folded != 0) {
                out[n++] = folded;
                i += 3;
                continue;
            }
        }
        out[n++] = text[i++];
    }
    return n;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) noexcept {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) noexcept {
    if (text.size() != lower.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c =
            text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (c != lower[i]) return false;
    }
    return true;
}

void AppendFolded(std::string& out, std::string_view text) {
    const std::size_t start = out.size();
    out.resize(start + text.size());
    out.resize(start + Fold(text, out.data() + start));
}

FoldedText::FoldedText(std::string_view text) noexcept {
    if (text.size() > kRoom) return;
    size_ = Fold(text, buffer_.data());
    fits_ = true;
}

}  // namespace vesk::japanese
