// The media worker beside the programs it replaced, printing figures and ratios:
// - probe: the sizes of 100 sources asked at once, as the tool asks them (the worker started by the
//   first), against one ffprobe process per source;
// - preview: a frame of a 1920x1080 H.264 clip between keyframes (every 2 and every 10 seconds), the
//   worker's first picture (the nearest keyframe's) and its exact frame against ffmpeg's own decode
//   to that frame with the same filter. Medians of a few runs; the worker stays started between them;
// - scrubbing a subtitled source: frames through the filter with subtitles against the same without.
// Usage: bench_worker [runs [probe|preview|subtitles]]   (after building it: cmake --build <dir> --target bench_worker)
#include "media/MediaWorker.h"
#include "tests/media/FfprobeOracle.h"

#include "core/CommandLine.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

using zvm::media::MediaWorker;
namespace wire = zvm::media::wire;

namespace {
double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Make(const QStringList& args) {
    return QProcess::execute("ffmpeg", QStringList{"-v", "error", "-y"} + args) == 0;
}

// Waits for `done` with an event loop of its own: QTest::qWaitFor sleeps 10 ms between looks, longer
// than a probe takes.
void Until(const std::function<bool()>& done) {
    QDeadlineTimer deadline(60000);
    QTimer tick; // wakes the loop to look at the deadline
    tick.start(100);
    QEventLoop loop;
    while (!done() && !deadline.hasExpired()) {
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (!done()) {
        std::fprintf(stderr, "worker: no answer within a minute\n");
    }
}

// Milliseconds until the last answer, and until the first when first is given.
double Ask(MediaWorker& worker, const wire::Message& request, double* first = nullptr) {
    QElapsedTimer clock;
    clock.start();
    bool done = false;
    worker.ask(request, 60000, [&](const zvm::Result<wire::Message>& answer) {
        if (first != nullptr && answer.ok() && answer.value().get("more") == "1") {
            *first = double(clock.nsecsElapsed()) / 1e6;
        }
        done = !answer.ok() || answer.value().get("more") != "1";
        if (!answer.ok()) {
            std::fprintf(stderr, "worker: %s\n", answer.status().text().c_str());
        }
    });
    Until([&done] { return done; });
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (first != nullptr && *first < 0) {
        *first = ms; // the moment was a keyframe: the exact frame is the first picture
    }
    return ms;
}

void Probes(const QTemporaryDir& dir, int runs) {
    const char* shapes[] = {"640x480", "1280x720", "480x640", "720x480", "320x240"};
    QStringList sources;
    for (int i = 0; i < 100; ++i) {
        const QString source = dir.filePath(QString("source %1.mp4").arg(i));
        if (i < 5) {
            Make({"-f", "lavfi", "-i", QString("testsrc=s=%1:d=2:r=25").arg(shapes[i]), "-f", "lavfi", "-i",
                  "sine=d=2", "-c:v", "libx264", "-preset", "ultrafast", "-shortest", source});
        } else {
            QFile::copy(sources[i % 5], source);
        }
        sources << source;
    }
    std::vector<double> worker;
    std::vector<double> ffprobe;
    for (int run = 0; run < runs; ++run) {
        MediaWorker fresh(MediaWorker::FindProgram()); // started by its first request, as in the program
        QElapsedTimer clock;
        clock.start();
        int answered = 0; // all asked at once, as the tool asks for the sizes of its videos
        for (const QString& source : sources) {
            fresh.ask(wire::Message().add("request", "probe").add("path", source.toStdString()), 60000,
                      [&answered](const zvm::Result<wire::Message>& answer) {
                          ++answered;
                          if (!answer.ok()) {
                              std::fprintf(stderr, "worker: %s\n", answer.status().text().c_str());
                          }
                      });
        }
        Until([&answered] { return answered == 100; });
        worker.push_back(double(clock.nsecsElapsed()) / 1e6);
        clock.restart();
        for (const QString& source : sources) {
            QProcess probe;
            probe.start("ffprobe", oracle::SizeArguments(source));
            if (!probe.waitForFinished(60000)) {
                std::fprintf(stderr, "ffprobe: no answer within a minute\n");
            }
        }
        ffprobe.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("probe, 100 sources: worker %.0f ms, ffprobe %.0f ms; ffprobe/worker %.1fx\n", Median(worker),
                Median(ffprobe), Median(ffprobe) / Median(worker));
}

void Preview(const QTemporaryDir& dir, int keyframeSeconds, int runs, MediaWorker& worker) {
    const QString clip = dir.filePath(QString("clip 1080p %1.mp4").arg(keyframeSeconds));
    Make({"-f", "lavfi", "-i", "testsrc2=s=1920x1080:d=12:r=25", "-c:v", "libx264", "-preset", "veryfast",
          "-g", QString::number(25 * keyframeSeconds), "-pix_fmt", "yuv420p", clip});
    const double seconds = 9.6;
    const zvm::FrameGeometry fit = zvm::FitAndPad(zvm::ComputeRatio(1920, 1080), 368, 208);
    wire::Message request;
    request.add("request", "frame").add("path", clip.toStdString()).add("seconds", "9.600");
    request.add("filter", zvm::ScaleAndPadFilter(fit)).add("first", "1");
    Ask(worker, request); // the worker is kept while the program runs: started before the preview
    std::vector<double> first;
    std::vector<double> exact;
    std::vector<double> ffmpeg;
    for (int run = 0; run < runs; ++run) {
        double picture = -1;
        exact.push_back(Ask(worker, request, &picture));
        first.push_back(picture);
        QElapsedTimer clock;
        clock.start();
        QProcess process;
        process.start("ffmpeg", oracle::FrameArguments(clip, seconds, zvm::ScaleAndPadFilter(fit)));
        process.waitForFinished(60000);
        ffmpeg.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::printf(
        "preview, 1080p H.264, keyframe every %d s, frame at %.1f s: first picture %.0f ms, exact frame "
        "%.0f ms, ffmpeg %.0f ms; exact/ffmpeg %.2fx\n",
        keyframeSeconds, seconds, Median(first), Median(exact), Median(ffmpeg),
        Median(exact) / Median(ffmpeg));
}
// Scrubbing a subtitled source: frames one after another through the command's filter with a
// film's worth of subtitles (1500 lines), against the same frames without them. Every frame of the
// clip is a keyframe, so the figures are the filter's more than the decoder's.
void Subtitled(const QTemporaryDir& dir, int runs, MediaWorker& worker) {
    const QString clip = dir.filePath("clip subtitled.mp4");
    Make({"-f", "lavfi", "-i", "testsrc2=s=1280x720:d=10:r=25", "-c:v", "libx264", "-preset", "ultrafast", "-g",
          "1", "-pix_fmt", "yuv420p", clip});
    QFile srt(dir.filePath("film.srt"));
    if (!srt.open(QIODevice::WriteOnly)) {
        return;
    }
    for (int i = 0; i < 1500; ++i) {
        srt.write(QString("%1\n%2 --> %3\nLine %1 of the film, said by someone\n\n")
                      .arg(i + 1)
                      .arg(QTime(0, 0).addSecs(i * 4).toString("HH:mm:ss,000"))
                      .arg(QTime(0, 0).addSecs(i * 4 + 3).toString("HH:mm:ss,000"))
                      .toUtf8());
    }
    srt.close();
    const zvm::FrameGeometry fit = zvm::FitAndPad(zvm::ComputeRatio(1280, 720), 368, 208);
    zvm::ConversionRequest r;
    r.sourceVideo = clip.toStdString();
    r.subtitles = {zvm::SubtitleMode::File, srt.fileName().toStdString(), -1, 0};
    std::vector<double> plain;
    std::vector<double> subtitled;
    for (int run = 0; run < runs; ++run) {
        for (auto* figures : {&plain, &subtitled}) { // a scrub of each, as the preview asks
            for (int i = 0; i < 10; ++i) {
                wire::Message request;
                request.add("request", "frame").add("path", clip.toStdString());
                request.add("seconds", QString::number(0.2 + i * 0.8, 'f', 3).toStdString());
                request.add("filter", figures == &plain ? zvm::ScaleAndPadFilter(fit) : zvm::PictureFilter(r, fit));
                figures->push_back(Ask(worker, request));
            }
        }
    }
    std::printf("preview while scrubbing, 720p, every frame a keyframe: subtitled frame %.0f ms, without "
                "subtitles %.0f ms; subtitled/plain %.2fx\n",
                Median(subtitled), Median(plain), Median(subtitled) / Median(plain));
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("ZVM_MEDIA_WORKER")) {
        qputenv("ZVM_MEDIA_WORKER", ZVM_WORKER_BUILT);
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QString only = argc > 2 ? QString(argv[2]) : QString(); // probe, preview or subtitles
    QTemporaryDir dir;
    if (only.isEmpty() || only == "probe") {
        Probes(dir, runs);
    }
    MediaWorker worker(MediaWorker::FindProgram());
    if (only.isEmpty() || only == "preview") {
        Preview(dir, 2, runs, worker);
        Preview(dir, 10, runs, worker);
    }
    if (only.isEmpty() || only == "subtitles") {
        Subtitled(dir, runs, worker);
    }
    return 0;
}
