// The preview: from a change in the main window to the drawing's repaint request, and a frame of a
// 1920x1080 H.264 clip rendered at 10% of its 60 seconds and shown, for a keyframe every 2 seconds
// (as cameras and streaming encoders write) and every 10 (x264's default). Runs offscreen.
#include "ui/FrameView.h"
#include "media/Outside.h"
#include "ui/PreviewWindow.h"
#include "ui/QtPlatform.h"
#include "ui/frmZCM.h"

#include "bench/OffscreenMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString LongClip(int keyframeSeconds) {
    static QTemporaryDir dir;
    const QString clip = dir.filePath(QStringLiteral("clip 1080p %1.mp4").arg(keyframeSeconds));
    if (!QFile::exists(clip)) {
        QProcess::execute("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc2=s=1920x1080:d=60:r=25",
                                     "-c:v", "libx264", "-preset", "veryfast", "-g",
                                     QString::number(25 * keyframeSeconds), "-pix_fmt", "yuv420p", clip});
    }
    return clip;
}

void BM_PreviewFollowsAChange(benchmark::State& state) {
    QtPlatform platform;
    zvm::media::RealOutside outside;
    frmZCM window(platform, outside); // no start-up: it would look for settings.ini
    window.findChild<QLineEdit*>(QStringLiteral("txtOriginalVideo"))->setText(QStringLiteral("/nonexistent/clip.avi"));
    window.findChild<QLineEdit*>(QStringLiteral("txtHeight"))->setText(QStringLiteral("480"));
    auto* widthBox = window.findChild<QLineEdit*>(QStringLiteral("txtWidth"));
    widthBox->setText(QStringLiteral("640"));
    window.findChild<QAction*>(QStringLiteral("mnuPreview"))->trigger();
    auto* preview = window.findChild<PreviewWindow*>();
    if (!QTest::qWaitFor([preview] { return preview->view()->fit().has_value(); }, 10'000)) {
        state.SkipWithError("the preview did not follow: the encoder's form was not decided");
        return;
    }
    int width = 640;
    for (auto _ : state) {
        widthBox->setText(QString::number(++width % 2 == 0 ? 640 : 1280)); // follows at once, the form known
        benchmark::DoNotOptimize(preview->view()->fit());
    }
}
BENCHMARK(BM_PreviewFollowsAChange)->Unit(benchmark::kMicrosecond);

void BM_RenderAFrame(benchmark::State& state) {
    const QString clip = LongClip(static_cast<int>(state.range(0)));
    FrameView view;
    zvm::media::RealOutside outside;
    zvm::FrameGeometry fit = zvm::FitAndPad(zvm::ComputeRatio(1920, 1080), 368, 208);
    for (auto _ : state) {
        bool shown = false;
        outside.renderFrame({clip, 6.0, zvm::ScaleAndPadFilter(fit)},
                            [&view, &shown](const RenderedFrame& frame) {
                                view.showFrame(QImage::fromData(frame.png, "PNG"));
                                shown = !frame.png.isEmpty();
                            });
        if (!QTest::qWaitFor([&shown] { return shown; }, 20000)) {
            state.SkipWithError("no frame was rendered");
            return;
        }
    }
}
BENCHMARK(BM_RenderAFrame)
    ->ArgName("keyframe_every_s")
    ->Arg(2)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(11);
} // namespace

ZVM_OFFSCREEN_BENCHMARK_MAIN()
