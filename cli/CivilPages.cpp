#include "cli/CivilPages.h"

namespace vesk::cli {

bool RunCivilPage(std::string_view, std::span<const std::string_view>, std::size_t,
                  const PageOptions&, PageAnswer&) {
    return false;
}

std::vector<MonthHoliday> MonthHolidays(int, unsigned) { return {}; }

void AppendMonthHolidays(JsonMembers& values, std::chrono::year_month_day) {
    values.Raw("holidays") += "[]";
}

}  // namespace vesk::cli
