#include "japanese/Holidays.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "japanese/CalendarError.h"
#include "japanese/CivilDate.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;

// How a rule of the law names its day in a year.
struct DayRule {
    enum class Kind { Fixed, NthMonday, SpringEquinox, AutumnEquinox } kind;
    unsigned month;
    unsigned n;  // the day of the month (Fixed) or which Monday (NthMonday)
};
constexpr DayRule Fixed(unsigned month, unsigned day) { return {DayRule::Kind::Fixed, month, day}; }
constexpr DayRule NthMonday(unsigned month, unsigned nth) {
    return {DayRule::Kind::NthMonday, month, nth};
}
constexpr DayRule kSpringEquinox{DayRule::Kind::SpringEquinox, 3, 0};
constexpr DayRule kAutumnEquinox{DayRule::Kind::AutumnEquinox, 9, 0};

struct HolidayRule {
    int firstYear;
    int lastYear;
    std::string_view name;
    DayRule day;
};

// 国民の祝日, article 2 of the law, each row with the years it holds and the
// law that made it. The law took effect on 1948-07-20; days of 1948 before it
// are dropped (kLawInForce).
// clang-format off
constexpr std::array<HolidayRule, 35> kRules = {{
    {1948, 2099, "元日", Fixed(1, 1)},               // 昭和23年法律第178号
    {1948, 1999, "成人の日", Fixed(1, 15)},          // 昭和23年法律第178号
    {2000, 2099, "成人の日", NthMonday(1, 2)},       // 平成10年法律第141号
    {1967, 2099, "建国記念の日", Fixed(2, 11)},      // 昭和41年法律第86号, 昭和41年政令第376号
    {2020, 2099, "天皇誕生日", Fixed(2, 23)},        // 平成29年法律第63号 附則第10条
    {1948, 2099, "春分の日", kSpringEquinox},        // 昭和23年法律第178号
    {1948, 1988, "天皇誕生日", Fixed(4, 29)},        // 昭和23年法律第178号
    {1989, 2006, "みどりの日", Fixed(4, 29)},        // 平成元年法律第5号
    {2007, 2099, "昭和の日", Fixed(4, 29)},          // 平成17年法律第43号
    {1948, 2099, "憲法記念日", Fixed(5, 3)},         // 昭和23年法律第178号
    {2007, 2099, "みどりの日", Fixed(5, 4)},         // 平成17年法律第43号
    {1948, 2099, "こどもの日", Fixed(5, 5)},         // 昭和23年法律第178号
    {1996, 2002, "海の日", Fixed(7, 20)},            // 平成7年法律第22号
    {2003, 2019, "海の日", NthMonday(7, 3)},         // 平成13年法律第59号
    {2020, 2020, "海の日", Fixed(7, 23)},            // 平成30年法律第55号 (東京オリンピック競技大会)
    {2021, 2021, "海の日", Fixed(7, 22)},            // 令和2年法律第68号
    {2022, 2099, "海の日", NthMonday(7, 3)},         // 平成13年法律第59号
    {2016, 2019, "山の日", Fixed(8, 11)},            // 平成26年法律第43号
    {2020, 2020, "山の日", Fixed(8, 10)},            // 平成30年法律第55号
    {2021, 2021, "山の日", Fixed(8, 8)},             // 令和2年法律第68号
    {2022, 2099, "山の日", Fixed(8, 11)},            // 平成26年法律第43号
    {1966, 2002, "敬老の日", Fixed(9, 15)},          // 昭和41年法律第86号
    {2003, 2099, "敬老の日", NthMonday(9, 3)},       // 平成13年法律第59号
    {1948, 2099, "秋分の日", kAutumnEquinox},        // 昭和23年法律第178号
    {1966, 1999, "体育の日", Fixed(10, 10)},         // 昭和41年法律第86号
    {2000, 2019, "体育の日", NthMonday(10, 2)},      // 平成10年法律第141号
    {2020, 2020, "スポーツの日", Fixed(7, 24)},      // 平成30年法律第57号, 平成30年法律第55号
    {2021, 2021, "スポーツの日", Fixed(7, 23)},      // 令和2年法律第68号
    {2022, 2099, "スポーツの日", NthMonday(10, 2)},  // 平成30年法律第57号
    {1948, 2099, "文化の日", Fixed(11, 3)},          // 昭和23年法律第178号
    {1948, 2099, "勤労感謝の日", Fixed(11, 23)},     // 昭和23年法律第178号
    {1989, 2018, "天皇誕生日", Fixed(12, 23)},       // 平成元年法律第5号
    // 平成29年法律第63号 moved 天皇誕生日 from 12月23日 to 2月23日 on
    // 2019-04-30, after 2019's 2月23日: 2019 has neither day.
}};
// clang-format on

// The days of the special laws. Those of 2019 count as 国民の祝日 for the
// rules of substitute and in-between days (附則第2条); the earlier ones are
// 休日 only, and none of them fell where those rules would reach it.
struct OneOffDay {
    year_month_day date;
    std::string_view name;
    bool countsAsHoliday;
};
// clang-format off
constexpr std::array<OneOffDay, 6> kOneOffDays = {{
    {year{1959} / April / 10, "結婚の儀", false},           // 昭和34年法律第16号
    {year{1989} / February / 24, "大喪の礼", false},        // 平成元年法律第4号
    {year{1990} / November / 12, "即位礼正殿の儀", false},  // 平成2年法律第24号
    {year{1993} / June / 9, "結婚の儀", false},             // 平成5年法律第32号
    {year{2019} / May / 1, "天皇の即位の日", true},         // 平成30年法律第99号
    {year{2019} / October / 22, "即位礼正殿の儀", true},    // 平成30年法律第99号
}};
// clang-format on

constexpr year_month_day kLawInForce = year{1948} / July / 20;  // 昭和23年法律第178号

// 振替休日, article 3(2), for a 国民の祝日 on a Sunday.
struct SubstituteRule {
    year_month_day from, to;  // the Sunday 国民の祝日 the rule covers
    bool
        nextNonHoliday;  // false: the next day ("その翌日"); true: the first day after that is
                         // no 国民の祝日 ("その日後においてその日に最も近い「国民の祝日」でない日")
};
constexpr std::array<SubstituteRule, 2> kSubstituteRules = {{
    {year{1973} / April / 12, year{2006} / December / 31, false},  // 昭和48年法律第10号
    {year{2007} / January / 1, year{2099} / December / 31, true},  // 平成17年法律第43号
}};

// 国民の休日, article 3(3): a day between two 国民の祝日 that is none itself.
struct InBetweenRule {
    year_month_day from, to;
    bool notOnSunday;  // "日曜日にあたる日及び前項に規定する休日にあたる日を除く"
};
constexpr std::array<InBetweenRule, 2> kInBetweenRules = {{
    {year{1985} / December / 27, year{2006} / December / 31, true},  // 昭和60年法律第103号
    {year{2007} / January / 1, year{2099} / December / 31, false},   // 平成17年法律第43号
}};

constexpr std::string_view kSubstituteName = "振替休日";
constexpr std::string_view kInBetweenName = "国民の休日";

// The published approximation of the equinox days for 1900 to 2099, in
// millionths of a day so that no rounding enters:
// day = int(base + 0.242194 (Y - 1980) - int((Y - leapBase) / 4)), each int
// truncating toward zero (the inner one is negative before the leap base).
struct EquinoxFormula {
    int firstYear, lastYear;
    std::int64_t springBase, autumnBase;  // millionths
    int leapBase;
};
constexpr std::array<EquinoxFormula, 2> kEquinoxFormulas = {{
    {1900, 1979, 20'835'700, 23'258'800, 1983},
    {1980, 2099, 20'843'100, 23'248'800, 1980},
}};

unsigned EquinoxDay(int y, bool spring) noexcept {
    for (const EquinoxFormula& f : kEquinoxFormulas) {
        if (y < f.firstYear || y > f.lastYear) continue;
        const std::int64_t base = spring ? f.springBase : f.autumnBase;
        const std::int64_t leapDays = (y - f.leapBase) / 4;  // truncates toward zero: [-20, 29]
        // [19.4, 24.9] days for 1900..2099: positive, so the division truncates as int() does.
        const std::int64_t millionths =
            base + 242'194 * std::int64_t{y - 1980} - 1'000'000 * leapDays;
        return static_cast<unsigned>(millionths / 1'000'000);
    }
    return 0;
}

sys_days RuleDay(const DayRule& rule, int y) noexcept {
    const year yy{y};
    switch (rule.kind) {
        case DayRule::Kind::Fixed:
            return sys_days{yy / month{rule.month} / day{rule.n}};
        case DayRule::Kind::NthMonday:
            return sys_days{yy / month{rule.month} / std::chrono::Monday[rule.n]};
        case DayRule::Kind::SpringEquinox:
        case DayRule::Kind::AutumnEquinox:
            break;
    }
    const bool spring = rule.kind == DayRule::Kind::SpringEquinox;
    return sys_days{yy / month{rule.month} / day{EquinoxDay(y, spring)}};
}

template <typename Rule>
const Rule* RuleHolding(const std::array<Rule, 2>& rules, sys_days date) noexcept {
    for (const Rule& rule : rules) {
        if (date >= sys_days{rule.from} && date <= sys_days{rule.to}) return &rule;
    }
    return nullptr;
}

struct DayOfYear {
    Holiday holiday;
    bool isNationalHoliday;  // counts as 国民の祝日 for article 3
};

bool Has(const std::vector<DayOfYear>& days, sys_days date, bool nationalOnly) noexcept {
    return std::any_of(days.begin(), days.end(), [&](const DayOfYear& d) {
        return d.holiday.date == date && (d.isNationalHoliday || !nationalOnly);
    });
}

// Appends the holidays of one year to `out`, in date order.
void AddYear(int y, std::vector<Holiday>& out) {
    std::vector<DayOfYear> days;
    for (const HolidayRule& rule : kRules) {
        if (y < rule.firstYear || y > rule.lastYear) continue;
        const sys_days date = RuleDay(rule.day, y);
        if (date >= sys_days{kLawInForce}) days.push_back({{date, rule.name}, true});
    }
    for (const OneOffDay& oneOff : kOneOffDays) {
        if (static_cast<int>(oneOff.date.year()) == y) {
            days.push_back({{sys_days{oneOff.date}, oneOff.name}, oneOff.countsAsHoliday});
        }
    }
    const std::size_t namedDays = days.size();
    for (std::size_t i = 0; i < namedDays; ++i) {
        const sys_days date = days[i].holiday.date;
        if (!days[i].isNationalHoliday || weekday{date} != Sunday) continue;
        const SubstituteRule* rule = RuleHolding(kSubstituteRules, date);
        if (rule == nullptr) continue;
        sys_days substitute = date + std::chrono::days{1};
        if (rule->nextNonHoliday) {
            while (Has(days, substitute, true)) substitute += std::chrono::days{1};
        }
        if (!Has(days, substitute, false)) days.push_back({{substitute, kSubstituteName}, false});
    }
    for (std::size_t i = 0; i < namedDays; ++i) {
        if (!days[i].isNationalHoliday) continue;
        const sys_days between = days[i].holiday.date + std::chrono::days{1};
        const InBetweenRule* rule = RuleHolding(kInBetweenRules, between);
        if (rule == nullptr || !Has(days, between + std::chrono::days{1}, true)) continue;
        if (Has(days, between, false) || (rule->notOnSunday && weekday{between} == Sunday))
            continue;
        days.push_back({{between, kInBetweenName}, false});
    }
    std::sort(days.begin(), days.end(), [](const DayOfYear& a, const DayOfYear& b) {
        return a.holiday.date < b.holiday.date;
    });
    for (const DayOfYear& d : days) out.push_back(d.holiday);
}

constexpr std::size_t kYears = kLastHolidayYear - kFirstHolidayYear + 1;

struct HolidayTable {
    std::vector<Holiday> all;                       // date order
    std::array<std::size_t, kYears + 1> yearStart;  // index in `all` of each year's first holiday
};

HolidayTable BuildTable() {
    HolidayTable table;
    table.all.reserve(kYears * 20);
    for (std::size_t i = 0; i < kYears; ++i) {
        table.yearStart[i] = table.all.size();
        AddYear(kFirstHolidayYear + static_cast<int>(i), table.all);
    }
    table.yearStart[kYears] = table.all.size();
    return table;
}

const HolidayTable& Table() {
    static const HolidayTable table = BuildTable();  // thread-safe initialisation
    return table;
}

[[noreturn]] void RefuseOutside(std::string what) {
    what += " lies outside the years of the holiday table (1948 to 2099)";
    throw CalendarError{std::move(what)};
}

void RequireHolidayDate(year_month_day date) {
    if (date.ok() && date >= kFirstHolidayDate && date <= kLastHolidayDate) return;
    if (!date.ok()) throw CalendarError{"the holidays were asked for a day that does not exist"};
    RefuseOutside(IsoDate(date));
}

}  // namespace

unsigned SpringEquinoxDay(int y) noexcept { return EquinoxDay(y, true); }
unsigned AutumnEquinoxDay(int y) noexcept { return EquinoxDay(y, false); }

std::span<const Holiday> HolidaysOfYear(int y) {
    if (y < kFirstHolidayYear || y > kLastHolidayYear) {
        std::string what = "the year ";
        AppendInteger(what, y);
        RefuseOutside(std::move(what));
    }
    const HolidayTable& table = Table();
    const auto i = static_cast<std::size_t>(y - kFirstHolidayYear);
    return std::span<const Holiday>(table.all).subspan(table.yearStart[i],
                                                       table.yearStart[i + 1] - table.yearStart[i]);
}

std::span<const Holiday> HolidaySpan(sys_days from, sys_days to) noexcept {
    const std::vector<Holiday>& all = Table().all;
    const auto byDate = [](const Holiday& h, sys_days d) { return h.date < d; };
    const auto first = std::lower_bound(all.begin(), all.end(), from, byDate);
    const auto last = std::lower_bound(first, all.end(), to + days{1}, byDate);
    return {first, last};
}

std::vector<Holiday> HolidaysBetween(year_month_day from, year_month_day to) {
    RequireHolidayDate(from);
    RequireHolidayDate(to);
    if (to < from) std::swap(from, to);
    const std::span<const Holiday> found = HolidaySpan(sys_days{from}, sys_days{to});
    return {found.begin(), found.end()};
}

std::optional<std::string_view> HolidayOn(sys_days date) noexcept {
    const std::span<const Holiday> found = HolidaySpan(date, date);
    if (found.empty()) return std::nullopt;
    return found.front().name;
}

}  // namespace vesk::japanese
