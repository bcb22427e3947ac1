#include "japanese/Period.h"

#include <array>

#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"
#include "japanese/MonthRule.h"
#include "japanese/WidthFold.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;
using namespace std::string_view_literals;

// The unit words, by part: years, months, weeks, days.
constexpr std::array<std::array<std::string_view, 7>, 4> kUnits = {{
    {"y", "Y", "年"},
    {"m", "M", "ヶ月", "か月", "カ月", "ケ月", "ヵ月"},
    {"w", "W", "週"},
    {"d", "D", "日"},
}};
constexpr std::array<std::string_view, 4> kSentenceUnits = {"年", "ヶ月", "週", "日"};

[[noreturn]] void Refuse(std::string_view typed, std::string_view reason) {
    std::string message;
    AppendQuoted(message, typed);
    message += " is not a period";
    message += reason;
    throw CalendarError{std::move(message)};
}

[[noreturn]] void RefuseForm(std::string_view typed) {
    Refuse(typed, " (periods are written 1y2m3d, +2w, -10d, 1年2ヶ月3日, 2週間 or 100日)");
}

// The part a unit word at the start of `rest` names (0 years ... 3 days),
// with the word's length in `length`; 4 for none.
std::size_t ReadUnit(std::string_view rest, std::size_t& length) noexcept {
    for (std::size_t part = 0; part < kUnits.size(); ++part) {
        for (const std::string_view word : kUnits[part]) {
            if (word.empty() || !rest.starts_with(word)) continue;
            length = word.size();
            // The Japanese units may end in 間 (年間, ヶ月間, 週間, 日間).
            if (word.size() > 1 && rest.substr(length).starts_with("間"sv)) length += "間"sv.size();
            return part;
        }
    }
    return kUnits.size();
}

std::string_view SkipBlanks(std::string_view text) noexcept {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

// "2024-01-31 plus 1y-2m lies outside ...", for a result past the range.
[[noreturn]] void RefuseResult(year_month_day date, const Period& period) {
    std::string message = IsoDate(date);
    message += " plus ";
    const std::array<std::int64_t, 4> parts = {period.years, period.months, period.weeks,
                                               period.days};
    bool any = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i] == 0) continue;
        AppendInteger(message, parts[i]);
        message += "ymwd"[i];
        any = true;
    }
    if (!any) message += "0d";
    message += " lies outside the dates this calculator takes (0001-01-01 to 9999-12-31)";
    throw CalendarError{std::move(message)};
}

// Parts larger than this leave the range of dates whatever the others are;
// below it every sum and product here fits in 64 bits.
constexpr std::int64_t kLargestPart = 1'000'000'000'000;

bool Small(std::int64_t part) noexcept { return part >= -kLargestPart && part <= kLargestPart; }

}  // namespace

Period ParsePeriod(std::string_view typed) {
    const FoldedText folded(typed);
    if (!folded.fits()) RefuseForm(typed);
    std::string_view rest = TrimBlanks(folded.view());
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest = SkipBlanks(rest.substr(1));
    }
    std::array<std::int64_t, 4> parts{};
    std::size_t next = 0;  // the first part that may still come
    if (rest.empty()) RefuseForm(typed);
    while (!rest.empty()) {
        std::int64_t value = 0;
        std::size_t digits = 0;
        while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
            if (digits == 18) Refuse(typed, ": a number of more than 18 digits is too large");
            value = value * 10 + (rest[digits] - '0');  // < 10^18
            ++digits;
        }
        if (digits == 0) RefuseForm(typed);
        rest = SkipBlanks(rest.substr(digits));
        std::size_t length = 0;
        const std::size_t part = ReadUnit(rest, length);
        if (part == kUnits.size()) RefuseForm(typed);
        if (part < next)
            Refuse(typed,
                   ": the parts come in the order years, months, weeks, days, each at most once");
        parts[part] = negative ? -value : value;
        next = part + 1;
        rest = SkipBlanks(rest.substr(length));
    }
    return {parts[0], parts[1], parts[2], parts[3]};
}

year_month_day AddPeriod(year_month_day date, const Period& period) {
    RequireDateRange(date);
    if (!Small(period.years) || !Small(period.months) || !Small(period.weeks) ||
        !Small(period.days)) {
        RefuseResult(date, period);
    }
    // |years * 12 + months| <= 1.3e13: no overflow.
    const auto moved = AddMonths(date, period.years * 12 + period.months);
    if (!moved || !InDateRange(*moved)) RefuseResult(date, period);
    // Day numbers of 0001-01-01 .. 9999-12-31 are [-719162, 2932896]; the sum is < 8.1e12.
    const std::int64_t number =
        sys_days{*moved}.time_since_epoch().count() + period.weeks * 7 + period.days;
    if (number < sys_days{kFirstDate}.time_since_epoch().count() ||
        number > sys_days{kLastDate}.time_since_epoch().count()) {
        RefuseResult(date, period);
    }
    return year_month_day{sys_days{days{number}}};
}

void AppendJapanesePeriod(std::string& out, const Period& period) {
    const std::array<std::int64_t, 4> parts = {period.years, period.months, period.weeks,
                                               period.days};
    bool positive = false, negative = false;
    for (const std::int64_t part : parts) {
        positive = positive || part > 0;
        negative = negative || part < 0;
    }
    const bool before = negative && !positive;
    bool any = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i] == 0) continue;
        // A negative part's magnitude through unsigned arithmetic: -2^63 has one too.
        if (before) {
            AppendUnsigned(out, 0 - static_cast<std::uint64_t>(parts[i]));
        } else {
            AppendInteger(out, parts[i]);
        }
        out += kSentenceUnits[i];
        any = true;
    }
    if (!any) out += "0日";
    out += before ? "前" : "後";
}

}  // namespace vesk::japanese
