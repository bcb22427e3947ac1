#include "cli/DateFields.h"

#include "japanese/BusinessDays.h"
#include "japanese/DateText.h"

namespace vesk::cli {
namespace {

// Whether a text may be one of the words that name a day relative to today
// (today, yesterday, tomorrow, in either case or full-width): the clock is
// read only then.
bool MayBeRelative(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return false;
    const auto c = static_cast<unsigned char>(text[first]);
    return c == 't' || c == 'T' || c == 'y' || c == 'Y' || c >= 0x80;
}

}  // namespace

std::chrono::year_month_day ReadDateField(std::string_view text, TodayFunction today) {
    return japanese::ParseDateText(text, MayBeRelative(text) ? today() : std::chrono::sys_days{});
}

std::chrono::sys_days ReadIsoDate(std::string_view text) {
    return std::chrono::sys_days{japanese::ParseIsoDateText(text)};
}

std::vector<std::chrono::sys_days> ReadClosedDays(std::string_view fileText) {
    return japanese::ParseClosedDays(fileText);
}

std::array<bool, 7> ReadWeekend(std::string_view list) {
    return japanese::ParseWeekend(list);
}

}  // namespace vesk::cli
