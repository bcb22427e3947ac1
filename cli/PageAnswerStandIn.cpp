#include "cli/PageAnswerStandIn.h"

#include "cli/Batch.h"
#include "cli/Json.h"

namespace vesk::cli {

// The request written as a batch line and answered as one.
void AppendPageAnswer(std::string& out, std::string_view page, std::span<const std::string_view> fields,
                      std::size_t fieldCount, const PageOptions& options, std::string_view id) {
    using namespace std::chrono;
    std::string line = "{\"page\": ";
    AppendQuoted(line, page);
    line += ", \"fields\": [";
    for (std::size_t i = 0; i < fieldCount; ++i) {
        if (i != 0) line += ", ";
        AppendQuoted(line, i < fields.size() ? fields[i] : std::string_view());
    }
    line += "]";
    const unsigned keys = PageKeys(page);
    if ((keys & kStartKey) && options.start) {
        line += ", \"start\": [" + std::to_string(static_cast<int>(options.start->year())) + ", " +
                std::to_string(static_cast<unsigned>(options.start->month())) + ", " +
                std::to_string(static_cast<unsigned>(options.start->day())) + "]";
    }
    if (keys & kInclusiveKey) line += options.inclusive ? ", \"inclusive\": true" : "";
    if (keys & kBusinessKeys) {
        static constexpr const char* kNames[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
        line += options.yearEnd ? ", \"yearEnd\": true" : "";
        line += ", \"closed\": [";
        for (std::size_t i = 0; i < options.closed.size(); ++i) {
            if (i != 0) line += ", ";
            AppendIsoDate(line, year_month_day{options.closed[i]});
        }
        line += "], \"weekend\": [";
        bool first = true;
        for (std::size_t i = 0; i < 7; ++i) {
            if (!options.weekend[i]) continue;
            line += first ? "\"" : ", \"";
            line += kNames[i];
            line += '"';
            first = false;
        }
        line += ']';
    }
    if (!id.empty()) line += ", \"id\": " + std::string(id);
    line += '}';
    AppendBatchAnswer(line, out);
}

}  // namespace vesk::cli
