#pragma once
// What the program reads of the system's clocks.

#include <cstdint>

namespace vesk {

struct LocalDate {
    int year;   // Gregorian, e.g. 2024
    int month;  // 1 to 12
    int day;    // 1 to 31
};

// Today's local calendar date. Never fails.
LocalDate ReadLocalDate();

// The system tick count: milliseconds since the system started, wrapped to
// 32 bits (it runs from 0 again after 2^32 - 1 ms). Never fails.
std::uint32_t SystemTickCount();

}  // namespace vesk
