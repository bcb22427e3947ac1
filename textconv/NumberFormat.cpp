#include "textconv/NumberFormat.h"

#include <atomic>

#if defined(_WIN32)
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

namespace vesk {
namespace {

// The process-wide separator. Written only on the user-interface thread between
// events; atomic so that a reader on another thread never sees a torn value.
std::atomic<char> g_decimalSeparator{'.'};

// The calling thread's own separator; NUL while it follows the process-wide one.
thread_local char t_threadSeparator = '\0';

}  // namespace

char DecimalSeparator() noexcept {
    const char own = t_threadSeparator;
    return own != '\0' ? own : g_decimalSeparator.load(std::memory_order_relaxed);
}

ThreadDecimalSeparator::ThreadDecimalSeparator(char separator) noexcept : saved_(t_threadSeparator) {
    t_threadSeparator = separator;
}

ThreadDecimalSeparator::~ThreadDecimalSeparator() { t_threadSeparator = saved_; }

void SetDecimalSeparator(char separator) noexcept {
    g_decimalSeparator.store(separator, std::memory_order_relaxed);
}

char DecimalSeparatorFromSetting(std::string_view setting) noexcept {
    if (setting.size() != 1 || static_cast<unsigned char>(setting[0]) >= 0x80) return '.';
    return setting[0];
}

void ReadNumberFormatFromLocale() {
#if defined(_WIN32)
    char buffer[8] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    SetDecimalSeparator(DecimalSeparatorFromSetting(length > 1 ? std::string_view(buffer)
                                                               : std::string_view()));
#else
    locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (user == static_cast<locale_t>(nullptr)) {
        SetDecimalSeparator('.');
        return;
    }
    const char* radix = nl_langinfo_l(RADIXCHAR, user);
    SetDecimalSeparator(DecimalSeparatorFromSetting(radix != nullptr ? radix : ""));
    freelocale(user);
#endif
}

}  // namespace vesk
