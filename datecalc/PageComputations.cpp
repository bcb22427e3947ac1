#include "datecalc/PageComputations.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "textconv/Conversions.h"

namespace vesk {
namespace {

using namespace std::string_view_literals;

// Day names by weekday index, Sunday first.
constexpr std::array<std::string_view, 7> kDayNames = {"日", "月", "火", "水", "木", "金", "土"};

// A field's real, stored as a 64-bit real at once (EOverflow beyond that range).
// A text of 1 to 15 decimal digits and nothing else is taken straight as its
// integer: real parse builds exactly that value (below 10^15 < 2^53 every step
// is exact, whatever the separator) and storing it changes nothing, so the
// shortcut gives the same bits.
double ParseStored(std::string_view text) {
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

// A sentence composed on the stack and appended at once: its pieces are
// short, and one append of them all costs less than an append of each.
class Sentence {
public:
    Sentence& operator<<(std::string_view piece) {
        end_ = std::copy(piece.begin(), piece.end(), end_);
        return *this;
    }
    // A literal: its length is known here, so it is copied without a call.
    template <std::size_t N>
    Sentence& operator<<(const char (&literal)[N]) {
        std::memcpy(end_, literal, N - 1);
        end_ += N - 1;
        return *this;
    }
    Sentence& Real(double value) {
        end_ = WriteRealText(end_, value);
        return *this;
    }
    void AppendTo(std::string& out) const { out.append(text_, static_cast<std::size_t>(end_ - text_)); }

    // Room for the longest sentence of reals: three reals and their words.
    static constexpr std::size_t kRoom = 3 * kRealTextRoom + 64;

private:
    char text_[kRoom];
    char* end_ = text_;
};

}  // namespace

std::int32_t WeekdayPageIndex(std::string_view year, std::string_view month, std::string_view day) {
    const std::int32_t y = IntegerParse(year);
    const std::int32_t m = IntegerParse(month);
    const std::int32_t d = IntegerParse(day);
    return WeekdayIndex(y, m, d);
}

void AppendWeekdaySentence(std::string& out, std::string_view year, std::string_view month,
                           std::string_view day, std::int32_t index) {
    // [-6, 6]; negatives have no name.
    const std::string_view name = index >= 0 ? kDayNames[static_cast<std::size_t>(index)] : "";
    if (year.size() + month.size() + day.size() <= Sentence::kRoom - 64) {
        Sentence sentence;
        sentence << "  " << year << "年" << month << "月" << day << "日は（" << name
                 << "）曜日です。"sv;
        sentence.AppendTo(out);
        return;
    }
    // Field texts of any length.
    out += "  "sv;
    out += year;
    out += "年"sv;
    out += month;
    out += "月"sv;
    out += day;
    out += "日は（"sv;
    out += name;
    out += "）曜日です。"sv;
}

DaySpanValues DaySpanPageValues(std::string_view year1, std::string_view month1, std::string_view day1,
                                std::string_view year2, std::string_view month2, std::string_view day2) {
    // Date (1) is parsed and counted before anything of date (2) is read.
    const double y1 = ParseStored(year1);
    const double m1 = ParseStored(month1);
    const double d1 = ParseStored(day1);
    const double first = DayNumber(y1, m1, d1);
    const double y2 = ParseStored(year2);
    const double m2 = ParseStored(month2);
    const double d2 = ParseStored(day2);
    const double second = DayNumber(y2, m2, d2);
    const double difference = StoredSum(second, -first);
    return {difference, ApproxSpan(difference)};
}

void AppendDaySpanCount(std::string& out, double count) {
    Sentence sentence;
    sentence << "(１)から(２)までの日数は  ";
    sentence.Real(count) << "日です。";
    sentence.AppendTo(out);
}

void AppendDaySpanApprox(std::string& out, const ApproxSpanResult& span) {
    Sentence sentence;
    sentence << " およそ  ";
    sentence.Real(span.years) << "年  ";
    sentence.Real(span.months) << "ヶ月...です。";
    sentence.AppendTo(out);
}

RealDate DateAfterPageDate(std::string_view year, std::string_view month, std::string_view day,
                           std::string_view days) {
    const double y = ParseStored(year);
    const double m = ParseStored(month);
    const double d = ParseStored(day);
    const double n = ParseStored(days);
    return DateFromDayNumber(StoredSum(DayNumber(y, m, d), n));
}

void AppendDateAfterSentence(std::string& out, const RealDate& date) {
    Sentence sentence;
    sentence << "  ";
    sentence.Real(date.year) << "年 ";
    sentence.Real(date.month) << "月 ";
    sentence.Real(date.day) << "日です。";
    sentence.AppendTo(out);
}

std::string WeekdayPage(std::string_view year, std::string_view month, std::string_view day) {
    const std::int32_t index = WeekdayPageIndex(year, month, day);
    std::string text;
    AppendWeekdaySentence(text, year, month, day, index);
    return text;
}

DaySpanTexts DaySpanPage(std::string_view year1, std::string_view month1, std::string_view day1,
                         std::string_view year2, std::string_view month2, std::string_view day2) {
    const DaySpanValues values = DaySpanPageValues(year1, month1, day1, year2, month2, day2);
    DaySpanTexts texts;
    AppendDaySpanCount(texts.count, values.count);
    AppendDaySpanApprox(texts.span, values.span);
    return texts;
}

std::string DateAfterPage(std::string_view year, std::string_view month, std::string_view day,
                          std::string_view days) {
    const RealDate date = DateAfterPageDate(year, month, day, days);
    std::string text;
    AppendDateAfterSentence(text, date);
    return text;
}

std::string UptimeText(std::uint32_t tickCount) {
    const std::uint32_t s = tickCount / 1000;  // [0, 4294967]
    // Each part fits a 32-bit integer: hours <= 1193.
    const auto hours = static_cast<std::int32_t>(s / 3600);
    const auto minutes = static_cast<std::int32_t>((s / 60) % 60);
    const auto seconds = static_cast<std::int32_t>(s % 60);
    return IntegerToText(hours) + "時間 " + IntegerToText(minutes) + "分 " + IntegerToText(seconds) + "秒 ";
}

}  // namespace vesk
