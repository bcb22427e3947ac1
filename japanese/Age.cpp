#include "japanese/Age.h"

#include <string>

#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"

namespace vesk::japanese {

using namespace std::chrono;

Age AgeOn(year_month_day birth, year_month_day on) {
    RequireDateRange(birth);
    RequireDateRange(on);
    if (on < birth) {
        std::string message = IsoDate(on);
        message += " lies before the birth date ";
        AppendIsoDate(message, birth);
        throw CalendarError{std::move(message)};
    }
    const std::int64_t years = static_cast<int>(on.year()) - static_cast<int>(birth.year());
    // The birthday's month and day not reached yet. Born 29 February: in a
    // common year 28 February still comes before it and 1 March after it.
    const bool beforeBirthday =
        month_day{on.month(), on.day()} < month_day{birth.month(), birth.day()};
    return {years - (beforeBirthday ? 1 : 0), years + 1};
}

}  // namespace vesk::japanese
