#include "datecalc/CalendarUpdate.h"

#include "textconv/Conversions.h"

namespace vesk {

void CalendarUpdate(TMonthModel& calendar, const std::string& yearText, const std::string& monthText,
                    const std::string& dayText) {
    calendar.SetYear(IntegerParse(yearText));
    calendar.SetMonth(IntegerParse(monthText));
    calendar.SetDay(IntegerParse(dayText));
}

}  // namespace vesk
