#include "cli/TerminalCalendar.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "cli/DisplayWidth.h"
#include "textconv/DayAbbreviations.h"

namespace vesk::cli {
namespace {

using namespace std::chrono;

// Select Graphic Rendition parameters, and those that end them.
constexpr std::string_view kRed = "31";
constexpr std::string_view kBlue = "34";
constexpr std::string_view kReverse = "7";
constexpr std::string_view kEndColor = "39";
constexpr std::string_view kEndReverse = "27";

constexpr int kWeekRows = 6;
constexpr int kGap = 2;          // blanks between months side by side
constexpr unsigned kPerRow = 3;  // months side by side
constexpr int kWeekColumns = 4;  // " 12 " before a week row

// A line of text and the columns it takes, escape sequences not counted.
struct Line {
    std::string text;
    int width = 0;

    void Add(std::string_view plain) {
        text += plain;
        width += DisplayWidth(plain);
    }
    // `plain` in the rendition of `on` (SGR parameters joined by ";"), ended
    // by `off`; plain as it is when `on` is empty.
    void Add(std::string_view plain, std::string_view on, std::string_view off) {
        if (on.empty()) return Add(plain);
        text += "\x1b[";
        text += on;
        text += 'm';
        Add(plain);
        text += "\x1b[";
        text += off;
        text += 'm';
    }
};

std::string Blanks(int count) {
    return std::string(static_cast<std::size_t>(std::max(count, 0)), ' ');
}

// What every month of a sheet shares.
struct Geometry {
    int cellWidth = 2;      // the widest of the day numbers and the day names
    unsigned firstDay = 0;  // the weekday of the first column: 0 Sunday, 1 Monday
    int weekColumns = 0;    // before each row: the week number, or none

    // A row: a blank, then each cell followed by a blank.
    int CellsWidth() const { return 1 + 7 * (cellWidth + 1); }
    unsigned WeekdayOf(int column) const { return (firstDay + static_cast<unsigned>(column)) % 7; }
};

// The colour of a weekday's column, or of a holiday.
std::string_view DayColor(unsigned weekday, bool holiday) {
    if (holiday || weekday == 0) return kRed;
    return weekday == 6 ? kBlue : std::string_view();
}

Line TitleLine(const std::string& title, const Geometry& geometry) {
    const int width = DisplayWidth(title);
    Line line;
    line.Add(Blanks(geometry.weekColumns + (geometry.CellsWidth() + width) / 2 - width));
    line.Add(title);
    return line;
}

Line HeaderLine(const CalendarLook& look, const Geometry& geometry) {
    Line line;
    line.Add(Blanks(geometry.weekColumns + 1));
    for (int column = 0; column < 7; ++column) {
        const unsigned weekday = geometry.WeekdayOf(column);
        const std::string name = PadLeft(DayAbbreviations()[weekday], geometry.cellWidth);
        line.Add(name, look.color ? DayColor(weekday, false) : std::string_view(), kEndColor);
        line.Add(" ");
    }
    return line;
}

// One week row of a month: the day number of each column (0 for a blank cell)
// and which of them are holidays.
struct WeekRow {
    std::array<unsigned, 7> days{};
    std::array<bool, 7> holidays{};
};

Line WeekLine(const WeekRow& row, year_month month, std::optional<unsigned> highlight,
              const CalendarLook& look, const Geometry& geometry) {
    Line line;
    if (geometry.weekColumns != 0) {
        // The row's days of the month lie in one ISO week, but for a Sunday
        // before the Monday of the next: the last of them names the week.
        const auto last =
            std::find_if(row.days.rbegin(), row.days.rend(), [](unsigned d) { return d != 0; });
        const std::string number =
            last == row.days.rend() ? ""
                                    : std::to_string(IsoWeekNumber(sys_days{month / day{*last}}));
        line.Add(" " + PadLeft(number, 2) + " ");
    }
    std::array<std::string, 7> cells;
    for (std::size_t column = 0; column < 7; ++column) {
        cells[column] = PadLeft(row.days[column] == 0 ? "" : std::to_string(row.days[column]),
                                geometry.cellWidth);
    }
    if (look.color) {
        line.Add(" ");
        for (std::size_t column = 0; column < 7; ++column) {
            std::string on, off;
            if (row.days[column] != 0) {
                on = DayColor(geometry.WeekdayOf(static_cast<int>(column)), row.holidays[column]);
                off = on.empty() ? "" : kEndColor;
                if (highlight == row.days[column]) {
                    on = on.empty() ? std::string(kReverse) : on + ";" + std::string(kReverse);
                    off = off.empty() ? std::string(kEndReverse)
                                      : std::string(kEndReverse) + ";" + off;
                }
            }
            line.Add(cells[column], on, off);
            line.Add(" ");
        }
        return line;
    }
    // The blank after a cell is the mark's or the closing bracket's; the
    // opening bracket takes the blank before the number, in the cell when the
    // number is narrower than the cell. The brackets come last, so they win.
    std::string after(8, ' ');  // after[0] before the first cell, after[k + 1] after cell k
    for (std::size_t column = 0; column < 7; ++column) {
        if (row.holidays[column]) after[column + 1] = '*';
    }
    for (std::size_t column = 0; column < 7; ++column) {
        if (row.days[column] == 0 || highlight != row.days[column]) continue;
        const std::size_t digits = row.days[column] < 10 ? 1 : 2;
        std::string& cell = cells[column];
        if (cell.size() > digits) {
            cell[cell.size() - digits - 1] = '[';
        } else {
            after[column] = '[';
        }
        after[column + 1] = ']';
    }
    line.Add(after.substr(0, 1));
    for (std::size_t column = 0; column < 7; ++column) {
        line.Add(cells[column]);
        line.Add(after.substr(column + 1, 1));
    }
    return line;
}

std::vector<Line> MonthLines(year_month month, const std::string& title,
                             std::optional<unsigned> highlight, const CalendarLook& look,
                             const Geometry& geometry) {
    std::vector<Line> lines{TitleLine(title, geometry), HeaderLine(look, geometry)};
    const std::vector<MonthHoliday> holidays =
        look.holidays(static_cast<int>(month.year()), static_cast<unsigned>(month.month()));
    // [0, 6]: the column of the first day.
    const unsigned offset = (weekday{sys_days{month / 1}}.c_encoding() + 7 - geometry.firstDay) % 7;
    const unsigned lastDay = static_cast<unsigned>((month / last).day());
    for (unsigned row = 0; row < kWeekRows; ++row) {
        WeekRow week;
        for (unsigned column = 0; column < 7; ++column) {
            const unsigned cell = row * 7 + column;  // [0, 41]
            if (cell < offset || cell - offset >= lastDay) continue;
            week.days[column] = cell - offset + 1;
            week.holidays[column] =
                std::any_of(holidays.begin(), holidays.end(),
                            [&](const MonthHoliday& h) { return h.day == week.days[column]; });
        }
        lines.push_back(WeekLine(week, month, highlight, look, geometry));
    }
    for (const MonthHoliday& holiday : holidays) {
        Line line;
        line.Add(" " + PadLeft(std::to_string(holiday.day), 2) + "日 ");
        line.Add(holiday.name);
        lines.push_back(std::move(line));
    }
    return lines;
}

void AppendStripped(std::string& out, std::string line) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line;
    out += '\n';
}

}  // namespace

unsigned IsoWeekNumber(sys_days day) noexcept {
    // The week is numbered in the year of its Thursday.
    const sys_days thursday = day - days{static_cast<int>(weekday{day}.iso_encoding()) - 4};
    const year_month_day date{thursday};
    return static_cast<unsigned>((thursday - sys_days{date.year() / January / 1}).count() / 7 + 1);
}

std::string CalendarSheetText(const CalendarSheet& sheet, const CalendarLook& look) {
    Geometry geometry;
    for (const std::string& name : DayAbbreviations()) {
        geometry.cellWidth = std::max(geometry.cellWidth, DisplayWidth(name));
    }
    geometry.firstDay = look.mondayFirst ? 1 : 0;
    geometry.weekColumns = look.weekNumbers ? kWeekColumns : 0;

    std::vector<std::vector<Line>> months;
    int width = 0;  // every month as wide as the widest
    for (unsigned i = 0; i < sheet.months; ++i) {
        const year_month month = sheet.first + std::chrono::months{i};
        std::string title = std::to_string(static_cast<unsigned>(month.month())) + "月";
        if (!sheet.wholeYear) title = std::to_string(static_cast<int>(month.year())) + "年" + title;
        std::optional<unsigned> highlight;
        if (sheet.highlight && sheet.highlight->year() / sheet.highlight->month() == month) {
            highlight = static_cast<unsigned>(sheet.highlight->day());
        }
        months.push_back(MonthLines(month, title, highlight, look, geometry));
        for (const Line& line : months.back()) width = std::max(width, line.width);
    }

    std::string out;
    if (sheet.wholeYear) {
        const std::string heading = std::to_string(static_cast<int>(sheet.first.year())) + "年";
        const int rowWidth = static_cast<int>(kPerRow) * (width + kGap) - kGap;
        const int headingWidth = DisplayWidth(heading);
        AppendStripped(out, Blanks((rowWidth + headingWidth) / 2 - headingWidth) + heading);
        out += '\n';
    }
    for (std::size_t first = 0; first < months.size(); first += kPerRow) {
        if (first != 0) out += '\n';
        const std::size_t end = std::min<std::size_t>(first + kPerRow, months.size());
        std::size_t height = 0;
        for (std::size_t m = first; m < end; ++m) height = std::max(height, months[m].size());
        for (std::size_t i = 0; i < height; ++i) {
            std::string line;
            for (std::size_t m = first; m < end; ++m) {
                if (m != first) line += Blanks(kGap);
                const Line& part = i < months[m].size() ? months[m][i] : Line{};
                line += part.text + Blanks(width - part.width);
            }
            AppendStripped(out, std::move(line));
        }
    }
    return out;
}

}  // namespace vesk::cli
