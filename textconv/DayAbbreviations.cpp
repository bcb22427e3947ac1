#include "textconv/DayAbbreviations.h"

#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#endif

namespace vesk {

namespace {

TDayNames& Table() {
    static TDayNames table = kFallbackDayAbbreviations;
    return table;
}

#if !defined(_WIN32)
bool IsUtf8Codeset(const char* codeset) {
    return std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0;
}

// The text converted from the locale's codeset to UTF-8; empty when it does
// not convert.
std::string ToUtf8(const char* text, const char* codeset) {
    if (IsUtf8Codeset(codeset)) return text;
    const iconv_t converter = iconv_open("UTF-8", codeset);
    if (converter == reinterpret_cast<iconv_t>(-1)) return {};
    std::string in = text;
    std::string out(in.size() * 4 + 4, '\0');  // a byte grows to at most 4 in UTF-8
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const bool converted = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    if (!converted) return {};
    out.resize(out.size() - outLeft);
    return out;
}
#endif

}  // namespace

const TDayNames& DayAbbreviations() noexcept { return Table(); }

void SetDayAbbreviations(const TDayNames& names) {
    TDayNames& table = Table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = names[i].empty() ? kFallbackDayAbbreviations[i] : names[i];
    }
}

#if defined(_WIN32)
// Windows names its locales differently; only the user's own ("") is read.
TDayNames LocaleDayAbbreviations(const char* localeName) {
    TDayNames names;
    if (localeName == nullptr || *localeName != '\0') return names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        // LOCALE_SABBREVDAYNAME1 is Monday and 7 is Sunday.
        const LCTYPE item = LOCALE_SABBREVDAYNAME1 + static_cast<LCTYPE>((i + 6) % 7);
        wchar_t wide[32] = {};
        if (GetLocaleInfoW(LOCALE_USER_DEFAULT, item, wide, 32) <= 1) continue;
        char utf8[128] = {};
        if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr) > 1) {
            names[i] = utf8;
        }
    }
    return names;
}
#else
TDayNames LocaleDayAbbreviations(const char* localeName) {
    TDayNames names;
    const locale_t locale = newlocale(LC_TIME_MASK, localeName, locale_t{});
    if (locale == locale_t{}) return names;
    // The names come in the codeset of the time category, which may differ
    // from that of the character category.
#ifdef __GLIBC__
    const char* codeset = nl_langinfo_l(_NL_TIME_CODESET, locale);
#else
    const char* codeset = nl_langinfo_l(CODESET, locale);
#endif
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto item = static_cast<nl_item>(ABDAY_1 + static_cast<int>(i));  // ABDAY_1 is Sunday
        const char* name = nl_langinfo_l(item, locale);
        if (name != nullptr) names[i] = ToUtf8(name, codeset);
    }
    freelocale(locale);
    return names;
}
#endif

void ReadDayAbbreviations() { SetDayAbbreviations(LocaleDayAbbreviations("")); }

}  // namespace vesk
