#include "textconv/SystemClock.h"

#include <ctime>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace vesk {

LocalDate ReadLocalDate() {
#if defined(_WIN32)
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
#else
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
#endif
}

std::uint32_t SystemTickCount() {
#if defined(_WIN32)
    return static_cast<std::uint32_t>(GetTickCount64());
#else
    timespec since{};
    clock_gettime(CLOCK_BOOTTIME, &since);
    // Whole milliseconds since boot, wrapped to 32 bits through unsigned arithmetic.
    const auto ms = static_cast<std::uint64_t>(since.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(since.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
#endif
}

}  // namespace vesk
