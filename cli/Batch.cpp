#include "cli/Batch.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "cli/CalendarCommand.h"
#include "datecalc/DateValue.h"
#include "cli/Pages.h"
#include "textconv/Failures.h"
#include "textconv/NumberFormat.h"

#if defined(_WIN32)
#include <io.h>
#define VESK_READ _read
#else
#include <unistd.h>
#define VESK_READ read
#endif

namespace vesk::cli {
namespace {

using nlohmann::json;

// A JSON string literal: UTF-8 kept as it is, invalid bytes replaced.
std::string Quote(const std::string& text) {
    return json(text).dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string Texts(const std::vector<std::string>& texts) {
    std::string out = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i != 0) out += ", ";
        out += Quote(texts[i]);
    }
    return out + "]";
}

std::string Succeeded(const std::vector<std::string>& texts) {
    return "{\"ok\": true, \"texts\": " + Texts(texts) + "}";
}

// A failure's answer; the calendar adds the grid as the failure left it.
std::string Failed(const char* error, const std::string& message,
                   const std::vector<std::string>* texts = nullptr) {
    return std::string("{\"ok\": false, \"error\": ") + Quote(error) + ", \"message\": " +
           Quote(message) + (texts != nullptr ? ", \"texts\": " + Texts(*texts) : "") + "}";
}

// Puts the decimal separator back when a line that set its own is done.
class SeparatorScope {
public:
    SeparatorScope() : saved_(DecimalSeparator()) {}
    ~SeparatorScope() { SetDecimalSeparator(saved_); }
    SeparatorScope(const SeparatorScope&) = delete;
    SeparatorScope& operator=(const SeparatorScope&) = delete;

private:
    char saved_;
};

struct Request {
    std::string page;
    std::vector<std::string> fields;
    std::optional<TDateTime> start;  // the calendar's starting date, default today
};

// The calendar's "start": [year, month, day], a valid date.
TDateTime StartDate(const json& start) {
    const char* problem = "\"start\" must be a date [year, month, day] from [1, 1, 1] to [9999, 12, 31]";
    if (!start.is_array() || start.size() != 3) throw UsageError{problem};
    std::uint16_t parts[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        const json& part = start[i];
        if (!part.is_number_integer() || part.get<std::int64_t>() < 1 || part.get<std::int64_t>() > 9999) {
            throw UsageError{problem};
        }
        parts[i] = static_cast<std::uint16_t>(part.get<std::int64_t>());
    }
    try {
        return MakeDateValue(parts[0], parts[1], parts[2]);
    } catch (const EConvertError&) {
        throw UsageError{problem};
    }
}

Request ReadRequest(const json& object) {
    if (object.is_discarded() || !object.is_object()) {
        throw UsageError{"each line must be a JSON object with \"page\" and \"fields\""};
    }
    const auto page = object.find("page");
    if (page == object.end() || !page->is_string()) {
        throw UsageError{"\"page\" must be a string"};
    }
    const bool calendar = *page == "calendar";
    for (const auto& [key, value] : object.items()) {
        if (key != "page" && key != "fields" && key != "separator" && !(calendar && key == "start")) {
            throw UsageError{"unknown key \"" + key + "\""};
        }
    }
    const auto fields = object.find("fields");
    if (fields == object.end() || !fields->is_array()) {
        throw UsageError{"\"fields\" must be an array of strings"};
    }
    Request request{page->get<std::string>(), {}, std::nullopt};
    for (const json& field : *fields) {
        if (!field.is_string()) throw UsageError{"\"fields\" must be an array of strings"};
        request.fields.push_back(field.get<std::string>());
    }
    if (const auto separator = object.find("separator"); separator != object.end()) {
        if (!separator->is_string() || separator->get_ref<const std::string&>().size() != 1) {
            throw UsageError{"\"separator\" must be a string of one byte"};
        }
        SetDecimalSeparator(separator->get_ref<const std::string&>()[0]);
    }
    if (const auto start = object.find("start"); start != object.end()) request.start = StartDate(*start);
    return request;
}

}  // namespace

std::string AnswerBatchLine(std::string_view line) {
    SeparatorScope scope;
    try {
        const Request request = ReadRequest(json::parse(line, nullptr, false));
        if (request.page == "calendar") {
            TMonthModel calendar;
            calendar.Start(request.start.value_or(Today()));
            const std::exception_ptr failure = ApplyCalendarFields(calendar, request.fields);
            const std::vector<std::string> rows = CalendarRowTexts(calendar);
            if (!failure) return Succeeded(rows);
            try {
                std::rethrow_exception(failure);
            } catch (const Exception& e) {
                return Failed(e.ClassName(), e.Message(), &rows);
            }
        }
        return Succeeded(RunPage(request.page, request.fields));
    } catch (const UsageError& e) {
        return Failed("usage", e.message);
    } catch (const Exception& e) {
        return Failed(e.ClassName(), e.Message());
    } catch (const std::bad_alloc&) {
        return Failed(OutOfMemoryFailure().ClassName(), OutOfMemoryFailure().Message());
    }
}

void RunBatch(int input, std::FILE* output) {
    std::vector<char> buffer(1u << 16);
    std::string line;
    bool overlong = false;  // the current line passed kMaxBatchLine and is being skipped
    auto answer = [&] {
        const std::string reply =
            overlong ? Failed("usage", "the line is longer than " +
                                           std::to_string(kMaxBatchLine) + " bytes")
                     : AnswerBatchLine(line);
        std::fwrite(reply.data(), 1, reply.size(), output);
        std::fputc('\n', output);
        line.clear();
        overlong = false;
    };
    for (;;) {
        std::fflush(output);  // the input is drained: the reader may be waiting for us
        const auto got = VESK_READ(input, buffer.data(), static_cast<unsigned>(buffer.size()));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        const char* p = buffer.data();
        const char* end = p + got;
        while (p < end) {
            const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const char* stop = newline != nullptr ? newline : end;
            if (!overlong) {
                if (line.size() + static_cast<std::size_t>(stop - p) > kMaxBatchLine) {
                    overlong = true;
                    line.clear();
                    line.shrink_to_fit();
                } else {
                    line.append(p, stop);
                }
            }
            if (newline == nullptr) break;
            answer();
            p = newline + 1;
        }
    }
    if (!line.empty() || overlong) answer();  // a last line without its line break
    std::fflush(output);
}

}  // namespace vesk::cli
