#pragma once
// The abbreviated weekday names of the calendar's header: an application-wide
// table of seven UTF-8 texts, 0 Sunday to 6 Saturday, taken from the user's
// locale.

#include <array>
#include <string>

namespace vesk {

using TDayNames = std::array<std::string, 7>;

// The names for the English locale, used for every entry the locale leaves empty.
inline const TDayNames kFallbackDayAbbreviations = {"Sun", "Mon", "Tue", "Wed",
                                                    "Thu", "Fri", "Sat"};

// The table in force: "Sun" ... "Sat" until a locale has been read.
const TDayNames& DayAbbreviations() noexcept;

// Replaces the table; an empty entry takes its fallback from
// kFallbackDayAbbreviations. Never fails.
void SetDayAbbreviations(const TDayNames& names);

// The abbreviated weekday names of a locale (the name as setlocale takes it;
// "" for the user's own LC_TIME), converted to UTF-8. An entry the locale does
// not give, or cannot be converted, is empty. Never fails: a locale that
// cannot be opened gives seven empty entries.
TDayNames LocaleDayAbbreviations(const char* localeName);

// Fills the table from the user's locale. Called at start-up and again when
// the system announces a change of its settings. Never fails.
void ReadDayAbbreviations();

}  // namespace vesk
