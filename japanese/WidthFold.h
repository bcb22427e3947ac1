#pragma once
// The one place where the forms an input method types are folded to ASCII:
// full-width ASCII (U+FF01 to U+FF5E: digits, letters, "－", "／", "．", "，"),
// the ideographic space and comma (U+3000 to " ", U+3001 to ","), and the
// dashes a Japanese input method gives for "-" (ー U+30FC, ｰ U+FF70, − U+2212,
// and U+2010 to U+2015). Everything else is copied byte for byte, so a fold
// never makes a text longer. Also the two small checks every reader of typed
// texts shares.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vesk::japanese {

// Appends the folded form of `text` to `out`. Raises nothing but for memory.
void AppendFolded(std::string& out, std::string_view text);

// `text` without the blanks (spaces, tabs, carriage returns) at its ends.
std::string_view TrimBlanks(std::string_view text) noexcept;

// Whether `text` equals `lower` (all lower-case ASCII) but for the case of
// its ASCII letters.
bool EqualsIgnoringCase(std::string_view text, std::string_view lower) noexcept;

// The folded form of a short text, in a buffer of its own (no allocation).
// A text longer than kRoom bytes is not folded: fits() is false and view()
// empty. Callers use it for texts that are refused anyway when that long.
class FoldedText {
  public:
    static constexpr std::size_t kRoom = 128;

    explicit FoldedText(std::string_view text) noexcept;
    bool fits() const noexcept { return fits_; }
    std::string_view view() const noexcept { return {buffer_.data(), size_}; }

  private:
    std::array<char, kRoom> buffer_;
    std::size_t size_ = 0;
    bool fits_ = false;
};

}  // namespace vesk::japanese
