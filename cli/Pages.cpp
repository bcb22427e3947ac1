#include "cli/Pages.h"

#include <charconv>
#include <cmath>
#include <exception>

#include "cli/CalendarCommand.h"
#include "cli/CivilPages.h"
#include "cli/DateFields.h"
#include "cli/Json.h"
#include "datecalc/CalendarUpdate.h"
#include "datecalc/MonthModel.h"
#include "datecalc/PageComputations.h"
#include "textconv/Failures.h"
#include "textconv/SystemClock.h"

namespace vesk::cli {
namespace {

using namespace std::chrono;
using namespace std::string_view_literals;
using Fields = std::span<const std::string_view>;

[[noreturn]] void WrongCount(std::string_view page, std::string_view takes, std::size_t count) {
    throw UsageError{std::string(page) + " takes " + std::string(takes) + ", not " +
                     std::to_string(count)};
}

// The dialog's fields of a date in one field: year, month and day without
// leading zeros. Plain characters, so that a request that writes its date in
// three fields pays nothing for them.
struct DateTexts {
    char text[3][4];        // [1, 9999], [1, 12], [1, 31]: at most four digits
    std::size_t size[3];

    std::string_view Part(std::size_t i) const { return {text[i], size[i]}; }
};

DateTexts SplitDate(year_month_day date) {
    DateTexts texts;
    const unsigned parts[3] = {static_cast<unsigned>(static_cast<int>(date.year())),
                               static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day())};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto [end, error] = std::to_chars(texts.text[i], texts.text[i] + 4, parts[i]);
        texts.size[i] = static_cast<std::size_t>(end - texts.text[i]);
    }
    return texts;
}

// The dialog's field texts of a request that may write a date in one field:
// `fields` as they are when there are `full` of them; else, for `dates`
// one-field dates followed by `rest` fields, each date as its three texts.
// `storage` keeps the texts the views point into.
std::array<std::string_view, kMaxPageFields> DialogFields(std::string_view page,
                                                          std::string_view takes, Fields fields,
                                                          std::size_t count, std::size_t full,
                                                          std::size_t dates, std::size_t rest,
                                                          const PageOptions& options,
                                                          std::array<DateTexts, 2>& storage) {
    std::array<std::string_view, kMaxPageFields> out{};
    if (count == full) {
        for (std::size_t i = 0; i < full; ++i) out[i] = fields[i];
        return out;
    }
    if (count != dates + rest) WrongCount(page, takes, count);
    std::size_t at = 0;
    for (std::size_t i = 0; i < dates; ++i) {
        storage[i] = SplitDate(ReadDateField(fields[i], options.today));
        for (std::size_t k = 0; k < 3; ++k) out[at++] = storage[i].Part(k);
    }
    for (std::size_t i = 0; i < rest; ++i) out[at++] = fields[dates + i];
    return out;
}

void WeekdayPage(Fields fields, std::size_t count, const PageOptions& options, PageAnswer& answer) {
    std::array<DateTexts, 2> storage;
    const auto f = DialogFields("weekday", "3 fields (year, month, day) or a date", fields, count,
                                3, 1, 0, options, storage);
    const std::int32_t index = WeekdayPageIndex(f[0], f[1], f[2]);
    AppendWeekdaySentence(answer.AddText(), f[0], f[1], f[2], index);
    answer.Values().Integer("weekday", index);
}

void SpanPage(Fields fields, std::size_t count, const PageOptions& options, PageAnswer& answer) {
    std::array<DateTexts, 2> storage;
    const auto f = DialogFields("span", "6 fields (two dates of year, month, day) or 2 dates",
                                fields, count, 6, 2, 0, options, storage);
    const DaySpanValues values = DaySpanPageValues(f[0], f[1], f[2], f[3], f[4], f[5]);
    AppendDaySpanCount(answer.AddText(), values.count);
    AppendDaySpanApprox(answer.AddText(), values.span);
    answer.Values()
        .Number("days", values.count)
        .Number("years", values.span.years)
        .Number("months", values.span.months);
}

// The Gregorian date of the date-after page's result, where its parts are
// whole and make a date of the years 1 to 9999.
std::optional<year_month_day> ExistingDate(const RealDate& date) {
    // In range first, so that the conversion to an integer is defined.
    const auto whole = [](double value, double low, double high) {
        return value >= low && value <= high && static_cast<double>(static_cast<int>(value)) == value;
    };
    if (!whole(date.year, 1, 9999) || !whole(date.month, 1, 12) || !whole(date.day, 1, 31))
        return std::nullopt;
    const year_month_day ymd{year{static_cast<int>(date.year)},
                             month{static_cast<unsigned>(date.month)},
                             day{static_cast<unsigned>(date.day)}};
    if (!ymd.ok()) return std::nullopt;
    return ymd;
}

void AfterPage(Fields fields, std::size_t count, const PageOptions& options, PageAnswer& answer) {
    std::array<DateTexts, 2> storage;
    const auto f = DialogFields("after", "4 fields (year, month, day, days) or a date and the days",
                                fields, count, 4, 1, 1, options, storage);
    const RealDate date = DateAfterPageDate(f[0], f[1], f[2], f[3]);
    AppendDateAfterSentence(answer.AddText(), date);
    JsonMembers values = answer.Values();
    values.Number("year", date.year).Number("month", date.month).Number("day", date.day);
    if (const auto existing = ExistingDate(date)) {
        values.Date("date", *existing);
    } else {
        values.Null("date");
    }
}

void UptimePage(Fields fields, std::size_t count, PageAnswer& answer) {
    if (count != 1) WrongCount("uptime", "1 field (the tick count in milliseconds)", count);
    const std::uint32_t ticks = ParseTickCount(fields[0]);
    answer.AddText() += UptimeText(ticks);
    const std::uint32_t s = ticks / 1000;  // [0, 4294967]
    answer.Values()
        .Integer("hours", s / 3600)
        .Integer("minutes", s / 60 % 60)
        .Integer("seconds", s % 60);
}

void AddCalendarRows(const TMonthModel& calendar, PageAnswer& answer) {
    for (const std::string& row : CalendarRowTexts(calendar)) answer.AddText() += row;
}

void CalendarPage(Fields fields, std::size_t count, const PageOptions& options,
                  PageAnswer& answer) {
    const year_month_day start = options.start ? *options.start : year_month_day{options.today()};
    std::array<std::string, 3> texts;
    if (count == 1) {
        const DateTexts date = SplitDate(ReadDateField(fields[0], options.today));
        for (std::size_t i = 0; i < 3; ++i) texts[i] = date.Part(i);
    } else if (count == 3) {
        for (std::size_t i = 0; i < 3; ++i) texts[i] = fields[i];
    } else {
        throw UsageError{CalendarFieldCountMessage(count)};
    }
    TMonthModel calendar;
    calendar.Start(MakeDateValue(static_cast<std::uint16_t>(static_cast<int>(start.year())),
                                 static_cast<std::uint16_t>(static_cast<unsigned>(start.month())),
                                 static_cast<std::uint16_t>(static_cast<unsigned>(start.day()))));
    try {
        CalendarUpdate(calendar, texts[0], texts[1], texts[2]);
    } catch (const Exception&) {
        AddCalendarRows(calendar, answer);  // the grid shows how far the update got
        throw;
    }
    AddCalendarRows(calendar, answer);
    const year_month_day shown{year{calendar.Year()},
                               month{static_cast<unsigned>(calendar.Month())},
                               day{static_cast<unsigned>(calendar.Day())}};
    JsonMembers values = answer.Values();
    values.Integer("year", calendar.Year())
        .Integer("month", calendar.Month())
        .Integer("day", calendar.Day());
    AppendMonthHolidays(values, shown);
}

}  // namespace

sys_days LocalToday() {
    const LocalDate today = ReadLocalDate();
    return sys_days{year{today.year} / today.month / today.day};
}

unsigned PageKeys(std::string_view page) noexcept {
    if (page == "calendar") return kStartKey;
    if (page == "days") return kInclusiveKey;
    if (page == "workdays" || page == "workday") return kBusinessKeys;
    return 0;
}

std::string& PageAnswer::AddText() {
    if (json_ != nullptr) {
        EndText();
        *json_ += count_++ == 0 ? "\""sv : ", \""sv;
        textStart_ = json_->size();
        open_ = true;
        return *json_;
    }
    if (count_ == texts_.size()) texts_.emplace_back();
    std::string& text = texts_[count_++];
    text.clear();
    return text;
}

void PageAnswer::EndText() {
    if (!open_) return;
    open_ = false;
    if (!plain_) EscapeTail(*json_, textStart_);
    *json_ += '"';
}

JsonMembers PageAnswer::Values() {
    if (json_ == nullptr) return JsonMembers(values_);
    EndText();
    *json_ += "], \"values\": {"sv;
    valuesOpen_ = true;
    return JsonMembers(*json_);
}

void PageAnswer::Finish() {
    if (json_ == nullptr) return;
    EndText();
    *json_ += valuesOpen_ ? '}' : ']';
}

void PageAnswer::Trim() {
    constexpr std::size_t kKept = 4096;
    for (std::string& text : texts_) {
        if (text.capacity() > kKept) std::string().swap(text);
    }
    if (values_.capacity() > kKept) std::string().swap(values_);
}

std::uint32_t ParseTickCount(std::string_view text) {
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

std::string CalendarFieldCountMessage(std::size_t count) {
    return "calendar takes 3 fields (year, month, day) or a date, not " + std::to_string(count);
}

void RunPage(std::string_view page, Fields fields, std::size_t count, const PageOptions& options,
             PageAnswer& answer) {
    answer.Clear();
    // By length first: the dialog's pages are most of the batch lines.
    switch (page.size()) {
        case 4:
            if (page == "span"sv) return SpanPage(fields, count, options, answer);
            break;
        case 5:
            if (page == "after"sv) return AfterPage(fields, count, options, answer);
            break;
        case 6:
            if (page == "uptime"sv) return UptimePage(fields, count, answer);
            break;
        case 7:
            if (page == "weekday"sv) return WeekdayPage(fields, count, options, answer);
            break;
        case 8:
            if (page == "calendar"sv) return CalendarPage(fields, count, options, answer);
            break;
        default: break;
    }
    if (RunCivilPage(page, fields, count, options, answer)) return;
    throw UsageError{"unknown page '" + BoundedText(page) + "'"};
}

std::vector<std::string> RunPage(std::string_view page, const std::vector<std::string>& fields) {
    std::vector<std::string_view> views(fields.begin(), fields.end());
    PageAnswer answer;
    RunPage(page, std::span(views).first(std::min(views.size(), kMaxPageFields)), views.size(),
            PageOptions{}, answer);
    return answer.Texts();
}

}  // namespace vesk::cli
