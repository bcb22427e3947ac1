#include "japanese/Sentences.h"

#include "japanese/CivilDate.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;
using namespace std::string_view_literals;

// Room for "9999年12月31日" and a minus sign to spare.
constexpr std::size_t kDateTextRoom = 32;

char* WriteLiteral(char* p, std::string_view text) {
    for (const char c : text) *p++ = c;
    return p;
}

// "2024年1月5日" at `p`, which has room for kDateTextRoom bytes; returns the end.
char* WriteDate(char* p, year_month_day date) {
    p = WriteInteger(p, static_cast<int>(date.year()));
    p = WriteLiteral(p, "年"sv);
    p = WriteInteger(p, static_cast<unsigned>(date.month()));
    p = WriteLiteral(p, "月"sv);
    p = WriteInteger(p, static_cast<unsigned>(date.day()));
    return WriteLiteral(p, "日"sv);
}

void AppendWeekday(std::string& out, weekday w) {
    out += "（"sv;
    out += WeekdayName(w);
    out += "）"sv;
}

// "2024年1月1日から2024年12月31日まで"
void AppendFromTo(std::string& out, year_month_day from, year_month_day to) {
    AppendDate(out, from);
    out += "から"sv;
    AppendDate(out, to);
    out += "まで"sv;
}

}  // namespace

void AppendDate(std::string& out, year_month_day date) {
    char text[kDateTextRoom];
    out.append(text, static_cast<std::size_t>(WriteDate(text, date) - text));
}

void AppendDateWithWeekday(std::string& out, year_month_day date) {
    // "2024年1月5日（金）" in one piece: the holidays page writes many.
    char text[kDateTextRoom + 9];
    char* p = WriteDate(text, date);
    p = WriteLiteral(p, "（"sv);
    p = WriteLiteral(p, WeekdayName(weekday{sys_days{date}}));
    p = WriteLiteral(p, "）"sv);
    out.append(text, static_cast<std::size_t>(p - text));
}

void AppendJapaneseDateWithWeekday(std::string& out, const JapaneseDate& date) {
    AppendJapaneseDate(out, date);
    const year_month_day gregorian{year{date.era->firstYear + date.year - 1}, month{date.month},
                                   day{date.day}};
    AppendWeekday(out, weekday{sys_days{gregorian}});
}

void AppendHolidayText(std::string& out, const Holiday& holiday) {
    AppendDateWithWeekday(out, year_month_day{holiday.date});
    out += "　"sv;
    out += holiday.name;
}

void AppendDayCountSentence(std::string& out, year_month_day from, year_month_day to,
                            const DayCount& count, bool inclusive) {
    AppendFromTo(out, from, to);
    out += inclusive ? "は初日を含めて" : "は";
    AppendInteger(out, count.days);
    out += "日です。"sv;
}

void AppendWeeksSentence(std::string& out, const DayCount& count) {
    AppendInteger(out, count.weeks);
    out += "週と"sv;
    AppendInteger(out, count.weekDays);
    out += "日です。"sv;
}

void AppendSpanSentence(std::string& out, const DayCount& count) {
    if (count.years != 0) {
        AppendInteger(out, count.years);
        out += "年"sv;
    }
    AppendInteger(out, count.months);
    out += "ヶ月"sv;
    AppendInteger(out, count.dayRest);
    out += "日です。"sv;
}

void AppendAddSentence(std::string& out, year_month_day date, const Period& period,
                       year_month_day result) {
    AppendDate(out, date);
    out += "の"sv;
    AppendJapanesePeriod(out, period);
    out += "は"sv;
    AppendDateWithWeekday(out, result);
    out += "です。"sv;
}

void AppendBusinessDayCountSentence(std::string& out, year_month_day from, year_month_day to,
                                    std::int64_t count) {
    AppendFromTo(out, from, to);
    out += "の営業日は"sv;
    AppendInteger(out, count);
    out += "日です。"sv;
}

void AppendNthBusinessDaySentence(std::string& out, year_month_day date, std::int64_t n,
                                  year_month_day result) {
    if (n == 0) {
        AppendDateWithWeekday(out, date);
        if (result == date) {
            out += "は営業日です。"sv;
            return;
        }
        out += "の次の営業日は"sv;
    } else {
        AppendDate(out, date);
        out += "の"sv;
        AppendUnsigned(out,
                       n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n));
        out += n < 0 ? "営業日前は" : "営業日後は";
    }
    AppendDateWithWeekday(out, result);
    out += "です。"sv;
}

void AppendAgeSentence(std::string& out, year_month_day birth, year_month_day on, const Age& age) {
    AppendDate(out, birth);
    out += "生まれの人は"sv;
    AppendDate(out, on);
    out += "に満"sv;
    AppendInteger(out, age.age);
    out += "歳（数え年"sv;
    AppendInteger(out, age.kazoe);
    out += "歳）です。"sv;
}

}  // namespace vesk::japanese
