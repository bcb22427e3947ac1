#pragma once
// Dates for the tests, written as ISO texts so that a table reads as the
// dates it holds.

#include <chrono>
#include <string>
#include <string_view>

#include "japanese/DateText.h"

namespace vesk::japanese::test {

inline std::chrono::year_month_day D(std::string_view iso) { return ParseIsoDateText(iso); }
inline std::chrono::sys_days Day(std::string_view iso) { return std::chrono::sys_days{D(iso)}; }

// "'text'" followed by `rest`, as a refusal begins.
inline std::string Quoted(std::string_view text, std::string_view rest = {}) {
    std::string quoted(1, '\'');
    quoted += text;
    quoted += '\'';
    quoted += rest;
    return quoted;
}

}  // namespace vesk::japanese::test
