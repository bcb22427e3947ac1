#include "cli/Pages.h"

#include <charconv>
#include <cstdint>

#include "datecalc/PageComputations.h"

namespace vesk::cli {
namespace {

void ExpectFields(std::string_view page, std::size_t fieldCount, std::size_t count) {
    if (fieldCount != count) {
        throw UsageError{std::string(page) + " takes " + std::to_string(count) + " fields, not " +
                         std::to_string(fieldCount)};
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

std::string BoundedText(std::string_view text) {
    if (text.size() <= kMaxQuotedBytes) return std::string(text);
    std::size_t cut = kMaxQuotedBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // a continuation byte
    return std::string(text.substr(0, cut)) + "...";
}

std::vector<std::string> RunPage(std::string_view page, const std::vector<std::string>& fields) {
    return RunPage(page, fields, fields.size());
}

std::vector<std::string> RunPage(std::string_view page, const std::vector<std::string>& f, std::size_t n) {
    if (page == "weekday") {
        ExpectFields(page, n, 3);
        return {WeekdayPage(f[0], f[1], f[2])};
    }
    if (page == "span") {
        ExpectFields(page, n, 6);
        DaySpanTexts texts = DaySpanPage(f[0], f[1], f[2], f[3], f[4], f[5]);
        return {std::move(texts.count), std::move(texts.span)};
    }
    if (page == "after") {
        ExpectFields(page, n, 4);
        return {DateAfterPage(f[0], f[1], f[2], f[3])};
    }
    if (page == "uptime") {
        ExpectFields(page, n, 1);
        return {UptimeText(ParseTickCount(f[0]))};
    }
    throw UsageError{"unknown page '" + BoundedText(page) + "'"};
}

}  // namespace vesk::cli
