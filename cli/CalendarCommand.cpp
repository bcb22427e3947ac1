#include "cli/CalendarCommand.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "datecalc/CalendarUpdate.h"
#include "cli/DateFields.h"
#include "cli/Pages.h"
#include "textconv/Failures.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#if defined(VESK310_UTF8PROC)
#include <utf8proc.h>
#endif

namespace vesk::cli {
namespace {

constexpr const char* kReverseVideo = "\x1b[7m";
constexpr const char* kNormalVideo = "\x1b[27m";

bool IsCurrent(const TMonthModel& calendar, int col, int row) {
    return col == calendar.CurrentCol() && row == calendar.CurrentRow();
}

// The columns a UTF-8 text takes on a terminal, whatever the locale: the texts
// are UTF-8 on every platform.
int DisplayWidth(const std::string& text) {
#if defined(VESK310_UTF8PROC)
    int width = 0;
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    auto left = static_cast<utf8proc_ssize_t>(text.size());
    while (left > 0) {
        utf8proc_int32_t code = 0;
        utf8proc_ssize_t length = utf8proc_iterate(bytes, left, &code);
        if (length <= 0) {  // a byte that starts no character: one column, as a replacement
            length = 1;
            width += 1;
        } else {
            width += utf8proc_charwidth(code);
        }
        bytes += length;
        left -= length;
    }
    return width;
#else
    // Two columns for each East Asian wide or full-width character, one for
    // any other.
    int width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        }
        const bool wide = (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
                          (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
                          (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
                          (code >= 0xFFE0 && code <= 0xFFE6) || code >= 0x20000;
        width += wide ? 2 : 1;
        i += length;
    }
    return width;
#endif
}

std::string PadLeft(const std::string& text, int width) {
    return std::string(static_cast<std::size_t>(std::max(width - DisplayWidth(text), 0)), ' ') + text;
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
#if defined(_WIN32)
    (void)stream;
    return false;  // the console may not take escape sequences: brackets there
#else
    const char* term = std::getenv("TERM");
    return ::isatty(::fileno(stream)) == 1 && term != nullptr && std::string(term) != "dumb";
#endif
}

bool UseReverseVideo(ColorMode mode, bool terminal, const char* noColor) {
    switch (mode) {
        case ColorMode::Always: return true;
        case ColorMode::Never: return false;
        case ColorMode::Auto: break;
    }
    return terminal && (noColor == nullptr || *noColor == '\0');
}

std::vector<std::string> CalendarRowTexts(const TMonthModel& calendar) {
    std::vector<std::string> rows;
    for (int row = 0; row < kCalendarRowCount; ++row) {
        std::string line;
        for (int col = 0; col < kCalendarColCount; ++col) {
            const std::string label = calendar.CellLabel(col, row);
            if (col != 0) line += '\t';
            line += IsCurrent(calendar, col, row) ? "[" + label + "]" : label;
        }
        rows.push_back(std::move(line));
    }
    return rows;
}

std::string CalendarScreenText(const TMonthModel& calendar, bool reverseVideo) {
    int width = 2;  // day numbers take two columns
    for (int col = 0; col < kCalendarColCount; ++col) {
        width = std::max(width, DisplayWidth(calendar.CellLabel(col, 0)));
    }
    // A row is a column of delimiters, then each cell followed by one: blanks,
    // or the brackets around the current cell.
    const int rowWidth = 1 + kCalendarColCount * (width + 1);
    const std::string title = std::to_string(calendar.Year()) + "年" + std::to_string(calendar.Month()) + "月";
    std::string text = PadLeft(title, (rowWidth + DisplayWidth(title)) / 2) + "\n";
    for (int row = 0; row < kCalendarRowCount; ++row) {
        std::string line = " ";
        for (int col = 0; col < kCalendarColCount; ++col) {
            const std::string label = calendar.CellLabel(col, row);
            std::string cell = PadLeft(label, width);
            if (!IsCurrent(calendar, col, row)) {
                line += cell + " ";
            } else if (reverseVideo) {
                line += kReverseVideo + cell + kNormalVideo + " ";
            } else {
                // The opening bracket takes the blank just before the label.
                cell.resize(cell.size() - label.size());
                std::string& before = cell.empty() ? line : cell;
                before.back() = '[';
                line += cell + label + "]";
            }
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        text += line + "\n";
    }
    return text;
}

std::exception_ptr ApplyCalendarFields(TMonthModel& calendar, const std::vector<std::string>& fields) {
    if (fields.size() != 3) throw UsageError{CalendarFieldCountMessage(fields.size())};
    try {
        CalendarUpdate(calendar, fields[0], fields[1], fields[2]);
    } catch (const Exception&) {
        return std::current_exception();  // the grid shows how far the update got
    }
    return nullptr;
}

std::string CalendarPageText(std::vector<std::string> fields, bool reverseVideo,
                             std::exception_ptr& failure) {
    if (fields.size() == 1) {
        const std::chrono::year_month_day date = ReadDateField(fields[0], &LocalToday);
        fields = {std::to_string(static_cast<int>(date.year())), std::to_string(static_cast<unsigned>(date.month())),
                  std::to_string(static_cast<unsigned>(date.day()))};
    }
    if (!fields.empty() && fields.size() != 3) {
        throw UsageError{"calendar takes no fields or 3 (year, month, day), not " + std::to_string(fields.size())};
    }
    TMonthModel calendar;
    calendar.Start(Today());
    failure = fields.empty() ? nullptr : ApplyCalendarFields(calendar, fields);
    return CalendarScreenText(calendar, reverseVideo);
}

}  // namespace vesk::cli
