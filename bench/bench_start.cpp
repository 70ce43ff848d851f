// From a Convert click to the encoder's process running: Generate, the run's checks, splitting and
// lookup of the command, and the spawn. posix_spawn returns once the program has been executed.
#include "core/Generate.h"
#include "process/ProgramLookup.h"
#include "process/Spawn.h"
#include "bench/TypicalRequest.h"
#include "core/Validation.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {
void BM_ConvertToRunning(benchmark::State& state) {
    const zvm::ConversionRequest r = TypicalRequest("/bin/true"); // exits at once: only the start counts
    const auto finder = zvm::process::ProgramFinder::FromSystem();
    for (auto _ : state) {
        const auto result = zvm::Generate(r).value();
        benchmark::DoNotOptimize(zvm::CheckRunRequest(result.request));
        const auto resolved = zvm::process::ResolveCommandLine(*result.command, r.encoderPath, finder);
        const auto spawned = zvm::process::SpawnDetached(resolved.value(), "/tmp").value();
        state.PauseTiming();
        waitpid(spawned.pid, nullptr, 0);
        close(spawned.logFd);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ConvertToRunning)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
