// The two parses and real-to-text on any bytes: no crash, and every value that
// real parse accepts and that fits a 64-bit real prints and parses back to a
// nearby value.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "textconv/Conversions.h"
#include "textconv/Failures.h"
#include "textconv/NumberFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the decimal separator.
    vesk::SetDecimalSeparator(data[0] % 2 == 0 ? '.' : ',');
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        const std::int32_t value = vesk::IntegerParse(text);
        if (vesk::IntegerParse(vesk::IntegerToText(value)) != value) std::abort();
    } catch (const vesk::EConvertError& e) {
        if (e.Message().find(text) == std::string::npos) std::abort();
    }
    try {
        const vesk::Extended value = vesk::RealParse(text);
        bool overflow = false;
        const double stored = value.ToDouble(&overflow);
        if (!overflow) {
            const std::string printed = vesk::RealToText(stored);
            const double back = vesk::RealParse(printed).ToDouble();
            // 15 significant digits: within a relative 1e-14 (or both tiny).
            if (std::fabs(back - stored) > 1e-14 * std::fabs(stored) && std::fabs(stored) > 1e-300) {
                std::abort();
            }
        }
    } catch (const vesk::EConvertError&) {
    }
    return 0;
}
