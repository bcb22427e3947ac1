#pragma once
// The Japanese sentences of the calendar pages, each appended to a caller's
// buffer. A date reads as people write it, "2024年1月5日", with its weekday
// where the sentence shows a result, "2024年1月5日（金）". Every function
// raises nothing but for memory.

#include <chrono>
#include <cstdint>
#include <string>

#include "japanese/Age.h"
#include "japanese/DayCount.h"
#include "japanese/Era.h"
#include "japanese/Holidays.h"
#include "japanese/Period.h"

namespace vesk::japanese {

// "2024年1月5日"
void AppendDate(std::string& out, std::chrono::year_month_day date);
// "2024年1月5日（金）"
void AppendDateWithWeekday(std::string& out, std::chrono::year_month_day date);
// "令和6年1月5日（金）", "令和元年5月1日（水）"
void AppendJapaneseDateWithWeekday(std::string& out, const JapaneseDate& date);

// holidays: "2024年1月1日（月）　元日" (an ideographic space before the name).
void AppendHolidayText(std::string& out, const Holiday& holiday);

// days: "2024年1月1日から2024年12月31日までは365日です。", with the first day
// counted "…までは初日を含めて366日です。".
void AppendDayCountSentence(std::string& out, std::chrono::year_month_day from,
                            std::chrono::year_month_day to, const DayCount& count, bool inclusive);
// "52週と1日です。"; each number keeps its sign ("-52週と-1日です。").
void AppendWeeksSentence(std::string& out, const DayCount& count);
// "11ヶ月30日です。", with years when there are any: "1年2ヶ月3日です。".
void AppendSpanSentence(std::string& out, const DayCount& count);

// add: "2024年1月31日の1ヶ月後は2024年2月29日（木）です。" (AppendJapanesePeriod).
void AppendAddSentence(std::string& out, std::chrono::year_month_day date, const Period& period,
                       std::chrono::year_month_day result);

// workdays: "2024年1月1日から2024年1月31日までの営業日は21日です。"
void AppendBusinessDayCountSentence(std::string& out, std::chrono::year_month_day from,
                                    std::chrono::year_month_day to, std::int64_t count);

// workday: "2024年1月5日の10営業日後は2024年1月22日（月）です。" (n < 0: "前");
// n = 0: "2024年1月5日（金）は営業日です。" when the result is the date itself,
// else "2024年1月6日（土）の次の営業日は2024年1月9日（火）です。".
void AppendNthBusinessDaySentence(std::string& out, std::chrono::year_month_day date,
                                  std::int64_t n, std::chrono::year_month_day result);

// age: "2000年2月29日生まれの人は2024年3月1日に満24歳（数え年25歳）です。"
void AppendAgeSentence(std::string& out, std::chrono::year_month_day birth,
                       std::chrono::year_month_day on, const Age& age);

}  // namespace vesk::japanese
