#include "media/EncoderOutput.h"
#include "media/FormProbe.h"
#include "media/worker/StreamHeaders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zvm::media;

// Reading what ffmpeg and ffprobe answer: the encoder's output, the probe's JSON, the form question.
class TestMediaRead : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void parsesCapturedEncoderOutput_data();
    void parsesCapturedEncoderOutput();
    void namesTheUsualFailures_data();
    void namesTheUsualFailures();
    void parsesProgressSpellings_data();
    void parsesProgressSpellings();
    void carriageReturnsRewriteTheLine();
    void asksTheEncoderForItsForm_data();
    void asksTheEncoderForItsForm();
    void readsDeclaredReferences_data();
    void readsDeclaredReferences();

private:
    std::unique_ptr<QTemporaryDir> dir_; // a new one for every row: answers are remembered per file
    QString previousDir_;
};

void TestMediaRead::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    previousDir_ = QDir::currentPath();
    qputenv("XDG_CACHE_HOME", dir_->path().toLocal8Bit()); // answers remembered here, not in the user's cache
    QDir::setCurrent(dir_->path());
}

void TestMediaRead::cleanup() {
    QDir::setCurrent(previousDir_);
}

// What three ffmpeg versions wrote while converting the same 3.04 s clip with sound: Debian's 5.1, a
// static 4.1-era build and a 7.1 build (scripts/ffmpeg-matrix.sh fetches the last two).
void TestMediaRead::parsesCapturedEncoderOutput_data() {
    QTest::addColumn<QString>("capture");
    QTest::addColumn<double>("lastTime");
    QTest::newRow("5.1") << "data/ffmpeg-5.1-output.txt" << 3.07;
    QTest::newRow("4.1") << "data/ffmpeg-4.1-output.txt" << 3.07;
    QTest::newRow("7.1") << "data/ffmpeg-7.1-output.txt" << 2.96;
}

void TestMediaRead::parsesCapturedEncoderOutput() {
    QFETCH(QString, capture);
    QFETCH(double, lastTime);
    QFile sample(QFINDTESTDATA(capture));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    const QByteArray bytes = sample.readAll();
    EncoderOutput output;
    // Arrives in odd pieces, as a pipe or a growing file delivers it.
    for (qsizetype at = 0; at < bytes.size(); at += 37) {
        const QByteArray piece = bytes.mid(at, 37);
        output.append(std::string_view(piece.constData(), std::size_t(piece.size())));
    }
    QCOMPARE(output.duration(), std::optional<double>(3.04));
    QCOMPARE(output.inputHasAudio(), std::optional(true));
    EncoderOutput silent; // the same input without its sound stream
    const auto audio = QRegularExpression(R"(\n *Stream #0:1\S*: Audio)").match(QString::fromUtf8(bytes));
    QVERIFY(audio.hasMatch());
    silent.append(bytes.left(audio.capturedStart() + 1).toStdString() + "Output #0, mp4\n");
    QCOMPARE(silent.inputHasAudio(), std::optional(false));
    QCOMPARE(output.time(), std::optional<double>(lastTime));
    QVERIFY(QString::fromStdString(output.screen()).contains("Lsize="));
}

// The encoder's last words as each build prints them (5.1 captured here; 4.1 and 7.1 as their builds
// word them), read into plain words; a progress line or an unknown failure names none.
void TestMediaRead::namesTheUsualFailures_data() {
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("cause");
    QTest::newRow("5.1 full disk") << QByteArray("Could not write header for output file #0 (incorrect codec parameters "
                                                 "?): No space left on device\nConversion failed!\n")
                                   << "the disk is full";
    QTest::newRow("5.1 not allowed") << QByteArray("/sys/x.mp4: Permission denied\n")
                                     << "this user may not write the output there";
    QTest::newRow("read-only disk") << QByteArray("/mnt/x.mp4: Read-only file system") // no line end yet
                                    << "the output's folder is on a read-only disk";
    QTest::newRow("5.1 PSP without sound") << QByteArray("[psp @ 0x561f7d63a480] PSP mode need one video and one "
                                                         "audio stream\nCould not write header for output file #0 "
                                                         "(incorrect codec parameters ?): Invalid argument\n")
                                           << "the target's format needs a sound track";
    QTest::newRow("4.1 bitrate") << QByteArray("[mpeg4 @ 0x1] requested bitrate is too low\n")
                                 << "the bitrate is too low for this encoder";
    QTest::newRow("5.1 bitrate, then an abort")
        << QByteArray("[lavc rc] Error: bitrate too low for this video with these parameters.\n")
        << "the bitrate is too low for this encoder";
    QTest::newRow("5.1 no encoder") << QByteArray("Unknown encoder 'nonexist'\n")
                                    << "this ffmpeg lacks an encoder the command needs";
    QTest::newRow("7.1 no encoder") << QByteArray("[vost#0:0 @ 0x1] Encoder not found\n")
                                    << "this ffmpeg lacks an encoder the command needs";
    QTest::newRow("5.1 no filter") << QByteArray("[AVFilterGraph @ 0x55f8b35de740] No such filter: 'pad'\n"
                                                 "Error reinitializing filters!\n")
                                   << "this ffmpeg lacks a filter the command needs";
    QTest::newRow("5.1 classic option") << QByteArray("Unrecognized option 'me'.\nError splitting the argument "
                                                      "list: Option not found\n")
                                        << "this ffmpeg does not know an option of the command";
    // The full disk is what to mend, not the muxer's complaint that follows it.
    QTest::newRow("the telling row first") << QByteArray("Unknown encoder 'x'\nNo space left on device\n")
                                           << "the disk is full";
    QTest::newRow("progress only") << QByteArray("frame=   25 fps=0.0 q=24.8 Lsize=      18kB time=00:00:00.96\n")
                                   << "";
    QTest::newRow("unknown failure") << QByteArray("Conversion failed!\n") << "";
}

void TestMediaRead::namesTheUsualFailures() {
    QFETCH(QByteArray, log);
    QFETCH(QString, cause);
    EncoderOutput output;
    output.append(std::string_view(log.constData(), std::size_t(log.size())));
    const char* found = output.failureCause();
    QCOMPARE(QString::fromUtf8(found != nullptr ? found : ""), cause);
}

void TestMediaRead::parsesProgressSpellings_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("duration"); // -1: none known
    QTest::addColumn<double>("time");     // -1: none known
    QTest::addColumn<bool>("rejected");   // an option the encoder does not know

    QTest::newRow("kB spelling")
        << "  Duration: 00:01:00.50, start: 0\nframe=1 size=  10kB time=00:00:30.25 bitrate=1\r" << 60.5
        << 30.25 << false;
    QTest::newRow("KiB spelling")
        << "  Duration: 01:00:00.00, start\nsize=  10KiB time=00:30:00.00 bitrate=1\r" << 3600.0 << 1800.0 << false;
    QTest::newRow("N/A time keeps the last one")
        << "  Duration: 00:00:10.00,\nsize=1kB time=00:00:02.00 x\rsize=1kB time=N/A x\r" << 10.0 << 2.0 << false;
    QTest::newRow("no duration") << "  Duration: N/A, start: 0\nsize=1kB time=00:00:04.00 x\r" << -1.0 << 4.0
                                 << false;
    QTest::newRow("negative time ignored") << "size=0kB time=-00:00:00.04 x\r" << -1.0 << -1.0 << false;
    QTest::newRow("an unknown option, no progress") << "Unrecognized option 'me'.\n" << -1.0 << -1.0 << true;
    QTest::newRow("an unknown option, the line unfinished")
        << "Input #0\nError splitting the argument list: Option not found" << -1.0 << -1.0 << true;
    QTest::newRow("clock overflow ignored")
        << "  Duration: 1000001:00:00.00,\nsize=1kB time=0:954528940178779100:00 x\r" << -1.0 << -1.0 << false;
    QTest::newRow("a million hours") << "size=1kB time=1000000:59:59.50 x\r" << -1.0 << 3600003599.5 << false;
}

void TestMediaRead::parsesProgressSpellings() {
    QFETCH(QString, text);
    QFETCH(double, duration);
    QFETCH(double, time);
    QFETCH(bool, rejected);
    EncoderOutput output;
    output.append(text.toStdString());
    QCOMPARE(output.duration().value_or(-1.0), duration);
    QCOMPARE(output.time().value_or(-1.0), time);
    QCOMPARE(output.rejectedAnOption(), rejected);
}

void TestMediaRead::carriageReturnsRewriteTheLine() {
    EncoderOutput output;
    output.append("Input #0\nframe=1 time=00:00:01.00\rframe=2 time=00:00:02.00\r");
    QCOMPARE(output.time(), std::optional<double>(2.0)); // known before the next line starts
    output.append("frame=3 time=00:00:03.00\r\nvideo:1kB\n");
    QCOMPARE(QString::fromStdString(output.screen()), "Input #0\nframe=3 time=00:00:03.00\nvideo:1kB\n");
    EncoderOutput three(3); // only the last lines are kept, and the one being written
    three.append("1\n2\n3\n4\n5");
    QCOMPARE(QString::fromStdString(three.screen()), "2\n3\n4\n5");
}

void TestMediaRead::asksTheEncoderForItsForm_data() {
    QTest::addColumn<QString>("script"); // the encoder's body, or "debian" for the real ffmpeg
    QTest::addColumn<int>("answer");
    // The probe's time limit: generous where a real program starts (a cold or busy machine can take
    // seconds), short only where the encoder is meant to hang.
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("h264"); // the question for the later targets' H.264 files, not the form
    constexpr int kGenerous = 30000;
    QTest::newRow("accepts") << "echo 'ffmpeg version SVN-r19352'" << int(zvm::EncoderAnswer::Accepts) << kGenerous
                             << false;
    QTest::newRow("rejects") << "echo \"Unrecognized option 'hq'.\" >&2; exit 1" << int(zvm::EncoderAnswer::Rejects)
                             << kGenerous << false;
    QTest::newRow("hangs") << "sleep 30" << int(zvm::EncoderAnswer::Unknown) << 1000 << false;
    QTest::newRow("crashes") << "kill -SEGV $$" << int(zvm::EncoderAnswer::Unknown) << kGenerous << false;
    QTest::newRow("does not exist") << "" << int(zvm::EncoderAnswer::Unknown) << kGenerous << false;
    QTest::newRow("Debian's ffmpeg") << "debian" << int(zvm::EncoderAnswer::Rejects) << kGenerous << false;
    QTest::newRow("h264: no libx264") << "echo \"Codec 'libx264' is not recognized by FFmpeg.\" >&2; exit 1"
                                      << int(zvm::H264Answer::NoLibx264) << kGenerous << true;
    QTest::newRow("h264: no -fpsmax") << "echo \"Unrecognized option 'fpsmax'.\" >&2; exit 1"
                                      << int(zvm::H264Answer::TooOld) << kGenerous << true;
    QTest::newRow("h264: crashes") << "kill -SEGV $$" << int(zvm::H264Answer::Unknown) << kGenerous << true;
    QTest::newRow("h264: Debian's ffmpeg") << "debian" << int(zvm::H264Answer::Serves) << kGenerous << true;
    // The replies of a static 4.1-era build and of a 7.1 build, as captured.
    const char* reply = "echo \"Unrecognized option 'hq'.\nError splitting the argument list: Option not found\" >&2";
    QTest::newRow("ffmpeg 4.1's reply") << QString(reply) + "; exit 1" << int(zvm::EncoderAnswer::Rejects) << kGenerous
                                        << false;
    QTest::newRow("ffmpeg 7.1's reply") << QString(reply) + "; exit 8" << int(zvm::EncoderAnswer::Rejects) << kGenerous
                                        << false;
    QTest::newRow("h264: ffmpeg 4.1's reply")
        << "echo \"Unrecognized option 'fpsmax'.\nError splitting the argument list: Option not found\" >&2; exit 1"
        << int(zvm::H264Answer::TooOld) << kGenerous << true;
    QTest::newRow("h264: ffmpeg 7.1's reply")
        << "echo 'Trailing option(s) found in the command: may be ignored.\nEncoder libx264 []:'"
        << int(zvm::H264Answer::Serves) << kGenerous << true;
}

void TestMediaRead::asksTheEncoderForItsForm() {
    QFETCH(QString, script);
    QFETCH(int, answer);
    QFETCH(int, limit);
    QFETCH(bool, h264);
    QString program = dir_->filePath("encoder");
    if (script == "debian") {
        program = QStandardPaths::findExecutable("ffmpeg");
    } else if (!script.isEmpty()) {
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\necho >> asked\n" + script.toUtf8() + "\n");
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    FormProbe probe(nullptr, limit);
    QSignalSpy answered(&probe, h264 ? SIGNAL(h264Answered(zvm::H264Answer)) : SIGNAL(answered(zvm::EncoderAnswer)));
    const auto given = [&answered, h264](int i) {
        const QVariant v = answered.at(i).at(0);
        return h264 ? int(v.value<zvm::H264Answer>()) : int(v.value<zvm::EncoderAnswer>());
    };
    const auto ask = [&] { h264 ? probe.askH264(program) : probe.ask(program); };
    ask();
    QVERIFY(answered.wait(limit + 10000));
    QCOMPARE(given(0), answer);
    ask(); // a definite answer is kept for this file; anything else is asked again
    QVERIFY(answered.wait(limit + 10000));
    QCOMPARE(given(1), answer);
    const bool unknown = h264 ? answer == int(zvm::H264Answer::Unknown) : answer == int(zvm::EncoderAnswer::Unknown);
    if (QFile::exists("asked")) {
        QCOMPARE(QFileInfo("asked").size(), unknown ? 2 : 1);
    }
}

// An H.264 stream's extradata as x264 writes it (sequence parameter sets, checked with FFmpeg's
// trace_headers) and as they come wrapped, against the references the worker reads from it.
void TestMediaRead::readsDeclaredReferences_data() {
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<int>("references"); // -1: none read
    const QByteArray main2 = "674d400ae988f60220000003002000000641e244a700"; // -refs 2, no b-pyramid
    QTest::newRow("baseline, -refs 1") << QByteArray("6742c00ada11ec0440000003004000000c83c489a800") << 1;
    QTest::newRow("main, -refs 2") << main2 << 2;
    QTest::newRow("high, -refs 3 and b-pyramid") << QByteArray("6764000aacd9447b011000000300100000030320f122596000") << 4;
    QTest::newRow("high 4:4:4") << QByteArray("67f4000a919b288f6022000003000200000300641e244b2c00") << 4;
    QTest::newRow("scaling lists, order type 1, escaped zeros")
        << QByteArray("6764000aad8a394220ffffffffffffffffa8000003000800000300400000030100000300031c3c823880") << 3;
    QTest::newRow("in an avcC record") << "014d400affe10016" + main2 + "01000468ee3c80" << 2;
    QTest::newRow("after a start code") << "00000001" + main2 << 2;
    QTest::newRow("avcC longer than its bytes") << "014d400affe100ff" + main2 << -1;
    QTest::newRow("a scaling step out of range")
        << QByteArray("67f4ffffff2067f4ffffffff2067f4ffffffffff77ffff010000c1c1c1c1c1c1000000000fffffff2020") << -1;
    QTest::newRow("cut short") << QByteArray("6764000aacd9") << -1;
    QTest::newRow("a picture parameter set") << QByteArray("68ee3c80") << -1;
    QTest::newRow("ones") << QByteArray(64, 'f') << -1;
    QTest::newRow("zeros") << QByteArray("67") + QByteArray(64, '0') << -1;
}

void TestMediaRead::readsDeclaredReferences() {
    QFETCH(QByteArray, hex);
    QFETCH(int, references);
    const QByteArray bytes = QByteArray::fromHex(hex);
    const std::span<const std::uint8_t> extradata(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                  static_cast<std::size_t>(bytes.size()));
    QCOMPARE(zvm::media::DeclaredReferenceFrames(extradata).value_or(-1), references);
}

QTEST_GUILESS_MAIN(TestMediaRead)
#include "tst_mediaread.moc"

