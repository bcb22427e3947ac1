// The extended arithmetic's cost: each page computation and each operation,
// to be run once in the default build (portable arithmetic) and once in a
// build with VESK310_HARDWARE_EXTENDED=ON (x86's long double), and compared.
// The weekday page and the uptime text use no reals: CoreBench has them.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "datecalc/CalendarArithmetic.h"
#include "datecalc/PageComputations.h"
#include "textconv/Conversions.h"
#include "numeric/Extended.h"

namespace {

using namespace vesk;

// Inputs that go through every step, fractions and the long digit strings
// that round at each digit among them.
const std::vector<std::vector<std::string>> kSpanInputs = {
    {"2000", "1", "1", "2001", "9", "1"},
    {"1900", "2", "28.5", "2100", "3", "1"},
    {"-400", "0.1", "31", "9999", "12", "31"},
    {"4.9e305", "1", "1", "1", "1", "1"},
};
const std::vector<std::vector<std::string>> kAfterInputs = {
    {"2001", "1", "1", "270"},
    {"2001", "1", "1", "0.1"},
    {"0", "3", "1", "-1"},
    {"2001", "1", "1", "7147845189871885353583"},
};

void ArithmeticPathDaySpanPage(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& f = kSpanInputs[i++ % kSpanInputs.size()];
        benchmark::DoNotOptimize(DaySpanPage(f[0], f[1], f[2], f[3], f[4], f[5]));
    }
}
BENCHMARK(ArithmeticPathDaySpanPage);

void ArithmeticPathDateAfterPage(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& f = kAfterInputs[i++ % kAfterInputs.size()];
        benchmark::DoNotOptimize(DateAfterPage(f[0], f[1], f[2], f[3]));
    }
}
BENCHMARK(ArithmeticPathDateAfterPage);

// The arithmetic alone, without texts.
void ArithmeticPathDateRoundTrip(benchmark::State& state) {
    double day = 1;
    for (auto _ : state) {
        const double n = DayNumber(2001, 1, day);
        benchmark::DoNotOptimize(DateFromDayNumber(n));
        benchmark::DoNotOptimize(ApproxSpan(n - 730000));
        day = day >= 400 ? 1 : day + 1;
    }
}
BENCHMARK(ArithmeticPathDateRoundTrip);

void ArithmeticPathRealParse(benchmark::State& state) {
    const std::vector<std::string> texts = {"2001", "0.1", "1.5e-3", "12345.678901234567",
                                            "1e300", "7147845189871885353583", "1e-4950"};
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(RealParse(texts[i++ % texts.size()]));
}
BENCHMARK(ArithmeticPathRealParse);

// One operation on a rotating set of operands. DoNotOptimize on the operands
// keeps the compiler from folding the loop away.
template <typename Operation>
void RunOperation(benchmark::State& state, Operation operation) {
    Extended values[] = {Extended::FromDouble(730929.5), Extended::FromDouble(365.25),
                         Extended::FromDouble(-0.1), Extended::FromDouble(1e300),
                         Extended::FromBits(0x4003, 0xF4CCCCCCCCCCCCCDull)};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(values);
        benchmark::DoNotOptimize(operation(values[i % 5], values[(i + 1) % 5]));
        ++i;
    }
}

void ArithmeticPathAdd(benchmark::State& state) {
    RunOperation(state, [](Extended a, Extended b) { return a + b; });
}
BENCHMARK(ArithmeticPathAdd);

void ArithmeticPathMultiply(benchmark::State& state) {
    RunOperation(state, [](Extended a, Extended b) { return a * b; });
}
BENCHMARK(ArithmeticPathMultiply);

void ArithmeticPathDivide(benchmark::State& state) {
    RunOperation(state, [](Extended a, Extended b) { return a / b; });
}
BENCHMARK(ArithmeticPathDivide);

void ArithmeticPathTruncAndStore(benchmark::State& state) {
    RunOperation(state, [](Extended a, Extended) { return a.Trunc().ToDouble(); });
}
BENCHMARK(ArithmeticPathTruncAndStore);

}  // namespace
