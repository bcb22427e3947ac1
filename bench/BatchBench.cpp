// The batch calculator's stages: reading a request (without the parser for the
// common form, with it for the rest), the page and its answer (straight into
// the output for the common form; as texts, then composed, for the rest); then
// a whole line and the whole stream. Lines per second are the items.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/Batch.h"
#include "cli/BatchRequest.h"
#include "cli/Pages.h"

namespace {

using namespace vesk::cli;

constexpr const char* kPlainLine = R"({"page": "span", "fields": ["2001", "1", "1", "2024", "2", "29"]})";
constexpr const char* kParsedLine = R"({"page": "span", "fields": ["2001", "1", "1", "2024", "2", "29"], "id": [12]})";

// Reading a request: the common shape as views into the line, and a line with
// an array for its id, which the parser reads into the general request.
void BatchStageReadPlain(benchmark::State& state) {
    PlainRequest request;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadPlainRequest(kPlainLine, request));
        benchmark::DoNotOptimize(request.fieldCount);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BatchStageReadPlain);

void BatchStageReadParsed(benchmark::State& state) {
    BatchRequest request;
    for (auto _ : state) {
        ReadBatchRequest(kParsedLine, request);
        benchmark::DoNotOptimize(request.fieldCount);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BatchStageReadParsed);

// The page and its answer composed straight into the output, for a plain
// request that has been read.
void BatchStageDirect(benchmark::State& state, const char* line) {
    PlainRequest request;
    ReadPlainRequest(line, request);
    std::string out;
    for (auto _ : state) {
        out.clear();
        benchmark::DoNotOptimize(AppendPlainAnswer(request, out));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK_CAPTURE(BatchStageDirect, weekday, R"({"page": "weekday", "fields": ["2024", "2", "29"]})");
BENCHMARK_CAPTURE(BatchStageDirect, span, kPlainLine);
BENCHMARK_CAPTURE(BatchStageDirect, after, R"({"page": "after", "fields": ["2024", "2", "29", "270"]})");

void BatchStagePage(benchmark::State& state, const char* page, std::vector<std::string> fields) {
    for (auto _ : state) benchmark::DoNotOptimize(RunPage(page, fields));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK_CAPTURE(BatchStagePage, weekday, "weekday", {"2024", "2", "29"});
BENCHMARK_CAPTURE(BatchStagePage, span, "span", {"2001", "1", "1", "2024", "2", "29"});
BENCHMARK_CAPTURE(BatchStagePage, after, "after", {"2024", "2", "29", "270"});

void BatchStageCompose(benchmark::State& state) {
    const std::vector<std::string> texts = RunPage("span", {"2001", "1", "1", "2024", "2", "29"});
    std::string out;
    for (auto _ : state) {
        out.clear();
        AppendBatchTexts(out, texts, {});
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BatchStageCompose);

void BatchWholeLine(benchmark::State& state, const char* line) {
    std::string out;
    for (auto _ : state) {
        out.clear();
        AppendBatchAnswer(line, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK_CAPTURE(BatchWholeLine, plain, kPlainLine);
BENCHMARK_CAPTURE(BatchWholeLine, parsed, kParsedLine);

// 100,000 span lines from a file to /dev/null, on the given number of threads.
void BatchStream(benchmark::State& state) {
    std::FILE* in = std::tmpfile();
    for (int i = 0; i < 100000; ++i) std::fprintf(in, "%s\n", kPlainLine);
    std::fflush(in);
    std::FILE* out = std::fopen("/dev/null", "wb");
    const BatchOptions options{static_cast<unsigned>(state.range(0))};
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
