#pragma once
// The pages of the Japanese civil calendar: era, holidays, days, add,
// workdays, workday, age.

#include <chrono>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "cli/Json.h"
#include "cli/Pages.h"

namespace vesk::cli {

// Computes the civil-calendar page `page` into `answer`, as RunPage does;
// false, with nothing done, when `page` is none of them.
bool RunCivilPage(std::string_view page, std::span<const std::string_view> fields,
                  std::size_t fieldCount, const PageOptions& options, PageAnswer& answer);

struct MonthHoliday {
    unsigned day;           // 1 to 31
    std::string_view name;  // 元日, 成人の日, ..., 振替休日, 国民の休日
};
// The national holidays of a month in date order; none outside the years
// the holidays are known for (1948 to 2099). Never fails but for memory.
std::vector<MonthHoliday> MonthHolidays(int year, unsigned month);

// Appends the member "holidays" to `values`: the national holidays of the
// month of `date`, [{"date": ISO, "name": ...}, ...]; an empty list outside the
// years the holidays are known for.
void AppendMonthHolidays(JsonMembers& values, std::chrono::year_month_day date);

}  // namespace vesk::cli
