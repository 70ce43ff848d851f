// The command-line tool as a script runs it: the real executable, with no display.
#include "tests/GenerateCases.h"
#include "process/ProcessGroups.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void commandLines_data();
    void commandLines();
    void sameCommandAsTheWindow_data();
    void sameCommandAsTheWindow();
    void jsonReadsBack();
    void printedLinesRunAsTheToolRuns_data();
    void printedLinesRunAsTheToolRuns();
    void refusesWhatWouldLoseAFile_data();
    void refusesWhatWouldLoseAFile();
    void outputFolders_data();
    void outputFolders();
    void burnsInSubtitles_data();
    void burnsInSubtitles();
    void namesThatAreNotUtf8_data();
    void namesThatAreNotUtf8();
    void signalsStopCleanly_data();
    void signalsStopCleanly();
    void stopRemovesPassLogs_data();
    void stopRemovesPassLogs();
    void readsEachVideoOnce_data();
    void readsEachVideoOnce();
    void understandsTheSource_data();
    void understandsTheSource();

private:
    struct Result {
        int exitCode;
        QString out;
        QString err;
    };
    Result run(const QStringList& arguments, const QString& folder = {}, const QString& program = CLI_PATH) const;
    QString makeClip(const QString& name, const QString& size, int seconds, bool sound = false) const;
    // How far the lower third of one output's frame at `seconds` is from another's: the mean
    // difference of their grey levels, 0 to 255.
    static double LowerThirdDifference(const QString& a, const QString& b, double seconds);
    // A fake encoder: a shell script that finds its output in its last argument.
    QString writeEncoder(const QString& folder, const QString& body) const;

    QTemporaryDir dir_;
};

QString TestCli::makeClip(const QString& name, const QString& size, int seconds, bool sound) const {
    QString path = dir_.filePath(name);
    const QStringList audio{"-f", "lavfi", "-i", QString("sine=d=%1").arg(seconds)};
    QProcess::execute("ffmpeg", QStringList{"-v", "error", "-y", "-f", "lavfi", "-i",
                                            QString("testsrc=s=%1:d=%2:r=25").arg(size).arg(seconds)} +
                                    (sound ? audio : QStringList{}) + QStringList{"-c:v", "mpeg4", "-q:v", "31", path});
    return path;
}

QString TestCli::writeEncoder(const QString& folder, const QString& body) const {
    QFile script(QDir(folder).filePath("encoder.sh"));
    if (!script.open(QIODevice::WriteOnly) ||
        script.write(("#!/bin/sh\nfor a; do out=$a; done\n" + body + "\n").toUtf8()) < 0) {
        return {};
    }
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    return script.fileName();
}

double TestCli::LowerThirdDifference(const QString& a, const QString& b, double seconds) {
    QByteArray frames[2];
    for (int i = 0; i < 2; ++i) {
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", {"-v", "error", "-ss", QString::number(seconds), "-i", i == 0 ? a : b, "-frames:v",
                                "1", "-vf", "format=gray", "-f", "rawvideo", "-"});
        ffmpeg.waitForFinished(60000);
        frames[i] = ffmpeg.readAllStandardOutput();
    }
    if (frames[0].isEmpty() || frames[0].size() != frames[1].size()) {
        return -1;
    }
    double sum = 0;
    const qsizetype from = frames[0].size() * 2 / 3;
    for (qsizetype i = from; i < frames[0].size(); ++i) {
        sum += std::abs(static_cast<uchar>(frames[0][i]) - static_cast<uchar>(frames[1][i]));
    }
    return sum / static_cast<double>(frames[0].size() - from);
}

// A one-second video whose length the file-size rows read, and the user's targets of the shared cases.
void TestCli::initTestCase() {
    QVERIFY(dir_.isValid());
    QFile subtitles(dir_.filePath("subs.srt"));
    QVERIFY(subtitles.open(QIODevice::WriteOnly));
    QVERIFY(QDir(dir_.path()).mkpath("config/Zarnik Video Maker"));
    QVERIFY(WriteCaseTargets(dir_.filePath("config/Zarnik Video Maker/targets.json")));
    makeClip("wrong.mp4", "320x240", 1);
}

// With no display and an empty cache of encoder answers.
TestCli::Result TestCli::run(const QStringList& arguments, const QString& folder, const QString& program) const {
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("XDG_CACHE_HOME", dir_.filePath("cache"));
    env.insert("XDG_CONFIG_HOME", dir_.filePath("config")); // the cases' own targets
    tool.setProcessEnvironment(env);
    tool.setWorkingDirectory(folder.isEmpty() ? dir_.path() : folder);
    tool.start(program, arguments);
    tool.waitForFinished(120000);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromLocal8Bit(tool.readAllStandardOutput()), QString::fromLocal8Bit(tool.readAllStandardError())};
}

void TestCli::commandLines_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // what standard output contains
    QTest::addColumn<QString>("err"); // what standard error contains

    const QStringList print{"-n", "-s", "640x480", "--form", "modern"};
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: zarnik-video-maker-cli [OPTIONS] VIDEO..."
                          << "";
    // The other targets are named in the cases shared with the window.
    const char* const targets[][2] = {{"GBA-240x176", "pad=240:176:4:0"}, {"psp-320x240", "scale=320:240"},
                                      {"3", "pad=368:208:46:0"}};
    for (const auto& [target, made] : targets) {
        QTest::addRow("target %s", target) << print + QStringList{"-t", target, "/v/a.avi"} << 0 << made << "";
    }
    QTest::newRow("list targets") << QStringList{"--list-targets"} << 0
                                  << "VCD for a 4:3 TV - 352x240      vcd in mpg (ntsc), pixel 10:11, at most 30000/1001 fps\n"
                                  << "";
    QTest::newRow("list targets as json")
        << QStringList{"--list-targets", "--json"} << 0
        << R"x({"name": "psp-480x272", "label": "PSP - 480x272 (H.264)", "width": 480, "height": 272, )x"
           R"x("pixelAspect": "1:1", "video": "h264", "container": "psp", "maxFrameRate": "30000/1001", "movieType": false, )x"
           R"x("sources": "\"PSP video guide\" (rob.opendot.cl); fnord.phfactor.net; ffmpeg's psp muxer; )x"
           R"x(blog.clouder.jp; \"Fast-Start Progressive Downloads\" (developer.apple.com)"})x"
        << "";
    QTest::newRow("list a new family's target with its sources")
        << QStringList{"--list-targets"} << 0
        << "amv-160x112       AMV player - 160x112            amv in amv, pixel 1:1, at 10 fps\n"
           "    limits from \"AMV video format\" (bookrags.com/wiki); ffmpeg 5.1's amv muxer, measured\n"
        << "";
    QTest::newRow("list the user's targets as json")
        << QStringList{"--list-targets", "--json"} << 0
        << R"x(,
 {"name": "my-phone", "label": "Phone - 640x360", "width": 640, "height": 360, "pixelAspect": "1:1", )x"
           R"x("video": "h264", "container": "mp4", "maxFrameRate": "25", "movieType": false, "user": true}])x"
        << "";
    QTest::newRow("animation") << print + QStringList{"--movie-type=animation", "/v/a.avi"} << 0
                               << "-r 15000/1001 " << "";
    QTest::newRow("auto form asks the encoder") << QStringList{"-n", "-s", "4x3", "/v/a.avi"} << 0
                                                 << "-vf scale=214:160" << "";
    QTest::newRow("one output file") << print + QStringList{"-o", "/out/x.mp4", "/v/a.avi"} << 0
                                     << R"( "/out/x.mp4")" << "";
    QTest::newRow("an output folder for several")
        << print + QStringList{"-o", "/out", "/v/a.avi", "/v/b.mkv"} << 0 << R"( "/out/b.mp4")" << "";
    QTest::newRow("a video that looks like an option") << print + QStringList{"--", "-a.avi"} << 0
                                                       << R"(-i "./-a.avi")" << "";
    QTest::newRow("bad video bitrate") << print + QStringList{"--video-bitrate", "fast", "/v/a.avi"} << 2 << ""
                                       << "/v/a.avi: Invalid Video Bitrate! You must enter a number for the video bitrate";
    QTest::newRow("a vanishing sample rate") << print + QStringList{"--sample-rate", "1e-320", "/v/a.avi"} << 2
                                             << "" << "The sample rate must be between 8000 and 192000 Hz";
    QTest::newRow("a sliver of a picture") << QStringList{"-n", "-s", "1e300x1", "/v/a.avi"} << 2 << ""
                                           << "The picture would be 240x0 pixels";
    QTest::newRow("width 0") << QStringList{"-n", "-s", "0x480", "/v/a.avi"} << 2 << ""
                             << "Invalid Width! The width must be greater than 0";
    QTest::newRow("bad size") << QStringList{"-n", "-s", "640*480", "/v/a.avi"} << 2 << ""
                              << "invalid size '640*480': give it as WIDTHxHEIGHT";
    QTest::newRow("bad target") << QStringList{"-t", "nds", "/v/a.avi"} << 2 << "" << "invalid target 'nds'";
    QTest::newRow("bad movie type") << QStringList{"-m", "drama", "/v/a.avi"} << 2 << ""
                                    << "invalid movie type 'drama'";
    QTest::newRow("bad form") << QStringList{"--form", "old", "/v/a.avi"} << 2 << "" << "invalid form 'old'";
    QTest::newRow("subtitles picked") << print + QStringList{"--subtitles", "subs.srt", "--subtitle-size=20", "/v/a.avi"}
                                      << 0 << R"(-vf 'subtitles=filename=\'\''subs.srt\'\'':force_style=\'\''Fontsize=36\'\'',scale=)" << "";
    QTest::newRow("subtitles auto finds none") << print + QStringList{"--subtitles", "auto", "/v/a.avi"} << 0
                                               << "-vf scale=214:160" << "";
    QTest::newRow("subtitle file missing") << print + QStringList{"--subtitles", "gone.srt", "/v/a.avi"} << 2 << ""
                                           << "a.avi: the subtitle file gone.srt was not found";
    QTest::newRow("subtitles in the classic form") << QStringList{"-n", "-s", "640x480", "--form", "classic",
                                                                  "--subtitles", "subs.srt", "/v/a.avi"}
                                                   << 2 << "" << "need the modern command form";
    for (const char* size : {"0", "201", "12px", ""}) {
        QTest::addRow("subtitle size '%s'", size) << QStringList{"--subtitle-size", size, "/v/a.avi"} << 2 << ""
                                                  << QString("invalid subtitle size '%1'").arg(size);
    }
    QTest::newRow("subtitles empty") << QStringList{"--subtitles=", "/v/a.avi"} << 2 << "" << "invalid subtitles ''";
    QTest::newRow("unknown option") << QStringList{"--fast", "/v/a.avi"} << 2 << ""
                                    << "unrecognized option '--fast'\nTry 'zarnik-video-maker-cli --help'";
    QTest::newRow("missing value") << QStringList{"/v/a.avi", "--size"} << 2 << ""
                                   << "option '--size' requires an argument";
    QTest::newRow("a cut") << print + QStringList{"--start", "1:02.5", "--end=90", "/v/a.avi"} << 0
                           << R"(ffmpeg -y -ss 62.5 -t 27.5 -i "/v/a.avi")" << "";
    QTest::newRow("a bad start") << print + QStringList{"--start", "1:75", "/v/a.avi"} << 2 << ""
                                 << "--start: Minutes and seconds after a colon must be below 60: 1:75";
    QTest::newRow("a start with a comma") << print + QStringList{"--start=1,5", "/v/a.avi"} << 2 << ""
                                          << "--start: '1,5' is not a time";
    QTest::newRow("a negative end") << print + QStringList{"--end=-3", "/v/a.avi"} << 2 << ""
                                    << "--end: A time cannot be negative: -3";
    QTest::newRow("an end before the start") << print + QStringList{"--start", "10", "--end", "0:05", "/v/a.avi"}
                                             << 2 << "" << "The cut must end after it starts: 0:10 - 0:05";
    QTest::newRow("a quote in a name is taken") << print + QStringList{"/v/say \"hi\".avi"} << 0
                                                << R"(-i '/v/say "hi".avi')" << "";
    QTest::newRow("one refused video of a batch") << print + QStringList{"", "/v/a.avi"} << 1 << R"(-i "/v/a.avi")"
                                                  << "Enter an input filename! You must enter a valid filename";
    QTest::newRow("an end of 0") << print + QStringList{"--end", "0", "/v/a.avi"} << 2 << ""
                                 << "The cut must end after it starts: 0:00 - 0:00";
    // The one-second clip made at the start, read first: printed or converted, nothing starts.
    QTest::newRow("a start past the video, printed") << QStringList{"-n", "--start", "5", "wrong.mp4"} << 2 << ""
                                                     << "wrong.mp4: The cut starts after the video's end: 0:05 > 0:01";
    QTest::newRow("a start past the video") << QStringList{"--form", "modern", "--start", "5", "-o", "never.mp4", "wrong.mp4"}
                                            << 2 << "" << "The cut starts after the video's end: 0:05 > 0:01";
    QTest::newRow("no video") << QStringList{"-n"} << 2 << "" << "no video given";
    for (const char* jobs : {"0", "-1", "two", "2x", ""}) {
        QTest::addRow("%s jobs", jobs) << QStringList{"-j", jobs, "/v/a.avi"} << 2 << ""
                                       << QString("invalid number of jobs '%1': give a whole number from 1 up").arg(jobs);
    }
    QTest::newRow("file size in help") << QStringList{"--help"} << 0 << "--file-size MB" << "";
    QTest::newRow("crop in help") << QStringList{"--help"} << 0 << "--crop auto|none|W:H:X:Y" << "";
    QTest::newRow("a crop given prints without a read") << print + QStringList{"--crop", "640:360:0:60", "/v/a.avi"} << 0
                                                        << "-vf crop=640:360:0:60,scale=240:136,pad=240:160:0:12," << "";
    QTest::newRow("json names the crop the fit follows")
        << QStringList{"--json", "-s", "640x480", "--form", "modern", "--crop", "640:360:0:60", "/v/a.avi"} << 0
        << R"("crop": {"width": 640, "height": 360, "x": 0, "y": 60}, "ratio": 1.777778, "newWidth": 240, "newHeight": 136)"
        << "";
    QTest::newRow("a crop outside the size") << print + QStringList{"--crop", "480:360:200:200", "/v/a.avi"} << 2
                                             << "" << "The crop rectangle must lie inside the picture";
    QTest::newRow("a crop that is no rectangle") << print + QStringList{"--crop", "480x360", "/v/a.avi"} << 2 << ""
                                                 << "invalid crop '480x360'";
    QTest::newRow("a language that is no code") << print + QStringList{"--audio-lang", "english", "/v/a.avi"} << 2
                                                << "" << "invalid audio languages 'english'";
    QTest::newRow("a stream by number") << print + QStringList{"--audio-track", "2", "/v/a.avi"} << 0
                                        << "-map 0:v:0 -map 0:a:2 -r" << "";
    QTest::newRow("a crop in the classic form") << QStringList{"-n", "-s", "640x480", "--form", "classic", "--crop",
                                                               "480:360:80:0", "/v/a.avi"}
                                                << 2 << "" << "Cropping needs the modern command form";
    QTest::newRow("bad deinterlacing") << QStringList{"--deinterlace", "maybe", "/v/a.avi"} << 2 << ""
                                       << "invalid deinterlacing 'maybe'";
    QTest::newRow("file size not a number") << QStringList{"--file-size", "big", "/v/a.avi"} << 2 << ""
                                            << "invalid file size 'big': give megabytes above 0";
    QTest::newRow("file size 0") << QStringList{"--file-size=0", "/v/a.avi"} << 2 << "" << "invalid file size '0'";
    QTest::newRow("file size missing") << QStringList{"/v/a.avi", "--file-size"} << 2 << ""
                                       << "option '--file-size' requires an argument";
    // The one-second clip made at the start.
    QTest::newRow("file size below the floor") << QStringList{"-n", "--file-size", "0.01", "wrong.mp4"} << 2 << ""
                                               << "wrong.mp4: This file size leaves too few bits for a watchable "
                                                  "picture; the smallest size that works is 0.1 MB";
    QTest::newRow("file size for a vcd") << QStringList{"-t", "vcd-352x240", "--file-size", "1", "wrong.mp4"} << 2
                                         << "" << "A file size cannot be asked for VCD - 352x240";
    QTest::newRow("file size prints two passes") << QStringList{"-n", "--form", "modern", "--file-size", "0.5", "-o", "small.mp4", "wrong.mp4"}
                                                 << 0 << R"(-pass 2 -passlogfile "small.mp4.pass" "small.mp4")" << "";
    QTest::newRow("best quality") << print + QStringList{"-t", "psp-320x240", "--quality", "best", "/v/a.avi"} << 0
                                  << "-pass 2 -passlogfile" << "";
    QTest::newRow("best quality, classic") << QStringList{"-n", "-s", "640x480", "--form", "classic", "--quality",
                                                          "best", "/v/a.avi"}
                                           << 2 << "" << "Best quality needs the modern command form";
    QTest::newRow("bad quality") << QStringList{"--quality", "fine", "/v/a.avi"} << 2 << ""
                                 << "invalid quality 'fine': choose designed or best";
    QTest::newRow("no encoder") << QStringList{"--encoder", "/nonexistent/ffmpeg", "/v/a.avi"} << 2 << ""
                                << "the encoder /nonexistent/ffmpeg was not found";
}

void TestCli::commandLines() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Result result = run(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.out.contains(out), qPrintable(result.out));
    QVERIFY2(result.err.contains(err), qPrintable(result.err));
    QCOMPARE(result.out.isEmpty(), exitCode == 2); // a refused request prints no command
}

void TestCli::sameCommandAsTheWindow_data() {
    AddGenerateCaseRows();
}

void TestCli::sameCommandAsTheWindow() {
    QFETCH(int, row);
    const GenerateCase& c = kGenerateCases[row];
    const Result result = run({"-n", "-t", c.target, "-m", c.animation ? "animation" : "live", "-s",
                               QString("%1x%2").arg(c.width, c.height), "--video-bitrate", c.videoBitrate,
                               "--audio-bitrate", c.audioBitrate, "--sample-rate", c.sampleRate, "--form",
                               c.modern ? "modern" : "classic", "/videos/clip.avi"});
    QCOMPARE(result.out, QString(c.command) + "\n");
}

// JSON Lines: each line one video's object, whole, in the order given.
void TestCli::jsonReadsBack() {
    const Result good = run({"--json", "-s", "1280x720", "--form", "modern", "/v/a\\x.avi", "/v/b.avi"});
    QVERIFY(good.out.endsWith('\n'));
    QList<QJsonObject> fits;
    for (const QString& line : good.out.split('\n', Qt::SkipEmptyParts)) {
        QJsonParseError error{};
        fits.append(QJsonDocument::fromJson(line.toUtf8(), &error).object());
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(line));
    }
    QCOMPARE(fits.size(), 2);
    QCOMPARE(fits[1]["source"].toString(), "/v/b.avi");
    const QJsonObject& first = fits[0];
    QCOMPARE(first["source"].toString(), "/v/a\\x.avi");
    QCOMPARE(first["output"].toString(), "/v/a\\x.mp4");
    QCOMPARE(first["ratio"].toDouble(), 1.777778);
    QCOMPARE(first["newHeight"].toInt(), 136);
    QCOMPARE(first["padTop"].toInt(), 12);
    QVERIFY(first["command"].toString().endsWith("-f mp4 \"/v/a\\x.mp4\""));
}

// A hostile name goes through --print, a POSIX shell and a recording encoder: the shell runs exactly
// the arguments the tool itself starts, and nothing else (no command in a name runs).
void TestCli::printedLinesRunAsTheToolRuns_data() {
    QTest::addColumn<QString>("name");
    const char* const names[] = {
        "clip$(touch PWNED).mkv", "back`touch PWNED`.mkv", "semi;touch PWNED;.mkv", "it's.mkv",
        "new\nline.mkv",          "star*.mkv",             "~tilde.mkv",            "two  blanks.mkv",
        "-dash.mkv",              "S01E01:Pilot.mkv",      "pipe|touch PWNED.mkv",  "amp&touch PWNED&.mkv",
        "$HOME.mkv",              "back\\slash.mkv",        "tab\there.mkv",        "ünï.mkv",
        "!bang #hash.mkv",        "(paren) <lt> >gt.mkv",  "say \"hi\".mkv",        "plain.mkv"};
    for (const char* name : names) {
        QTest::newRow(name) << QString::fromUtf8(name);
    }
}

void TestCli::printedLinesRunAsTheToolRuns() {
    QFETCH(QString, name);
    QTemporaryDir work;
    // An encoder whose folder has a blank: the designed text leaves that path unquoted.
    QVERIFY(QDir(work.path()).mkdir("my tools"));
    const QString encoder = work.filePath("my tools/ffmpeg");
    QVERIFY(QFile::copy(FAKE_ENCODER_PATH, encoder));
    QFile source(work.filePath(name));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.close();
    const QStringList request{"-s", "640x480", "--form", "classic", "--encoder", encoder, "--", name};

    const Result ran = run(request, work.path());
    QVERIFY2(ran.exitCode == 0 || ran.exitCode == 1, qPrintable(ran.err)); // the fake writes no real video
    QFile ranArguments(work.filePath("arguments.txt"));
    QVERIFY(ranArguments.open(QIODevice::ReadOnly));
    const QByteArray expected = ranArguments.readAll();
    QVERIFY(expected.contains("-i\n"));
    QVERIFY(QFile::remove(ranArguments.fileName()));
    for (const QString& output : QDir(work.path()).entryList({"*.mp4"})) {
        QVERIFY(QFile::remove(work.filePath(output)));
    }

    const Result printed = run(QStringList{"--print"} + request, work.path());
    QCOMPARE(printed.exitCode, 0);
    QProcess shell;
    shell.setWorkingDirectory(work.path());
    shell.start("sh", {"-c", printed.out});
    QVERIFY(shell.waitForFinished(30000));
    QFile shellArguments(work.filePath("arguments.txt"));
    QVERIFY2(shellArguments.open(QIODevice::ReadOnly), qPrintable(printed.out));
    // The tool writes a hidden partial name, renamed once whole: all else is the printed line's.
    const QByteArray shellRan = shellArguments.readAll();
    const QByteArray stem = QFileInfo(name).completeBaseName().toUtf8();
    qsizetype written = expected.lastIndexOf("\n.zvm-partial." + stem + ".mp4\n");
    written = written < 0 ? expected.lastIndexOf("\n./.zvm-partial." + stem + ".mp4\n") : written;
    QVERIFY2(written > 0, expected.constData());
    const QByteArray head = expected.left(written + 1);
    QVERIFY2(shellRan == head + stem + ".mp4\n" || shellRan == head + "./" + stem + ".mp4\n", shellRan.constData());
    QVERIFY(!QFile::exists(work.filePath("PWNED")));
}

void TestCli::refusesWhatWouldLoseAFile_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("err");
    // --overwrite: the source is never overwritten, even when outputs may be.
    QTest::newRow("output is the source") << QStringList{"--overwrite", "-o", "a.avi", "a.avi"}
                                          << "a.avi: The output file is the source video: a.avi";
    QTest::newRow("output is the subtitle file")
        << QStringList{"--overwrite", "--subtitles", "subs.srt", "-o", "subs.srt", "a.avi"}
        << "a.avi: The output file is the subtitle file the video is drawn with: subs.srt";
    const QString roundabout = "../" + QFileInfo(dir_.path()).fileName() + "/a.avi";
    QTest::newRow("the source by another name") << QStringList{"--overwrite", "-o", roundabout, "a.avi"}
                                                << "The output file is the source video";
    QTest::newRow("two videos, one output")
        << QStringList{"a.avi", "a.mkv"} << "a.mkv: the output file a.mp4 is also the output of a.avi";
    QTest::newRow("two videos, one output by another name")
        << QStringList{"a.avi", dir_.filePath("a.mkv")} << "the output file " + dir_.filePath("a.mp4") + " is also";
    QTest::newRow("an output that is another video")
        << QStringList{"--overwrite", "b.avi", "b.mp4"}
        << "b.avi: the output file b.mp4 is the video b.mp4 of this batch, which is never overwritten";
    QTest::newRow("an output that exists") << QStringList{"b.avi"}
                                           << "b.avi: the output file b.mp4 exists; give --overwrite to replace it";
    QTest::newRow("another video by another name")
        << QStringList{"--overwrite", "b.avi", "../" + QFileInfo(dir_.path()).fileName() + "/b.mp4"} << "is the video ../";
}

// Nothing starts, whatever the encoder, and every source is still there.
void TestCli::refusesWhatWouldLoseAFile() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, err);
    const char* const sources[] = {"a.avi", "a.mkv", "b.avi", "b.mp4"};
    for (const char* source : sources) {
        QFile file(dir_.filePath(source));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("source");
    }
    const Result result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(err), qPrintable(result.err));
    for (const char* source : sources) {
        QCOMPARE(QFileInfo(dir_.filePath(source)).size(), qint64(6));
    }
    QVERIFY(!QFile::exists(dir_.filePath("a.mp4")));
}

// -o names a folder when it exists, ends in a slash or takes several videos; a missing one is made
// before anything starts (never for --print), and one that cannot be made is refused.
void TestCli::outputFolders_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode"); // 0: the recording encoder was started for each output
    QTest::addColumn<QStringList>("outputs");
    QTest::addColumn<QString>("err");
    QTest::newRow("an existing folder") << QStringList{"-o", "existing", "a.avi"} << 0
                                        << QStringList{"existing/a.mp4"} << "";
    QTest::newRow("a missing folder with a slash") << QStringList{"-o", "made/", "a.avi"} << 0
                                                   << QStringList{"made/a.mp4"} << "";
    QTest::newRow("a missing folder for several") << QStringList{"-o", "many", "a.avi", "b.avi"} << 0
                                                  << QStringList{"many/a.mp4", "many/b.mp4"} << "";
    QTest::newRow("missing folders in a row") << QStringList{"-o", "deep/er/", "a.avi"} << 0
                                              << QStringList{"deep/er/a.mp4"} << "";
    QTest::newRow("a file in the way") << QStringList{"-o", "file.txt/sub/", "a.avi"} << 2 << QStringList{}
                                       << "the output folder file.txt/sub/ cannot be made";
    QTest::newRow("printing makes nothing") << QStringList{"--print", "-o", "made/", "a.avi"} << 0
                                            << QStringList{} << "";
}

void TestCli::outputFolders() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, outputs);
    QFETCH(QString, err);
    QTemporaryDir work;
    QVERIFY(QDir(work.path()).mkdir("existing"));
    for (const char* name : {"a.avi", "b.avi", "file.txt"}) {
        QFile file(work.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const Result result = run(QStringList{"-s", "640x480", "--form", "classic", "--encoder", FAKE_ENCODER_PATH} +
                                  arguments,
                              work.path());
    // The recording encoder writes no real video: the after-check fails the run and removes it.
    QVERIFY2(exitCode == 2 ? result.exitCode == 2 : result.exitCode != 2, qPrintable(result.err));
    QVERIFY2(result.err.contains(err), qPrintable(result.err));
    const QStringList made = QDir(work.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(made.contains("made"), outputs.contains("made/a.mp4"));
    for (const QString& output : outputs) {
        QVERIFY2(result.err.contains(" -> " + output + ": failed: The output is not a readable video"), qPrintable(result.err));
    }
    QCOMPARE(QFile::exists(work.filePath("arguments.txt")), !outputs.isEmpty()); // nothing else started
}

// Subtitles drawn into real frames: where one stands (1 s to 3 s) the lower third differs from the
// same conversion without subtitles, and after it the frames agree again. The source is one grey,
// so only the text can make a difference.
void TestCli::burnsInSubtitles_data() {
    QTest::addColumn<QString>("subtitles"); // --subtitles
    QTest::addColumn<QString>("beside");    // a subtitle file put beside the video; "stream": inside it
    QTest::addColumn<bool>("drawn");
    QTest::newRow("beside") << "auto" << "clip.srt" << true;
    QTest::newRow("beside, upper case") << "auto" << "clip.SRT" << true;
    QTest::newRow("stream") << "auto" << "stream" << true;
    QTest::newRow("picked, hostile name") << R"(it's a: [x], ok; \y'.srt)" << "" << true;
    QTest::newRow("picked, colon first") << "S01E01:subs.srt" << "" << true;
    QTest::newRow("none, though one is beside") << "none" << "clip.srt" << false;
    QTest::newRow("auto finds none") << "auto" << "" << false;
}

void TestCli::burnsInSubtitles() {
    QFETCH(QString, subtitles);
    QFETCH(QString, beside);
    QFETCH(bool, drawn);
    QTemporaryDir work;
    const QString text = "1\n00:00:01,000 --> 00:00:03,000\nHELLO WORLD\n";
    const QString named = subtitles == "auto" || subtitles == "none" ? beside : subtitles;
    for (const QString& name : {named, QString("s.srt")}) {
        QFile file(work.filePath(name.isEmpty() || name == "stream" ? "s.srt" : name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0);
    }
    // One grey clip, and its conversion without subtitles, serve every row.
    const QString plain = dir_.filePath("grey.mp4");
    const QStringList make{"-v", "error", "-y", "-f", "lavfi", "-i", "color=c=gray:s=320x240:d=5:r=25"};
    const QStringList encode{"-c:v", "mpeg4", "-q:v", "2"};
    if (!QFileInfo::exists(plain)) {
        QCOMPARE(QProcess::execute("ffmpeg", make + encode + QStringList{dir_.filePath("grey.mkv")}), 0);
        QCOMPARE(run({"-q", "--form", "modern", "grey.mkv", "-o", plain}).exitCode, 0);
    }
    const QStringList inside{"-i", work.filePath("s.srt"), "-c:s", "srt"};
    QCOMPARE(QProcess::execute("ffmpeg", make + (beside == "stream" ? inside : QStringList{}) + encode +
                                             QStringList{work.filePath("clip.mkv")}),
             0);
    const QStringList common{"-q", "--form", "modern", "clip.mkv", "-o"};
    const Result result = run(QStringList{"--subtitles", subtitles} + common + QStringList{"subtitled.mp4"}, work.path());
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    // The cut's own check is in the media worker's frames, where the encoder seeks into the subtitle.
    const double during = LowerThirdDifference(work.filePath("subtitled.mp4"), plain, 2);
    const double after = LowerThirdDifference(work.filePath("subtitled.mp4"), plain, 4);
    QVERIFY2(during >= 0 && after >= 0, "no frames to compare");
    QVERIFY2(drawn ? during > 2 : during < 0.5, qPrintable(QString::number(during)));
    QVERIFY2(after < 0.5, qPrintable(QString::number(after)));
}

// Sources made for what they hold, converted by the tool: the kept picture fills the screen, the
// sound is the language asked for, interlaced fields come out whole. What ffmpeg itself reads of the
// output is the judge: cropdetect for the picture, ffprobe for the language, half-bright pixels where
// a bright bar moving fast between two fields leaves a comb.
void TestCli::understandsTheSource_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    const QStringList psp{"-t", "psp-320x240", "--form", "modern"};
    const QStringList h264{"-t", "psp-480x272"};
    QTest::newRow("pillarboxed 4:3, cropped, fills the screen") << "pillarboxed" << psp + QStringList{"--crop", "auto"} << "fills 95";
    QTest::newRow("pillarboxed 4:3, not cropped") << "pillarboxed" << psp << "fills 56";
    QTest::newRow("english asked of japanese first") << "languages" << psp + QStringList{"--audio-lang", "eng"} << "sound eng";
    QTest::newRow("a german code of the other kind") << "languages" << h264 + QStringList{"--audio-lang", "fr,de"} << "sound ger";
    QTest::newRow("no language asked: the default") << "languages" << psp << "sound jpn";
    QTest::newRow("a vcd keeps no language, and says so") << "languages" << QStringList{"-t", "vcd-352x240", "--audio-lang", "eng"}
                                                          << "untagged eng";
    QTest::newRow("480i deinterlaced on a later target") << "fields" << h264 << "whole";
    QTest::newRow("480i left as it is") << "fields" << h264 + QStringList{"--deinterlace", "off"} << "combed";
    QTest::newRow("480i on a designed row, asked") << "fields" << psp + QStringList{"--deinterlace", "on"} << "whole";
    QTest::newRow("progressive is never deinterlaced") << "languages" << h264 + QStringList{"--deinterlace", "on"} << "progressive";
}

void TestCli::understandsTheSource() {
    QFETCH(QString, source);
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const QString video = dir_.filePath(source + ".mkv");
    const QStringList sine{"-f", "lavfi", "-i", "sine=f=300:d=1", "-f", "lavfi", "-i", "sine=f=600:d=1",
                           "-f", "lavfi", "-i", "sine=f=900:d=1"};
    const QHash<QString, QStringList> made{
        {"pillarboxed", {"-i", "testsrc2=s=480x360:d=1:r=25,pad=640:360:80:0", "-c:v", "mpeg4", "-q:v", "2"}},
        {"languages", QStringList{"-i", "testsrc2=s=320x240:d=1:r=25"} + sine +
                          QStringList{"-map", "0:v", "-map", "1:a", "-map", "2:a", "-map", "3:a", "-metadata:s:a:0", "language=jpn",
                                      "-metadata:s:a:1", "language=eng", "-metadata:s:a:2", "language=ger",
                                      "-disposition:a:0", "default", "-disposition:a:1", "0", "-disposition:a:2", "0",
                                      "-c:v", "mpeg4", "-c:a", "aac"}},
        {"fields", {"-i", "color=c=black:s=720x480:r=50:d=1,format=yuv420p,geq=lum='if(between(X,mod(N*24,640),"
                          "mod(N*24,640)+48),235,16)':cb=128:cr=128,tinterlace=interleave_top",
                    "-c:v", "mpeg2video", "-q:v", "2", "-flags", "+ilme+ildct", "-top", "1"}}};
    if (!QFileInfo::exists(video)) {
        QCOMPARE(QProcess::execute("ffmpeg", QStringList{"-v", "error", "-y", "-f", "lavfi"} + made[source] + QStringList{video}), 0);
    }
    QTemporaryDir work;
    const QString output = work.filePath("out.mp4");
    const Result result = run(QStringList{"-v"} + arguments + QStringList{"-o", output, video});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err + result.out));
    QVERIFY2(result.err.contains("finished: Fits"), qPrintable(result.err));
    const auto ffmpeg = [](const QStringList& args) {
        QProcess p;
        p.start("ffmpeg", QStringList{"-hide_banner", "-i"} + args);
        p.waitForFinished(60000);
        return p.readAllStandardOutput() + p.readAllStandardError();
    };
    const QString what = expected.section(' ', 0, 0);
    const QString value = expected.section(' ', 1);
    if (what == "fills") { // the picture's share of the 320x240 screen, as ffmpeg finds its bars
        const auto crop = QRegularExpression(R"(crop=(\d+):(\d+))").globalMatch(QString::fromUtf8(ffmpeg({output, "-vf", "cropdetect=round=2:reset=0", "-f", "null", "-"})));
        QRegularExpressionMatch last;
        for (auto it = crop; it.hasNext();) {
            last = it.next();
        }
        const double share = last.captured(1).toDouble() * last.captured(2).toDouble() / (320 * 240);
        QVERIFY2(value == "95" ? share >= 0.95 : std::abs(share - 0.5625) < 0.02, qPrintable(QString::number(share)));
    } else if (what == "sound") {
        QProcess probe;
        probe.start("ffprobe", {"-v", "error", "-select_streams", "a", "-show_entries", "stream_tags=language", "-of", "csv=p=0", output});
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()).trimmed(), value);
        QCOMPARE(result.err.contains("sound in " + value), arguments.contains("--audio-lang"));
    } else if (what == "untagged") {
        QVERIFY2(result.err.contains("keeps no language tag, so the sound stream's language (eng) was not checked"),
                 qPrintable(result.err));
        QVERIFY(result.err.contains("-map 0:a:1"));
    } else if (what == "progressive") {
        QVERIFY2(!result.err.contains("bwdif"), qPrintable(result.err));
    } else { // half-bright pixels of a frame mid-way: a comb left by fields scaled together
        QProcess frame;
        frame.start("ffmpeg", {"-v", "error", "-ss", "0.4", "-i", output, "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "gray", "-"});
        QVERIFY(frame.waitForFinished(60000));
        const QByteArray pixels = frame.readAllStandardOutput();
        QVERIFY(!pixels.isEmpty());
        const auto half = std::count_if(pixels.begin(), pixels.end(), [](char c) { return uchar(c) > 60 && uchar(c) < 190; });
        const double share = double(half) / double(pixels.size());
        QVERIFY2(what == "whole" ? share < 0.01 : share > 0.02, qPrintable(QString::number(share)));
        QCOMPARE(result.err.contains("bwdif=mode=send_frame"), what == "whole");
    }
}

// File names are the system's bytes: what is not UTF-8 reaches the size probe, the encoder and the
// after-check as it is, and so does a name that would read as an option or a protocol.
void TestCli::namesThatAreNotUtf8_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("a byte past UTF-8") << QByteArray("x\xff.mkv") << QByteArray("x\xff.mp4");
    QTest::newRow("a cut sequence, a dash") << QByteArray("-\xc3(.mkv") << QByteArray("-\xc3(.mp4");
    QTest::newRow("a protocol-like name") << QByteArray("S01E01:Pilot.mkv") << QByteArray("S01E01:Pilot.mp4");
}

void TestCli::namesThatAreNotUtf8() {
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, output);
    QTemporaryDir work;
    const QByteArray folder = QFile::encodeName(work.path()) + '/';
    QVERIFY(::mkdir((folder + "d\xf0r").constData(), 0700) == 0);
    const auto cleanUp = qScopeGuard([&] { // names QTemporaryDir cannot reach
        for (const QByteArray& name : {source, output}) {
            ::unlink((folder + name).constData());
        }
        ::rmdir((folder + "d\xf0r").constData());
    });
    QVERIFY(::rename(QFile::encodeName(makeClip("bytes.mkv", "320x240", 1, true)).constData(),
                     (folder + source).constData()) == 0);
    // The name as octal escapes, which the shell turns back into its bytes: no QString can carry them.
    QString escaped;
    for (const char c : source) {
        escaped += QString("\\%1").arg(static_cast<unsigned char>(c), 3, 8, QChar('0'));
    }
    const QString line = R"sh(exec "$0" -q -- "$(printf '%b' "$1")")sh";
    const Result result = run({"-c", line, CLI_PATH, escaped}, work.path(), "sh");
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY(::access((folder + output).constData(), F_OK) == 0);
    QVERIFY(::access((folder + source).constData(), F_OK) == 0);
}

// SIGTERM and SIGHUP end the tool as Ctrl+C does: every running encoder's whole group stopped, each
// partial output removed, no further video started, the exit 128 + the signal's number.
void TestCli::signalsStopCleanly_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
}

void TestCli::signalsStopCleanly() {
    QFETCH(int, signal);
    QTemporaryDir work;
    const QString script =
        writeEncoder(work.path(), "echo $$ > \"$out.pid\"\necho partial > \"$out\"\nsleep 300 &\nsleep 300");
    QProcess tool;
    tool.setWorkingDirectory(work.path());
    tool.start(CLI_PATH, {"-j", "2", "-s", "320x240", "--form", "modern", "--encoder", script, "v.mkv", "w.mkv",
                          "x.mkv"});
    QList<pid_t> groups;
    for (const char* output : {".zvm-partial.v.mp4", ".zvm-partial.w.mp4"}) { // written before their rename
        QFile groupFile(work.filePath(output) + ".pid");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(work.filePath(output)) && groupFile.size() > 0, 20000);
        QVERIFY(groupFile.open(QIODevice::ReadOnly));
        groups.append(static_cast<pid_t>(groupFile.readAll().trimmed().toInt()));
        QVERIFY(groups.back() > 1);
    }
    ::kill(static_cast<pid_t>(tool.processId()), signal);
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 128 + signal);
    const QByteArray err = tool.readAllStandardError();
    QVERIFY2(err.contains("v.mkv -> v.mp4: stopped") && err.contains("w.mkv -> w.mp4: stopped") &&
                 err.contains("  x.mkv -> x.mp4: not started"),
             err.constData());
    for (const char* output : {"v.mp4", "w.mp4", ".zvm-partial.v.mp4", ".zvm-partial.w.mp4", ".zvm-partial.x.mp4.pid"}) {
        QVERIFY2(!QFile::exists(work.filePath(output)), output);
    }
    for (const pid_t group : groups) {
        QTRY_VERIFY_WITH_TIMEOUT(::kill(-group, 0) != 0 && errno == ESRCH, 10000);
    }
}

void TestCli::stopRemovesPassLogs_data() {
    QTest::addColumn<int>("pass");
    QTest::newRow("first pass") << 1;
    QTest::newRow("second pass") << 2;
}

// Ctrl+C in either of two passes: the private folder of the passes' logs goes with the output, and
// with the encoder of that pass. Folders that killed runs left behind went at the start: those whose
// program is gone (a process id now another's), not one of a program still running nor one not
// named by a program.
void TestCli::stopRemovesPassLogs() {
    QFETCH(int, pass);
    const int signal = SIGINT;
    QTemporaryDir work;
    QFile(work.filePath("v.mkv")).open(QIODevice::WriteOnly);
    // Writes the logs libx264 writes in a first pass; in the pass to be stopped, its output.
    const QString script = writeEncoder(
        work.path(), QString("last=\nfor a; do [ \"$last\" = -passlogfile ] && touch \"$a-0.log\" \"$a-0.log.mbtree\"\n"
                             "[ \"$last\" = -pass ] && pass=$a; last=$a; done\n"
                             "[ \"$pass\" = %1 ] || exit 0\n"
                             "echo $$ > group.pid\necho partial > .zvm-partial.v.mp4\nsleep 300 &\nsleep 300")
                         .arg(pass));
    const QString cache = work.filePath("cache/Zarnik Video Maker");
    const auto self = zvm::process::MarkOf(::getpid());
    QVERIFY(self);
    const QString live = QString("passes-%1-%2-live").arg(self->pid).arg(self->started);
    const QStringList kept{live, "passes-kept"};
    for (const QString& planted :
         kept + QStringList{QString("passes-%1-%2-gone").arg(self->pid).arg(self->started + 1)}) {
        QVERIFY(QDir().mkpath(cache + '/' + planted));
        QFile(cache + '/' + planted + "/pass-0.log").open(QIODevice::WriteOnly);
    }
    QProcess tool;
    tool.setWorkingDirectory(work.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CACHE_HOME", work.filePath("cache"));
    tool.setProcessEnvironment(env);
    tool.start(CLI_PATH, {"-s", "320x240", "--form", "modern", "--encoder", script, "--two-pass", "v.mkv"});
    QFile groupFile(work.filePath("group.pid"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(work.filePath(".zvm-partial.v.mp4")) && groupFile.size() > 0, 20000);
    const auto logs = [&] { // the tool's own folder and what is in it
        QStringList found;
        for (QDirIterator it(cache, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString path = it.next().mid(cache.size() + 1);
            found << (std::any_of(kept.begin(), kept.end(), [&](const QString& k) { return path.startsWith(k); })
                          ? QString()
                          : path);
        }
        found.removeAll(QString());
        return found;
    };
    QCOMPARE(logs().size(), 3); // the private folder and the two logs in it; the gone one's folder went
    QVERIFY2(logs().constFirst().startsWith(QString("passes-%1-").arg(tool.processId())), qPrintable(logs().join(' ')));
    QVERIFY(groupFile.open(QIODevice::ReadOnly));
    const auto group = static_cast<pid_t>(groupFile.readAll().trimmed().toInt());
    QVERIFY(group > 1);
    ::kill(static_cast<pid_t>(tool.processId()), signal);
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 128 + signal);
    QVERIFY(tool.readAllStandardError().contains("v.mkv -> v.mp4: stopped"));
    QVERIFY(!QFile::exists(work.filePath(".zvm-partial.v.mp4")));
    QTRY_VERIFY_WITH_TIMEOUT(::kill(-group, 0) != 0 && errno == ESRCH, 10000);
    QCOMPARE(logs(), QStringList());
    for (const QString& planted : kept) {
        QVERIFY2(QFile::exists(cache + '/' + planted + "/pass-0.log"), qPrintable(planted));
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"

// Each video is read once, whatever needs its size, duration or subtitle streams: the media worker
// is put behind a script that keeps every request it is sent.
void TestCli::readsEachVideoOnce_data() {
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("beside"); // a subtitle file beside a.mkv
    QTest::newRow("printed, automatic subtitles") << "--print --subtitles auto" << "";
    QTest::newRow("converted, a file size") << "-q --file-size 0.3" << "";
    QTest::newRow("converted, automatic subtitles and a file size") << "-q --subtitles auto --file-size 0.3" << "";
    QTest::newRow("converted, automatic subtitles, one beside") << "-q --subtitles auto" << "a.srt";
}

void TestCli::readsEachVideoOnce() {
    QFETCH(QString, options);
    QFETCH(QString, beside);
    QTemporaryDir work;
    const QString clip = dir_.filePath("once.mkv");
    if (!QFileInfo::exists(clip)) {
        makeClip("once.mkv", "320x240", 1, true);
    }
    for (const QString& name : {QString("a.mkv"), QString("b.mkv")}) {
        QVERIFY(QFile::copy(clip, work.filePath(name)));
    }
    if (!beside.isEmpty()) {
        QFile subtitles(work.filePath(beside));
        QVERIFY(subtitles.open(QIODevice::WriteOnly) && subtitles.write("1\n00:00:00,000 --> 00:00:01,000\nHI\n") > 0);
    }
    QFile script(work.filePath("worker.sh"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QString("#!/bin/sh\ntee -a '%1' | '%2'\n").arg(work.filePath("requests"), WORKER_PATH).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    qputenv("ZVM_MEDIA_WORKER", script.fileName().toUtf8());
    const Result result = run(options.split(' ') + QStringList{"--form", "modern", "-o", work.filePath("out") + "/",
                                                               work.filePath("a.mkv"), work.filePath("b.mkv")},
                              work.path());
    qunsetenv("ZVM_MEDIA_WORKER");
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QFile requests(work.filePath("requests"));
    QVERIFY(requests.open(QIODevice::ReadOnly));
    const QByteArray sent = requests.readAll();
    for (const QString& name : {QString("a.mkv"), QString("b.mkv")}) {
        QCOMPARE(sent.count(work.filePath(name).toUtf8()), 1);
    }
}
