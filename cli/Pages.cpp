#include "cli/Pages.h"

#include <charconv>
#include <cstdint>

#include "datecalc/PageComputations.h"

namespace vesk::cli {
namespace {

void ExpectFields(std::string_view page, const std::vector<std::string>& fields, std::size_t count) {
    if (fields.size() != count) {
        throw UsageError{std::string(page) + " takes " + std::to_string(count) + " fields, not " +
                         std::to_string(fields.size())};
    }
}

}  // namespace

std::uint32_t ParseTickCount(const std::string& text) {
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end) {
        throw UsageError{"the tick count must be a whole number of milliseconds from 0 to 4294967295"};
    }
    return value;
}

std::vector<std::string> RunPage(std::string_view page, const std::vector<std::string>& f) {
    if (page == "weekday") {
        ExpectFields(page, f, 3);
        return {WeekdayPage(f[0], f[1], f[2])};
    }
    if (page == "span") {
        ExpectFields(page, f, 6);
        DaySpanTexts texts = DaySpanPage(f[0], f[1], f[2], f[3], f[4], f[5]);
        return {std::move(texts.count), std::move(texts.span)};
    }
    if (page == "after") {
        ExpectFields(page, f, 4);
        return {DateAfterPage(f[0], f[1], f[2], f[3])};
    }
    if (page == "uptime") {
        ExpectFields(page, f, 1);
        return {UptimeText(ParseTickCount(f[0]))};
    }
    throw UsageError{"unknown page '" + std::string(page) + "'"};
}

}  // namespace vesk::cli
