// From a Convert click to the encoder's process running: Generate, the run's checks, splitting and
// lookup of the command, and the spawn. posix_spawn returns once the program has been executed.
#include "Generate.h"
#include "ProgramLookup.h"
#include "Spawn.h"
#include "Validation.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {
void BM_ConvertToRunning(benchmark::State& state) {
    zvm::ConversionRequest r;
    r.encoderPath = "/bin/true"; // exits at once, so only the start is measured
    r.sourceVideo = "/home/user/Videos/holiday clip.avi";
    r.outputPath = "/home/user/Videos/holiday clip.mp4";
    r.width = "1280";
    r.height = "720";
    r.videoBitrate = "256";
    r.audioBitrate = "32";
    r.sampleRate = "24000";
    const auto finder = zvm::run::ProgramFinder::FromSystem();
    for (auto _ : state) {
        const auto result = std::get<zvm::GenerateResult>(zvm::Generate(r));
        benchmark::DoNotOptimize(zvm::CheckRunRequest(result.request));
        const auto resolved = zvm::run::ResolveCommandLine(*result.command, finder);
        const auto spawned = zvm::run::SpawnDetached(*resolved.command, "/tmp");
        state.PauseTiming();
        waitpid(spawned.pid, nullptr, 0);
        unlink(spawned.logPath.c_str());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ConvertToRunning)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
