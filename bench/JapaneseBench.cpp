// Speed of the Japanese calendar's steps that a batch line of the era, days,
// holidays and workdays pages takes: a batch line may take about 300 ns in
// all, so each step here should take a small part of that and allocate
// nothing on its common path.

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <string>
#include <string_view>

#include "japanese/BusinessDays.h"
#include "japanese/DateText.h"
#include "japanese/DayCount.h"
#include "japanese/Era.h"
#include "japanese/Holidays.h"
#include "japanese/Sentences.h"

namespace {

using namespace std::chrono;
using namespace vesk::japanese;

const sys_days kToday{year{2024} / 1 / 5};

void JapaneseDateTextBench(benchmark::State& state) {
    const std::array<std::string_view, 6> texts = {
        "2024-01-05", "令和6年1月5日", "R6.1.5", "２０２４－０１－０５", "20240105", "today"};
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(ParseDateText(texts[i++ % texts.size()], kToday));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(JapaneseDateTextBench);

// A date to 和暦 and its text, as the era page answers.
void JapaneseEraBench(benchmark::State& state) {
    sys_days day{year{1990} / 1 / 1};
    std::string out;
    for (auto _ : state) {
        day += days{37};
        if (day > sys_days{year{2090} / 1 / 1}) day = sys_days{year{1990} / 1 / 1};
        out.clear();
        AppendJapaneseDateWithWeekday(out, *ToJapanese(year_month_day{day}));
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(JapaneseEraBench);

void JapaneseHolidaysOfYearBench(benchmark::State& state) {
    HolidaysOfYear(2024);  // the table is worked out on first use, not in the loop
    int y = 1948;
    for (auto _ : state) {
        benchmark::DoNotOptimize(HolidaysOfYear(y));
        y = y == 2099 ? 1948 : y + 1;
    }
}
BENCHMARK(JapaneseHolidaysOfYearBench);

void JapaneseHolidayOnBench(benchmark::State& state) {
    sys_days day{year{2000} / 1 / 1};
    for (auto _ : state) {
        benchmark::DoNotOptimize(HolidayOn(day));
        day += days{1};
        if (day > sys_days{year{2050} / 1 / 1}) day = sys_days{year{2000} / 1 / 1};
    }
}
BENCHMARK(JapaneseHolidayOnBench);

void JapaneseDayCountBench(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountDays(year{2024} / 1 / 31, year{2025} / 3 / 1, true));
    }
}
BENCHMARK(JapaneseDayCountBench);

// A month's, a year's and ten years' business days, with the year-end days closed.
void JapaneseBusinessDayCountBench(benchmark::State& state) {
    BusinessRules rules;
    rules.yearEnd = true;
    const year_month_day from = year{2024} / 1 / 1;
    const year_month_day to{sys_days{from} + days{state.range(0) - 1}};
    for (auto _ : state) benchmark::DoNotOptimize(CountBusinessDays(rules, from, to));
}
BENCHMARK(JapaneseBusinessDayCountBench)->Arg(31)->Arg(366)->Arg(3653);

void JapaneseNthBusinessDayBench(benchmark::State& state) {
    const BusinessRules rules;
    for (auto _ : state)
        benchmark::DoNotOptimize(NthBusinessDay(rules, year{2024} / 1 / 5, state.range(0)));
}
BENCHMARK(JapaneseNthBusinessDayBench)->Arg(10)->Arg(-250);

}  // namespace
