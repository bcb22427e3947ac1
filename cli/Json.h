#pragma once
// JSON text as the calculator writes it: strings, numbers, and the members of
// an answer's "values", appended straight to an output buffer.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vesk::cli {

// The length of the well-formed UTF-8 sequence (no overlong forms, no
// surrogates, nothing beyond U+10FFFF) that starts at p[0] >= 0x80; 0 when
// there is none. Reads no further than `end`.
std::size_t Utf8SequenceLength(const unsigned char* p, const unsigned char* end) noexcept;

// A JSON string literal of `text`: UTF-8 kept as it is; the control
// characters, the quote and the backslash escaped (the short forms where JSON
// has them, else \u00XX); each byte that starts no well-formed UTF-8 sequence
// replaced by U+FFFD. Raises std::bad_alloc.
void AppendQuoted(std::string& out, std::string_view text);

// The same for a text known to be well-formed UTF-8, such as what the batch
// reader has checked and the sentences composed of it: nothing is checked or
// replaced, only escaped, eight bytes at a time. Raises std::bad_alloc.
void AppendQuotedUtf8(std::string& out, std::string_view text);
// ... without the quotes.
void AppendEscapedUtf8(std::string& out, std::string_view text);
// Escapes, in place, what `out` holds from byte `from` on, which is
// well-formed UTF-8. Raises std::bad_alloc.
void EscapeTail(std::string& out, std::size_t from);

// A finite 64-bit real as a JSON number: the shortest text that reads back as
// the same value ("364", "0.5", "9.9173912771872e+22"); a negative zero is
// written "0". Raises std::bad_alloc.
void AppendNumber(std::string& out, double value);
void AppendNumber(std::string& out, std::int64_t value);

// A date as the ISO text YYYY-MM-DD (years 1 to 9999), quoted.
void AppendIsoDate(std::string& out, std::chrono::year_month_day date);

// Writes the members of a JSON object, or the elements of an array, into
// `out`, with ", " between them: the caller writes the brackets. Names are
// plain ASCII literals of the calculator's own, of at most 32 bytes, and are
// written unescaped.
class JsonMembers {
  public:
    explicit JsonMembers(std::string& out) : out_(out) {}

    JsonMembers& Number(std::string_view name, double value);
    JsonMembers& Integer(std::string_view name, std::int64_t value);
    JsonMembers& Boolean(std::string_view name, bool value);
    JsonMembers& String(std::string_view name, std::string_view value);
    JsonMembers& Date(std::string_view name, std::chrono::year_month_day value);
    JsonMembers& Null(std::string_view name);
    // Starts a member whose value the caller writes into Out() next.
    std::string& Raw(std::string_view name);
    // An element of an array: what follows is written by the caller.
    std::string& Element();
    std::string& Out() { return out_; }

    // The longest name, with its quotes, the colon and the comma before it.
    static constexpr std::size_t kMaxName = 40;

  private:
    char* Name(char* p, std::string_view name);
    JsonMembers& Literal(std::string_view name, std::string_view literal);

    std::string& out_;
    bool first_ = true;
};

}  // namespace vesk::cli
