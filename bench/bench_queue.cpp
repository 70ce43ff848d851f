// The queue: from one item's encoder exit to the next item's encoder start, and 200 videos added at
// once (sizes read two at a time) while the queue window shows them: the longest stall of the event loop
// and the time until every size is known. Runs offscreen; needs ffmpeg.
#include "media/Outside.h"
#include "queue/QueueRunner.h"
#include "ui/QueueWindow.h"
#include "bench/SilentPlatform.h"

#include "bench/OffscreenMain.h"

#include <chrono>

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
        QueueRunner runner(outside, dir.filePath("queue.json"));
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
} // namespace

ZVM_OFFSCREEN_BENCHMARK_MAIN()
