#pragma once
// Periods of years, months, weeks and days, and a date plus a period by the
// month rule (MonthRule.h).

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace vesk::japanese {

struct Period {
    std::int64_t years = 0, months = 0, weeks = 0, days = 0;
    friend bool operator==(const Period&, const Period&) = default;
};

// A period from its text: an optional sign ("+" or "-", applied to every
// part), then one or more of <n>y, <n>m, <n>w, <n>d (either case) or their
// Japanese units 年, ヶ月 (か月, カ月, ケ月, ヵ月), 週, 日 (each also with 間:
// 年間, ヶ月間, 週間, 日間), each unit at most once and in that order, with
// blanks between the parts allowed: "1y2m3d", "+2w", "-10d", "1年2ヶ月3日",
// "2週間", "100日". Full-width forms are folded. Raises CalendarError,
// quoting the text as typed, for anything else and for a number of more than
// 18 digits.
Period ParsePeriod(std::string_view text);

// `date` plus `period`: years and months together first, taking the month's
// last day where the day does not exist there (民法第143条: 2024-01-31 + 1m =
// 2024-02-29, 2024-02-29 + 1y = 2025-02-28), then weeks and days. Raises
// CalendarError when the date or the result lies outside 0001-01-01 to
// 9999-12-31, however large the parts (no overflow).
std::chrono::year_month_day AddPeriod(std::chrono::year_month_day date, const Period& period);

// The period as the sentences write it: "1年2ヶ月3週4日後", "10日前" when no
// part is positive and one is negative, "0日後" for the empty period; parts
// that are 0 are left out. A period of mixed signs keeps each part's sign
// and ends in 後. Raises nothing but for memory.
void AppendJapanesePeriod(std::string& out, const Period& period);

}  // namespace vesk::japanese
