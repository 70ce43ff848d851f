// Generate from request to command text, the work behind every Generate and Convert click.
#include "core/Generate.h"
#include "bench/TypicalRequest.h"

#include <benchmark/benchmark.h>

namespace {
void BM_Generate(benchmark::State& state) {
    const zvm::ConversionRequest request =
        TypicalRequest("/usr/bin/ffmpeg", static_cast<int>(state.range(0)));
    const auto style = state.range(1) != 0 ? zvm::CommandStyle::Modern : zvm::CommandStyle::Classic;
    for (auto _ : state) {
        auto outcome = zvm::Generate(request, style);
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_Generate)->ArgsProduct({{0, 4}, {0, 1}})->ArgNames({"preset", "modern"});

void BM_FitAndPad(benchmark::State& state) {
    float ratio = zvm::ComputeRatio(640, 480);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ratio);
        auto g = zvm::FitAndPad(ratio, 240, 160);
        benchmark::DoNotOptimize(g);
    }
}
BENCHMARK(BM_FitAndPad);
} // namespace

BENCHMARK_MAIN();
