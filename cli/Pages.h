#pragma once
// The pages the calculator computes, by name, shared by the command line and
// the batch mode: the dialog's pages (weekday, span, after, uptime, calendar)
// with the dialog's own arithmetic, and the pages of the Japanese civil
// calendar (era, holidays, days, add, workdays, workday, age) on the Gregorian
// calendar.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Json.h"

namespace vesk::cli {

// A request that the calculator cannot take: unknown page, wrong number of
// fields, a malformed tick count. Not one of the program's own failures.
struct UsageError {
    std::string message;
};

// The most fields any page takes (span: two dates of three fields).
inline constexpr std::size_t kMaxPageFields = 6;

// Today's date for "today", "yesterday", "tomorrow", the calendar's start and
// the age's default day.
using TodayFunction = std::chrono::sys_days (*)();
// The local clock's date. Never fails.
std::chrono::sys_days LocalToday();

// What the pages take beside their fields: the batch keys and the command
// line's options of the same names.
struct PageOptions {
    bool inclusive = false;  // days: the first day counts too
    bool yearEnd = false;    // workdays, workday: 29 December to 3 January closed
    std::vector<std::chrono::sys_days> closed;  // workdays, workday: closed days of one's own
    // workdays, workday: the weekdays that are no business days, Sunday first.
    std::array<bool, 7> weekend = {true, false, false, false, false, false, true};
    // calendar: the date the grid starts from; today when absent.
    std::optional<std::chrono::year_month_day> start;
    TodayFunction today = &LocalToday;
};

// The keys of a batch line beyond page, fields, separator and id, and the
// pages that take them.
enum PageKey : unsigned {
    kStartKey = 1u << 0,      // "start": calendar
    kInclusiveKey = 1u << 1,  // "inclusive": days
    kBusinessKeys = 1u << 2,  // "yearEnd", "closed", "weekend": workdays, workday
};
// The keys the page takes; 0 for an unknown page. Never fails.
unsigned PageKeys(std::string_view page) noexcept;

// A page's answer: its texts in display order and its machine-readable values.
// Kept from call to call, so that its buffers stay and a page allocates
// nothing in the common case. The texts are collected in the answer, or
// written straight into a JSON buffer as the quoted, comma-separated
// elements of an array (the caller writes the brackets); such texts must be
// well-formed UTF-8.
class PageAnswer {
  public:
    // Collects the texts (nullptr), or writes them into `json`, until the next
    // call; `plain` when they are known to need no escapes. Clears the answer.
    void WriteTextsTo(std::string* json, bool plain = false) {
        json_ = json;
        plain_ = plain;
        Clear();
    }
    void Clear() {
        count_ = 0;
        open_ = valuesOpen_ = false;
        values_.clear();
    }
    // A new, empty text after the others, to be appended to (and only that:
    // the buffer may hold the answer's JSON before it).
    std::string& AddText();
    std::size_t TextCount() const { return count_; }
    // The collected texts.
    const std::string& Text(std::size_t i) const { return texts_[i]; }
    std::vector<std::string> Texts() const {
        return {texts_.begin(), texts_.begin() + static_cast<std::ptrdiff_t>(count_)};
    }
    // The writer of the members of "values", called once, after the last
    // text: into the JSON buffer, after the texts' array, as
    // `], "values": {members`, or into the answer.
    JsonMembers Values();
    // The collected members of "values" as JSON text, without the braces;
    // empty when the page gives none.
    const std::string& ValuesText() const { return values_; }
    // Ends what was written into the JSON buffer: the texts' array, and the
    // values' object when there are values.
    void Finish();
    // Drops buffers that a huge request left large.
    void Trim();

  private:
    void EndText();

    std::vector<std::string> texts_;
    std::size_t count_ = 0;
    std::string values_;
    std::string* json_ = nullptr;
    std::size_t textStart_ = 0;  // where the open text starts in json_
    bool open_ = false;          // a text is being written into json_
    bool valuesOpen_ = false;    // the values are being written into json_
    bool plain_ = false;
};

// Computes `page` from its field texts (the first kMaxPageFields of
// `fieldCount`) and options into `answer`, which it clears first.
//
// The dialog's pages take their fields as the dialog does, or a date in one
// field for three (weekday DATE, span DATE DATE, after DATE N, calendar DATE):
// "2024-01-05", "2024/1/5", "20240105", "令和6年1月5日", "R6.1.5", "today", ...;
// such a date must exist in the Gregorian calendar.
//
// Raises UsageError for an unknown page or a wrong number of fields;
// japanese::CalendarError, one line that quotes the text, for a text that is
// no date, period, year or number of days where one is wanted and for
// whatever else the civil calendar refuses (a date outside its range); the
// dialog pages' own failures (EConvertError, EOverflow) come unchanged. A calendar failure leaves the grid's rows as the failure left
// them in `answer`'s texts; every other failure leaves no text.
void RunPage(std::string_view page, std::span<const std::string_view> fields,
             std::size_t fieldCount, const PageOptions& options, PageAnswer& answer);

// The same, for tests and one-off callers: the texts alone.
std::vector<std::string> RunPage(std::string_view page, const std::vector<std::string>& fields);

// A text as a usage message quotes it: at most kMaxQuotedBytes of it, cut at
// a character's start, and "..." when cut.
std::string BoundedText(std::string_view text);
inline constexpr std::size_t kMaxQuotedBytes = 200;

// The tick count of the uptime page: a decimal text of 0 to 4294967295.
// Raises UsageError for anything else.
std::uint32_t ParseTickCount(std::string_view text);

// The usage message for a calendar request with `count` fields.
std::string CalendarFieldCountMessage(std::size_t count);

}  // namespace vesk::cli
