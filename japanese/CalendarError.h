#pragma once
// The one failure of the Japanese calendar room: whatever it refuses (a text
// that is no date or period, a date outside a range, rules that leave no
// business day) is thrown by value as a CalendarError whose message is one
// English line, ready to be shown as it stands.

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk::japanese {

struct CalendarError {
    std::string message;
};

// The most bytes of a typed text that a message quotes.
inline constexpr std::size_t kMaxQuotedTextBytes = 200;

// Appends `text` as a message quotes it, between single quotes: at most
// kMaxQuotedTextBytes of it, cut at a UTF-8 character's start, and "..."
// after the cut. Raises nothing but for memory.
void AppendQuoted(std::string& out, std::string_view text);

// "'<text>' is not a date", the start of every refusal of a date text; the
// caller appends ": <reason>" or a parenthesis.
std::string NotADate(std::string_view text);

}  // namespace vesk::japanese
