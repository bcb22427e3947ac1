#include "cli/DateFields.h"

#include <charconv>

namespace vesk::cli {

std::chrono::year_month_day ReadDateField(std::string_view text, TodayFunction today) {
    using namespace std::chrono;
    if (text == "today") return year_month_day{today()};
    int parts[3] = {};
    const char* p = text.data();
    const char* const end = p + text.size();
    char separator = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (p == end || (*p != '-' && *p != '/') || (separator != 0 && *p != separator)) {
                throw UsageError{"'" + BoundedText(text) + "' is not a date"};
            }
            separator = *p++;
        }
        const auto [next, error] = std::from_chars(p, end, parts[i]);
        if (error != std::errc() || next == p)
            throw UsageError{"'" + BoundedText(text) + "' is not a date"};
        p = next;
    }
    const year_month_day date{year{parts[0]}, month{static_cast<unsigned>(parts[1])},
                              day{static_cast<unsigned>(parts[2])}};
    if (p != end || !date.ok() || parts[0] < 1 || parts[0] > 9999)
        throw UsageError{"'" + BoundedText(text) + "' is not a date"};
    return date;
}

std::array<bool, 7> ReadWeekend(std::string_view list) {
    static constexpr std::string_view kNames[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
    std::array<bool, 7> days{};
    for (std::size_t i = 0; i < 7; ++i) days[i] = list == kNames[i];
    if (days == std::array<bool, 7>{})
        throw UsageError{"'" + BoundedText(list) + "' is not a day name"};
    return days;
}

}  // namespace vesk::cli
