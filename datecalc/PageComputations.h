#pragma once
// The computing pages, from field texts to the sentences they show. Each
// function converts all its inputs before it composes anything, so a failure
// leaves no partial result; failures propagate to the caller unchanged.

#include <cstdint>
#include <string>
#include <string_view>

#include "datecalc/CalendarArithmetic.h"

namespace vesk {

// The weekday sentence for Ed1, Ed2, Ed3 (year, month, day), quoting the field
// texts as typed: "  2001年1月1日は（月）曜日です。". Raises EConvertError from
// the integer parse of the first field that is no integer (year, month, day).
std::string WeekdayPage(std::string_view year, std::string_view month, std::string_view day);

struct DaySpanTexts {
    std::string count;  // for Edit7: "(１)から(２)までの日数は  364日です。"
    std::string span;   // for Edit8: " およそ  1年  0ヶ月...です。"
};
// The day count and the rough span between date (1) (Edit1 to Edit3) and
// date (2) (Edit4 to Edit6). Raises EConvertError from real parse and EOverflow,
// in field order: everything of date (1) before anything of date (2).
DaySpanTexts DaySpanPage(std::string_view year1, std::string_view month1, std::string_view day1,
                         std::string_view year2, std::string_view month2, std::string_view day2);

// The date a number of days after a date (Edit9 to Edit12):
// "  2001年 9月 28日です。". Raises EConvertError from real parse (all four
// fields are parsed first) and EOverflow.
std::string DateAfterPage(std::string_view year, std::string_view month, std::string_view day,
                          std::string_view days);

// The uptime text for a tick count in milliseconds: "1時間 2分 3秒 ". Never fails.
std::string UptimeText(std::uint32_t tickCount);

// The same pages in two steps, for callers that write the sentences into a
// buffer of their own: first the values, which raise what the page raises,
// then the sentences appended to `out`, which raise nothing but for memory.
std::int32_t WeekdayPageIndex(std::string_view year, std::string_view month, std::string_view day);
void AppendWeekdaySentence(std::string& out, std::string_view year, std::string_view month,
                           std::string_view day, std::int32_t index);

struct DaySpanValues {
    double count;  // the day difference
    ApproxSpanResult span;
};
DaySpanValues DaySpanPageValues(std::string_view year1, std::string_view month1, std::string_view day1,
                                std::string_view year2, std::string_view month2, std::string_view day2);
void AppendDaySpanCount(std::string& out, double count);
void AppendDaySpanApprox(std::string& out, const ApproxSpanResult& span);

RealDate DateAfterPageDate(std::string_view year, std::string_view month, std::string_view day,
                           std::string_view days);
void AppendDateAfterSentence(std::string& out, const RealDate& date);

}  // namespace vesk
