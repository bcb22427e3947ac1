#pragma once
// Age in whole years (満年齢) and by the traditional count (数え年).

#include <chrono>
#include <cstdint>

namespace vesk::japanese {

struct Age {
    std::int64_t
        age;  // 満年齢: grows on the birthday; born 29 February, on 1 March in common years
    std::int64_t kazoe;  // 数え年: on's year - birth's year + 1
    friend bool operator==(const Age&, const Age&) = default;
};

// The age on `on` of someone born on `birth`. Raises CalendarError when
// `on` lies before `birth` or either date lies outside 0001-01-01 to
// 9999-12-31.
Age AgeOn(std::chrono::year_month_day birth, std::chrono::year_month_day on);

}  // namespace vesk::japanese
