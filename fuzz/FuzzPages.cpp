// The page computations on any field texts: they return a sentence or raise
// one of the page failures, nothing else.

#include <cstdint>
#include <string>
#include <vector>

#include "datecalc/PageComputations.h"
#include "textconv/Failures.h"
#include "textconv/NumberFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Fields are separated by newlines; the first byte picks the separator.
    if (size == 0) return 0;
    vesk::SetDecimalSeparator(data[0] % 2 == 0 ? '.' : ',');
    std::vector<std::string> f(6);
    std::size_t k = 0;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == '\n') {
            if (++k == f.size()) break;
        } else {
            f[k] += static_cast<char>(data[i]);
        }
    }
    try {
        vesk::WeekdayPage(f[0], f[1], f[2]);
    } catch (const vesk::EConvertError&) {
    }
    try {
        vesk::DaySpanPage(f[0], f[1], f[2], f[3], f[4], f[5]);
    } catch (const vesk::EConvertError&) {
    } catch (const vesk::EOverflow&) {
    }
    try {
        vesk::DateAfterPage(f[0], f[1], f[2], f[3]);
    } catch (const vesk::EConvertError&) {
    } catch (const vesk::EOverflow&) {
    }
    return 0;
}
