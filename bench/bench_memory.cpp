// The program's memory over many rounds of Generate, Convert (to the end of the encoder and of the
// output's check) and a preview frame, with the test stand-in as the encoder, run for real: the
// heap in use and the resident size after a warm-up, and their growth per round. Runs offscreen
// unless QT_QPA_PLATFORM says otherwise.
// Usage: bench_memory [ROUNDS [ENCODER]] (default 500 rounds with the stand-in; given an encoder,
// the source is a real two-second clip made by it)
#include "ui/EncoderWindow.h"
#include "media/Outside.h"
#include "ui/PreviewWindow.h"
#include "bench/SilentPlatform.h"
#include "ui/frmZCM.h"

#include <QAction>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <malloc.h>
#include <unistd.h>

namespace {
// The real outside, counting the answers that end a round's work.
class CountingOutside final : public zvm::media::OutsideWrapper {
public:
    explicit CountingOutside(Outside& real) : OutsideWrapper(real) {}
    void checkOutput(const QString& output, const zvm::OutputTarget& target, const zvm::SourceFacts& source,
                     std::function<void(const CheckReport&)> done) override {
        OutsideWrapper::checkOutput(output, target, source, [this, done](const CheckReport& report) {
            ++checked;
            done(report);
        });
    }
    void renderFrame(const zvm::media::FrameAsk& ask, std::function<void(const RenderedFrame&)> done) override {
        OutsideWrapper::renderFrame(ask, [this, done](const RenderedFrame& frame) {
            ++rendered;
            done(frame);
        });
    }
    int checked = 0;
    int rendered = 0;
};

struct Memory {
    double heapBytes;
    double residentBytes;
};
Memory Measure() {
    QFile status(QStringLiteral("/proc/self/status"));
    double resident = 0;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:")) {
                resident = line.mid(6).trimmed().split(' ').value(0).toDouble() * 1024;
            }
        }
    }
    return {static_cast<double>(mallinfo2().uordblks), resident};
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // set it to xcb, under Xvfb, to count the X11 side too
    }
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 500;
    const int warmUp = 20;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QString encoder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath("ffmpeg");
    if (argc > 2) {
        QProcess::execute(encoder, {"-v", "error", "-f", "lavfi", "-i", "testsrc2=s=640x480:d=2", "-f", "lavfi",
                                    "-i", "sine=d=2", "-c:v", "mpeg4", "-c:a", "mp2", dir.filePath("clip.avi")});
    } else {
        QFile::copy(QStringLiteral(ZVM_FAKE_ENCODER), encoder);
        QFile(encoder).setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QFile(dir.filePath("clip.avi")).open(QIODevice::WriteOnly);
    }
    QFile settings(dir.filePath("settings.ini"));
    settings.open(QIODevice::WriteOnly);
    settings.write(QStringLiteral("\"640\",\"480\",\"256\",\"32\",\"24000\",\"%1\",\"%2\",\"%3\",\"Saved\"\r\n")
                       .arg(dir.filePath("clip.avi"), dir.filePath("clip.mp4"), encoder)
                       .toLocal8Bit());
    settings.close();

    SilentPlatform platform(0); // Replace the output of the round before
    zvm::media::RealOutside real;
    CountingOutside outside(real);
    frmZCM window(platform, outside);
    window.Form_Load();
    window.show();
    window.findChild<QAction*>(QStringLiteral("mnuPreview"))->trigger();
    auto* width = window.findChild<QLineEdit*>(QStringLiteral("txtWidth"));

    Memory start{};
    for (int round = 0; round < warmUp + rounds; ++round) {
        if (round == warmUp) {
            start = Measure();
        }
        const int checked = outside.checked;
        const int rendered = outside.rendered;
        width->setText(round % 2 == 0 ? QStringLiteral("640") : QStringLiteral("720"));
        window.cmdGenerate_Click();
        window.cmdConvert_Click();
        const bool done = QTest::qWaitFor(
            [&] { return outside.checked > checked && outside.rendered > rendered; }, 30'000);
        if (!done) {
            std::fprintf(stderr, "round %d: the encoder, its check or the frame did not end\n", round);
            return 1;
        }
        for (EncoderWindow* encoder : window.findChildren<EncoderWindow*>()) {
            encoder->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const Memory end = Measure();
    std::printf("%d rounds of Generate, Convert and a preview frame\n", rounds);
    std::printf("heap in use: %.1f KB -> %.1f KB, %.0f bytes per round\n", start.heapBytes / 1024,
                end.heapBytes / 1024, (end.heapBytes - start.heapBytes) / rounds);
    std::printf("resident:    %.1f MB -> %.1f MB, %.0f bytes per round\n", start.residentBytes / 1048576,
                end.residentBytes / 1048576, (end.residentBytes - start.residentBytes) / rounds);
    // Ends here, so that a heap profiler's list of what was never freed is what the rounds left alive.
    std::fflush(stdout);
    _exit(0);
}
