// A real ffmpeg, through the real outside: every preset and movie type converted through the
// program's own queue and checked by the after-check; a queue killed mid-run and resumed; preview
// frames rendered through the same numbers; cuts held to their length; the detection and the check
// where they cannot work.
#include "core/Cut.h"
#include "core/DeviceLimits.h"
#include "core/Dpg.h"
#include "core/Generate.h"
#include "core/OutputName.h"
#include "media/Outside.h"
#include "media/Passes.h"
#include "core/Presets.h"
#include "queue/QueueRunner.h"
#include "queue/QueueStore.h"

#include <QImage>
#include <QtEndian>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

class TestRealEncoder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void convertsEveryPreset_data();
    void convertsEveryPreset();
    void resumesAKilledQueue();
    void rendersEveryPreset_data();
    void rendersEveryPreset();
    void newerRenderWins();
    void cutsExactly_data();
    void cutsExactly();
    void checkFailures_data();
    void checkFailures();
    void detectionFailures();
    void keepsAFileSize_data();
    void keepsAFileSize();
    void refusesASecondPassThatWouldAbort_data();
    void refusesASecondPassThatWouldAbort();
    void readsTheNamedFiles_data();
    void readsTheNamedFiles();

private:
    QString makeSource(const QString& name, const QString& size, const QString& extraFilter, bool rotate);
    zvm::media::RealOutside outside_;
    QTemporaryDir dir_;
    // The encoder under test: Debian's ffmpeg, or the one ZVM_TEST_ENCODER names (scripts/ffmpeg-matrix.sh
    // runs this test once for each ffmpeg it fetched), and the encoders it has. Sources are always made,
    // and outputs read, by Debian's (maker_).
    QString ffmpeg_;
    QStringList encoders_;
    bool fpsmax_ = true; // whether it takes -fpsmax, which the H.264 targets' commands use
    bool pads_ = true;   // whether it has the pad filter every modern command uses
    QString maker_;
    QHash<QString, QSize> sources_; // path -> display size
    QHash<QString, QSize> silent_;  // a source without sound, for the targets whose file needs it
    QHash<QString, QSize> noisy_;   // a hard source, whose every frame is new detail
};

namespace {
QByteArray Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
        return {};
    }
    return p.readAllStandardOutput();
}

// The outside's answer to one question, waited for generously; nothing when none came.
template <class Answer>
std::optional<Answer> Await(const std::function<void(std::function<void(const Answer&)>)>& ask) {
    auto answer = std::make_shared<std::optional<Answer>>(); // outlives a wait that gave up
    ask([answer](const Answer& given) { *answer = given; });
    return QTest::qWaitFor([&answer] { return answer->has_value(); }, 60000) ? *answer : std::nullopt;
}

SizeDetection Detect(zvm::media::Outside& outside, const QString& video) {
    return Await<SizeDetection>([&](auto done) { outside.detectSize(video, done); })
        .value_or(SizeDetection{std::nullopt, zvm::Status::Failure(zvm::FailureKind::BadInput, "no answer"), {}});
}

CheckReport Check(zvm::media::Outside& outside, const QString& output, const zvm::OutputTarget& target,
                  std::optional<double> duration) { // a source with sound
    return Await<CheckReport>([&](auto done) {
               outside.checkOutput(output, target, {duration, true, std::nullopt}, done);
           })
        .value_or(CheckReport{});
}

zvm::ConversionRequest RequestFor(const QString& source, QSize size, int preset, bool animation) {
    zvm::ConversionRequest r;
    r.sourceVideo = source.toStdString();
    r.width = std::to_string(size.width());
    r.height = std::to_string(size.height());
    r.videoBitrate = "256";
    r.audioBitrate = "32";
    r.sampleRate = "24000";
    r.preset = preset;
    r.movieType = animation ? zvm::MovieType::Animation : zvm::MovieType::LiveAction;
    return r;
}

// Programs still running on the folder's files, but this one (a zombie's command line is empty).
QList<pid_t> ProgramsOn(const QString& folder) {
    QList<pid_t> found;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        bool number = false;
        const auto pid = static_cast<pid_t>(entry.toInt(&number));
        QFile command("/proc/" + entry + "/cmdline");
        if (number && pid != ::getpid() && command.open(QIODevice::ReadOnly) &&
            command.readAll().contains(QFile::encodeName(folder))) {
            found << pid;
        }
    }
    return found;
}

// An MP4's top-level boxes in order: "ftyp,moov,mdat".
QString Boxes(const QString& path) {
    QFile file(path);
    QStringList boxes;
    while (file.isOpen() || file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(8);
        if (head.size() < 8) {
            break;
        }
        const quint32 size = qFromBigEndian<quint32>(head.constData());
        boxes << QString::fromLatin1(head.mid(4, 4));
        if (size < 8 || !file.seek(file.pos() - 8 + size)) {
            break;
        }
    }
    return boxes.join(',');
}

// The pad bands are black, the picture (a light grey source) is not.
QString BandsAreWrong(const QImage& frame, const zvm::FrameGeometry& g) {
    const QImage grey = frame.convertToFormat(QImage::Format_Grayscale8);
    if (grey.size() != QSize(g.targetWidth, g.targetHeight)) {
        return QString("frame is %1x%2").arg(grey.width()).arg(grey.height());
    }
    auto luma = [&](int x, int y) { return qGray(grey.pixel(x, y)); };
    if (luma(g.padLeft + g.newWidth / 2, g.padTop + g.newHeight / 2) <= 100) {
        return "the picture is dark";
    }
    if (g.padLeft >= 4 && (luma(g.padLeft / 2, g.targetHeight / 2) >= 40 ||
                           luma(g.targetWidth - 1 - g.padRight / 2, g.targetHeight / 2) >= 40)) {
        return "a side band is not black";
    }
    if (g.padTop >= 4 && (luma(g.targetWidth / 2, g.padTop / 2) >= 40 ||
                          luma(g.targetWidth / 2, g.targetHeight - 1 - g.padBottom / 2) >= 40)) {
        return "a top or bottom band is not black";
    }
    return {};
}
} // namespace

QString TestRealEncoder::makeSource(const QString& name, const QString& size, const QString& extraFilter,
                                    bool rotate) {
    const QString path = dir_.filePath(name);
    const QString filter = extraFilter.isEmpty() ? QString("null") : extraFilter;
    Run(maker_,
        {"-v", "error", "-y", "-f", "lavfi", "-i", "color=c=0xC0C0C0:s=" + size + ":d=1:r=25", "-f", "lavfi",
         "-i", "sine=d=1", "-vf", filter, "-c:v", "mpeg4", "-c:a", "aac", "-shortest", path});
    if (rotate) {
        // The rotation is stored as side data; only a stream copy writes it with this encoder.
        const QString plain = path + ".plain.mp4";
        QFile::rename(path, plain);
        Run(maker_, {"-v", "error", "-y", "-i", plain, "-c", "copy", "-metadata:s:v:0", "rotate=90", path});
    }
    return path;
}

void TestRealEncoder::initTestCase() {
    maker_ = QStandardPaths::findExecutable("ffmpeg");
    QVERIFY2(!maker_.isEmpty(), "ffmpeg is installed by the project's set-up");
    ffmpeg_ = qEnvironmentVariable("ZVM_TEST_ENCODER", maker_);
    const QString listed = QString::fromUtf8(Run(ffmpeg_, {"-hide_banner", "-encoders"}));
    for (const auto& match : QRegularExpression(R"(^ [VAS][\w.]{5} (\S+))", QRegularExpression::MultilineOption)
                                 .globalMatch(listed)) {
        encoders_ << match.captured(1);
    }
    QVERIFY2(encoders_.contains("aac"), qPrintable(ffmpeg_ + " lists no encoders:\n" + listed));
    fpsmax_ = !Run(ffmpeg_, {"-hide_banner", "-fpsmax", "1", "-version"}).isEmpty();
    pads_ = QString::fromUtf8(Run(ffmpeg_, {"-hide_banner", "-filters"})).contains(QRegularExpression(R"( pad +V->V)"));
    qInfo("encoder under test: %s", qPrintable(ffmpeg_));
    QVERIFY(!QStandardPaths::findExecutable("ffprobe").isEmpty());
    QVERIFY(dir_.isValid());
    struct Source {
        const char* name;
        const char* size;
        const char* filter;
        bool rotate;
        QSize display;
    };
    const Source sources[] = {
        {"four by three.mp4", "640x480", "", false, QSize(640, 480)},
        {"wide $(x).mp4", "1280x720", "", false, QSize(1280, 720)},
        {"portrait.mp4", "480x640", "", false, QSize(480, 640)},
        {"anamorphic.mp4", "720x480", "setsar=32/27", false, QSize(853, 480)},
        {"rotated.mp4", "640x480", "", true, QSize(480, 640)},
    };
    for (const Source& s : sources) {
        sources_.insert(makeSource(s.name, s.size, s.filter, s.rotate), s.display);
    }
    const QString silent = dir_.filePath("silent.mp4");
    Run(maker_, {"-v", "error", "-y", "-f", "lavfi", "-i", "color=c=0xC0C0C0:s=640x480:d=1:r=25", "-c:v", "mpeg4", silent});
    silent_.insert(silent, QSize(640, 480));
    // Two seconds, all the detail in the first: two passes give it most of the bits.
    const QString noisy = dir_.filePath("noisy.mp4");
    Run(maker_, {"-v", "error", "-y", "-f", "lavfi", "-i", "color=c=0xC0C0C0:s=640x480:d=2:r=25", "-f", "lavfi",
                  "-i", "sine=d=2", "-vf", "noise=alls=20:allf=t+u:enable='lt(t,1)'", "-c:v", "mpeg4", "-q:v", "2",
                  "-c:a", "aac", "-shortest", noisy});
    noisy_.insert(noisy, QSize(640, 480));
    QFile text(dir_.filePath("notes.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a video\n") > 0);
    // Raw frames: one 16x16 frame and a byte more, and a name that does not say what they are.
    for (const char* raw : {"cut-16x16-15fps-rgb565le.rgb", "frames.rgb"}) {
        QFile frames(dir_.filePath(raw));
        QVERIFY(frames.open(QIODevice::WriteOnly) && frames.write(QByteArray(16 * 16 * 2 + 1, '\0')) > 0);
    }
}

void TestRealEncoder::convertsEveryPreset_data() {
    QTest::addColumn<int>("preset");
    QTest::addColumn<bool>("animation");
    // For the later targets, what ffprobe reads of the wide source's file: codec, profile, size, frame
    // rate (the 25 fps source's own where the target allows it), the container's brand and, for an
    // MP4, its top-level boxes in order (the index before the data); after " | ", how its after-check
    // counts the player's limits, among them those the worker reads itself (references, B-frames,
    // the fullest second, the index first).
    QTest::addColumn<QString>("probe");
    QTest::addColumn<bool>("silent"); // the source without sound alone, which the PSP's format gets a track for
    for (int preset = 0; preset < 5; ++preset) {
        QTest::addRow("row %d live action", preset) << preset << false << "" << false;
        if (preset != 4) { // the VCD form has no movie type
            QTest::addRow("row %d animation", preset) << preset << true << "" << false;
        }
    }
    QTest::newRow("psp h264") << 5 << false << "h264 Main 21 480x272 25/1 MSNV ftyp,uuid,moov,free,mdat | Plays on PSP: 13 of 13 limits held"
                              << false;
    QTest::newRow("vcd pal") << 6 << false << "mpeg1video - - 352x288 25/1 - - | Plays on VCD: 8 of 8 limits held" << false;
    QTest::newRow("vcd for a tv") << 7 << false << "mpeg1video - - 352x240 30000/1001 - -" << false;
    QTest::newRow("psp h264, silent source") << 5 << false << "" << true;
    QTest::newRow("amv") << 10 << false << "amv 192 - 208x176 10/1 - -" << false;
    QTest::newRow("amv, silent source") << 9 << false << "" << true;
    QTest::newRow("raw rgb565") << 11 << false << "" << false; // nothing but pixels: ffprobe cannot read it
    QTest::newRow("ds avi") << 8 << false << "" << false;
    QTest::newRow("mjpeg, silent source") << 13 << false << "" << true;
    QTest::newRow("baseline") << 15 << false << "h264 Constrained Baseline 30 320x240 25/1 isom ftyp,moov,free,mdat | Plays on iPod: 12 of 12 limits held"
                              << false;
    QTest::newRow("amv with sound, the smaller screen") << 9 << false << "" << false;
    // Two passes, the format's best options, and for a PSP row its own format, sound and all.
    QTest::newRow("row 2 best quality") << 2 << false << "" << false;
    QTest::newRow("row 2 best quality, silent source") << 2 << false << "" << true;
    // Every second's bits within the PSP's limit however hard the picture.
    QTest::newRow("row 2 best quality, noisy source") << 2 << false << "" << false;
    QTest::newRow("row 0 best quality, film kept") << 0 << false << "" << false; // the sources run at 25 fps
    QTest::newRow("raw rgb565, low byte first") << 12 << false << "" << false;
    QTest::newRow("vita baseline") << 14 << false << "" << false;
    QTest::newRow("retro baseline") << 16 << false << "" << false;
    QTest::newRow("retro avi") << 17 << false << "" << false;
    QTest::newRow("dpg") << 18 << false << "" << false;
    QTest::newRow("dpg, silent source") << 18 << false << "" << true;
}

// Every source shape through the real queue in the modern form: sizes read by ffprobe, one encoder
// after another through the run layer, the after-check finds each file fits, and its first frame has
// black bands around the picture.
void TestRealEncoder::convertsEveryPreset() {
    QFETCH(int, preset);
    QFETCH(bool, animation);
    QFETCH(QString, probe);
    QFETCH(bool, silent);
    const zvm::TargetPreset& target = *zvm::FindPreset(preset);
    QTemporaryDir out;
    std::vector<zvm::ConversionRequest> requests;
    const QHash<QString, QSize>& sources = silent                                                 ? silent_
                                           : QByteArray(QTest::currentDataTag()).contains("noisy") ? noisy_
                                                                                                   : sources_;
    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        zvm::ConversionRequest r = RequestFor(it.key(), {}, preset, animation);
        r.width.clear(); // read from the file
        r.height.clear();
        r.encoderPath = ffmpeg_.toStdString();
        r.outputPath = zvm::SuggestOutputName(it.key().toStdString(), preset, out.path().toStdString());
        r.bestQuality = QByteArray(QTest::currentDataTag()).contains("best quality");
        if (&sources == &noisy_) {
            r.videoBitrate = "400"; // two seconds' bits would fill the first one past the player's limit
        }
        requests.push_back(r);
    }
    QueueRunner runner(outside_);
    QSignalSpy done(&runner, &QueueRunner::finishedAll);
    runner.add(requests, zvm::CommandStyle::Modern);
    runner.start();
    QVERIFY(done.wait(120000));
    const bool h264 = target.video == zvm::VideoKind::H264 || target.video == zvm::VideoKind::H264Baseline;
    const QString codec = h264                                    ? "libx264"
                          : target.video == zvm::VideoKind::Mpeg4 ? "mpeg4"
                          : target.video == zvm::VideoKind::Amv   ? "adpcm_ima_amv" // older builds have the picture's alone
                          : target.video == zvm::VideoKind::Vcd || target.video == zvm::VideoKind::Mpeg1 ? "mpeg1video"
                          : target.video == zvm::VideoKind::Mjpeg ? "mjpeg"
                                                                  : "rawvideo";
    const bool needsFpsmax = !target.designed && target.video != zvm::VideoKind::Vcd && !zvm::FixedFrameRate(target);
    if (!encoders_.contains(codec) || !pads_ || (needsFpsmax && !fpsmax_)) { // a build that cannot serve it
        for (const auto& item : runner.queue().items()) {
            QCOMPARE(item.state, zvm::queue::ItemState::Failed); // never reported as converted
            const QString log = QString::fromStdString(item.log); // what is missing, in the encoder's words
            // Before AMV's sound encoder (4.1), its block size was no option either.
            QVERIFY2(log.contains(codec) || log.contains("'vcd'") || log.contains("'fpsmax'") || log.contains("pad=") ||
                         log.contains("'block_size'"),
                     item.log.c_str());
        }
        return;
    }
    for (const auto& item : runner.queue().items()) {
        const QString source = QString::fromStdString(item.request.sourceVideo);
        QCOMPARE(QSize(std::stoi(item.request.width), std::stoi(item.request.height)), sources.value(source));
        QTRY_VERIFY2(!item.check.empty(), qPrintable(source));
        QVERIFY2(item.verdict == zvm::CheckVerdict::Fits, item.check.c_str());
        // Its player's limits are counted; a silent source's file has its made-up sound, as long as it.
        // None known for the GBA-sized rows and a few later ones.
        QCOMPARE(QString::fromStdString(item.check).contains(" limits held"), zvm::LimitsFor(target).has_value());
        // Held, all of them, wherever the command is built to them: every row but the designed ones as designed.
        if (zvm::LimitsFor(target) && (!target.designed || item.request.bestQuality)) {
            QVERIFY2(QString::fromStdString(item.check).contains("Plays on "), item.check.c_str());
        }
        // Where the PSP's firmware decides, the line says which plays the file.
        if (preset == 2 || preset == 3 || preset == 5) {
            const char* firmware = preset == 5 ? "firmware 3.30 and later" : item.request.bestQuality ? "older firmware plays too" : "later firmware plays";
            QVERIFY2(QString::fromStdString(item.check).contains(firmware), item.check.c_str());
        }
        QVERIFY2(!QString::fromStdString(item.check).contains("sound stream"), item.check.c_str());
        // The PSP rows' best quality writes the PSP's own format, which needs sound too.
        QCOMPARE(QString::fromStdString(item.command).contains("anullsrc"),
                 silent && (zvm::NeedsAudio(target) || item.request.bestQuality));
        QVERIFY(item.check.starts_with("Fits " + std::string(zvm::ScreenName(target))));
        // A film's rate kept is the file's own.
        const std::optional<zvm::Ratio> film = zvm::KeptFilmRate(item.request);
        QCOMPARE(film.has_value(), QByteArray(QTest::currentDataTag()).contains("film kept"));
        if (film) {
            QCOMPARE(QString::fromUtf8(Run("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                                       "stream=r_frame_rate", "-of", "csv=p=0",
                                                       QString::fromStdString(item.request.outputPath)}))
                         .trimmed(),
                     QString("%1/%2").arg(film->across).arg(film->down));
        }
        // Only the designed VCD row, fitted for square pixels, looks narrower on a TV, and says so.
        QCOMPARE(QString::fromStdString(item.check)
                     .contains("; on a 4:3 TV the picture appears 9% narrower; the target 'VCD for a 4:3 TV' fits it"),
                 preset == 4);
        // Raw frames are read as their name tells, a DPG's video from where its header says; its streams
        // written beside it are gone.
        QStringList raw = target.container != zvm::Container::Raw
                              ? QStringList()
                              : QStringList{"-f", "rawvideo", "-pixel_format", QString::fromUtf8(zvm::VideoWord(target.video)),
                                            "-video_size", QString("%1x%2").arg(target.width).arg(target.height)};
        if (target.container == zvm::Container::Dpg) {
            QFile dpg(QString::fromStdString(item.request.outputPath));
            QVERIFY(dpg.open(QIODevice::ReadOnly));
            const QByteArray head = dpg.read(zvm::dpg::kHeaderBytes);
            const auto header = zvm::dpg::ReadHeader(std::string_view(head.constData(), std::size_t(head.size())), std::uint64_t(dpg.size()));
            QVERIFY2(header.ok(), header.status().text().c_str());
            raw = QStringList{"-f", "mpegvideo", "-skip_initial_bytes", QString::number(header.value().videoStart)};
            QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression("m1v|mp2$")), QStringList());
        }
        const QImage frame = QImage::fromData(Run(maker_, QStringList{"-v", "error"} + raw +
                                                              QStringList{"-i", QString::fromStdString(item.request.outputPath),
                                                                          "-frames:v", "1", "-f", "image2pipe", "-c:v", "png", "-"}),
                                              "PNG");
        QCOMPARE(BandsAreWrong(frame, *zvm::FitRequest(item.request)), QString());
    }
    if (preset == 0 && !animation) {
        QCOMPARE(QString::fromStdString(runner.queue().items()[0].check).section(": ", 1).section("; ", 0, 0),
                 QString("240x160, mpeg4, %1 fps, AAC 24000 Hz stereo")
                     .arg(zvm::KeptFilmRate(runner.queue().items()[0].request) ? "25" : "29.97"));
    }
    if (!probe.isEmpty()) {
        const QString wide = QString::fromStdString(
            zvm::SuggestOutputName(sources_.key(QSize(1280, 720)).toStdString(), preset, out.path().toStdString()));
        const auto& items = runner.queue().items();
        const auto item = std::find_if(items.cbegin(), items.cend(),
                                       [&wide](const auto& i) { return i.request.outputPath == wide.toStdString(); });
        QVERIFY(item != items.cend());
        QVERIFY2(QString::fromStdString(item->check).contains(probe.section(" | ", 1)), item->check.c_str());
        probe = probe.section(" | ", 0, 0);
        const QString read = QString::fromUtf8(Run("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                                              "stream=codec_name,profile,level,width,height,r_frame_rate:"
                                                              "format_tags=major_brand",
                                                              "-of", "json", wide}));
        const QJsonObject root = QJsonDocument::fromJson(read.toUtf8()).object();
        const QJsonObject video = root["streams"].toArray().first().toObject();
        const auto word = [](const QJsonValue& v) {
            return v.isUndefined() || v.isNull() || v.toString() == "unknown" || v.toInt(1) < 0 ? QString("-")
                   : v.isDouble()                                                ? QString::number(v.toInt())
                                                                                 : v.toString();
        };
        QCOMPARE(QStringList({word(video["codec_name"]), word(video["profile"]), word(video["level"]),
                              QString("%1x%2").arg(video["width"].toInt()).arg(video["height"].toInt()),
                              word(video["r_frame_rate"]), word(root["format"].toObject()["tags"].toObject()["major_brand"]),
                              target.container == zvm::Container::Mp4 || target.container == zvm::Container::Psp
                                  ? Boxes(wide)
                                  : QString("-")})
                     .join(' '),
                 probe);
    }
}

// A program running the queue is killed while it converts the first of two videos; a new runner
// takes over its lock and what it kept, and resumes: both videos end as files that fit their target.
void TestRealEncoder::resumesAKilledQueue() {
    if (!encoders_.contains("mpeg4")) {
        QSKIP("this encoder cannot serve the GBA target (see convertsEveryPreset)");
    }
    QTemporaryDir dir;
    const QString store = dir.filePath("queue.sqlite");
    Run(maker_, {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=s=640x480:d=60:r=25", "-f", "lavfi", "-i",
                  "sine=d=60", "-c:v", "mpeg4", "-c:a", "pcm_s16le", "-shortest", dir.filePath("clip 1.avi")});
    QVERIFY(QFile::copy(dir.filePath("clip 1.avi"), dir.filePath("clip 2.avi")));
    QProcess tool;
    tool.start(QUEUE_TOOL_PATH, {store, ffmpeg_, dir.path(), "2", "modern"});
    QVERIFY(tool.waitForStarted());
    const QString partial = dir.filePath(".zvm-partial.clip 1.mp4"); // the asked name waits for the whole file
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(partial).size() > 0, 60000);
    ::kill(static_cast<pid_t>(tool.processId()), SIGKILL);
    QVERIFY(tool.waitForFinished(10000));
    // Its encoder dies with it: one left behind would race the resumed one on the same file.
    QTRY_VERIFY2_WITH_TIMEOUT(ProgramsOn(dir.path()).isEmpty(), "waiting for the killed queue's encoder to end",
                              10000);
    QVERIFY(!QFile::exists(dir.filePath("clip 1.mp4")));
    const LoadedQueue kept = LoadQueue(store);
    QCOMPARE(kept.items.size(), std::size_t(2)); // killed mid-run, not after it
    QCOMPARE(kept.items[0].state, zvm::queue::ItemState::Running);

    QueueRunner runner(outside_, store);
    QVERIFY(runner.holdsStore()); // the dead program's lock is no hindrance
    QVERIFY(!QFile::exists(partial)); // its encoder gone, the partial it left goes
    runner.restore(runner.loadStore().items);
    QVERIFY(runner.existingOutputs().empty()); // nothing half-written is offered as an existing output
    QSignalSpy done(&runner, &QueueRunner::finishedAll);
    runner.start();
    QTRY_VERIFY_WITH_TIMEOUT(!done.isEmpty(), 120000); // at once when nothing can start
    QCOMPARE(runner.queue().summary().finished, 2);
    for (const auto& item : runner.queue().items()) {
        QTRY_VERIFY_WITH_TIMEOUT(!item.check.empty(), 60000);
        QVERIFY2(item.verdict == zvm::CheckVerdict::Fits, item.check.c_str());
        QVERIFY2(item.check.starts_with("Fits GBA - 240x160"), item.check.c_str());
    }
    QVERIFY(LoadQueue(store).items.empty());
}

void TestRealEncoder::rendersEveryPreset_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QSize>("displaySize");
    QTest::addColumn<int>("preset");
    for (auto it = sources_.cbegin(); it != sources_.cend(); ++it) {
        for (int preset = 0; preset < 5; ++preset) {
            if (!it.key().contains("rotated")) {
                QTest::addRow("%s row %d", qPrintable(QFileInfo(it.key()).fileName()), preset) << it.key() << *it
                                                                                                << preset;
            }
        }
    }
}

// The preview's frame: the target's size, with the bands where the command puts them.
void TestRealEncoder::rendersEveryPreset() {
    QFETCH(QString, source);
    QFETCH(QSize, displaySize);
    QFETCH(int, preset);
    const auto fit = zvm::FitRequest(RequestFor(source, displaySize, preset, false));
    QVERIFY(fit.has_value());
    const auto frame =
        Await<RenderedFrame>([&](auto done) { outside_.renderFrame({source, 0.5, zvm::ScaleAndPadFilter(*fit)}, done); });
    QVERIFY(frame.has_value());
    QVERIFY2(frame->error.ok(), frame->error.text().c_str());
    QCOMPARE(BandsAreWrong(QImage::fromData(frame->png, "PNG"), *fit), QString());
}

// A newer frame ends the render still running: only its answer comes, and a failed one says why.
void TestRealEncoder::newerRenderWins() {
    const QString source = sources_.key(QSize(1280, 720));
    QList<RenderedFrame> frames;
    const auto keep = [&frames](const RenderedFrame& frame) {
        if (frame.exact) {
            frames.append(frame);
        }
    };
    const auto frameOf = [](const QString& file, double seconds, const zvm::ConversionRequest& request) {
        return zvm::media::FrameAsk{file, seconds, zvm::ScaleAndPadFilter(*zvm::FitRequest(request))};
    };
    outside_.renderFrame(frameOf(source, 0.1, RequestFor(source, {1280, 720}, 0, false)), keep);
    outside_.renderFrame(frameOf(source, 0.5, RequestFor(source, {1280, 720}, 3, false)), keep);
    QTRY_VERIFY_WITH_TIMEOUT(!frames.isEmpty(), 30000);
    QCOMPARE(QImage::fromData(frames[0].png, "PNG").size(), QSize(368, 208)); // the second's, a PSP frame

    outside_.renderFrame(frameOf(dir_.filePath("missing.mp4"), 0, RequestFor(source, {4, 3}, 0, false)), keep);
    QTRY_VERIFY_WITH_TIMEOUT(frames.size() == 2, 5000);
    QVERIFY(frames[1].error.text().find("was not found") != std::string::npos); // and the first, ended, never answered
}

void TestRealEncoder::cutsExactly_data() {
    QTest::addColumn<int>("preset");
    QTest::addColumn<bool>("animation");
    QTest::addColumn<QString>("cut"); // "START END", "-" for none, of a 6 s source
    QTest::addColumn<QString>("said"); // what the check's line says of it
    QTest::newRow("gba, both ends") << 0 << false << "2.5 4.25" << "cut 0:02.5 to 0:04.25: ";
    QTest::newRow("gba animation, between frames") << 1 << true << "1.03 3.61" << "of 2.58 s kept (within 0.28 s)";
    QTest::newRow("psp, the end only") << 3 << false << "- 1.5" << "cut 0:00 to 0:01.5: ";
    QTest::newRow("vcd, the start only") << 4 << false << "4 -" << "cut 0:04 to the end: ";
    QTest::newRow("psp h264, an end past the video") << 5 << false << "3 20" << "cut 0:03 to 0:20: ";
    QTest::newRow("amv, whose duration is counted") << 10 << false << "1 3" << "cut 0:01 to 0:03: ";
}

// Through the real queue and encoder: each cut's file fits, its sound starts with its picture, the
// check's line says what it held the duration to, and the same file is refused for a cut half a
// second longer.
void TestRealEncoder::cutsExactly() {
    QFETCH(int, preset);
    QFETCH(bool, animation);
    QFETCH(QString, cut);
    QFETCH(QString, said);
    const zvm::VideoKind video = zvm::FindPreset(preset)->video;
    const bool h264 = video == zvm::VideoKind::H264;
    const char* const codec = h264                               ? "libx264"
                              : video == zvm::VideoKind::Mpeg4 ? "mpeg4"
                              : video == zvm::VideoKind::Amv   ? "adpcm_ima_amv"
                                                               : "mpeg1video";
    if (!encoders_.contains(codec) || !pads_ ||
        (h264 && !fpsmax_)) {
        QSKIP("this encoder cannot serve the target (see convertsEveryPreset)");
    }
    const QString source = dir_.filePath("six seconds.mkv");
    if (!QFile::exists(source)) { // keyframes 2 s apart, so a cut starts between them
        Run(maker_, {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=s=640x480:d=6:r=25", "-f", "lavfi", "-i",
                     "sine=d=6", "-c:v", "mpeg4", "-g", "50", "-c:a", "aac", "-shortest", source});
    }
    QTemporaryDir out;
    zvm::ConversionRequest r = RequestFor(source, {}, preset, animation);
    r.width.clear();
    r.height.clear();
    r.encoderPath = ffmpeg_.toStdString();
    r.outputPath = zvm::SuggestOutputName(source.toStdString(), preset, out.path().toStdString());
    const QStringList ends = cut.split(' ');
    QVERIFY2(ends.size() == 2, qPrintable("not START END: " + cut));
    for (const auto& [text, field] : {std::pair(ends[0], &r.cutStart), std::pair(ends[1], &r.cutEnd)}) {
        if (text != "-") {
            *field = text.toDouble();
        }
    }
    QueueRunner runner(outside_);
    QSignalSpy done(&runner, &QueueRunner::finishedAll);
    runner.add({r}, zvm::CommandStyle::Modern);
    runner.start();
    QVERIFY(done.wait(120000));
    const zvm::queue::QueueItem& item = runner.queue().items()[0];
    QTRY_VERIFY2(!item.check.empty(), item.log.c_str());
    QVERIFY2(item.verdict == zvm::CheckVerdict::Fits, item.check.c_str());
    QVERIFY2(QString::fromStdString(item.check).contains(said), item.check.c_str());
    const QString output = QString::fromStdString(item.request.outputPath);
    const QStringList starts = QString::fromUtf8(Run("ffprobe", {"-v", "error", "-show_entries", "stream=start_time",
                                                                "-of", "csv=p=0", output}))
                                   .split('\n', Qt::SkipEmptyParts);
    QCOMPARE(starts.size(), 2);
    QVERIFY2(std::fabs(starts[0].toDouble() - starts[1].toDouble()) < 0.05, qPrintable(starts.join(' ')));
    if (zvm::ExactCut(r.cutEnd, item.duration)) {
        auto longer = *zvm::TargetFor(item.request, zvm::CommandStyle::Modern);
        *longer.cutEnd += std::max(0.5, 2 * zvm::CutTolerance(longer.frameRate)); // beyond what its rate may stray
        const CheckReport report = Check(outside_, output, longer, item.duration);
        QVERIFY2(report.verdict == CheckReport::Verdict::Differs && report.line.contains("duration"),
                 qPrintable(report.line));
    }
}

void TestRealEncoder::checkFailures_data() {
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("path"); // the search path while checking
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("line");
    QTest::newRow("wrong size") << "four by three.mp4" << "" << int(CheckReport::Verdict::Differs)
                                << "Does not fit GBA - 240x160: width 640, expected 240; height 480, expected 160";
    QTest::newRow("missing after exit 0") << "never written.mp4" << "" << int(CheckReport::Verdict::Missing)
                                          << "The encoder ended without writing";
    QTest::newRow("not a video") << "notes.txt" << "" << int(CheckReport::Verdict::Differs)
                                 << "The output is not a readable video: the file could not be read: Invalid data";
    QTest::newRow("raw frames cut within a frame") << "cut-16x16-15fps-rgb565le.rgb" << "" << int(CheckReport::Verdict::Differs)
                                                   << "The output is not a readable video: the raw frames end within a "
                                                      "frame: 1 bytes are not whole frames";
    QTest::newRow("raw frames not named for what they are") << "frames.rgb" << "" << int(CheckReport::Verdict::Differs)
                                                            << "The output is not a readable video: raw frames are read by their name";
    QTest::newRow("no ffprobe needed") << "four by three.mp4" << "/nonexistent" << int(CheckReport::Verdict::Differs)
                                       << "Does not fit GBA - 240x160: width 640";
}

void TestRealEncoder::checkFailures() {
    QFETCH(QString, output);
    QFETCH(QString, path);
    QFETCH(int, verdict);
    QFETCH(QString, line);
    const QByteArray searchPath = qgetenv("PATH");
    if (!path.isEmpty()) {
        qputenv("PATH", path.toLocal8Bit());
    }
    const auto target = zvm::TargetFor(RequestFor("x", {640, 480}, 0, false), zvm::CommandStyle::Modern);
    const CheckReport report = Check(outside_, dir_.filePath(output), *target, std::nullopt);
    qputenv("PATH", searchPath);
    QCOMPARE(int(report.verdict), verdict);
    QVERIFY2(report.line.startsWith(line), qPrintable(report.line));
}

void TestRealEncoder::detectionFailures() {
    const QFile text(dir_.filePath("notes.txt"));
    const SizeDetection notVideo = Detect(outside_, text.fileName());
    QVERIFY(!notVideo.size.has_value());
    QVERIFY(!notVideo.error.ok());

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    const SizeDetection noProbe = Detect(outside_, dir_.filePath("four by three.mp4"));
    qputenv("PATH", path);
    QCOMPARE(noProbe.size, std::optional(QSize(640, 480))); // read by the media worker, not by ffprobe
}

// Through the real queue with two passes: the file lands at most 5% over the size asked, and under
// it only where the encoder needs no more bits, which the check says. However the run ends, each
// item's private folder of pass logs (libx264's .mbtree too) is gone afterwards.
void TestRealEncoder::keepsAFileSize_data() {
    QTest::addColumn<int>("preset");
    QTest::addColumn<double>("megabytes");
    QTest::addColumn<QString>("change"); // "no output folder", "stop"; empty: none
    QTest::addColumn<QString>("outcome"); // "near", "under", "failed", "stopped"
    QTest::newRow("psp mpeg4") << 3 << 0.3 << "" << "near";
    QTest::newRow("psp h264") << 5 << 0.3 << "" << "near";
    QTest::newRow("gba, more than its picture needs") << 0 << 3.0 << "" << "under";
    QTest::newRow("the second pass cannot write") << 5 << 0.3 << "no output folder" << "failed";
    QTest::newRow("stopped in the first pass") << 5 << 2.0 << "stop" << "stopped";
}

void TestRealEncoder::keepsAFileSize() {
    QFETCH(int, preset);
    QFETCH(double, megabytes);
    QFETCH(QString, change);
    QFETCH(QString, outcome);
    const QString codec = preset == 5 ? "libx264" : "mpeg4";
    if (!encoders_.contains(codec) || !pads_ || !fpsmax_) {
        QSKIP("this encoder cannot serve the target (see convertsEveryPreset)");
    }
    QTemporaryDir work;
    const QString cache = work.filePath("cache");
    const QByteArray oldCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    const int seconds = change == "stop" ? 60 : 6;
    const QString source = work.filePath("busy clip.mkv");
    Run(maker_, {"-v", "error", "-y", "-f", "lavfi", "-i", QString("testsrc2=s=640x360:r=25:d=%1").arg(seconds), "-f",
                  "lavfi", "-i", QString("sine=d=%1").arg(seconds), "-c:v", "mpeg4", "-q:v", "2", "-c:a", "aac", source});
    zvm::ConversionRequest r = RequestFor(source, {}, preset, false);
    r.width.clear();
    r.height.clear();
    r.encoderPath = ffmpeg_.toStdString();
    r.outputPath = (change == "no output folder" ? work.filePath("missing/out.mp4") : work.filePath("out.mp4")).toStdString();
    r.fileSizeMB = megabytes;
    QueueRunner runner(outside_);
    QSignalSpy done(&runner, &QueueRunner::finishedAll);
    runner.add({r}, zvm::CommandStyle::Modern);
    runner.start();
    const auto passFolders = [&] {
        return QDir(zvm::media::PassFolderBase()).entryInfoList({"passes-*"}, QDir::Dirs | QDir::Hidden);
    };
    if (change == "stop") { // once the first pass has begun its logs
        QTRY_VERIFY_WITH_TIMEOUT(!passFolders().isEmpty() && !QDir(passFolders()[0].filePath()).isEmpty(), 60000);
        struct stat folder {};
        QVERIFY(::stat(QFile::encodeName(passFolders()[0].filePath()).constData(), &folder) == 0);
        QCOMPARE(folder.st_mode & 0777, 0700U); // private to this user
        runner.stopCurrent();
    }
    QVERIFY(done.wait(120000));
    const auto& item = runner.queue().items()[0];
    QVERIFY(passFolders().isEmpty()); // however the run ended
    qputenv("XDG_CACHE_HOME", oldCache);
    if (outcome == "failed" || outcome == "stopped") {
        QCOMPARE(item.state, outcome == "failed" ? zvm::queue::ItemState::Failed : zvm::queue::ItemState::Stopped);
        QVERIFY(!QFile::exists(QString::fromStdString(r.outputPath)));
        return;
    }
    QVERIFY2(item.state == zvm::queue::ItemState::Finished, (zvm::queue::ReasonText(item) + item.log).c_str());
    QTRY_VERIFY_WITH_TIMEOUT(!item.check.empty(), 60000);
    QVERIFY2(item.verdict == zvm::CheckVerdict::Fits, item.check.c_str());
    const double ratio = double(QFileInfo(QString::fromStdString(r.outputPath)).size()) / (megabytes * 1e6);
    QVERIFY2(ratio <= 1.05, item.check.c_str());
    QVERIFY2((ratio >= 0.9) == (outcome == "near"), item.check.c_str());
    QVERIFY2(QString::fromStdString(item.check).contains(QString("(asked %1 MB)").arg(megabytes)), item.check.c_str());
    QCOMPARE(QString::fromStdString(item.check).contains("the encoder reached its best quality"), outcome == "under");
}

// A noisy clip needs more bits than mpeg4's coarsest quantiser leaves under the bitrate asked: the
// first pass finds it, the second never starts, and what the refusal names as the smallest then
// converts.
void TestRealEncoder::refusesASecondPassThatWouldAbort_data() {
    QTest::addColumn<double>("megabytes"); // 0: the bitrate alone, in two passes
    QTest::addColumn<QString>("named");     // how the refusal names the smallest that works
    QTest::newRow("a bitrate") << 0.0 << R"(bitrate that works is (\d+) kbit/s)";
    QTest::newRow("a file size") << 0.034 << R"(file size that works is ([\d.]+) MB \(\d+ kbit/s\))";
}

void TestRealEncoder::refusesASecondPassThatWouldAbort() {
    QFETCH(double, megabytes);
    QFETCH(QString, named);
    if (!encoders_.contains("mpeg4") || !pads_) {
        QSKIP("this encoder cannot serve the target (see convertsEveryPreset)");
    }
    QTemporaryDir work;
    const QString source = work.filePath("noise.mkv");
    Run(maker_, {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=s=640x480:r=25:d=2,noise=alls=80:allf=t", "-f",
                  "lavfi", "-i", "sine=d=2", "-c:v", "mpeg4", "-q:v", "2", "-c:a", "aac", source});
    zvm::ConversionRequest r = RequestFor(source, {}, 0, false);
    r.width.clear();
    r.height.clear();
    r.encoderPath = ffmpeg_.toStdString();
    r.outputPath = work.filePath("out.mp4").toStdString();
    r.videoBitrate = "100";
    r.twoPass = megabytes == 0;
    r.fileSizeMB = megabytes > 0 ? std::optional(megabytes) : std::nullopt;
    for (const bool refused : {true, false}) {
        QueueRunner runner(outside_);
        QSignalSpy done(&runner, &QueueRunner::finishedAll);
        runner.add({r}, zvm::CommandStyle::Modern);
        runner.start();
        QVERIFY(done.wait(120000));
        const auto& item = runner.queue().items()[0];
        const std::string reason = zvm::queue::ReasonText(item);
        QCOMPARE(item.state, refused ? zvm::queue::ItemState::Failed : zvm::queue::ItemState::Finished);
        QCOMPARE(QFile::exists(QString::fromStdString(r.outputPath)), !refused);
        if (refused) {
            const QRegularExpressionMatch smallest = QRegularExpression(named).match(QString::fromStdString(reason));
            QVERIFY2(smallest.hasMatch(), reason.c_str());
            if (megabytes > 0) {
                r.fileSizeMB = smallest.captured(1).toDouble();
            } else {
                r.videoBitrate = smallest.captured(1).toStdString();
            }
        }
    }
}

void TestRealEncoder::readsTheNamedFiles_data() {
    QTest::addColumn<QString>("source"); // relative names, in the folder the queue runs in
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("subtitles"); // a subtitle file to burn in; empty: none
    QTest::newRow("one letter and a colon") << "a:b.mp4" << "o:x.mp4" << "";
    QTest::newRow("subfile") << "subfile,,start,0,end,0,,:other.mp4" << "subfile,,start,0,end,0,,:out.mp4"
                             << "s:x.srt";
}

// Names the encoder would read as protocols are read and written as the files they name: other.mp4,
// three times as long as the source, lies ready to be read by mistake, which the check would see.
void TestRealEncoder::readsTheNamedFiles() {
    QFETCH(QString, source);
    QFETCH(QString, output);
    QFETCH(QString, subtitles);
    if (!encoders_.contains("mpeg4") || !pads_) {
        QSKIP("this encoder cannot serve the GBA target (see convertsEveryPreset)");
    }
    // One folder for every row: the media worker, shared, reads relative names where it was started.
    const QDir work(dir_.filePath("named"));
    QVERIFY(work.mkpath("."));
    for (const auto& [name, seconds] : {std::pair(source, 1), std::pair(QString("other.mp4"), 3)}) {
        Run(maker_, {"-v", "error", "-y", "-f", "lavfi", "-i", QString("testsrc=s=320x240:r=25:d=%1").arg(seconds),
                     "-f", "lavfi", "-i", QString("sine=d=%1").arg(seconds), "-c:v", "mpeg4", "-c:a", "aac",
                     "-shortest", work.filePath(name)});
    }
    QFile text(work.filePath(subtitles));
    QVERIFY(subtitles.isEmpty() || (text.open(QIODevice::WriteOnly) && text.write("1\n00:00:00,000 --> 00:00:01,000\nHi\n") > 0));
    text.close();
    zvm::ConversionRequest r = RequestFor(source, {}, 0, false);
    r.width.clear();
    r.height.clear();
    r.encoderPath = ffmpeg_.toStdString();
    r.outputPath = output.toStdString();
    if (!subtitles.isEmpty()) {
        r.subtitles = {zvm::SubtitleMode::File, subtitles.toStdString(), -1, 0};
    }
    const QString home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.absolutePath()));
    zvm::media::RealOutside outside; // its media worker reads names in this folder, as a tool's would
    QueueRunner runner(outside);
    QSignalSpy done(&runner, &QueueRunner::finishedAll);
    runner.add({r}, zvm::CommandStyle::Modern);
    runner.start();
    const bool ended = done.wait(120000);
    const zvm::queue::QueueItem& item = runner.queue().items()[0];
    const bool checked = QTest::qWaitFor([&item] { return !item.check.empty(); }, 60000);
    QDir::setCurrent(home);
    QVERIFY2(ended && checked, (zvm::queue::ReasonText(item) + item.log + item.command).c_str());
    QVERIFY2(item.verdict == zvm::CheckVerdict::Fits, (item.check + item.log).c_str());
    QVERIFY(QFileInfo(work.filePath(output)).size() > 0);
}

QTEST_GUILESS_MAIN(TestRealEncoder)
#include "tst_realencoder.moc"
