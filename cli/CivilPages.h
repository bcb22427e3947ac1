#pragma once
// The pages of the Japanese civil calendar: era, holidays, days, add,
// workdays, workday, age.

#include <chrono>
#include <cstddef>
#include <span>
#include <string_view>

#include "cli/Json.h"
#include "cli/Pages.h"

namespace vesk::cli {

// Computes the civil-calendar page `page` into `answer`, as RunPage does;
// false, with nothing done, when `page` is none of them.
bool RunCivilPage(std::string_view page, std::span<const std::string_view> fields,
                  std::size_t fieldCount, const PageOptions& options, PageAnswer& answer);

// Appends the member "holidays" to `values`: the national holidays of the
// month of `date`, [{"date": ISO, "name": ...}, ...]; an empty list outside the
// years the holidays are known for.
void AppendMonthHolidays(JsonMembers& values, std::chrono::year_month_day date);

}  // namespace vesk::cli
