#include "japanese/DateText.h"

#include <cstdint>
#include <string>

#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"
#include "japanese/Era.h"
#include "japanese/WidthFold.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;
using namespace std::string_view_literals;

[[noreturn]] void RefuseForm(std::string_view typed, std::string_view forms) {
    std::string message = NotADate(typed);
    message += " (dates are written ";
    message += forms;
    message += ')';
    throw CalendarError{std::move(message)};
}

[[noreturn]] void RefuseUnknown(std::string_view typed) {
    RefuseForm(
        typed,
        "2024-01-05, 2024/1/5, 20240105, 令和6年1月5日, R6.1.5, today, yesterday or tomorrow");
}

[[noreturn]] void Refuse(std::string_view typed, std::string_view reason) {
    std::string message = NotADate(typed);
    message += ": ";
    message += reason;
    throw CalendarError{std::move(message)};
}

// A left-to-right reader over a folded text.
class Reader {
  public:
    explicit Reader(std::string_view text) noexcept : text_(text) {}

    bool atEnd() const noexcept { return pos_ == text_.size(); }
    char peek() const noexcept { return atEnd() ? '\0' : text_[pos_]; }

    void skipBlanks() noexcept {
        while (!atEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }

    bool take(std::string_view token) noexcept {
        if (text_.substr(pos_, token.size()) != token) return false;
        pos_ += token.size();
        return true;
    }

    bool takeChar(char c) noexcept {
        if (peek() != c) return false;
        ++pos_;
        return true;
    }

    // Reads 1 to `most` decimal digits (at most 9); gives their count, 0 when
    // there is no digit, and `most + 1` when more digits follow.
    std::size_t digits(std::size_t most, std::uint32_t& value) noexcept {
        value = 0;
        std::size_t count = 0;
        while (!atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            if (count == most) return most + 1;
            value = value * 10 + static_cast<std::uint32_t>(text_[pos_] - '0');  // < 10^9
            ++count;
            ++pos_;
        }
        return count;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The Gregorian date of a year, month and day read from `typed`, or a refusal
// that says which part does not exist.
year_month_day Gregorian(std::uint32_t y, std::uint32_t m, std::uint32_t d,
                         std::string_view typed) {
    if (y < 1 || y > 9999) Refuse(typed, "years run from 1 to 9999");
    if (m < 1 || m > 12) {
        std::string reason = "there is no month ";
        AppendInteger(reason, m);
        Refuse(typed, reason);
    }
    if (d < 1) Refuse(typed, "there is no day 0");
    const year_month_day date{year{static_cast<int>(y)}, month{m}, day{d}};
    if (!date.ok()) {
        std::string reason(EnglishMonthName(date.month()));
        reason += ' ';
        AppendInteger(reason, y);
        reason += " has ";
        AppendInteger(reason,
                      static_cast<unsigned>(
                          year_month_day_last{date.year(), month_day_last{date.month()}}.day()));
        reason += " days";
        Refuse(typed, reason);
    }
    return date;
}

// After the year: "年M月D日" (with blanks between the parts), or M and D
// after `separator` as "-M-D". Returns false when the text has another form.
bool ReadMonthDay(Reader& in, std::uint32_t& m, std::uint32_t& d, bool kanji,
                  char separator) noexcept {
    if (kanji) {
        in.skipBlanks();
        const std::size_t monthDigits = in.digits(2, m);
        in.skipBlanks();
        if (monthDigits < 1 || monthDigits > 2 || !in.take("月"sv)) return false;
        in.skipBlanks();
        const std::size_t dayDigits = in.digits(2, d);
        in.skipBlanks();
        return dayDigits >= 1 && dayDigits <= 2 && in.take("日"sv) && in.atEnd();
    }
    const std::size_t monthDigits = in.digits(2, m);
    if (monthDigits < 1 || monthDigits > 2 || !in.takeChar(separator)) return false;
    const std::size_t dayDigits = in.digits(2, d);
    return dayDigits >= 1 && dayDigits <= 2 && in.atEnd();
}

// Western forms: the text starts with a digit.
year_month_day ParseWestern(std::string_view text, std::string_view typed) {
    Reader in(text);
    std::uint32_t y = 0, m = 0, d = 0;
    const std::size_t yearDigits = in.digits(8, y);
    if (yearDigits == 8 && in.atEnd()) return Gregorian(y / 10000, y / 100 % 100, y % 100, typed);
    const char separator = in.peek();
    if (yearDigits == 4 && (separator == '-' || separator == '/')) {
        in.takeChar(separator);
        if (ReadMonthDay(in, m, d, false, separator)) return Gregorian(y, m, d, typed);
    } else if (yearDigits >= 1 && yearDigits <= 4) {
        in.skipBlanks();
        if (in.take("年"sv) && ReadMonthDay(in, m, d, true, '\0')) return Gregorian(y, m, d, typed);
    }
    RefuseUnknown(typed);
}

// The era a 和暦 text starts with, read from `in`; null when it names none.
const Era* ReadEra(Reader& in) noexcept {
    for (const Era& era : Eras()) {
        if (in.take(era.name) || in.take(era.initial)) return &era;
    }
    const char c = in.peek();
    for (const Era& era : Eras()) {
        if (c == era.latin || c == era.latin - 'A' + 'a') {
            in.takeChar(c);
            return &era;
        }
    }
    return nullptr;
}

year_month_day ParseJapanese(std::string_view text, std::string_view typed) {
    Reader in(text);
    const Era* era = ReadEra(in);
    if (era == nullptr) RefuseUnknown(typed);
    in.skipBlanks();
    std::uint32_t y = 0, m = 0, d = 0;
    if (in.take("元"sv)) {
        y = 1;
    } else {
        const std::size_t yearDigits = in.digits(4, y);
        if (yearDigits < 1 || yearDigits > 4) RefuseUnknown(typed);
    }
    in.skipBlanks();
    bool read = false;
    if (in.take("年"sv)) {
        read = ReadMonthDay(in, m, d, true, '\0');
    } else {
        const char separator = in.peek();
        if (separator == '.' || separator == '/' || separator == '-') {
            in.takeChar(separator);
            read = ReadMonthDay(in, m, d, false, separator);
        }
    }
    if (!read) RefuseUnknown(typed);
    return FromJapanese({era, static_cast<int>(y), m, d}, typed);
}

year_month_day Relative(sys_days today, int offset, std::string_view typed) {
    const year_month_day date{today + days{offset}};
    if (!InDateRange(date)) Refuse(typed, "it falls outside 0001-01-01 to 9999-12-31");
    return date;
}

}  // namespace

year_month_day ParseDateText(std::string_view typed, sys_days today) {
    const FoldedText folded(typed);
    if (!folded.fits()) RefuseUnknown(typed);
    const std::string_view text = TrimBlanks(folded.view());
    if (text.empty()) RefuseUnknown(typed);
    if (text.front() >= '0' && text.front() <= '9') return ParseWestern(text, typed);
    if (EqualsIgnoringCase(text, "today"sv)) return Relative(today, 0, typed);
    if (EqualsIgnoringCase(text, "yesterday"sv)) return Relative(today, -1, typed);
    if (EqualsIgnoringCase(text, "tomorrow"sv)) return Relative(today, 1, typed);
    return ParseJapanese(text, typed);
}

year_month_day ParseIsoDateText(std::string_view typed) {
    const FoldedText folded(typed);
    Reader in(TrimBlanks(folded.view()));
    std::uint32_t y = 0, m = 0, d = 0;
    if (folded.fits() && in.digits(4, y) == 4 && in.takeChar('-') &&
        ReadMonthDay(in, m, d, false, '-')) {
        return Gregorian(y, m, d, typed);
    }
    RefuseForm(typed, "2024-01-05");
}

}  // namespace vesk::japanese
