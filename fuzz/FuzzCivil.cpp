// The civil calendar's texts on any bytes: a date text, a period, a weekend
// list and a file of closed days are read or refused with the calendar's own
// failure, nothing else; a date read is the date its ISO text and its 和暦
// text read as; and every page of the civil calendar answers or refuses.

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Pages.h"
#include "japanese/BusinessDays.h"
#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"
#include "japanese/DateText.h"
#include "japanese/Era.h"
#include "japanese/Period.h"

namespace japanese = vesk::japanese;

namespace {

using namespace std::chrono;

sys_days Today() { return sys_days{2024y / January / 5}; }

void ReadsBack(year_month_day date) {
    if (japanese::ParseDateText(japanese::IsoDate(date), Today()) != date) std::abort();
    if (const auto japanese = japanese::ToJapanese(date)) {
        std::string text;
        japanese::AppendJapaneseDate(text, *japanese);
        if (japanese::ParseDateText(text, Today()) != date) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // Fields are separated by newlines.
    std::vector<std::string_view> fields;
    for (std::size_t at = 0; at <= input.size() && fields.size() < 4;) {
        const std::size_t end = std::min(input.find('\n', at), input.size());
        fields.push_back(input.substr(at, end - at));
        at = end + 1;
    }
    try {
        ReadsBack(japanese::ParseDateText(fields[0], Today()));
    } catch (const japanese::CalendarError&) {
    }
    try {
        const japanese::Period period = japanese::ParsePeriod(fields[0]);
        japanese::AddPeriod(2024y / January / 31, period);
    } catch (const japanese::CalendarError&) {
    }
    try {
        japanese::ParseWeekend(fields[0]);
    } catch (const japanese::CalendarError&) {
    }
    try {
        japanese::ParseClosedDays(input);
    } catch (const japanese::CalendarError&) {
    }
    vesk::cli::PageOptions options;
    options.today = &Today;
    vesk::cli::PageAnswer answer;
    for (const char* page : {"era", "holidays", "days", "add", "workdays", "workday", "age"}) {
        try {
            vesk::cli::RunPage(page, fields, fields.size(), options, answer);
        } catch (const japanese::CalendarError&) {
        } catch (const vesk::cli::UsageError&) {
        }
    }
    return 0;
}
