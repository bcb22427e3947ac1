#pragma once
// The calendar page's update: moves the month grid to a typed year, month and
// day.

#include <string>

#include "datecalc/MonthModel.h"

namespace vesk {

// Parses the year text and sets Year, then the month text and Month, then the
// day text and Day, each step ending before the next text is read. A text that
// is no integer (EConvertError from the integer parse) or a date that does not
// exist (EConvertError with kInvalidDateMessage) ends it at once: the later
// steps do not run and the earlier ones stay applied. Never writes the texts.
void CalendarUpdate(TMonthModel& calendar, const std::string& yearText, const std::string& monthText,
                    const std::string& dayText);

}  // namespace vesk
