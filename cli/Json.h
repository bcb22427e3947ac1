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

// A date as the ISO text YYYY-MM-DD (years 1 to 9999), quoted; at `p`, which
// has room for kIsoDateRoom bytes, returning the end.
void AppendIsoDate(std::string& out, std::chrono::year_month_day date);
inline constexpr std::size_t kIsoDateRoom = 12;
char* WriteIsoDate(char* p, std::chrono::year_month_day date) noexcept;

// Writes a number's JSON text at `p`, which has room for kNumberRoom bytes;
// returns the end. AppendNumber's texts.
inline constexpr std::size_t kNumberRoom = 32;
char* WriteNumber(char* p, double value) noexcept;
char* WriteInteger(char* p, std::int64_t value) noexcept;

// Writes the members of a JSON object, or the elements of an array, into
// `out`, with ", " between them: the caller writes the brackets. Names are
// the calculator's own plain ASCII literals and are written unescaped; each
// member is composed on the stack and appended at once, as the small
// appends would cost more than the member's text.
class JsonMembers {
public:
    explicit JsonMembers(std::string& out) : out_(out) {}

    template <std::size_t N>
    JsonMembers& Number(const char (&name)[N], double value) {
        char text[N + 8 + kNumberRoom];
        Append(text, WriteNumber(Name(text, name), value));
        return *this;
    }
    template <std::size_t N>
    JsonMembers& Integer(const char (&name)[N], std::int64_t value) {
        char text[N + 8 + kNumberRoom];
        Append(text, WriteInteger(Name(text, name), value));
        return *this;
    }
    template <std::size_t N>
    JsonMembers& Null(const char (&name)[N]) {
        char text[N + 8 + 4];
        char* const p = Name(text, name);
        p[0] = 'n', p[1] = 'u', p[2] = 'l', p[3] = 'l';
        Append(text, p + 4);
        return *this;
    }
    // A text of the calculator's own that needs no escape (an era's or a
    // holiday's name: well-formed UTF-8 without quotes, backslashes or
    // controls), written as it is.
    template <std::size_t N>
    JsonMembers& String(const char (&name)[N], std::string_view value) {
        std::string& out = Raw(name);
        out += '"';
        out += value;
        out += '"';
        return *this;
    }
    template <std::size_t N>
    JsonMembers& Date(const char (&name)[N], std::chrono::year_month_day value) {
        char text[N + 8 + kIsoDateRoom];
        Append(text, WriteIsoDate(Name(text, name), value));
        return *this;
    }
    // Starts a member whose value the caller writes into the buffer next.
    template <std::size_t N>
    std::string& Raw(const char (&name)[N]) {
        char text[N + 8];
        Append(text, Name(text, name));
        return out_;
    }
    // Starts an element of an array, which the caller writes next.
    std::string& Element();

private:
    // ", " unless first, then "name": ; returns the end.
    template <std::size_t N>
    char* Name(char* p, const char (&name)[N]) {
        if (!first_) {
            *p++ = ',';
            *p++ = ' ';
        }
        first_ = false;
        *p++ = '"';
        for (std::size_t i = 0; i + 1 < N; ++i) *p++ = name[i];
        *p++ = '"';
        *p++ = ':';
        *p++ = ' ';
        return p;
    }
    void Append(const char* text, const char* end) { out_.append(text, static_cast<std::size_t>(end - text)); }

    std::string& out_;
    bool first_ = true;
};

}  // namespace vesk::cli
