#include "forms/CountDown.h"

namespace vesk {

std::uint32_t CountDown(std::uint32_t steps) {
    volatile std::uint32_t counter = steps;
    std::uint32_t taken = 0;
    while (counter != 0) {
        counter = counter - 1;
        ++taken;
    }
    return taken;
}

}  // namespace vesk
