// The batch calculator's stages: reading a request, the page into its answer,
// then a whole line (read, page, composed) and the whole stream. Lines per
// second are the items.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/Batch.h"
#include "cli/BatchRequest.h"
#include "cli/Pages.h"

namespace {

using namespace vesk::cli;

constexpr const char* kSpanLine =
    R"({"page": "span", "fields": ["2001", "1", "1", "2024", "2", "29"]})";

// Reading a request: the common shape, whose texts are views into the line,
// and a line with escapes and an array for its id.
void BatchStageRead(benchmark::State& state, const char* line) {
    BatchRequest request;
    for (auto _ : state) {
        ReadBatchRequest(line, request);
        benchmark::DoNotOptimize(request.fieldCount);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK_CAPTURE(BatchStageRead, plain, kSpanLine);
BENCHMARK_CAPTURE(
    BatchStageRead, escapes,
    R"({"page": "span", "fields": ["2001", "1", "\u0031", "2024", "2", "29"], "id": [12, {"a": "\n"}]})");
BENCHMARK_CAPTURE(BatchStageRead, japanese,
                  R"({"page": "era", "fields": ["令和6年1月5日"], "id": 17})");

// The page into an answer that is kept from call to call, as the batch mode
// keeps it.
void BatchStagePage(benchmark::State& state, const char* page,
                    std::vector<std::string_view> fields) {
    PageAnswer answer;
    const PageOptions options;
    for (auto _ : state) {
        RunPage(page, fields, fields.size(), options, answer);
        benchmark::DoNotOptimize(answer.TextCount());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK_CAPTURE(BatchStagePage, weekday, "weekday", {"2024", "2", "29"});
BENCHMARK_CAPTURE(BatchStagePage, span, "span", {"2001", "1", "1", "2024", "2", "29"});
BENCHMARK_CAPTURE(BatchStagePage, after, "after", {"2024", "2", "29", "270"});

void BatchWholeLine(benchmark::State& state, const char* line) {
    std::string out;
    for (auto _ : state) {
        out.clear();
        AppendBatchAnswer(line, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK_CAPTURE(BatchWholeLine, weekday, R"({"page": "weekday", "fields": ["2024", "2", "29"]})");
BENCHMARK_CAPTURE(BatchWholeLine, span, kSpanLine);
BENCHMARK_CAPTURE(BatchWholeLine, after,
                  R"({"page": "after", "fields": ["2024", "2", "29", "270"]})");
// The civil calendar's pages, to be held against the weekday line: a 和暦
// date and an ISO one, an exact day count, the holidays of a month and of a
// whole year (some twenty texts and values).
BENCHMARK_CAPTURE(BatchWholeLine, era, R"({"page": "era", "fields": ["R6.1.5"]})");
BENCHMARK_CAPTURE(BatchWholeLine, eraIso, R"({"page": "era", "fields": ["2024-01-05"]})");
BENCHMARK_CAPTURE(BatchWholeLine, days,
                  R"({"page": "days", "fields": ["2001-01-01", "2024-02-29"]})");
BENCHMARK_CAPTURE(BatchWholeLine, holidaysOfAMonth,
                  R"({"page": "holidays", "fields": ["2024-05-01", "2024-05-31"]})");
BENCHMARK_CAPTURE(BatchWholeLine, holidaysOfAYear, R"({"page": "holidays", "fields": ["2024"]})");
BENCHMARK_CAPTURE(
    BatchWholeLine, idAndEscapes,
    R"({"page": "span", "fields": ["2001", "1", "\u0031", "2024", "2", "29"], "id": [12]})");

// 100,000 span lines from a file to /dev/null, on the given number of threads.
void BatchStream(benchmark::State& state) {
    std::FILE* in = std::tmpfile();
    for (int i = 0; i < 100000; ++i) std::fprintf(in, "%s\n", kSpanLine);
    std::fflush(in);
    std::FILE* out = std::fopen("/dev/null", "wb");
    BatchOptions options;
    options.threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        std::rewind(in);
        benchmark::DoNotOptimize(RunBatch(fileno(in), fileno(out), stderr, options));
    }
    std::fclose(in);
    std::fclose(out);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 100000);
}
BENCHMARK(BatchStream)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
