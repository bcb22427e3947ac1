#include "datecalc/PageComputations.h"

#include <array>
#include <initializer_list>
#include <string_view>

#include "datecalc/CalendarArithmetic.h"
#include "textconv/Conversions.h"

namespace vesk {
namespace {

// Day names by weekday index, Sunday first.
constexpr std::array<const char*, 7> kDayNames = {"日", "月", "火", "水", "木", "金", "土"};

// The parts of a sentence joined with one allocation.
std::string Concat(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (const std::string_view part : parts) size += part.size();
    std::string text;
    text.reserve(size);
    for (const std::string_view part : parts) text += part;
    return text;
}

// A field's real, stored as a 64-bit real at once (EOverflow beyond that range).
// A text of 1 to 15 decimal digits and nothing else is taken straight as its
// integer: real parse builds exactly that value (below 10^15 < 2^53 every step
// is exact, whatever the separator) and storing it changes nothing, so the
// shortcut gives the same bits.
double ParseStored(const std::string& text) {
    if (!text.empty() && text.size() <= 15) {
        std::uint64_t value = 0;  // [0, 10^15)
        bool digits = true;
        for (const char c : text) {
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (digits) return static_cast<double>(value);
    }
    return Stored(RealParse(text));
}

}  // namespace

std::string WeekdayPage(const std::string& year, const std::string& month,
                        const std::string& day) {
    const std::int32_t y = IntegerParse(year);
    const std::int32_t m = IntegerParse(month);
    const std::int32_t d = IntegerParse(day);
    const std::int32_t index = WeekdayIndex(y, m, d);  // [-6, 6]; negatives have no name
    const char* name = index >= 0 ? kDayNames[static_cast<std::size_t>(index)] : "";
    return Concat({"  ", year, "年", month, "月", day, "日は（", name, "）曜日です。"});
}

DaySpanTexts DaySpanPage(const std::string& year1, const std::string& month1,
                         const std::string& day1, const std::string& year2,
                         const std::string& month2, const std::string& day2) {
    // Date (1) is parsed and counted before anything of date (2) is read.
    const double y1 = ParseStored(year1);
    const double m1 = ParseStored(month1);
    const double d1 = ParseStored(day1);
    const double first = DayNumber(y1, m1, d1);
    const double y2 = ParseStored(year2);
    const double m2 = ParseStored(month2);
    const double d2 = ParseStored(day2);
    const double second = DayNumber(y2, m2, d2);
    const double difference = Stored(Extended::FromDouble(second) - Extended::FromDouble(first));
    DaySpanTexts texts;
    texts.count = Concat({"(１)から(２)までの日数は  ", RealToText(difference), "日です。"});
    const ApproxSpanResult span = ApproxSpan(difference);
    texts.span = Concat({" およそ  ", RealToText(span.years), "年  ", RealToText(span.months), "ヶ月...です。"});
    return texts;
}

std::string DateAfterPage(const std::string& year, const std::string& month,
                          const std::string& day, const std::string& days) {
    const double y = ParseStored(year);
    const double m = ParseStored(month);
    const double d = ParseStored(day);
    const double n = ParseStored(days);
    const double j = DayNumber(y, m, d);
    const double s = Stored(Extended::FromDouble(j) + Extended::FromDouble(n));
    const RealDate date = DateFromDayNumber(s);
    return Concat({"  ", RealToText(date.year), "年 ", RealToText(date.month), "月 ", RealToText(date.day),
                   "日です。"});
}

std::string UptimeText(std::uint32_t tickCount) {
    const std::uint32_t s = tickCount / 1000;  // [0, 4294967]
    // Each part fits a 32-bit integer: hours <= 1193.
    const auto hours = static_cast<std::int32_t>(s / 3600);
    const auto minutes = static_cast<std::int32_t>((s / 60) % 60);
    const auto seconds = static_cast<std::int32_t>(s % 60);
    return Concat({IntegerToText(hours), "時間 ", IntegerToText(minutes), "分 ", IntegerToText(seconds), "秒 "});
}

}  // namespace vesk
