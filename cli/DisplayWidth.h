#pragma once
// Columns of UTF-8 text on a terminal, for the command line's aligned output.

#include <string>
#include <string_view>

namespace vesk::cli {

// The columns a UTF-8 text takes on a terminal, whatever the locale: two for
// each East Asian wide or full-width character, one for most others (utf8proc's
// widths where the build has it, else a table of the wide ranges); a byte that
// starts no character counts one, as the replacement a terminal shows. Escape
// sequences are not recognised: measure texts without them. Never fails.
int DisplayWidth(std::string_view text);

// `text` after enough blanks to take `width` columns; unchanged when it is
// that wide already. Raises std::bad_alloc.
std::string PadLeft(std::string_view text, int width);

}  // namespace vesk::cli
