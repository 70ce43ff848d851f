#include "CommandSplit.h"
#include "EncoderOutput.h"
#include "ProgramLookup.h"
#include "SizeProbe.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <set>

using namespace zvm::run;

class TestRun : public QObject {
    Q_OBJECT

private slots:
    void splits_data();
    void splits();
    void resolves_data();
    void resolves();
    void parsesCapturedEncoderOutput();
    void parsesProgressSpellings_data();
    void parsesProgressSpellings();
    void carriageReturnsRewriteTheLine();
    void readsProbeOutput_data();
    void readsProbeOutput();
};

namespace {
QStringList Texts(const std::vector<Word>& words) {
    QStringList texts;
    for (const Word& w : words) {
        texts << QString::fromStdString(w.text);
    }
    return texts;
}

// A machine with just these executables (and these other files).
ProgramFinder FakeMachine(std::set<std::string> executables, std::set<std::string> others = {}) {
    return {
        [executables](const std::string& p) { return executables.count(p) > 0; },
        [executables, others](const std::string& p) { return executables.count(p) + others.count(p) > 0; },
        "/usr/local/bin:/usr/bin"};
}
} // namespace

void TestRun::splits_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("blanks and tabs") << "ffmpeg  -y\t-i x" << QStringList{"ffmpeg", "-y", "-i", "x"};
    QTest::newRow("quoted path with blanks")
        << R"(ff -i "my clip.avi" "out put.mp4")" << QStringList{"ff", "-i", "my clip.avi", "out put.mp4"};
    QTest::newRow("quotes join the word around them") << R"(a"b c"d)" << QStringList{"ab cd"};
    QTest::newRow("shell characters are text")
        << R"x(ff "$(rm -rf ~)" `id` ; | & < > * ? ~ \ 'q')x"
        << QStringList{"ff", "$(rm -rf ~)", "`id`", ";", "|", "&", "<", ">", "*", "?", "~", "\\", "'q'"};
    QTest::newRow("empty quotes are an empty word") << R"(ff "" x)" << QStringList{"ff", "", "x"};
    QTest::newRow("unclosed quote runs to the end") << R"(ff "a b)" << QStringList{"ff", "a b"};
    QTest::newRow("leading and trailing blanks") << "  ff  " << QStringList{"ff"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("non-ascii") << QString::fromUtf8("ff \"vidéo ü.avi\"")
                               << QStringList{"ff", QString::fromUtf8("vidéo ü.avi")};
}

void TestRun::splits() {
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    QCOMPARE(Texts(SplitCommandLine(line.toStdString())), words);
}

void TestRun::resolves_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("encoder"); // the encoder box's text
    QTest::addColumn<QString>("program"); // empty when no program is found
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");

    const QString clip = R"( -y -i "/videos/clip.mp4" -r 30000/1001)";
    const QStringList args{"-y", "-i", "/videos/clip.mp4", "-r", "30000/1001"};
    QTest::newRow("bare name on the search path") << "ffmpeg" + clip << "ffmpeg"
                                                  << "/usr/bin/ffmpeg" << args << QString();
    QTest::newRow("absolute path") << "/opt/ff/ffmpeg" + clip << "/opt/ff/ffmpeg"
                                   << "/opt/ff/ffmpeg" << args << QString();
    QTest::newRow("unquoted folder with blanks")
        << "/opt/My  Tools/ffmpeg" + clip << "/opt/My  Tools/ffmpeg"
        << "/opt/My  Tools/ffmpeg" << args << QString();
    QTest::newRow("quoted in the encoder box")
        << R"("/opt/My  Tools/ffmpeg")" + clip << R"("/opt/My  Tools/ffmpeg")"
        << "/opt/My  Tools/ffmpeg" << args << QString();
    QTest::newRow("the encoder wins over a shadowing prefix")
        << "/x/my tools/ffmpeg" + clip << "/x/my tools/ffmpeg"
        << "/x/my tools/ffmpeg" << args << QString();
    QTest::newRow("a missing encoder is not replaced by its prefix")
        << "/x/my old/ffmpeg" + clip << "/x/my old/ffmpeg" << QString() << QStringList{}
        << "no such program was found";
    QTest::newRow("empty encoder box: nothing planted runs")
        << clip << "" << QString() << QStringList{} << "no encoder is named: the box for its location is empty";
    QTest::newRow("bare name not on the search path")
        << "nosuch" + clip << "nosuch" << QString() << QStringList{}
        << "no program of that name was found on the search path";
    QTest::newRow("not executable") << "/home/u/notes.txt" + clip << "/home/u/notes.txt" << QString()
                                    << QStringList{} << "it is not an executable program";
    QTest::newRow("1 MB first word")
        << QString(1 << 20, 'a') + clip << QString(1 << 20, 'a') << QString() << QStringList{}
        << "the program's name is longer than the system allows";
    QTest::newRow("no encoder text: absolute words joined, longest wins")
        << "/x/my tools/ffmpeg" + clip << "" << "/x/my tools/ffmpeg" << args << QString();
    QTest::newRow("no encoder text: a relative joined name is never looked up")
        << "-y -i /videos/clip.mp4" << "" << QString() << QStringList{}
        << "no program of that name was found on the search path";
    QTest::newRow("empty command") << "   " << "" << QString() << QStringList{} << "the command is empty";
}

void TestRun::resolves() {
    QFETCH(QString, line);
    QFETCH(QString, encoder);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);

    // Programs planted in the working folder under the names a joined lookup would try.
    const ProgramFinder machine = FakeMachine({"/usr/bin/ffmpeg", "/opt/ff/ffmpeg", "/opt/My  Tools/ffmpeg",
                                               "/x/my", "/x/my tools/ffmpeg", "./-y", "-y -i /videos/clip.mp4",
                                               "nosuch -y -i /videos/clip.mp4"},
                                              {"/home/u/notes.txt"});
    QElapsedTimer clock;
    clock.start();
    const Resolution r = ResolveCommandLine(line.toStdString(), encoder.toStdString(), machine);
    QVERIFY(clock.elapsed() < 1000);
    QCOMPARE(QString::fromStdString(r.error), error);
    QCOMPARE(QString::fromStdString(r.command ? r.command->program : std::string()), program);
    if (r.command) {
        QStringList args;
        for (const auto& a : r.command->arguments) {
            args << QString::fromStdString(a);
        }
        QCOMPARE(args, arguments);
    } else if (!encoder.isEmpty() && encoder.size() < 100) {
        QCOMPARE(QString::fromStdString(r.program), encoder); // the message names what was looked for
    }
}

void TestRun::parsesCapturedEncoderOutput() {
    QFile sample(QFINDTESTDATA("data/ffmpeg-5.1-output.txt"));
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
    silent.append(bytes.left(bytes.indexOf("  Stream #0:1: Audio")).toStdString() + "Output #0, mp4\n");
    QCOMPARE(silent.inputHasAudio(), std::optional(false));
    QCOMPARE(output.time(), std::optional<double>(3.07));
    QVERIFY(output.contains("Lsize="));
}

void TestRun::parsesProgressSpellings_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("duration"); // -1: none known
    QTest::addColumn<double>("time");     // -1: none known

    QTest::newRow("kB spelling")
        << "  Duration: 00:01:00.50, start: 0\nframe=1 size=  10kB time=00:00:30.25 bitrate=1\r" << 60.5
        << 30.25;
    QTest::newRow("KiB spelling")
        << "  Duration: 01:00:00.00, start\nsize=  10KiB time=00:30:00.00 bitrate=1\r" << 3600.0 << 1800.0;
    QTest::newRow("N/A time keeps the last one")
        << "  Duration: 00:00:10.00,\nsize=1kB time=00:00:02.00 x\rsize=1kB time=N/A x\r" << 10.0 << 2.0;
    QTest::newRow("no duration") << "  Duration: N/A, start: 0\nsize=1kB time=00:00:04.00 x\r" << -1.0 << 4.0;
    QTest::newRow("negative time ignored") << "size=0kB time=-00:00:00.04 x\r" << -1.0 << -1.0;
    QTest::newRow("nothing") << "Unrecognized option 'me'.\n" << -1.0 << -1.0;
    QTest::newRow("clock overflow ignored")
        << "  Duration: 1000001:00:00.00,\nsize=1kB time=0:954528940178779100:00 x\r" << -1.0 << -1.0;
    QTest::newRow("a million hours") << "size=1kB time=1000000:59:59.50 x\r" << -1.0 << 3600003599.5;
}

void TestRun::parsesProgressSpellings() {
    QFETCH(QString, text);
    QFETCH(double, duration);
    QFETCH(double, time);
    EncoderOutput output;
    output.append(text.toStdString());
    QCOMPARE(output.duration().value_or(-1.0), duration);
    QCOMPARE(output.time().value_or(-1.0), time);
}

void TestRun::carriageReturnsRewriteTheLine() {
    EncoderOutput output;
    output.append("Input #0\nframe=1 time=00:00:01.00\rframe=2 time=00:00:02.00\r");
    QCOMPARE(output.time(), std::optional<double>(2.0)); // known before the next line starts
    output.append("frame=3 time=00:00:03.00\r\nvideo:1kB\n");
    QCOMPARE(QString::fromStdString(output.screen()), "Input #0\nframe=3 time=00:00:03.00\nvideo:1kB\n");
    EncoderOutput three(3); // only the last lines are kept, and the one being written
    three.append("1\n2\n3\n4\n5");
    QCOMPARE(QString::fromStdString(three.screen()), "2\n3\n4\n5");
}

void TestRun::readsProbeOutput_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QSize>("size"); // invalid: not detected

    QTest::newRow("square pixels")
        << QByteArray(R"({"streams":[{"width":640,"height":480,"sample_aspect_ratio":"1:1"}]})")
        << QSize(640, 480);
    QTest::newRow("anamorphic")
        << QByteArray(R"({"streams":[{"width":720,"height":480,"sample_aspect_ratio":"32:27"}]})")
        << QSize(853, 480);
    QTest::newRow("unknown ratio")
        << QByteArray(R"({"streams":[{"width":720,"height":576,"sample_aspect_ratio":"0:1"}]})")
        << QSize(720, 576);
    QTest::newRow("rotated by side data")
        << QByteArray(R"({"streams":[{"width":1920,"height":1080,"side_data_list":[{"rotation":-90}]}]})")
        << QSize(1080, 1920);
    QTest::newRow("rotated by tag")
        << QByteArray(R"({"streams":[{"width":1920,"height":1080,"tags":{"rotate":"270"}}]})")
        << QSize(1080, 1920);
    QTest::newRow("upside down") << QByteArray(
                                        R"({"streams":[{"width":640,"height":480,"tags":{"rotate":"180"}}]})")
                                 << QSize(640, 480);
    QTest::newRow("no video stream") << QByteArray(R"({"programs":[],"streams":[]})") << QSize();
    QTest::newRow("not json") << QByteArray("Invalid data found") << QSize();
    QTest::newRow("no size") << QByteArray(R"({"streams":[{"width":0,"height":0}]})") << QSize();
}

void TestRun::readsProbeOutput() {
    QFETCH(QByteArray, json);
    QFETCH(QSize, size);
    const SizeDetection r = ParseProbeOutput(json);
    QCOMPARE(r.size.value_or(QSize()), size);
    QCOMPARE(r.error.isEmpty(), size.isValid());
}

QTEST_GUILESS_MAIN(TestRun)
#include "tst_run.moc"
