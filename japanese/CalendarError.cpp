#include "japanese/CalendarError.h"

namespace vesk::japanese {

void AppendQuoted(std::string& out, std::string_view text) {
    out += '\'';
    if (text.size() <= kMaxQuotedTextBytes) {
        out += text;
    } else {
        std::size_t cut = kMaxQuotedTextBytes;
        // Back to the first byte of the character the cut falls into (10xxxxxx continues one).
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        out += text.substr(0, cut);
        out += "...";
    }
    out += '\'';
}

std::string NotADate(std::string_view text) {
    std::string message;
    AppendQuoted(message, text);
    message += " is not a date";
    return message;
}

}  // namespace vesk::japanese
