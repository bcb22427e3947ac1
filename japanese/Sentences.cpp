#include "japanese/Sentences.h"

#include "japanese/CivilDate.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;

void AppendWeekday(std::string& out, weekday w) {
    out += "（";
    out += WeekdayName(w);
    out += "）";
}

// "2024年1月1日から2024年12月31日まで"
void AppendFromTo(std::string& out, year_month_day from, year_month_day to) {
    AppendDate(out, from);
    out += "から";
    AppendDate(out, to);
    out += "まで";
}

}  // namespace

void AppendDate(std::string& out, year_month_day date) {
    AppendInteger(out, static_cast<int>(date.year()));
    out += "年";
    AppendMonthDay(out, static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
}

void AppendDateWithWeekday(std::string& out, year_month_day date) {
    AppendDate(out, date);
    AppendWeekday(out, weekday{sys_days{date}});
}

void AppendJapaneseDateWithWeekday(std::string& out, const JapaneseDate& date) {
    AppendJapaneseDate(out, date);
    const year_month_day gregorian{year{date.era->firstYear + date.year - 1}, month{date.month},
                                   day{date.day}};
    AppendWeekday(out, weekday{sys_days{gregorian}});
}

void AppendHolidayText(std::string& out, const Holiday& holiday) {
    AppendDateWithWeekday(out, year_month_day{holiday.date});
    out += "　";
    out += holiday.name;
}

void AppendDayCountSentence(std::string& out, year_month_day from, year_month_day to,
                            const DayCount& count, bool inclusive) {
    AppendFromTo(out, from, to);
    out += inclusive ? "は初日を含めて" : "は";
    AppendInteger(out, count.days);
    out += "日です。";
}

void AppendWeeksSentence(std::string& out, const DayCount& count) {
    AppendInteger(out, count.weeks);
    out += "週と";
    AppendInteger(out, count.weekDays);
    out += "日です。";
}

void AppendSpanSentence(std::string& out, const DayCount& count) {
    if (count.years != 0) {
        AppendInteger(out, count.years);
        out += "年";
    }
    AppendInteger(out, count.months);
    out += "ヶ月";
    AppendInteger(out, count.dayRest);
    out += "日です。";
}

void AppendAddSentence(std::string& out, year_month_day date, const Period& period,
                       year_month_day result) {
    AppendDate(out, date);
    out += "の";
    AppendJapanesePeriod(out, period);
    out += "は";
    AppendDateWithWeekday(out, result);
    out += "です。";
}

void AppendBusinessDayCountSentence(std::string& out, year_month_day from, year_month_day to,
                                    std::int64_t count) {
    AppendFromTo(out, from, to);
    out += "の営業日は";
    AppendInteger(out, count);
    out += "日です。";
}

void AppendNthBusinessDaySentence(std::string& out, year_month_day date, std::int64_t n,
                                  year_month_day result) {
    if (n == 0) {
        AppendDateWithWeekday(out, date);
        if (result == date) {
            out += "は営業日です。";
            return;
        }
        out += "の次の営業日は";
    } else {
        AppendDate(out, date);
        out += "の";
        AppendUnsigned(out,
                       n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n));
        out += n < 0 ? "営業日前は" : "営業日後は";
    }
    AppendDateWithWeekday(out, result);
    out += "です。";
}

void AppendAgeSentence(std::string& out, year_month_day birth, year_month_day on, const Age& age) {
    AppendDate(out, birth);
    out += "生まれの人は";
    AppendDate(out, on);
    out += "に満";
    AppendInteger(out, age.age);
    out += "歳（数え年";
    AppendInteger(out, age.kazoe);
    out += "歳）です。";
}

}  // namespace vesk::japanese
