// The queue: from one item's encoder exit to the next item's encoder start, and 200 videos added at
// once (sizes read two at a time) while the queue window shows them: the longest stall of the event loop
// and the time until every size is known. Then a library's worth of videos whose sizes are known (each
// source a file, so every check meets the disk): adding and restoring 100, 1,000 and 10,000 (and the
// memory each item takes), what the store writes over a run with the fake encoder, and the longest
// stall of the window's event loop while 10,000 wait and 2 run. Runs offscreen; needs ffmpeg.
#include "media/Outside.h"
#include "queue/QueueRunner.h"
#include "ui/QueueWindow.h"
#include "bench/SilentPlatform.h"

#include "bench/OffscreenMain.h"

#include <chrono>
#include <fstream>
#include <map>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

namespace {
zvm::ConversionRequest Settings(const char* encoder) {
    zvm::ConversionRequest r;
    r.encoderPath = encoder;
    r.videoBitrate = "256";
    r.audioBitrate = "32";
    r.sampleRate = "24000";
    return r;
}

// Ten videos whose encoder notes the moment it ends and exits: the time from that moment to the next
// start is the queue's, exit detection included.
class TimedOutside final : public zvm::media::OutsideWrapper {
public:
    explicit TimedOutside(Outside& real) : OutsideWrapper(real) {}
    zvm::Result<std::unique_ptr<EncoderJob>> startEncoder(const QString& command, const QString& encoder,
                                                          zvm::process::Lifetime lifetime) override {
        starts.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count());
        return OutsideWrapper::startEncoder(command, encoder, lifetime);
    }
    // Answered at once, unchecked: the queue's summary waits for every check.
    void checkOutput(const QString&, const zvm::OutputTarget&, const zvm::SourceFacts&,
                     std::function<void(const CheckReport&)> done) override {
        done({});
    }

    std::vector<qint64> starts;
};

void BM_ExitToNextStart(benchmark::State& state) {
    QTemporaryDir dir;
    const QString encoder = dir.filePath("encoder");
    const QString ends = dir.filePath("ends.txt");
    QFile script(encoder);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\ndate +%s%N >> '" + ends.toUtf8() + "'\n");
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    script.close();
    for (auto _ : state) {
        QFile::remove(ends);
        zvm::media::RealOutside real;
        TimedOutside outside(real);
        const std::vector<qint64>& starts = outside.starts;
        QueueRunner runner(outside);
        runner.setParallel(1); // the gap between one end and the next start
        zvm::ConversionRequest r = Settings(encoder.toLocal8Bit().constData());
        r.width = "640";
        r.height = "480";
        for (int i = 0; i < 10; ++i) {
            r.sourceVideo = "/nonexistent/in" + std::to_string(i) + ".avi";
            r.outputPath = "/nonexistent/out" + std::to_string(i) + ".mp4";
            runner.addReady(r, zvm::CommandStyle::Modern);
        }
        QSignalSpy done(&runner, &QueueRunner::finishedAll);
        runner.start();
        done.wait(20000);
        QFile endFile(ends);
        endFile.open(QIODevice::ReadOnly);
        const QList<QByteArray> ended = endFile.readAll().split('\n');
        double gaps = 0;
        for (std::size_t i = 1; i < starts.size(); ++i) {
            gaps += double(starts[i] - ended[qsizetype(i - 1)].toLongLong()) / 1e9;
        }
        state.SetIterationTime(gaps / double(starts.size() - 1));
    }
}
BENCHMARK(BM_ExitToNextStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Add200Videos(benchmark::State& state) {
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip.mp4");
    QProcess::execute("ffmpeg",
                      {"-v", "error", "-f", "lavfi", "-i", "testsrc=s=640x480:d=1", "-c:v", "mpeg4", clip});
    QStringList videos;
    for (int i = 0; i < 200; ++i) {
        videos << dir.filePath(QStringLiteral("episode %1.mp4").arg(i));
        QFile::link(clip, videos.last());
    }
    for (auto _ : state) {
        zvm::media::RealOutside outside;
        QueueRunner runner(outside, dir.filePath("queue.sqlite"));
        SilentPlatform platform;
        QueueWindow window(runner, platform);
        window.show();
        qint64 longestStall = 0;
        QElapsedTimer tick;
        QTimer heartbeat;
        QObject::connect(&heartbeat, &QTimer::timeout,
                         [&] { longestStall = std::max(longestStall, tick.restart()); });
        QElapsedTimer clock;
        clock.start();
        tick.start();
        heartbeat.start(5);
        std::vector<zvm::ConversionRequest> requests;
        for (const QString& video : videos) {
            zvm::ConversionRequest r = Settings("ffmpeg");
            r.sourceVideo = video.toStdString();
            r.outputPath = r.sourceVideo + ".out.mp4";
            requests.push_back(r);
        }
        runner.add(requests, zvm::CommandStyle::Modern);
        longestStall = std::max(longestStall, tick.restart()); // adding them all is one event too
        while (std::any_of(runner.queue().items().begin(), runner.queue().items().end(),
                           [](const auto& i) { return i.state == zvm::queue::ItemState::Detecting; })) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        state.counters["longest_stall_ms"] = double(longestStall);
    }
}
BENCHMARK(BM_Add200Videos)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

#ifdef ZVM_FAKE_ENCODER // built with the tests' fake encoder

// Resident memory, in bytes.
double Resident() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0;
    double resident = 0;
    statm >> pages >> resident;
    return resident * double(sysconf(_SC_PAGESIZE));
}

// Bytes this process has handed to write() so far: the store's, with SQLite's log and its checkpoints.
double BytesWritten() {
    std::ifstream io("/proc/self/io");
    std::string key;
    double value = 0;
    while (io >> key >> value) {
        if (key == "wchar:") {
            return value;
        }
    }
    return 0;
}

// The kept queue and SQLite's files beside it, for a run that starts with none.
void RemoveStore(const QString& store) {
    for (const char* side : {"", "-wal", "-shm"}) {
        QFile::remove(store + QLatin1String(side));
    }
}

// `count` videos of one folder, each a file, with their size known: none is read before it can run.
struct Library {
    QTemporaryDir dir;
    std::vector<zvm::ConversionRequest> requests;
    QString store() const { return dir.filePath("queue.sqlite"); }
};

const Library& LibraryOf(int count) {
    static std::map<int, std::unique_ptr<Library>> made;
    auto& library = made[count];
    if (library == nullptr) {
        library = std::make_unique<Library>();
        QDir().mkpath(library->dir.filePath("v"));
        for (int i = 0; i < count; ++i) {
            zvm::ConversionRequest r = Settings(ZVM_FAKE_ENCODER);
            r.sourceVideo = library->dir.filePath(QStringLiteral("v/episode %1.avi").arg(i)).toStdString();
            r.outputPath = library->dir.filePath(QStringLiteral("episode %1.mp4").arg(i)).toStdString();
            r.width = "640";
            r.height = "480";
            std::ofstream(r.sourceVideo) << "video\n";
            library->requests.push_back(r);
        }
    }
    return *library;
}

// Answers every after-check at once, unchecked.
class QuickCheckOutside final : public zvm::media::RealOutside {
public:
    void checkOutput(const QString&, const zvm::OutputTarget&, const zvm::SourceFacts&,
                     std::function<void(const CheckReport&)> done) override {
        done({});
    }
};

void BM_AddSized(benchmark::State& state) {
    const Library& library = LibraryOf(int(state.range(0)));
    double perItem = 0;
    for (auto _ : state) {
        RemoveStore(library.store());
        zvm::media::RealOutside outside;
        QueueRunner runner(outside, library.store());
        const double before = Resident();
        QElapsedTimer clock;
        clock.start();
        runner.add(library.requests, zvm::CommandStyle::Modern);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        perItem = (Resident() - before) / double(library.requests.size());
    }
    state.counters["memory_per_item_bytes"] = perItem;
}
BENCHMARK(BM_AddSized)->Arg(100)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// As a start that resumes: the kept file read, and every item checked and made again.
void BM_RestoreSized(benchmark::State& state) {
    const Library& library = LibraryOf(int(state.range(0)));
    zvm::media::RealOutside outside;
    RemoveStore(library.store());
    QueueRunner(outside, library.store()).add(library.requests, zvm::CommandStyle::Modern);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QueueRunner runner(outside, library.store());
        runner.restore(runner.loadStore().items);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (runner.queue().items().size() != library.requests.size()) {
            state.SkipWithError("not every item came back");
        }
    }
}
BENCHMARK(BM_RestoreSized)->Arg(100)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// A whole run of the fake encoder, two at a time: how often the store writes, and how much.
void BM_RunStores(benchmark::State& state) {
    const Library& library = LibraryOf(int(state.range(0)));
    const QString working = QDir::currentPath();
    QDir::setCurrent(library.dir.path()); // where the fake encoder notes its arguments
    for (auto _ : state) {
        RemoveStore(library.store());
        QuickCheckOutside outside;
        QueueRunner runner(outside, library.store());
        runner.setParallel(2);
        runner.add(library.requests, zvm::CommandStyle::Modern);
        const int storesBefore = runner.storesMade();
        const double bytesBefore = BytesWritten();
        QSignalSpy done(&runner, &QueueRunner::finishedAll);
        QElapsedTimer clock;
        clock.start();
        runner.start();
        if (!done.wait(600000)) {
            state.SkipWithError("the run did not end");
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        const auto items = double(library.requests.size());
        state.counters["stores_per_item"] = double(runner.storesMade() - storesBefore) / items;
        state.counters["bytes_per_item"] = (BytesWritten() - bytesBefore) / items;
    }
    QDir::setCurrent(working);
}
BENCHMARK(BM_RunStores)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// The window open on 10,000 waiting videos while 2 run, each printing its progress for two seconds:
// the longest the event loop waits to take its next event, over the first four runs.
void BM_StallWhileTwoRun(benchmark::State& state) {
    const Library& library = LibraryOf(10000);
    const QString working = QDir::currentPath();
    QDir::setCurrent(library.dir.path());
    qputenv("FAKE_ENCODER_SECONDS", "2");
    for (auto _ : state) {
        RemoveStore(library.store());
        QuickCheckOutside outside;
        QueueRunner runner(outside, library.store());
        runner.setParallel(2);
        runner.add(library.requests, zvm::CommandStyle::Modern);
        SilentPlatform platform;
        QueueWindow window(runner, platform);
        window.show();
        QCoreApplication::processEvents();
        qint64 longestStall = 0;
        QElapsedTimer tick;
        QTimer heartbeat;
        QObject::connect(&heartbeat, &QTimer::timeout,
                         [&] { longestStall = std::max(longestStall, tick.restart()); });
        tick.start();
        heartbeat.start(5);
        runner.start();
        QElapsedTimer clock;
        clock.start();
        const auto ended = [&runner] {
            return std::count_if(runner.queue().items().begin(), runner.queue().items().end(),
                                 [](const auto& i) { return i.state == zvm::queue::ItemState::Finished; });
        };
        while (ended() < 4 && clock.elapsed() < 60000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        state.SetIterationTime(double(longestStall) / 1e3);
        state.counters["longest_stall_ms"] = double(longestStall);
        runner.stopForQuit();
    }
    qunsetenv("FAKE_ENCODER_SECONDS");
    QDir::setCurrent(working);
}
BENCHMARK(BM_StallWhileTwoRun)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
#endif
} // namespace

ZVM_OFFSCREEN_BENCHMARK_MAIN()
