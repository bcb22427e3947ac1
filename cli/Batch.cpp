#include "cli/Batch.h"

#include <optional>

#include "cli/BatchRequest.h"
#include "cli/DateFields.h"
#include "cli/Json.h"
#include "cli/Pages.h"
#include "cli/Separator.h"
#include "japanese/CalendarError.h"
#include "textconv/Failures.h"
#include "textconv/NumberFormat.h"

namespace vesk::cli {
namespace {

using namespace std::string_view_literals;

// The end of an answer: the line's id, if it has one, and the closing brace.
void AppendEnd(std::string& out, std::string_view id) {
    if (!id.empty()) {
        out += ", \"id\": "sv;
        out += id;
    }
    out += "}\n"sv;
}

// The collected texts of an answer, as the elements of an array, each checked
// as it is quoted.
void AppendTextElements(std::string& out, const PageAnswer& answer) {
    for (std::size_t i = 0; i < answer.TextCount(); ++i) {
        if (i != 0) out += ", "sv;
        AppendQuoted(out, answer.Text(i));
    }
}

// A failure's answer; the calendar's adds the grid as the failure left it.
void AppendFailed(std::string& out, std::string_view error, std::string_view message,
                  std::string_view id, const PageAnswer* answer = nullptr) {
    out += "{\"ok\": false, \"error\": "sv;
    AppendQuoted(out, error);
    out += ", \"message\": "sv;
    AppendQuoted(out, message);
    if (answer != nullptr && answer->TextCount() != 0) {
        out += ", \"texts\": ["sv;
        AppendTextElements(out, *answer);
        out += ']';
    }
    AppendEnd(out, id);
}

// The first of two key names in byte order, either may be absent.
void KeepFirst(std::optional<std::string>& first, std::string_view name) {
    if (!first || name < *first) first = std::string(name);
}

// Checks a request in the order of the format's rules, with their messages.
void CheckRequest(BatchRequest& request) {
    if (!request.object) throw UsageError{"each line must be a JSON object with \"page\" and \"fields\""};
    if (request.page != Presence::kGood) throw UsageError{"\"page\" must be a string"};
    // The keys of other pages are unknown to this one.
    const unsigned keys = PageKeys(request.pageName);
    if (!(keys & kStartKey) && request.start != Presence::kAbsent)
        KeepFirst(request.unknownKey, "start");
    if (!(keys & kInclusiveKey) && request.inclusive != Presence::kAbsent)
        KeepFirst(request.unknownKey, "inclusive");
    if (!(keys & kBusinessKeys)) {
        if (request.yearEnd != Presence::kAbsent) KeepFirst(request.unknownKey, "yearEnd");
        if (request.closed != Presence::kAbsent) KeepFirst(request.unknownKey, "closed");
        if (request.weekend != Presence::kAbsent) KeepFirst(request.unknownKey, "weekend");
    }
    if (request.unknownKey) throw UsageError{"unknown key \"" + *request.unknownKey + "\""};
    if (request.fields != Presence::kGood) throw UsageError{"\"fields\" must be an array of strings"};
    if (request.separator != Presence::kAbsent) {
        if (request.separator == Presence::kBad || request.separatorText.size() != 1) {
            throw UsageError{"\"separator\" must be a string of one byte"};
        }
        if (!IsUsableSeparator(request.separatorText)) {
            throw UsageError{"\"separator\" must be a printable ASCII character other than a digit, a sign, "
                             "a blank, e, E, $, x or X"};
        }
    }
}

// The calendar's "start": [year, month, day], a valid date.
std::chrono::year_month_day StartDate(const BatchRequest& request) {
    using namespace std::chrono;
    const char* problem = "\"start\" must be a date [year, month, day] from [1, 1, 1] to [9999, 12, 31]";
    if (request.start != Presence::kGood || request.startCount != 3) throw UsageError{problem};
    const auto& [y, m, d] = request.startParts;
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) throw UsageError{problem};
    const year_month_day date{year{static_cast<int>(y)}, month{static_cast<unsigned>(m)},
                              day{static_cast<unsigned>(d)}};
    if (!date.ok()) throw UsageError{problem};
    return date;
}

// The page options that the request's keys give.
void ReadOptions(BatchRequest& request, PageOptions& options) {
    if (request.start != Presence::kAbsent) options.start = StartDate(request);
    const auto boolean = [](Presence presence, bool value, const char* name) {
        if (presence == Presence::kBad)
            throw UsageError{std::string("\"") + name + "\" must be true or false"};
        return presence == Presence::kGood && value;
    };
    options.inclusive = boolean(request.inclusive, request.inclusiveValue, "inclusive");
    options.yearEnd = boolean(request.yearEnd, request.yearEndValue, "yearEnd");
    std::string scratch;
    if (request.closed == Presence::kBad) throw UsageError{"\"closed\" must be an array of dates"};
    if (request.closed == Presence::kGood) {
        ForEachString(request.closedArray, scratch, [&](std::string_view text) {
            options.closed.push_back(ReadIsoDate(text));
        });
    }
    if (request.weekend == Presence::kBad)
        throw UsageError{"\"weekend\" must be an array of day names"};
    if (request.weekend == Presence::kGood) {
        options.weekend = {};
        ForEachString(request.weekendArray, scratch, [&](std::string_view names) {
            const std::array<bool, 7> days = ReadWeekend(names);
            for (std::size_t i = 0; i < days.size(); ++i) options.weekend[i] = options.weekend[i] || days[i];
        });
    }
}

// How the texts of a page's answer are written: straight into the answer,
// when they are made of the batch request's checked texts (and need escapes
// only where those had any), or collected and checked as they are quoted,
// for the calendar's locale day names and the command line's texts.
enum class Texts { kPlain, kChecked, kUnchecked };

void AppendAnswer(std::string& out, std::string_view page, std::span<const std::string_view> fields,
                  std::size_t fieldCount, const PageOptions& options, std::string_view id, Texts texts,
                  PageAnswer& answer) {
    if (page == "calendar"sv) texts = Texts::kUnchecked;
    const bool collect = texts == Texts::kUnchecked;
    const std::size_t mark = out.size();
    try {
        out += "{\"ok\": true, \"texts\": ["sv;
        answer.WriteTextsTo(collect ? nullptr : &out, texts == Texts::kPlain);
        RunPage(page, fields, fieldCount, options, answer);
        if (collect) {
            AppendTextElements(out, answer);
            out += ']';
            if (!answer.ValuesText().empty()) {
                out += ", \"values\": {"sv;
                out += answer.ValuesText();
                out += '}';
            }
        } else {
            answer.Finish();
        }
        AppendEnd(out, id);
    } catch (const UsageError& e) {
        out.resize(mark);
        AppendFailed(out, "usage", e.message, id);
    } catch (const japanese::CalendarError& e) {
        out.resize(mark);
        AppendFailed(out, kCalendarErrorClass, e.message, id);
    } catch (const Exception& e) {
        out.resize(mark);
        // Only a calendar failure leaves texts: the grid as it left it.
        AppendFailed(out, e.ClassName(), e.Message(), id, collect ? &answer : nullptr);
    }
}

// Answers a request that has been read.
void Answer(BatchRequest& request, PageAnswer& answer, std::string& out) {
    try {
        CheckRequest(request);
    } catch (const UsageError& e) {
        AppendFailed(out, "usage", e.message, request.AnswerId());
        return;
    }
    const std::string_view id = request.AnswerId();
    std::optional<ThreadDecimalSeparator> separator;
    if (request.separator == Presence::kGood && request.separatorText[0] != DecimalSeparator()) {
        separator.emplace(request.separatorText[0]);
    }
    PageOptions options;
    try {
        ReadOptions(request, options);
    } catch (const UsageError& e) {
        AppendFailed(out, "usage", e.message, id);
        return;
    } catch (const japanese::CalendarError& e) {
        AppendFailed(out, kCalendarErrorClass, e.message, id);
        return;
    }
    const std::size_t kept = std::min(request.fieldCount, kMaxPageFields);
    AppendAnswer(out, request.pageName, std::span(request.fieldTexts).first(kept), request.fieldCount,
                 options, id, request.PlainTexts() ? Texts::kPlain : Texts::kChecked, answer);
}

}  // namespace

void AppendBatchAnswer(std::string_view line, std::string& out) {
    const std::size_t mark = out.size();
    // The buffers are kept from line to line on each thread.
    thread_local BatchRequest request;
    thread_local PageAnswer answer;
    bool read = false;  // the line was read, so its id is known
    try {
        if (out.capacity() - out.size() < kAnswerRoom) out.reserve(out.size() + kAnswerRoom);
        try {
            ReadBatchRequest(line, request);
            read = true;
        } catch (const UsageError& e) {
            AppendFailed(out, "usage", e.message, request.AnswerId());
            return;
        }
        Answer(request, answer, out);
        // A huge line leaves no huge buffers behind.
        if (line.size() > 4096) {
            std::string().swap(request.storage);
            answer.Trim();
        }
    } catch (const std::bad_alloc&) {
        // Whatever of the answer was written goes; the memory failure's answer
        // is short, and the buffer has room for it unless it was empty.
        out.resize(mark);
        const std::string_view id = read ? request.AnswerId() : std::string_view();
        try {
            AppendFailed(out, OutOfMemoryFailure().ClassName(), OutOfMemoryFailure().Message(), id);
        } catch (const std::bad_alloc&) {
            // A huge id may not fit; the answer without it does, in the room
            // the caller left (kAnswerRoom), or `out` stays as it was.
            out.resize(mark);
            try {
                AppendFailed(out, OutOfMemoryFailure().ClassName(), OutOfMemoryFailure().Message(), {});
            } catch (const std::bad_alloc&) {
                out.resize(mark);
                throw;
            }
        }
        std::string().swap(request.storage);
        answer = PageAnswer{};
    }
}

void AppendPageAnswer(std::string& out, std::string_view page, std::span<const std::string_view> fields,
                      std::size_t fieldCount, const PageOptions& options, std::string_view id) {
    PageAnswer answer;
    AppendAnswer(out, page, fields, fieldCount, options, id, Texts::kUnchecked, answer);
}

std::string AnswerBatchLine(std::string_view line) {
    std::string out;
    AppendBatchAnswer(line, out);
    if (!out.empty()) out.pop_back();  // the line break
    return out;
}

}  // namespace vesk::cli
