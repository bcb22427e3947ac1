// Speed of the page computations, the conversions and the batch calculator.
// Targets on a 2-core machine: a page under 2 us, a conversion under 0.5 us,
// the batch mode at least 100,000 cases a second.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "cli/Batch.h"
#include "datecalc/PageComputations.h"
#include "textconv/Conversions.h"

namespace {

using namespace vesk;

void WeekdayPageBench(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(WeekdayPage("2001", "1", "1"));
}
BENCHMARK(WeekdayPageBench);

void DaySpanPageBench(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(DaySpanPage("2000", "1", "1", "2001", "9", "1"));
}
BENCHMARK(DaySpanPageBench);

void DateAfterPageBench(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(DateAfterPage("2001", "1", "1", "0.1"));
}
BENCHMARK(DateAfterPageBench);

void UptimeTextBench(benchmark::State& state) {
    std::uint32_t ticks = 3723999;
    for (auto _ : state) benchmark::DoNotOptimize(UptimeText(ticks += 1000));
}
BENCHMARK(UptimeTextBench);

void IntegerParseBench(benchmark::State& state) {
    const std::string text = "2147483647";
    for (auto _ : state) benchmark::DoNotOptimize(IntegerParse(text));
}
BENCHMARK(IntegerParseBench);

void RealParseBench(benchmark::State& state) {
    const std::vector<std::string> texts = {"2001", "0.1", "1.5e-3", "12345.678901234567", "1e300"};
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(RealParse(texts[i++ % texts.size()]));
}
BENCHMARK(RealParseBench);

void RealToTextBench(benchmark::State& state) {
    const std::vector<double> values = {730929, 0.0999999999767169, -1.5e-7, 1.0 / 3, 1e300};
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(RealToText(values[i++ % values.size()]));
}
BENCHMARK(RealToTextBench);

void IntegerToTextBench(benchmark::State& state) {
    std::int32_t value = -2147483647;
    for (auto _ : state) benchmark::DoNotOptimize(IntegerToText(value += 7919));
}
BENCHMARK(IntegerToTextBench);

void TodayAsTextBench(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(TodayAsText());
}
BENCHMARK(TodayAsTextBench);

// Cases per second of the batch mode's per-line work (JSON in, JSON out).
void BatchLineBench(benchmark::State& state) {
    const std::vector<std::string> lines = {
        R"({"page": "weekday", "fields": ["2001", "1", "1"]})",
        R"({"page": "span", "fields": ["2000", "1", "1", "2001", "9", "1"]})",
        R"({"page": "after", "fields": ["2001", "1", "1", "270"], "separator": "."})",
        R"({"page": "uptime", "fields": ["3723999"]})",
        R"({"page": "weekday", "fields": ["abc", "1", "1"]})",
    };
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(cli::AnswerBatchLine(lines[i++ % lines.size()]));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BatchLineBench);

}  // namespace

BENCHMARK_MAIN();
