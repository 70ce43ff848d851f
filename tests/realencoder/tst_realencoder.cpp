// The modern command with Debian's real ffmpeg: every preset on sources of several shapes, run
// through the program's own run layer, and the output checked with ffprobe.
#include "EncoderProcess.h"
#include "Generate.h"
#include "Presets.h"
#include "ProgramLookup.h"
#include "SizeProbe.h"
#include "Spawn.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestRealEncoder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void convertsEveryPreset_data();
    void convertsEveryPreset();
    void detectionFailures();

private:
    QString makeSource(const QString& name, const QString& size, const QString& extraFilter, bool rotate);
    QTemporaryDir dir_;
    QString ffmpeg_;
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

QJsonObject Stream(const QString& file, const QString& type) {
    const QByteArray json = Run("ffprobe", {"-v", "error", "-show_streams", "-of", "json", file});
    for (const QJsonValue& s : QJsonDocument::fromJson(json).object().value("streams").toArray()) {
        if (s.toObject().value("codec_type").toString() == type) {
            return s.toObject();
        }
    }
    return {};
}

SizeDetection Detect(const QString& video, const QString& encoder) {
    SizeProbe probe;
    QSignalSpy done(&probe, &SizeProbe::finished);
    probe.start(video, encoder);
    if (!done.wait(10000)) {
        return {std::nullopt, "no answer", {}};
    }
    return done.at(0).at(0).value<SizeDetection>();
}
} // namespace

Q_DECLARE_METATYPE(SizeDetection)

QString TestRealEncoder::makeSource(const QString& name, const QString& size, const QString& extraFilter,
                                    bool rotate) {
    const QString path = dir_.filePath(name);
    const QString filter = extraFilter.isEmpty() ? QString("null") : extraFilter;
    Run(ffmpeg_,
        {"-v", "error", "-y", "-f", "lavfi", "-i", "color=c=0xC0C0C0:s=" + size + ":d=1:r=25", "-f", "lavfi",
         "-i", "sine=d=1", "-vf", filter, "-c:v", "mpeg4", "-c:a", "aac", "-shortest", path});
    if (rotate) {
        // The rotation is stored as side data; only a stream copy writes it with this encoder.
        const QString plain = path + ".plain.mp4";
        QFile::rename(path, plain);
        Run(ffmpeg_, {"-v", "error", "-y", "-i", plain, "-c", "copy", "-metadata:s:v:0", "rotate=90", path});
    }
    return path;
}

void TestRealEncoder::initTestCase() {
    qRegisterMetaType<SizeDetection>();
    ffmpeg_ = QStandardPaths::findExecutable("ffmpeg");
    QVERIFY2(!ffmpeg_.isEmpty(), "ffmpeg is installed by the project's set-up");
    QVERIFY(!QStandardPaths::findExecutable("ffprobe").isEmpty());
    QVERIFY(dir_.isValid());
}

void TestRealEncoder::convertsEveryPreset_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QSize>("displaySize");
    QTest::addColumn<int>("preset");
    QTest::addColumn<bool>("animation");

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
        const QString path = makeSource(s.name, s.size, s.filter, s.rotate);
        for (int preset = 0; preset < 5; ++preset) {
            QTest::addRow("%s row %d live action", s.name, preset) << path << s.display << preset << false;
            if (preset != 4) { // the VCD form has no movie type
                QTest::addRow("%s row %d animation", s.name, preset) << path << s.display << preset << true;
            }
        }
    }
}

void TestRealEncoder::convertsEveryPreset() {
    QFETCH(QString, source);
    QFETCH(QSize, displaySize);
    QFETCH(int, preset);
    QFETCH(bool, animation);

    const SizeDetection detected = Detect(source, ffmpeg_);
    QCOMPARE(detected.size.value_or(QSize()), displaySize);

    zvm::ConversionRequest r;
    r.encoderPath = ffmpeg_.toStdString();
    r.sourceVideo = source.toStdString();
    r.outputPath = dir_.filePath(QString("out %1 %2.%3")
                                     .arg(QFileInfo(source).baseName())
                                     .arg(preset * 2 + int(animation))
                                     .arg(preset == 4 ? "mpg" : "mp4"))
                       .toStdString();
    r.width = std::to_string(displaySize.width());
    r.height = std::to_string(displaySize.height());
    r.videoBitrate = "256";
    r.audioBitrate = "32";
    r.sampleRate = "24000";
    r.preset = preset;
    r.movieType = animation ? zvm::MovieType::Animation : zvm::MovieType::LiveAction;
    const auto result = std::get<zvm::GenerateResult>(zvm::Generate(r, zvm::CommandStyle::Modern));
    QVERIFY(result.command.has_value());

    const auto resolved =
        zvm::run::ResolveCommandLine(*result.command, r.encoderPath, zvm::run::ProgramFinder::FromSystem());
    QVERIFY(resolved.command.has_value());
    const auto spawned = zvm::run::SpawnDetached(*resolved.command, dir_.path().toStdString());
    QVERIFY(spawned.error.empty());
    EncoderProcess encoder(spawned.pid, spawned.logFd);
    QByteArray log;
    connect(&encoder, &EncoderJob::outputArrived, this, [&log](const QByteArray& b) { log += b; });
    QSignalSpy finished(&encoder, &EncoderJob::finished);
    QVERIFY(finished.wait(60000));
    QVERIFY2(finished.at(0).at(0).toInt() == 0, log.right(600).constData());

    const QString output = QString::fromStdString(r.outputPath);
    const zvm::FrameGeometry& g = result.geometry;
    const QJsonObject video = Stream(output, "video");
    const QJsonObject audio = Stream(output, "audio");
    QCOMPARE(video.value("width").toInt(), g.targetWidth);
    QCOMPARE(video.value("height").toInt(), g.targetHeight);
    QCOMPARE(video.value("codec_name").toString(), preset == 4 ? "mpeg1video" : "mpeg4");
    QCOMPARE(video.value("r_frame_rate").toString(), animation ? "15000/1001" : "30000/1001");
    QCOMPARE(audio.value("sample_rate").toString(), preset == 4 ? "44100" : "24000");
    QCOMPARE(audio.value("channels").toInt(), 2);

    // One frame in grey levels: the pad bands are black, the picture is not.
    const QByteArray frame = Run(
        ffmpeg_, {"-v", "error", "-i", output, "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "gray", "-"});
    QCOMPARE(frame.size(), qsizetype(g.targetWidth) * g.targetHeight);
    auto luma = [&](int x, int y) {
        return static_cast<unsigned char>(frame[qsizetype(y) * g.targetWidth + x]);
    };
    QVERIFY(luma(g.padLeft + g.newWidth / 2, g.padTop + g.newHeight / 2) > 100);
    if (g.padLeft >= 4) {
        QVERIFY(luma(g.padLeft / 2, g.targetHeight / 2) < 40);
        QVERIFY(luma(g.targetWidth - 1 - g.padRight / 2, g.targetHeight / 2) < 40);
    }
    if (g.padTop >= 4) {
        QVERIFY(luma(g.targetWidth / 2, g.padTop / 2) < 40);
        QVERIFY(luma(g.targetWidth / 2, g.targetHeight - 1 - g.padBottom / 2) < 40);
    }
}

void TestRealEncoder::detectionFailures() {
    QFile text(dir_.filePath("notes.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a video\n");
    text.close();
    const SizeDetection notVideo = Detect(text.fileName(), ffmpeg_);
    QVERIFY(!notVideo.size.has_value());
    QVERIFY(!notVideo.error.isEmpty());

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    const SizeDetection noProbe = Detect(dir_.filePath("four by three.mp4"), "ffmpeg");
    qputenv("PATH", path);
    QCOMPARE(noProbe.error, "ffprobe was not found");
}

QTEST_GUILESS_MAIN(TestRealEncoder)
#include "tst_realencoder.moc"
