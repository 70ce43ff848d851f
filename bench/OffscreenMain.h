#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

// main() of a benchmark that needs widgets: a Qt application on the offscreen platform, so it runs
// without a display, and with the media worker of this build.
#define ZVM_OFFSCREEN_BENCHMARK_MAIN()                                                                       \
    int main(int argc, char** argv) {                                                                        \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                             \
        if (qEnvironmentVariableIsEmpty("ZVM_MEDIA_WORKER")) {                                               \
            qputenv("ZVM_MEDIA_WORKER", ZVM_WORKER_BUILT);                                                   \
        }                                                                                                    \
        QApplication app(argc, argv);                                                                        \
        benchmark::Initialize(&argc, argv);                                                                  \
        benchmark::RunSpecifiedBenchmarks();                                                                 \
        benchmark::Shutdown();                                                                               \
        return 0;                                                                                            \
    }
