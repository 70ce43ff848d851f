// The media worker and its client: the wire, every request with its answer (a crash and a hang
// among them, after which the next request finds a fresh worker), probes that read what ffprobe reads
// over generated sources, and frames that equal what the encoder writes through the same filter.
#include "media/MediaWorker.h"
#include "tests/media/FfprobeOracle.h"

#include "core/CommandLine.h"
#include "files/DpgFile.h"

#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace zvm::media;

namespace {
QByteArray Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? p.readAllStandardOutput()
                                                                       : QByteArray();
}

// Messages as "name=value name=value", several joined by " | "; "failed" where the stream broke.
QString Shown(wire::Reader& reader) {
    QStringList shown;
    for (auto next = reader.next(); next.ok() || (shown << "failed", false); next = reader.next()) {
        if (!next.value()) {
            break;
        }
        QStringList fields;
        for (const auto& [name, value] : next.value()->fields) {
            fields << QString::fromStdString(name + "=" + value);
        }
        shown << fields.join(' ');
    }
    return shown.join(" | ");
}

constexpr const char* kSubtitles = R"(it's: [a], b; \c.srt)";

double Psnr(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) {
        return 0;
    }
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    double squares = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int i = 0; i < x.width() * 3; ++i) {
            const double d = x.constScanLine(row)[i] - y.constScanLine(row)[i];
            squares += d * d;
        }
    }
    const double mse = squares / (x.width() * x.height() * 3.0);
    return mse == 0 ? 100 : 10 * std::log10(255.0 * 255.0 / mse);
}
} // namespace

class TestMediaWorker : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readsTheWire_data();
    void readsTheWire();
    void answersRequests_data();
    void answersRequests();
    void probesAsFfprobeDoes_data();
    void probesAsFfprobeDoes();
    void rendersWhatTheEncoderWrites_data();
    void rendersWhatTheEncoderWrites();
    void redrawsEditedSubtitles();
    void readsTheSource_data();
    void readsTheSource();
    void readsDpg_data();
    void readsDpg();

private:
    // The answers to one request, waited for generously.
    QList<zvm::Result<wire::Message>> ask(const wire::Message& request, int limit = 60000);
    std::optional<wire::Message> request(const QString& words);
    QString path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    QString ffmpeg_;
    std::unique_ptr<MediaWorker> worker_;
};

void TestMediaWorker::initTestCase() {
    qputenv("ZVM_WORKER_FAULTS", "1"); // the crash and hang requests
    ffmpeg_ = QStandardPaths::findExecutable("ffmpeg");
    QVERIFY(!ffmpeg_.isEmpty());
    QVERIFY(!MediaWorker::FindProgram().isEmpty());
    worker_ = std::make_unique<MediaWorker>(MediaWorker::FindProgram());
    const QStringList sound{"-f", "lavfi", "-i", "sine=d=2"};
    struct Source {
        const char* name;
        const char* size;
        const char* filter;
        bool silent;
        const char* codec;
    } sources[] = {{"square.mp4", "640x480", "null", false, "mpeg4"},
                   {"wide.mp4", "1280x720", "null", false, "mpeg4"},
                   {"portrait.mp4", "480x640", "null", true, "mpeg4"},
                   {"anamorphic.mp4", "720x480", "setsar=32/27", false, "mpeg4"},
                   {"keyframes.mp4", "320x240", "null", false, "libx264"}};
    for (const Source& s : sources) {
        QStringList args{
            "-v", "error", "-y", "-f", "lavfi", "-i", QString("testsrc=s=%1:d=2:r=25").arg(s.size)};
        args << (s.silent ? QStringList() : sound) << "-vf" << s.filter << "-c:v" << s.codec << "-g"
             << "10"
             << "-shortest" << path(s.name);
        Run(ffmpeg_, args);
        QVERIFY2(QFileInfo(path(s.name)).size() > 0, s.name);
    }
    Run(ffmpeg_, {"-v", "error", "-y", "-i", path("square.mp4"), "-c", "copy", "-metadata:s:v:0", "rotate=90",
                  path("rotated.mp4")});
    QFile whole(path("square.mp4"));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile truncated(path("truncated.mp4"));
    QVERIFY(truncated.open(QIODevice::WriteOnly) && truncated.write(bytes.left(bytes.size() / 3)) > 0);
    QFile subtitles(path(kSubtitles));
    QVERIFY(subtitles.open(QIODevice::WriteOnly) &&
            subtitles.write("1\n00:00:01,000 --> 00:00:03,000\nHELLO WORLD\n") > 0);
    QFile notes(path("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("not a video\n") > 0);
}

QList<zvm::Result<wire::Message>> TestMediaWorker::ask(const wire::Message& request, int limit) {
    auto answers = std::make_shared<QList<zvm::Result<wire::Message>>>();
    worker_->ask(request, limit, [answers](const zvm::Result<wire::Message>& a) { answers->append(a); });
    const bool last = QTest::qWaitFor(
        [&] {
            return !answers->isEmpty() &&
                   (!answers->last().ok() || answers->last().value().get("more") != "1");
        },
        limit + 60000);
    return last ? *answers : QList<zvm::Result<wire::Message>>();
}

// "probe <file>", "frame <file> <seconds>", or a verb alone; a file is one the test made or "missing".
std::optional<wire::Message> TestMediaWorker::request(const QString& words) {
    const QStringList w = words.split(' ');
    const QHash<QString, int> arity{{"probe", 1}, {"frame", 2}, {"crash", 0}, {"hang", 0}, {"garble", 0}, {"nonsense", 0}};
    if (!arity.contains(w[0]) || w.size() != arity[w[0]] + 1 ||
        (w.size() > 1 && w[1] != "missing" && !QFileInfo::exists(path(w[1])))) {
        return std::nullopt;
    }
    wire::Message m;
    m.add("request", w[0].toStdString());
    if (w.size() > 1) {
        m.add("path", path(w[1]).toStdString());
    }
    if (w.size() > 2) {
        m.add("seconds", w[2].toStdString()).add("filter", "scale=240:136,pad=240:160:0:12,setsar=1");
    }
    return m;
}

void TestMediaWorker::readsTheWire_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("piece"); // bytes given at a time
    QTest::addColumn<QString>("read");
    const std::string one = wire::Encode(wire::Message().add("request", "probe").add("path", "a b.mp4"));
    const std::string odd =
        wire::Encode(wire::Message().add("png", std::string("x\nzvm 1\n\0y", 10)).add("e", ""));
    QTest::newRow("whole") << QByteArray::fromStdString(one) << 4096 << "request=probe path=a b.mp4";
    QTest::newRow("two, a byte at a time") << QByteArray::fromStdString(one + one) << 1
                                           << "request=probe path=a b.mp4 | request=probe path=a b.mp4";
    QTest::newRow("any bytes in a value, an empty one")
        << QByteArray::fromStdString(odd) << 3 << QString::fromUtf8("png=x\nzvm 1\n\0y e=", 17);
    QTest::newRow("incomplete waits") << QByteArray("zvm 1\npath 5\nab") << 1 << "";
    QTest::newRow("not a header") << QByteArray("zvn 1\n") << 4096 << "failed";
    QTest::newRow("a count that is no number") << QByteArray("zvm 1x\n") << 4096 << "failed";
    QTest::newRow("too many fields") << QByteArray("zvm 33\n") << 4096 << "failed";
    QTest::newRow("a value too long") << QByteArray("zvm 1\npng 1048577\n") << 4096 << "failed";
    QTest::newRow("a name in capitals") << QByteArray("zvm 1\nPath 1\nx") << 4096 << "failed";
    QTest::newRow("a line without end") << QByteArray("zvm 1\n") + QByteArray(80, 'a') << 7 << "failed";
    QTest::newRow("the message before a broken one") << QByteArray::fromStdString(one) + "zvm -1\n"
                                                     << 4096 << "request=probe path=a b.mp4 | failed";
}

void TestMediaWorker::readsTheWire() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, piece);
    QFETCH(QString, read);
    wire::Reader reader(1024 * 1024);
    QStringList shown;
    for (qsizetype at = 0; at < bytes.size() && !shown.join(' ').endsWith("failed"); at += piece) {
        reader.append(std::string_view(bytes.constData() + at,
                                       std::size_t(std::min<qsizetype>(piece, bytes.size() - at))));
        if (const QString now = Shown(reader); !now.isEmpty()) {
            shown << now;
        }
    }
    QCOMPARE(shown.join(" | "), read);
}

void TestMediaWorker::answersRequests_data() {
    QTest::addColumn<QString>("words");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("answer"); // "ok", or what the reason says
    QTest::addColumn<bool>("fresh");     // the worker was ended and the next request starts another
    constexpr int kGenerous = 60000;
    QTest::newRow("probe") << "probe rotated.mp4" << kGenerous << "ok" << false;
    QTest::newRow("a missing file") << "probe missing" << kGenerous << "could not be read: No such file"
                                    << false;
    QTest::newRow("not a video") << "probe notes.txt" << kGenerous << "could not be read: Invalid data"
                                 << false;
    QTest::newRow("frame") << "frame keyframes.mp4 1.3" << kGenerous << "ok" << false;
    QTest::newRow("a bad moment") << "frame square.mp4 -1" << kGenerous << "bad moment: -1" << false;
    QTest::newRow("after the end") << "frame square.mp4 60" << kGenerous << "no frame at this moment"
                                   << false;
    QTest::newRow("an unknown request") << "nonsense" << kGenerous << "unknown request: nonsense" << false;
    QTest::newRow("a crash") << "crash" << kGenerous << "crashed while reading the file" << true;
    QTest::newRow("a hang") << "hang" << 1000 << "did not answer within 1 seconds" << true;
    QTest::newRow("a garbled answer") << "garble" << kGenerous << "message is malformed" << true;
}

// Whatever the request did, the caller gets one clear answer and the next request, asked at once and
// so written to the worker behind it, is answered too, by a fresh worker when this one was ended.
void TestMediaWorker::answersRequests() {
    QFETCH(QString, words);
    QFETCH(int, limit);
    QFETCH(QString, answer);
    QFETCH(bool, fresh);
    const auto sent = request(words);
    QVERIFY2(sent.has_value(), qPrintable("not a request the table knows: " + words));
    const auto probe = *request("probe square.mp4");
    QCOMPARE(ask(probe).size(), 1);
    const qint64 before = worker_->processId();
    QList<zvm::Result<wire::Message>> answers;
    QList<zvm::Result<wire::Message>> after;
    worker_->ask(*sent, limit, [&answers](const zvm::Result<wire::Message>& a) { answers.append(a); });
    worker_->ask(probe, 60000, [&after](const zvm::Result<wire::Message>& a) { after.append(a); });
    QTRY_COMPARE_WITH_TIMEOUT(answers.size(), 1, limit + 60000);
    const QString got = answers[0].ok() ? QString("ok") : StatusText(answers[0].status());
    QVERIFY2(answer == "ok" ? got == answer : got.contains(answer), qPrintable(got));
    if (fresh) { // the reader's own fault: never a verdict on the file, which an after-check would remove
        QCOMPARE(answers[0].status().kind(), zvm::FailureKind::Outside);
    }
    QTRY_COMPARE_WITH_TIMEOUT(after.size(), 1, 60000);
    QVERIFY2(after[0].ok(), qPrintable(StatusText(after[0].status())));
    QCOMPARE(after[0].value().get("width"), "640");
    QCOMPARE(worker_->processId() != before, fresh);
}

void TestMediaWorker::probesAsFfprobeDoes_data() {
    QTest::addColumn<QString>("source");
    for (const char* source : {"square.mp4", "wide.mp4", "portrait.mp4", "anamorphic.mp4", "rotated.mp4",
                               "keyframes.mp4", "truncated.mp4", "notes.txt"}) {
        QTest::newRow(source) << QString(source);
    }
}

// The size detection and the after-check read the same from the worker as from ffprobe.
void TestMediaWorker::probesAsFfprobeDoes() {
    QFETCH(QString, source);
    const SizeDetection byFfprobe =
        oracle::ParseProbeOutput(Run(QStandardPaths::findExecutable("ffprobe"), oracle::SizeArguments(path(source))));
    const auto answers = ask(*request("probe " + source));
    QCOMPARE(answers.size(), 1);
    const SizeDetection byWorker = ReadSize(answers[0]);
    QCOMPARE(byWorker.size, byFfprobe.size);
    QCOMPARE(byWorker.pixels, byFfprobe.pixels); // what the window's tooltips say was found
    QCOMPARE(byWorker.pixelAspect, byFfprobe.pixelAspect);
    QCOMPARE(byWorker.error.ok(), byFfprobe.error.ok());
    QCOMPARE(byWorker.duration.has_value(), byFfprobe.duration.has_value());
    QVERIFY(std::abs(byWorker.duration.value_or(0) - byFfprobe.duration.value_or(0)) < 1e-6);

    const QByteArray json =
        Run(QStandardPaths::findExecutable("ffprobe"),
            {"-v", "error", "-show_entries",
             "stream=codec_type,codec_name,width,height,r_frame_rate,sample_rate,channels:format=duration",
             "-of", "json", "-i", path(source)});
    QCOMPARE(answers[0].ok(), !json.isEmpty());
    if (answers[0].ok()) {
        const auto shown = [](const zvm::ProbedOutput& f) {
            return QString("%1x%2 %3 %4 fps, %5 %6 Hz %7 channels, %8 s")
                .arg(f.width.value_or(-1))
                .arg(f.height.value_or(-1))
                .arg(QString::fromStdString(f.videoCodec))
                .arg(f.frameRate.value_or(-1))
                .arg(QString::fromStdString(f.audioCodec))
                .arg(f.sampleRate.value_or(-1))
                .arg(f.channels.value_or(-1))
                .arg(f.duration.value_or(-1), 0, 'f', 6);
        };
        QCOMPARE(shown(ReadOutput(answers[0].value())), shown(oracle::ParseOutputProbe(json)));
        // Read through, as the after-check asks: the fullest second and the B-frames (x264's file has them).
        const auto through = ask(request("probe " + source)->add("whole", "1"));
        QCOMPARE(through.size(), 1);
        const zvm::ProbedOutput file = ReadOutput(through[0].value());
        QCOMPARE(QString("%1 kbit, B-frames %2").arg(file.peakVideoBitrate.value_or(-1)).arg(int(file.bFrames.value_or(true))),
                 oracle::PacketFacts(Run(QStandardPaths::findExecutable("ffprobe"), oracle::PacketArguments(path(source)))));
    }
}

// Sources made for what they hold: bars padded around a picture at known places, sound streams with
// their languages ("*" after the default one), fields in a known order.
void TestMediaWorker::readsTheSource_data() {
    QTest::addColumn<QString>("video");    // a lavfi graph, 2 s at 25 frames a second
    QTest::addColumn<QString>("encoding"); // how it is written
    QTest::addColumn<QString>("sounds");
    QTest::addColumn<QString>("crop");     // the rectangle, or what the reason says
    QTest::addColumn<int>("interlaced");   // the field order says: 1 interlaced, 0 progressive, -1 unknown
    const QString mp4 = "-c:v libx264 -pix_fmt yuv420p";
    QTest::newRow("pillarboxed 4:3 in 16:9") << "testsrc2=s=480x360,pad=640:360:80:0" << mp4 << "" << "480:360:80:0" << 0;
    QTest::newRow("letterboxed 2.39") << "testsrc2=s=640x268,pad=640:360:0:46" << mp4 << "" << "640:268:0:46" << 0;
    // pad puts a picture at even places in 4:2:0, and odd sides lose their last column to the encoder:
    // as ffmpeg's cropdetect=round=2 finds them.
    QTest::newRow("windowboxed, at an odd row") << "testsrc2=s=480x270,pad=640:360:80:45" << mp4 << ""
                                                << "480:270:80:44" << 0;
    QTest::newRow("odd-pixel bars") << "testsrc2=s=477x360,pad=640:360:81:0" << mp4 << "" << "476:360:80:0" << 0;
    QTest::newRow("a logo in a bar") << "testsrc2=s=480x360,pad=640:360:80:0,drawbox=x=20:y=20:w=20:h=20:color=white:t=fill"
                                     << mp4 << "" << "480:360:80:0" << 0;
    QTest::newRow("a dark scene with a bright title")
        << "color=c=0x141414:s=640x360,noise=alls=4:allf=t,drawbox=x=240:y=160:w=160:h=40:color=white:t=fill" << mp4
        << "" << "less than half the frame" << 0;
    QTest::newRow("black throughout") << "color=c=black:s=640x360" << mp4 << "" << "too few to measure" << 0;
    QTest::newRow("no bars") << "testsrc2=s=640x360" << mp4 << "" << "no black bars" << 0;
    QTest::newRow("two sound streams") << "testsrc2=s=320x240" << mp4 << "jpn*,eng" << "no black bars" << 0;
    QTest::newRow("three, one without language") << "testsrc2=s=320x240" << mp4 << "ger,-,fre*" << "no black bars" << 0;
    QTest::newRow("480i, top field first") << "testsrc2=s=720x480,tinterlace=interleave_top"
                                           << "-c:v mpeg2video -flags +ilme+ildct -top 1" << "eng" << "no black bars" << 1;
    QTest::newRow("1080i, bottom field first") << "testsrc2=s=1920x1080,tinterlace=interleave_bottom"
                                               << "-c:v mpeg2video -flags +ilme+ildct -top 0" << "" << "no black bars" << 1;
    QTest::newRow("progressive mpeg-2") << "testsrc2=s=720x480" << "-c:v mpeg2video" << "" << "no black bars" << 0;
    // A file that does not say: the look at its frames finds the comb of fields, or none.
    QTest::newRow("fields, unsaid") << "testsrc2=s=720x480,tinterlace=interleave_top" << "-c:v mpeg4 -q:v 2" << ""
                                    << "no black bars" << -1;
    QTest::newRow("progressive, unsaid") << "testsrc2=s=720x480" << "-c:v mpeg4 -q:v 2" << "" << "no black bars" << -1;
}

void TestMediaWorker::readsTheSource() {
    QFETCH(QString, video);
    QFETCH(QString, encoding);
    QFETCH(QString, sounds);
    QFETCH(QString, crop);
    QFETCH(int, interlaced);
    const QString file = path(QString("source-%1.%2").arg(QTest::currentDataTag()).arg(encoding.contains("mpeg2") ? "mkv" : "mp4"));
    const bool fields = video.contains("tinterlace");
    const qsizetype comma = video.indexOf(',') < 0 ? video.size() : video.indexOf(',');
    QStringList args{"-v", "error", "-y", "-f", "lavfi", "-i",
                     QString(video).insert(comma, fields ? ":d=2:r=50" : ":d=2:r=25")};
    const QStringList languages = sounds.split(',', Qt::SkipEmptyParts);
    for (int i = 0; i < languages.size(); ++i) {
        args << "-f" << "lavfi" << "-i" << QString("sine=f=%1:d=2").arg(300 + 100 * i);
    }
    args << "-map" << "0:v";
    for (int i = 0; i < languages.size(); ++i) {
        const QString language = QString(languages[i]).remove('*');
        args << "-map" << QString("%1:a").arg(i + 1) << QString("-disposition:a:%1").arg(i)
             << (languages[i].endsWith('*') ? "default" : "0");
        if (language != "-") {
            args << QString("-metadata:s:a:%1").arg(i) << "language=" + language;
        }
    }
    args << encoding.split(' ') << "-c:a" << "aac" << file;
    Run(ffmpeg_, args);
    QVERIFY2(QFileInfo(file).size() > 0, qPrintable(file));

    wire::Message probe;
    probe.add("request", "probe").add("path", file.toStdString());
    const auto probed = ask(probe);
    QCOMPARE(probed.size(), 1);
    const SizeDetection read = ReadSize(probed[0]);
    QStringList found;
    for (const zvm::AudioStreamFacts& s : read.audioStreams) {
        found << QString::fromStdString(s.language.empty() || s.language == "und" ? "-" : s.language) + (s.isDefault ? "*" : "");
        QCOMPARE(s.channels, 1);
    }
    QCOMPARE(found.join(','), sounds);
    QCOMPARE(read.interlaced.has_value() ? int(*read.interlaced) : -1, interlaced);

    wire::Message look;
    look.add("request", "look").add("path", file.toStdString());
    const auto looked = ask(look);
    QCOMPARE(looked.size(), 1);
    const PictureLook picture = zvm::media::ReadLook(looked[0]);
    QVERIFY2(picture.error.ok(), picture.error.text().c_str());
    if (crop.contains(':')) {
        QCOMPARE(QString::fromStdString(zvm::CropText(picture.crop)), crop);
        QCOMPARE(QString::fromStdString(looked[0].value().get("crop_agree")).section(' ', 0, 0),
                 QString::fromStdString(looked[0].value().get("crop_agree")).section(' ', 2, 2));
        QVERIFY(QString::fromStdString(looked[0].value().get("crop_agree")).section(' ', 0, 0).toInt() >= 10);
    } else {
        QCOMPARE(picture.crop.mode, zvm::CropMode::None);
        QVERIFY2(QString::fromStdString(picture.cropWhy).contains(crop), picture.cropWhy.c_str());
    }
    QVERIFY(QString::fromStdString(looked[0].value().get("frames")).toInt() >= 10);
    QCOMPARE(picture.interlaced.value_or(false), fields); // the decoder's flags agree with the stream's
}

void TestMediaWorker::rendersWhatTheEncoderWrites_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QSize>("display");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<int>("pictures"); // the keyframe's first when the moment is between keyframes
    QTest::addColumn<bool>("subtitles"); // drawn from a file with a hostile name, standing from 1 s to 3 s
    QTest::newRow("between keyframes") << "keyframes.mp4" << 1.3 << QSize(320, 240) << QSize(368, 208) << 2 << false;
    QTest::newRow("on a keyframe") << "keyframes.mp4" << 1.2 << QSize(320, 240) << QSize(240, 160) << 1 << false;
    QTest::newRow("the start") << "wide.mp4" << 0.0 << QSize(1280, 720) << QSize(368, 208) << 1 << false;
    QTest::newRow("turned a quarter") << "rotated.mp4" << 0.5 << QSize(480, 640) << QSize(240, 160) << 2 << false;
    QTest::newRow("anamorphic") << "anamorphic.mp4" << 0.5 << QSize(853, 480) << QSize(352, 240) << 2 << false;
    QTest::newRow("subtitled") << "keyframes.mp4" << 1.3 << QSize(320, 240) << QSize(240, 160) << 2 << true;
    QTest::newRow("subtitled, turned") << "rotated.mp4" << 1.5 << QSize(480, 640) << QSize(240, 160) << 2 << true;
    // The same source and filter again, back before the text stands and on into it: the worker keeps
    // the graph it drew the last frame through, and must draw each frame at its own time.
    QTest::newRow("subtitled, back before the text") << "rotated.mp4" << 0.5 << QSize(480, 640) << QSize(240, 160) << 2 << true;
    QTest::newRow("subtitled, on again") << "rotated.mp4" << 1.9 << QSize(480, 640) << QSize(240, 160) << 2 << true;
}

// The exact frame equals the one the encoder renders with the command's filter; the keyframe's
// picture that may come first has the same size.
void TestMediaWorker::rendersWhatTheEncoderWrites() {
    QFETCH(QString, source);
    QFETCH(double, seconds);
    QFETCH(QSize, display);
    QFETCH(QSize, target);
    QFETCH(int, pictures);
    QFETCH(bool, subtitles);
    const zvm::FrameGeometry g =
        zvm::FitAndPad(zvm::ComputeRatio(display.width(), display.height()), target.width(), target.height());
    QStringList arguments = oracle::FrameArguments(path(source), seconds, zvm::ScaleAndPadFilter(g));
    const QImage plain = QImage::fromData(Run(ffmpeg_, arguments), "PNG");
    zvm::ConversionRequest r;
    if (subtitles) {
        r.sourceVideo = path(source).toStdString();
        r.subtitles = {zvm::SubtitleMode::File, path(kSubtitles).toStdString(), -1, 0};
        r.cutStart = seconds; // the encoder seeks as a cut starting here does: the text must still stand
        arguments[arguments.indexOf("-vf") + 1] = QString::fromStdString(zvm::PictureFilter(r, g));
        r.cutStart.reset(); // the worker's frames keep the source's time
    }
    const QImage encoder = QImage::fromData(Run(ffmpeg_, arguments), "PNG");
    QCOMPARE(encoder.size(), target);
    QCOMPARE(Psnr(encoder, plain) < 35, subtitles && seconds >= 1 && seconds < 3); // the text is there
    wire::Message frame;
    frame.add("request", "frame").add("path", path(source).toStdString());
    frame.add("seconds", QString::number(seconds, 'f', 3).toStdString())
        .add("filter", zvm::PictureFilter(r, g));
    const auto answers = ask(frame.add("first", "1"));
    QCOMPARE(answers.size(), pictures);
    for (const auto& answer : answers) {
        QVERIFY2(answer.ok(), qPrintable(StatusText(answer.status())));
        QCOMPARE(QImage::fromData(QByteArray::fromStdString(answer.value().get("png")), "PNG").size(),
                 target);
    }
    const double psnr =
        Psnr(QImage::fromData(QByteArray::fromStdString(answers.last().value().get("png")), "PNG"), encoder);
    QVERIFY2(psnr > 40, qPrintable(QString("PSNR %1 dB").arg(psnr)));
}

// The worker keeps the graph a frame went through; a subtitle file edited since is read again.
void TestMediaWorker::redrawsEditedSubtitles() {
    const zvm::FrameGeometry g = zvm::FitAndPad(zvm::ComputeRatio(320, 240), 240, 160);
    zvm::ConversionRequest r;
    r.sourceVideo = path("keyframes.mp4").toStdString();
    r.subtitles = {zvm::SubtitleMode::File, path("edited.srt").toStdString(), -1, 0};
    const auto picture = [&](const std::string& filter) {
        wire::Message frame;
        frame.add("request", "frame").add("path", r.sourceVideo).add("seconds", "1.300").add("filter", filter);
        const auto answers = ask(frame);
        return answers.size() == 1 && answers[0].ok()
                   ? QImage::fromData(QByteArray::fromStdString(answers[0].value().get("png")), "PNG")
                   : QImage();
    };
    const auto write = [&](const QByteArray& cue) {
        QFile srt(path("edited.srt"));
        return srt.open(QIODevice::WriteOnly | QIODevice::Truncate) && srt.write(cue) == cue.size();
    };
    const QImage plain = picture(zvm::ScaleAndPadFilter(g));
    QVERIFY(write("1\n00:00:01,000 --> 00:00:03,000\nHELLO WORLD\n"));
    QVERIFY(Psnr(picture(zvm::PictureFilter(r, g)), plain) < 35);
    QVERIFY(write("1\n00:00:05,000 --> 00:00:06,000\nLATER\n")); // no longer standing at 1.3 s
    const double psnr = Psnr(picture(zvm::PictureFilter(r, g)), plain);
    QVERIFY2(psnr > 40, qPrintable(QString("PSNR %1 dB").arg(psnr)));
}


void TestMediaWorker::readsDpg_data() {
    // The encoder's two streams put together as the conversion does, then spoilt in three ways.
    const QString video = path("dpg.m1v");
    const QString audio = path("dpg.mp2");
    Run(ffmpeg_, {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=s=256x144:d=2:r=15", "-f", "lavfi", "-i", "sine=d=2",
                  "-map", "0:v", "-c:v", "mpeg1video", "-strict", "-1", "-an", "-f", "mpeg1video", video, "-map", "1:a",
                  "-c:a", "mp2", "-ar", "32000", "-ac", "2", "-f", "mp2", audio});
    QVERIFY(zvm::files::AssembleDpg(video.toStdString(), audio.toStdString(), path("whole.dpg").toStdString(), 15, 32000)
                .ok());
    QFile whole(path("whole.dpg"));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QByteArray miscounted = bytes;
    miscounted[4] = char(miscounted[4] + 1);
    const QList<std::pair<const char*, QByteArray>> files{
        {"cut.dpg", bytes.left(bytes.size() / 2)}, {"miscounted.dpg", miscounted}, {"foreign.dpg", "not a video\n"}};
    for (const auto& [name, content] : files) {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("answer"); // what it reads, or what the reason says
    QTest::newRow("whole") << "whole.dpg" << "mpeg1video 256x144 15/1 30 frames 2 s, mp2 32000 Hz 2";
    QTest::newRow("cut short") << "cut.dpg" << "names parts beyond its";
    QTest::newRow("a frame count off") << "miscounted.dpg" << "disagree on the frame count (31 / 30)";
    QTest::newRow("another file") << "foreign.dpg" << "is no DPG file";
}

void TestMediaWorker::readsDpg() {
    QFETCH(QString, file);
    QFETCH(QString, answer);
    const auto answers = ask(*request("probe " + file));
    QCOMPARE(answers.size(), 1);
    if (!answers[0].ok()) {
        QVERIFY2(StatusText(answers[0].status()).contains(answer), qPrintable(StatusText(answers[0].status())));
        QCOMPARE(answers[0].status().kind(), zvm::FailureKind::BadInput);
        return;
    }
    const wire::Message& m = answers[0].value();
    const auto f = [&m](const char* name) { return QString::fromStdString(m.get(name)); };
    QCOMPARE(QString("%1 %2x%3 %4 %5 frames %6 s, %7 %8 Hz %9")
                 .arg(f("video_codec"), f("width"), f("height"), f("frame_rate"), f("frames"),
                      QString::number(f("duration").toDouble()), f("audio_codec"), f("sample_rate"), f("channels")),
             answer);
}

QTEST_GUILESS_MAIN(TestMediaWorker)
#include "tst_mediaworker.moc"
