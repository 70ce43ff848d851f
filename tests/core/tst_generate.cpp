#include "tests/GenerateCases.h"
#include "core/CommandForm.h"
#include "core/Cut.h"
#include "core/DeviceLimits.h"
#include "core/FileSize.h"
#include "core/Generate.h"
#include "core/OutputName.h"
#include "core/OutputTarget.h"
#include "core/PrepareRun.h"
#include "core/Presets.h"
#include "settings/TargetsFile.h"

#include <QTemporaryDir>
#include <QTest>

#include <map>

using zvm::CommandStyle;
using zvm::ConversionRequest;
using zvm::GenerateResult;
using zvm::MovieType;
using zvm::RequestField;

Q_DECLARE_METATYPE(zvm::MovieType)
Q_DECLARE_METATYPE(zvm::RequestField)
Q_DECLARE_METATYPE(zvm::ConversionRequest)
Q_DECLARE_METATYPE(zvm::FormChoice)
Q_DECLARE_METATYPE(zvm::EncoderAnswer)
Q_DECLARE_METATYPE(zvm::CommandStyle)

class TestGenerate : public QObject {
    Q_OBJECT

private slots:
    void targetTable_data();
    void targetTable();
    void targetChecks_data();
    void targetChecks();
    void sharedCases_data();
    void sharedCases();
    void workedCommands_data();
    void workedCommands();
    void checkOrder_data();
    void checkOrder();
    void modernCommands_data();
    void modernCommands();
    void fileArguments_data();
    void fileArguments();
    void subtitles_data();
    void subtitles();
    void encodableValues_data();
    void encodableValues();
    void formDecision_data();
    void formDecision();
    void outputNames_data();
    void outputNames();
    void outputChecks_data();
    void outputChecks();
    void deviceLimits_data();
    void deviceLimits();
    void cutTimes_data();
    void cutTimes();
    void cutCommands_data();
    void cutCommands();
    void fileSizes_data();
    void fileSizes();
    void passSteps_data();
    void passSteps();
};

namespace {
ConversionRequest WorkedRequest(int row, MovieType type, const char* width, const char* height) {
    ConversionRequest r;
    r.encoderPath = R"(C:\ffmpeg\ffmpeg.exe)";
    r.sourceVideo = R"(C:\video\movie.avi)";
    r.outputPath = row == 4 ? R"(C:\video\movie.mpg)" : R"(C:\video\movie.mp4)";
    r.width = width;
    r.height = height;
    r.videoBitrate = "256";
    r.audioBitrate = "32";
    r.sampleRate = "24000";
    r.preset = row;
    r.movieType = type;
    return r;
}

ConversionRequest ValidRequest() {
    return WorkedRequest(0, MovieType::LiveAction, "640", "480");
}

GenerateResult Built(const ConversionRequest& r, CommandStyle style = CommandStyle::Classic) {
    auto outcome = zvm::Generate(r, style);
    if (!outcome.ok()) {
        qFatal("unexpected refusal: %s", outcome.status().message().c_str());
    }
    return outcome.value();
}

QString CommandOf(const ConversionRequest& r, CommandStyle style = CommandStyle::Classic) {
    const GenerateResult result = Built(r, style);
    return result.command ? QString::fromStdString(*result.command) : QString("<none>");
}
} // namespace

// The entries' texts are checked where they are shown, in the window's list. The designed rows' tool
// words are their screen names in lower case with the blanks around the dash dropped.
void TestGenerate::targetTable_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row"); // -1: no such target
    QTest::addColumn<QString>("kind"); // video, container, norm, pixel aspect, max rate, H.264 profile
    for (int row = 0; row < 5; ++row) {
        const QString screen = QString::fromUtf8(zvm::ScreenName(*zvm::FindPreset(row)));
        QTest::addRow("designed %d", row) << screen.toLower().replace(" - ", "-") << row
                                          << (row == 4 ? "vcd mpg ntsc 1:1 30000/1001 -" : "mpeg4 mp4 - 1:1 30000/1001 -");
    }
    QTest::newRow("psp h264") << "psp-480x272" << 5 << "h264 psp - 1:1 30000/1001 main 3.0";
    QTest::newRow("vcd pal") << "vcd-pal-352x288" << 6 << "vcd mpg pal 12:11 25 -";
    QTest::newRow("vcd for a tv") << "vcd-tv-352x240" << 7 << "vcd mpg ntsc 10:11 30000/1001 -";
    QTest::newRow("ds") << "ds-256x192" << 8 << "mpeg4 avi - 1:1 15 -";
    QTest::newRow("amv") << "amv-160x112" << 9 << "amv amv - 1:1 10 -";
    QTest::newRow("raw, low byte first") << "mcu-240x240" << 12 << "rgb565le raw - 1:1 15 -";
    QTest::newRow("retro") << "retro-640x480" << 17 << "mpeg4 avi - 1:1 30000/1001 -";
    QTest::newRow("dpg, last built-in") << "dpg-256x192" << 18 << "mpeg1 dpg - 1:1 15 -";
    QTest::newRow("unknown") << "psp" << -1 << "";
    QTest::newRow("a label is no name") << "VCD (PAL) - 352x288" << -1 << "";
}

void TestGenerate::targetTable() {
    QFETCH(QString, name);
    QFETCH(int, row);
    QFETCH(QString, kind);
    QCOMPARE(zvm::PresetByName(name.toStdString()).value_or(-1), row);
    QCOMPARE(zvm::FindPreset(int(zvm::TargetPresets().size())), nullptr);
    QCOMPARE(zvm::FindPreset(-1), nullptr);
    if (row < 0) {
        return;
    }
    const zvm::TargetPreset& t = *zvm::FindPreset(row);
    const auto profile = zvm::H264ProfileFor(t.width, t.height, t.maxFrameRate);
    const QString words = QString::fromStdString(
        std::string(zvm::VideoWord(t.video)) + " " + std::string(zvm::ContainerWord(t.container)) + " " +
        (t.norm == zvm::Norm::None ? "-" : std::string(zvm::NormWord(t.norm))) + " " + zvm::AspectText(t.pixelAspect) +
        " " + zvm::RateText(t.maxFrameRate) + " " +
        (t.video == zvm::VideoKind::H264 && profile ? std::string(profile->profile) + " " + std::string(profile->level)
                                                    : std::string("-")));
    QCOMPARE(words, kind);
    QCOMPARE(t.designed, row < 5);
    QVERIFY2(zvm::CheckTarget(t).ok(), zvm::CheckTarget(t).text().c_str());
}

// Changes to the PSP row that make it a target no player takes, or that H.264 cannot carry; the
// levels are the H.264 table's (frame macroblocks, macroblocks per second).
void TestGenerate::targetChecks_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("refusal"); // the level when it is taken
    QTest::newRow("as built") << "" << "3.0";
    QTest::newRow("720p30 is 3.1 at its limit") << "1280x720" << "3.1";
    QTest::newRow("1080p30 is 4.0") << "1920x1080" << "4.0";
    QTest::newRow("4096x2304 at 30 needs more than 5.1") << "4096x2304" << "larger than H.264 level 5.1";
    QTest::newRow("4096 square") << "4096x4096" << "larger than H.264 level 5.1";
    QTest::newRow("odd side") << "481x272" << "even sides";
    QTest::newRow("too small") << "14x272" << "even sides";
    QTest::newRow("too large") << "4098x272" << "even sides";
    QTest::newRow("h264 in mpg") << "mpg" << "no player takes";
    QTest::newRow("mpeg4 in psp") << "mpeg4" << "no player takes";
    QTest::newRow("a norm without vcd") << "pal" << "norm exactly when";
    QTest::newRow("vcd at the wrong size") << "vcd" << "its norm's size";
    QTest::newRow("no frame rate") << "rate 0" << "above 0";
    QTest::newRow("amv at 12 fps") << "amv 12" << "divide 22050";
    QTest::newRow("amv at 15 fps") << "amv 15" << "";
    QTest::newRow("raw at 30000/1001") << "raw 30000/1001" << "a whole number of frames";
    QTest::newRow("mjpeg in mp4") << "mjpeg mp4" << "no player takes";
}

void TestGenerate::targetChecks() {
    QFETCH(QString, change);
    QFETCH(QString, refusal);
    zvm::TargetPreset t = *zvm::FindPreset(5);
    if (change.contains('x')) {
        t.width = change.section('x', 0, 0).toInt();
        t.height = change.section('x', 1, 1).toInt();
    } else if (change == "mpg") {
        t.container = zvm::Container::Mpg;
    } else if (change == "mpeg4") {
        t.video = zvm::VideoKind::Mpeg4;
    } else if (change == "pal") {
        t.norm = zvm::Norm::Pal;
    } else if (change == "vcd") {
        t = *zvm::FindPreset(6);
        t.height = 240;
    } else if (change == "rate 0") {
        t.maxFrameRate = {0, 1};
    } else if (change.startsWith("amv") || change.startsWith("raw")) {
        t = *zvm::FindPreset(change.startsWith("amv") ? 9 : 11);
        t.maxFrameRate = *zvm::RateFromText(change.section(' ', 1).toStdString());
    } else if (change == "mjpeg mp4") {
        t = *zvm::FindPreset(13);
        t.container = zvm::Container::Mp4;
    } else if (!change.isEmpty()) {
        QFAIL(qPrintable("unknown change " + change));
    }
    const zvm::Status status = zvm::CheckTarget(t);
    if (status.ok() && refusal.isEmpty()) {
        QVERIFY(t.video == zvm::VideoKind::Amv); // taken, and no H.264 level to name
    } else if (status.ok()) {
        QCOMPARE(QString::fromUtf8(zvm::H264ProfileFor(t.width, t.height, t.maxFrameRate)->level), refusal);
    } else {
        QVERIFY2(QString::fromStdString(status.text()).contains(refusal), status.text().c_str());
    }
}

// The commands the window and the tool share, straight from the builder.
void TestGenerate::sharedCases_data() {
    AddGenerateCaseRows();
}

void TestGenerate::sharedCases() {
    QFETCH(int, row);
    const GenerateCase& c = kGenerateCases[row];
    QTemporaryDir dir;
    QVERIFY(WriteCaseTargets(dir.filePath("targets.json")));
    QVERIFY(zvm::settings::UseTargetsFile(dir.filePath("targets.json").toStdString()).problem.ok());
    ConversionRequest r = WorkedRequest(c.preset, c.animation ? MovieType::Animation : MovieType::LiveAction,
                                        c.width, c.height);
    r.encoderPath = "ffmpeg";
    r.sourceVideo = "/videos/clip.avi";
    r.outputPath = zvm::SuggestOutputName(r.sourceVideo, c.preset, "");
    r.videoBitrate = c.videoBitrate;
    r.audioBitrate = c.audioBitrate;
    r.sampleRate = c.sampleRate;
    QCOMPARE(zvm::FindPreset(c.preset)->name, std::string_view(c.target));
    const CommandStyle style = c.modern ? CommandStyle::Modern : CommandStyle::Classic;
    QCOMPARE(CommandOf(r, style), QString(c.command));
    // Every face prepares its run through PrepareRun, which must write Generate's command unchanged.
    for (const zvm::RunChecks checks : {zvm::RunChecks::Designed, zvm::RunChecks::Unattended}) {
        const auto prepared = zvm::PrepareRun(r, style, {}, checks);
        QVERIFY2(prepared.ok(), prepared.status().text().c_str());
        QCOMPARE(QString::fromStdString(prepared.value().command), QString(c.command));
    }
}

void TestGenerate::workedCommands_data() {
    QTest::addColumn<ConversionRequest>("request");
    QTest::addColumn<QString>("command");

    const QString head = R"(C:\ffmpeg\ffmpeg.exe -y -i "C:\video\movie.avi")";
    const QString mp4Tail =
        " -bitexact -strict 3 -me epzs -hq -vcodec mpeg4 -b 256 -acodec aac -ac 2 -ar 24000 -ab 32";
    QTest::newRow("live action 640x480 row 0")
        << WorkedRequest(0, MovieType::LiveAction, "640", "480")
        << head + " -r 29.971 -s 214x160" + mp4Tail +
               R"( -f mp4 -padright 12 -padleft 14 "C:\video\movie.mp4")";
    QTest::newRow("animation 720x576 row 3")
        << WorkedRequest(3, MovieType::Animation, "720", "576")
        << head + " -r 14.985 -s 260x208" + mp4Tail +
               R"( -f mp4 -padright 54 -padleft 54 "C:\video\movie.mp4")";
    QTest::newRow("animation 1280x720 row 2")
        << WorkedRequest(2, MovieType::Animation, "1280", "720")
        << head + " -r 14.985 -s 320x180" + mp4Tail +
               R"( -f mp4 -padtop 30 -padbottom 30 "C:\video\movie.mp4")";
    QTest::newRow("live action 1280x720 row 3 fills")
        << WorkedRequest(3, MovieType::LiveAction, "1280", "720")
        << head + " -r 29.971 -s 368x208" + mp4Tail +
               R"( -f mp4 -padtop 0 -padbottom 0 "C:\video\movie.mp4")";
    QTest::newRow("vcd 640x480")
        << WorkedRequest(4, MovieType::LiveAction, "640", "480")
        << head +
               R"( -target vcd -r 29.971 -ar 44100 -ab 192 -s 320x240 -padright 16 -padleft 16 "C:\video\movie.mpg")";
    QTest::newRow("vcd 720x480")
        << WorkedRequest(4, MovieType::LiveAction, "720", "480")
        << head +
               R"( -target vcd -r 29.971 -ar 44100 -ab 192 -s 352x234 -padtop 4 -padbottom 2 "C:\video\movie.mpg")";
    QTest::newRow("vcd with animation ignores the frame rate")
        << WorkedRequest(4, MovieType::Animation, "720", "480")
        << head +
               R"( -target vcd -r 29.971 -ar 44100 -ab 192 -s 352x234 -padtop 4 -padbottom 2 "C:\video\movie.mpg")";

    // Texts go in as typed: an empty encoder, blanks, odd paths and signs.
    ConversionRequest r = ValidRequest();
    r.encoderPath.clear();
    QTest::newRow("empty encoder path")
        << r
        << R"( -y -i "C:\video\movie.avi" -r 29.971 -s 214x160 -bitexact -strict 3 -me epzs -hq -vcodec mpeg4 -b 256 -acodec aac -ac 2 -ar 24000 -ab 32 -f mp4 -padright 12 -padleft 14 "C:\video\movie.mp4")";

    r = ValidRequest();
    r.encoderPath = R"(C:\Program Files\ffmpeg\ffmpeg.exe)";
    r.videoBitrate = " 256";
    r.width = " 6.4e2 ";
    QTest::newRow("blanks kept")
        << r
        << R"(C:\Program Files\ffmpeg\ffmpeg.exe -y -i "C:\video\movie.avi" -r 29.971 -s 214x160 -bitexact -strict 3 -me epzs -hq -vcodec mpeg4 -b  256 -acodec aac -ac 2 -ar 24000 -ab 32 -f mp4 -padright 12 -padleft 14 "C:\video\movie.mp4")";

    r = ValidRequest();
    r.sourceVideo = "  ";
    r.outputPath = "$(rm -rf ~); `x` 'y' ü.mp4";
    r.audioBitrate = "+32";
    QTest::newRow("odd paths and signs")
        << r
        << R"(C:\ffmpeg\ffmpeg.exe -y -i "  " -r 29.971 -s 214x160 -bitexact -strict 3 -me epzs -hq -vcodec mpeg4 -b 256 -acodec aac -ac 2 -ar 24000 -ab +32 -f mp4 -padright 12 -padleft 14 "$(rm -rf ~); `x` 'y' ü.mp4")";
}

void TestGenerate::workedCommands() {
    QFETCH(ConversionRequest, request);
    QFETCH(QString, command);
    QCOMPARE(CommandOf(request), command);
}

void TestGenerate::checkOrder_data() {
    QTest::addColumn<ConversionRequest>("request");
    QTest::addColumn<RequestField>("field");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("beforeSize"); // the title while the size is still to be read; "" none

    auto with = [](auto change) {
        ConversionRequest r = ValidRequest();
        change(r);
        return r;
    };
    QTest::newRow("both paths empty: input first")
        << with([](auto& r) { r.sourceVideo.clear(), r.outputPath.clear(); }) << RequestField::SourceVideo
        << "You must enter a valid filename with extention (eg. movie.avi)"
        << "Enter an input filename!" << "Enter an input filename!";
    QTest::newRow("output empty, width bad")
        << with([](auto& r) { r.outputPath.clear(), r.width = "abc"; }) << RequestField::OutputPath
        << "Where do you want to save this MP4? (eg. c:\\movie.mp4)"
        << "Enter an output filename!" << "Enter an output filename!";
    QTest::newRow("width abc, height not looked at")
        << with([](auto& r) { r.width = "abc", r.height = "xyz"; }) << RequestField::Width
        << "You must enter a number for the width"
        << "Invalid Width!" << "";
    QTest::newRow("width and height empty") << with([](auto& r) { r.width.clear(), r.height.clear(); })
                                            << RequestField::Width << "You must enter a number for the width"
                                            << "Invalid Width!" << "";
    QTest::newRow("height 640x480") << with([](auto& r) { r.height = "640x480"; }) << RequestField::Height
                                    << "You must enter a number for the height"
                                    << "Invalid Height!" << "";
    QTest::newRow("video bitrate") << with([](auto& r) { r.videoBitrate = "fast", r.sampleRate = "x"; })
                                   << RequestField::VideoBitrate
                                   << "You must enter a number for the video bitrate"
                                   << "Invalid Video Bitrate!" << "Invalid Video Bitrate!";
    QTest::newRow("audio bitrate") << with([](auto& r) { r.audioBitrate = "12abc", r.sampleRate = "x"; })
                                   << RequestField::AudioBitrate
                                   << "You must enter a number for the audio bitrate"
                                   << "Invalid Audio Bitrate!" << "Invalid Audio Bitrate!";
    QTest::newRow("sample rate before the vcd overwrite")
        << with([](auto& r) { r.sampleRate = "high", r.preset = 4; }) << RequestField::SampleRate
        << "You must enter a number for the samplerate"
        << "Invalid Samplerate!" << "Invalid Samplerate!";
    QTest::newRow("width zero") << with([](auto& r) { r.width = "0"; }) << RequestField::Width
                                << "The width must be greater than 0"
                                << "Invalid Width!" << "";
    QTest::newRow("width negative") << with([](auto& r) { r.width = "-640"; }) << RequestField::Width
                                    << "The width must be greater than 0"
                                    << "Invalid Width!" << "";
    QTest::newRow("height zero") << with([](auto& r) { r.height = " 0 "; }) << RequestField::Height
                                 << "The height must be greater than 0"
                                 << "Invalid Height!" << "";
    QTest::newRow("quote in source") << with([](auto& r) { r.sourceVideo = "a\" -i \"b"; })
                                     << RequestField::SourceVideo
                                     << "A filename cannot contain a double quote (\")"
                                     << "Enter an input filename!" << "Enter an input filename!";
    QTest::newRow("quote in output") << with([](auto& r) { r.outputPath = "out\".mp4"; })
                                     << RequestField::OutputPath
                                     << "A filename cannot contain a double quote (\")"
                                     << "Enter an output filename!" << "Enter an output filename!";
    QTest::newRow("a row the list lacks, after the seven")
        << with([](auto& r) { r.preset = 99; }) << RequestField::Target
        << "Choose a target screen from the list"
        << "Invalid Target!" << "";
    QTest::newRow("a negative row, width first")
        << with([](auto& r) { r.preset = -1, r.width = "x"; }) << RequestField::Width
        << "You must enter a number for the width"
        << "Invalid Width!" << "";
}

void TestGenerate::checkOrder() {
    QFETCH(ConversionRequest, request);
    QFETCH(RequestField, field);
    QFETCH(QString, prompt);
    QFETCH(QString, title);
    QFETCH(QString, beforeSize);

    const auto outcome = zvm::Generate(request);
    QVERIFY(!outcome.ok());
    const zvm::Status refusal = outcome.status();
    QCOMPARE(zvm::RefusedField(refusal), field);
    QCOMPARE(QString::fromStdString(refusal.message()), prompt);
    QCOMPARE(QString::fromStdString(refusal.title()), title);
    QCOMPARE(zvm::Generate(request, CommandStyle::Modern).status(), refusal); // either form
    const zvm::Status early = zvm::CheckRequestBeforeSize(request); // for a size still to be read
    QCOMPARE(QString::fromStdString(early.title()), beforeSize);
    if (!early.ok()) {
        QCOMPARE(early, refusal);
    }
}

void TestGenerate::modernCommands_data() {
    QTest::addColumn<ConversionRequest>("request");
    QTest::addColumn<QString>("command");

    ConversionRequest r = WorkedRequest(0, MovieType::LiveAction, "640", "480");
    r.encoderPath = "ffmpeg";
    r.sourceVideo = "movie.avi";
    r.outputPath = "movie.mp4";
    QTest::newRow("worked example")
        << r
        << R"(ffmpeg -y -i "movie.avi" -r 30000/1001 -vf scale=214:160,pad=240:160:14:0,setsar=1 -c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "movie.mp4")";
    r.videoBitrate = "256 ";
    r.audioBitrate = " 32";
    r.sampleRate = "\t24000 ";
    QTest::newRow("numbers with blanks are written without them")
        << r
        << R"(ffmpeg -y -i "movie.avi" -r 30000/1001 -vf scale=214:160,pad=240:160:14:0,setsar=1 -c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "movie.mp4")";
    r.videoBitrate = "256";
    r.audioBitrate = "32";
    r.sampleRate = "24000";
    r.movieType = MovieType::Animation;
    r.width = "720";
    r.preset = 2;
    QTest::newRow("animation top and bottom")
        << r
        << R"(ffmpeg -y -i "movie.avi" -r 15000/1001 -vf scale=320:214,pad=320:240:0:14,setsar=1 -c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "movie.mp4")";
    r.preset = 4;
    r.outputPath = "movie.mpg";
    QTest::newRow("vcd")
        << r
        << R"(ffmpeg -y -i "movie.avi" -target ntsc-vcd -ar 44100 -b:a 192k -vf scale=352:234,pad=352:240:0:4,setsar=1 "movie.mpg")";
    // Best quality: the format's best options (and two passes, see below); only the designed rows change.
    r.bestQuality = true;
    QTest::newRow("vcd, best quality")
        << r
        << R"(ffmpeg -y -i "movie.avi" -target ntsc-vcd -mbd rd -trellis 1 -cmp 2 -subcmp 2 -bf 2 -flags +cgop -sc_threshold 1000000000 -ar 44100 -b:a 192k -vf scale=352:234,pad=352:240:0:4,setsar=1 "movie.mpg")";
    r.preset = 0;
    r.outputPath = "movie.mp4";
    QTest::newRow("gba, best quality")
        << r
        << R"(ffmpeg -y -i "movie.avi" -r 15000/1001 -vf scale=240:160,pad=240:160:0:0,setsar=1 -c:v mpeg4 -g 300 -mbd rd -trellis 1 -cmp 2 -subcmp 2 -flags +mv4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -movflags +faststart -f mp4 "movie.mp4")";
    r.preset = 2;
    r.silentSource = ConversionRequest::Silent{10.0};
    QTest::newRow("silent psp, best quality: its own format, with sound")
        << r
        << R"(ffmpeg -y -i "movie.avi" -f lavfi -t 10 -i anullsrc=r=24000:cl=stereo -map 0:v:0 -map 1:a:0 -r 15000/1001 -vf scale=320:214,pad=320:240:0:14,setsar=1 -c:v mpeg4 -g 300 -mbd rd -trellis 1 -cmp 2 -subcmp 2 -flags +mv4 -b:v 256k -maxrate 384k -bufsize 384k -c:a aac -ac 2 -ar 24000 -b:a 32k -movflags +faststart -f psp "movie.mp4")";
    r.bestQuality = false;
    QTest::newRow("silent psp as designed") // plain MP4 needs no sound
        << r
        << R"(ffmpeg -y -i "movie.avi" -r 15000/1001 -vf scale=320:214,pad=320:240:0:14,setsar=1 -c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "movie.mp4")";
    r.bestQuality = true;
    r.preset = 5; // a later target keeps its own command
    r.silentSource.reset();
    ConversionRequest later = r;
    later.bestQuality = false;
    QTest::newRow("a later target, best quality unchanged") << r << CommandOf(later, CommandStyle::Modern);
    // A film's rate is kept where the player takes it: the later VCD rows always, the designed rows with
    // Best quality; a rate the player does not take, or none read, leaves the command as it was.
    const auto film = [](ConversionRequest q, int preset, bool best, std::optional<double> rate) {
        q.preset = preset, q.bestQuality = best, q.sourceFrameRate = rate, q.movieType = MovieType::LiveAction;
        q.outputPath = preset == 4 || preset > 5 ? "movie.mpg" : "movie.mp4";
        return q;
    };
    const auto unread = [&](int preset, bool best, const char* from = "", const char* to = "") {
        return CommandOf(film(r, preset, best, std::nullopt), CommandStyle::Modern).replace(from, to);
    };
    QTest::newRow("23.976 on the tv vcd") << film(r, 7, false, 24000.0 / 1001) << unread(7, false, "-vcd", "-vcd -r 24000/1001");
    QTest::newRow("25 on the tv vcd: ntsc has none") << film(r, 7, false, 25.0) << unread(7, false);
    QTest::newRow("24 on the pal vcd") << film(r, 6, false, 24.0) << unread(6, false, "-vcd", "-vcd -r 24");
    QTest::newRow("23.976 on the pal vcd: pal has none") << film(r, 6, false, 23.976) << unread(6, false);
    QTest::newRow("25 on the pal vcd: its own rate") << film(r, 6, false, 25.0) << unread(6, false);
    QTest::newRow("25 on gba as designed") << film(r, 0, false, 25.0)
        << R"(ffmpeg -y -i "movie.avi" -r 30000/1001 -vf scale=240:160,pad=240:160:0:0,setsar=1 -c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "movie.mp4")";
    QTest::newRow("25 on gba, best quality") << film(r, 0, true, 25.0) << unread(0, true, "-r 30000/1001", "-r 25");
    QTest::newRow("23.976 on psp, best quality: it plays 29.97") << film(r, 2, true, 23.976) << unread(2, true);
    QTest::newRow("23.976 on the designed vcd as designed") << film(r, 4, false, 23.976) << unread(4, false);
    QTest::newRow("23.976 on the designed vcd, best quality")
        << film(r, 4, true, 23.976) << unread(4, true, "-vcd", "-vcd -r 24000/1001");
    r.bestQuality = false;
    // The kept picture of a 4:3 show in a 16:9 frame fills the 4:3 screen.
    r.width = "1920";
    r.height = "1080";
    r.preset = 2;
    r.outputPath = "movie.mp4";
    r.crop = {zvm::CropMode::Rect, 1440, 1080, 240, 0};
    QTest::newRow("crop before the scale")
        << r
        << R"(ffmpeg -y -i "movie.avi" -r 15000/1001 -vf crop=1440:1080:240:0,scale=320:240,pad=320:240:0:0,setsar=1 -c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "movie.mp4")";
    r.crop.mode = zvm::CropMode::Auto;
    QTest::newRow("unresolved automatic crop is none")
        << r
        << R"(ffmpeg -y -i "movie.avi" -r 15000/1001 -vf scale=320:180,pad=320:240:0:30,setsar=1 -c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "movie.mp4")";
    r.crop = {zvm::CropMode::Rect, 1440, 1080, 240, 0};
    r.deinterlace = zvm::DeinterlaceMode::On;
    r.cutStart = 5.5;
    r.subtitles = {zvm::SubtitleMode::File, "movie.srt", -1, 0};
    QTest::newRow("whole chain in order")
        << r
        << R"(ffmpeg -y -ss 5.5 -i "movie.avi" -r 15000/1001 -vf "setpts=PTS+5.5/TB,bwdif=mode=send_frame,crop=1440:1080:240:0,subtitles=filename=\'movie.srt\':force_style=\'Fontsize=24\',setpts=PTS-STARTPTS,scale=320:240,pad=320:240:0:0,setsar=1" -c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "movie.mp4")";
    r = WorkedRequest(0, MovieType::LiveAction, "640", "480");
    r.encoderPath = "ffmpeg";
    r.sourceVideo = "movie.avi";
    r.outputPath = "movie.mp4";
    r.audio.track = 1;
    QTest::newRow("sound stream mapped")
        << r
        << R"(ffmpeg -y -i "movie.avi" -map 0:v:0 -map 0:a:1 -r 30000/1001 -vf scale=214:160,pad=240:160:14:0,setsar=1 -c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "movie.mp4")";
    r.audio = {{"eng"}, -1};
    QTest::newRow("unresolved language list is the encoder's choice")
        << r
        << R"(ffmpeg -y -i "movie.avi" -r 30000/1001 -vf scale=214:160,pad=240:160:14:0,setsar=1 -c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "movie.mp4")";
}

// Names the encoder would take for an option or a protocol get "./"; every other name is kept.
void TestGenerate::fileArguments_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("argument");
    const QStringList kept{"movie.avi",       "/videos/-x:y.mp4",  "videos/a:b.mp4", "my clip: one.mp4",
                           R"(C:\video\movie.avi)", "http://host/v.mp4", "x://host/v.mp4",
                           "subfile,notes.mp4", ""};
    for (const QString& name : kept) {
        QTest::newRow(qPrintable("kept: " + name)) << name << name;
    }
    QTest::newRow("a lone dash") << "-" << "./-";
    QTest::newRow("option-like") << "-dash.mkv" << "./-dash.mkv";
    QTest::newRow("episode with a colon") << "S01E01:Pilot.mp4" << "./S01E01:Pilot.mp4";
    QTest::newRow("pipe protocol") << "pipe:x.mp4" << "./pipe:x.mp4";
    QTest::newRow("file protocol") << "file:x.mp4" << "./file:x.mp4";
    QTest::newRow("one letter") << "a:b.mp4" << "./a:b.mp4";
    QTest::newRow("a colon first") << ":x.mp4" << "./:x.mp4";
    QTest::newRow("a drive letter with a slash") << "C:/v.mp4" << "./C:/v.mp4";
    QTest::newRow("subfile") << "subfile,,start,0,end,0,,:other.mp4" << "./subfile,,start,0,end,0,,:other.mp4";
}

void TestGenerate::fileArguments() {
    QFETCH(QString, name);
    QFETCH(QString, argument);
    QCOMPARE(QString::fromStdString(zvm::FileArgument(name.toStdString())), argument);
    if (name.isEmpty()) {
        return; // Generate refuses an empty name before writing anything
    }
    ConversionRequest r = WorkedRequest(0, MovieType::LiveAction, "640", "480");
    r.sourceVideo = r.outputPath = name.toStdString(); // both places a command names a file
    for (const CommandStyle style : {CommandStyle::Classic, CommandStyle::Modern}) {
        const QString command = CommandOf(r, style);
        QCOMPARE(command.count("\"" + argument + "\""), 2);
    }
    // The two-pass log, named after the output as --print names it.
    const auto passes = zvm::PassSteps(CommandOf(r, CommandStyle::Modern).toStdString(), r.outputPath, true, r.outputPath);
    QCOMPARE(passes.size(), 2u);
    QVERIFY(QString::fromStdString(passes[1]).contains("-passlogfile \"" + argument + "\""));
}

// Subtitles are drawn before the scale and pad, at a size given in target pixels, with every name
// escaped for both of the filter parser's levels; the designed commands stay as they are without them.
void TestGenerate::subtitles_data() {
    QTest::addColumn<QString>("choice"); // none, auto, file:NAME, stream:N, then "classic" for that form
    QTest::addColumn<int>("size");
    QTest::addColumn<double>("cut"); // the cut's start; 0: none
    QTest::addColumn<QString>("filter"); // before the scale and pad; "refused: ..." for a refusal
    QTest::newRow("none") << "none" << 0 << 0.0 << "";
    QTest::newRow("auto unresolved draws nothing") << "auto" << 12 << 0.0 << "";
    QTest::newRow("none with a cut") << "none" << 0 << 5.5 << "";
    // 160 lines: 13 pixels are 13 288ths of the new height 160.
    QTest::newRow("beside, chosen size") << "file:movie.srt" << 0 << 0.0
                                         << R"(subtitles=filename=\'movie.srt\':force_style=\'Fontsize=23\')";
    QTest::newRow("picked, own size") << "file:/subs/movie.vtt" << 20 << 0.0
                                      << R"(subtitles=filename=\'/subs/movie.vtt\':force_style=\'Fontsize=36\')";
    QTest::newRow("ass keeps its styles") << "file:movie.ASS" << 0 << 0.0 << R"(subtitles=filename=\'movie.ASS\')";
    QTest::newRow("ass with a size") << "file:movie.ssa" << 16 << 0.0
                                     << R"(subtitles=filename=\'movie.ssa\':force_style=\'Fontsize=29\')";
    QTest::newRow("stream") << "stream:1" << 0 << 0.0
                            << R"(subtitles=filename=\'movie.avi\':si=1:force_style=\'Fontsize=23\')";
    QTest::newRow("cut") << "file:movie.srt" << 0 << 5.5
                         << R"(setpts=PTS+5.5/TB,subtitles=filename=\'movie.srt\':force_style=\'Fontsize=23\',setpts=PTS-STARTPTS)";
    QTest::newRow("hostile name") << R"(file:it's a: [x], ok; \y.srt)" << 0 << 0.0
                                  << R"(subtitles=filename=\'it\'\\\'\'s a: \[x\]\, ok\; \\y.srt\':force_style=\'Fontsize=23\')";
    QTest::newRow("colon before the first slash") << "file:S01E01:x/a.srt" << 0 << 0.0
                                                  << R"(subtitles=filename=\'./S01E01:x/a.srt\':force_style=\'Fontsize=23\')";
    QTest::newRow("classic form") << "file:movie.srt classic" << 0 << 0.0 << "refused: Burned-in subtitles need";
    QTest::newRow("double quote") << R"(file:a"b.srt)" << 0 << 0.0 << "refused: The subtitle file must";
    QTest::newRow("no stream") << "stream:-1" << 0 << 0.0 << "refused: Choose which subtitle stream";
    QTest::newRow("size too large") << "file:movie.srt" << 201 << 0.0 << "refused: The subtitle size";
}

void TestGenerate::subtitles() {
    QFETCH(QString, choice);
    QFETCH(int, size);
    QFETCH(double, cut);
    QFETCH(QString, filter);
    ConversionRequest r = ValidRequest();
    r.sourceVideo = "movie.avi";
    if (cut > 0) {
        r.cutStart = cut;
    }
    const ConversionRequest plain = r; // the same cut, without subtitles
    const bool classic = choice.endsWith(" classic");
    const CommandStyle style = classic ? CommandStyle::Classic : CommandStyle::Modern;
    const QString chosen = classic ? choice.chopped(8) : choice;
    const QString what = chosen.section(':', 0, 0);
    const QString value = chosen.section(':', 1);
    const std::map<QString, zvm::SubtitleMode> modes{{"none", zvm::SubtitleMode::None},
                                                     {"auto", zvm::SubtitleMode::Auto},
                                                     {"file", zvm::SubtitleMode::File},
                                                     {"stream", zvm::SubtitleMode::Stream}};
    QVERIFY2(modes.contains(what), qPrintable("unknown choice " + what));
    r.subtitles = {modes.at(what), what == "file" ? value.toStdString() : "", what == "stream" ? value.toInt() : -1,
                   size};
    const auto outcome = zvm::Generate(r, style);
    if (filter.startsWith("refused: ")) {
        QVERIFY(!outcome.ok());
        QVERIFY(QString::fromStdString(outcome.status().message()).startsWith(filter.mid(9)));
        return;
    }
    const GenerateResult result = outcome.value();
    const QString command = QString::fromStdString(*result.command);
    if (filter.isEmpty()) { // the designed commands, byte for byte, in both forms
        QCOMPARE(command, CommandOf(plain, style));
        return;
    }
    const QString scaled = QString::fromStdString(zvm::ScaleAndPadFilter(result.geometry));
    QCOMPARE(QString::fromStdString(zvm::SubtitleFilter(r, result.geometry)), filter);
    // The whole filter is one quoted word between the options around it.
    QCOMPARE(command, CommandOf(plain, style).replace(" -vf " + scaled + " ", " -vf \"" + filter + "," + scaled + "\" "));
}

// Values the designed checks let through but no encoder can use; the unattended runs refuse them.
void TestGenerate::encodableValues_data() {
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("field"); // "video", "audio", "rate" or "size"
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("refusal"); // empty: usable
    QTest::newRow("the worked values") << 0 << "video" << "256" << "";
    QTest::newRow("a high bitrate") << 0 << "video" << "100000" << "";
    const char* const unusable[][2] = {{"video", "-5"},   {"video", "0"},     {"video", "1e308"},
                                       {"video", "1e-320"}, {"audio", "0"},  {"audio", "2000"},
                                       {"rate", "-44100"}, {"rate", "1e-320"}, {"rate", "4000"}};
    for (const auto& [field, value] : unusable) {
        QTest::addRow("%s %s", field, value) << 0 << field << value << "must be between";
    }
    // The VCD row writes its own audio values, which are usable whatever the boxes held.
    QTest::newRow("vcd overwrites the audio") << 4 << "audio" << "0" << "";
    QTest::newRow("a sliver of a picture") << 0 << "size" << "1e300x1" << "240x0 pixels";
    QTest::newRow("a tall sliver") << 0 << "size" << "1x1e300" << "0x160 pixels";
    QTest::newRow("the smallest picture") << 0 << "size" << "240x2" << "";
}

void TestGenerate::encodableValues() {
    QFETCH(int, preset);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, refusal);
    ConversionRequest r = WorkedRequest(preset, MovieType::LiveAction, "640", "480");
    const std::string text = value.toStdString();
    if (field == "video") {
        r.videoBitrate = text;
    } else if (field == "audio") {
        r.audioBitrate = text;
    } else if (field == "rate") {
        r.sampleRate = text;
    } else if (field == "size") {
        r.width = value.section('x', 0, 0).toStdString();
        r.height = value.section('x', 1, 1).toStdString();
    } else {
        QFAIL(qPrintable("unknown field " + field));
    }
    const zvm::Status status = zvm::CheckEncodable(Built(r));
    QCOMPARE(status.ok(), refusal.isEmpty());
    QVERIFY2(QString::fromStdString(status.text()).contains(refusal), status.text().c_str());
    if (!refusal.isEmpty() && field != "size") {
        QVERIFY(status.text().ends_with(", not " + text)); // the message names what was given
    }
}

void TestGenerate::modernCommands() {
    QFETCH(ConversionRequest, request);
    QFETCH(QString, command);
    QCOMPARE(CommandOf(request, CommandStyle::Modern), command);
    // The style changes only the text: the request changes are the same as the classic form's. The
    // classic form refuses what its options cannot do.
    const bool classicCan = request.crop.mode != zvm::CropMode::Rect && request.audio.track < 0 &&
                            request.deinterlace != zvm::DeinterlaceMode::On && request.subtitles.mode == zvm::SubtitleMode::None &&
                            !zvm::BestQualityApplies(request);
    QCOMPARE(zvm::Generate(request).ok(), classicCan);
    if (classicCan) {
        QCOMPARE(Built(request, CommandStyle::Modern).request, Built(request).request);
    }
}

void TestGenerate::formDecision_data() {
    QTest::addColumn<zvm::FormChoice>("choice");
    QTest::addColumn<zvm::EncoderAnswer>("answer");
    QTest::addColumn<CommandStyle>("style");
    QTest::addColumn<QString>("because");
    using zvm::EncoderAnswer;
    using zvm::FormChoice;
    const std::pair<EncoderAnswer, const char*> answers[] = {
        {EncoderAnswer::Accepts, "accepts"}, {EncoderAnswer::Rejects, "rejects"}, {EncoderAnswer::Unknown, "unknown"}};
    for (const auto& [answer, name] : answers) {
        QTest::addRow("modern, %s", name) << FormChoice::Modern << answer << CommandStyle::Modern << "chosen by you";
        QTest::addRow("classic, %s", name) << FormChoice::Classic << answer << CommandStyle::Classic << "chosen by you";
    }
    QTest::newRow("auto, accepts") << FormChoice::Automatic << EncoderAnswer::Accepts << CommandStyle::Classic
                                   << "accepts the classic options";
    QTest::newRow("auto, rejects") << FormChoice::Automatic << EncoderAnswer::Rejects << CommandStyle::Modern
                                   << "rejects the classic options";
    QTest::newRow("auto, cannot be asked") << FormChoice::Automatic << EncoderAnswer::Unknown
                                           << CommandStyle::Classic << "could not be asked";
}

void TestGenerate::formDecision() {
    QFETCH(zvm::FormChoice, choice);
    QFETCH(zvm::EncoderAnswer, answer);
    QFETCH(CommandStyle, style);
    QFETCH(QString, because);
    const zvm::FormDecision decision = zvm::DecideForm(choice, answer);
    QCOMPARE(decision.style, style);
    QVERIFY(QString::fromStdString(decision.reason).contains(because));
    QCOMPARE(zvm::FormFromWord(zvm::FormWord(choice)), std::optional(choice)); // one vocabulary, both ways
}

void TestGenerate::outputNames_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::newRow("mp4 row") << "/v/clip.avi" << 0 << "" << "/v/clip.mp4";
    QTest::newRow("vcd row") << "/v/clip.avi" << 4 << "" << "/v/clip.mpg";
    QTest::newRow("no ending") << "/v/clip" << 3 << "" << "/v/clip.mp4";
    QTest::newRow("only the last ending goes") << "/v/a.b.mkv" << 1 << "" << "/v/a.b.mp4";
    QTest::newRow("dot in a folder name") << "/v.d/clip" << 2 << "" << "/v.d/clip.mp4";
    QTest::newRow("hidden file") << "/v/.clip" << 0 << "" << "/v/.clip.mp4";
    QTest::newRow("already the target ending") << "/v/clip.mp4" << 0 << "" << "/v/clip-converted.mp4";
    QTest::newRow("vcd source for the vcd row") << "clip.mpg" << 4 << "" << "clip-converted.mpg";
    QTest::newRow("into another folder") << "/v/clip.mp4" << 0 << "/out" << "/out/clip.mp4";
    QTest::newRow("folder with its slash") << "/v/clip.avi" << 0 << "/out/" << "/out/clip.mp4";
    QTest::newRow("a row the list lacks: no name") << "/v/clip.avi" << 99 << ""
                                                   << "";
}

void TestGenerate::outputNames() {
    QFETCH(QString, source);
    QFETCH(int, preset);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QCOMPARE(QString::fromStdString(zvm::SuggestOutputName(source.toStdString(), preset, folder.toStdString())),
             name);
}

void TestGenerate::outputChecks_data() {
    QTest::addColumn<int>("preset");
    QTest::addColumn<CommandStyle>("style");
    QTest::addColumn<QString>("change"); // what differs in the file from what the command asked for
    QTest::addColumn<QString>("words");  // the differences; empty when the file fits
    QTest::addColumn<int>("over");       // the video bitrate's percent over the request; -1 within bounds
    QTest::newRow("fits, modern") << 3 << CommandStyle::Modern << "" << "" << -1;
    QTest::newRow("fits, classic 29.971") << 3 << CommandStyle::Classic << "" << "" << -1;
    QTest::newRow("vcd fits") << 4 << CommandStyle::Modern << "" << "" << -1;
    QTest::newRow("wrong height") << 3 << CommandStyle::Modern << "height" << "height 240, expected 208" << -1;
    QTest::newRow("vcd at 25 fps") << 4 << CommandStyle::Classic << "pal"
                                   << "frame rate 25 fps, expected 29.971 fps" << -1;
    QTest::newRow("a silent source gives a silent file") << 3 << CommandStyle::Modern << "silent source"
                                                         << "duration 8.5 s, expected 10 s" << -1;
    QTest::newRow("no audio, short") << 3 << CommandStyle::Modern << "no audio"
                                     << "no audio codec, expected aac; no sample rate, expected 24000 Hz; "
                                        "no channels, expected 2; duration 8.5 s, expected 10 s" << -1;
    // MPEG-1 keeps 10:11 as its nearest code, 200:219; a square-pixel file is squeezed on the TV.
    QTest::newRow("vcd for a tv, as mpeg-1 stores it") << 7 << CommandStyle::Modern << "200:219" << "" << -1;
    QTest::newRow("vcd for a tv, square pixels") << 7 << CommandStyle::Modern << "square"
                                                 << "pixel aspect 1, expected 0.909091" << -1;
    QTest::newRow("h264 keeps a 25 fps source") << 5 << CommandStyle::Modern << "25 fps, source 25" << "" << -1;
    QTest::newRow("h264 25 fps of an unknown source") << 5 << CommandStyle::Modern << "25 fps" << "" << -1;
    QTest::newRow("h264 duplicates a 25 fps source") << 5 << CommandStyle::Modern << "source 25"
                                                     << "frame rate 29.97 fps, expected 25 fps" << -1;
    QTest::newRow("h264 above its rate") << 5 << CommandStyle::Modern << "50 fps" << "frame rate 50 fps, expected 29.97 fps"
                                         << -1;
    QTest::newRow("video 15% over is within") << 3 << CommandStyle::Modern << "video 294" << "" << -1;
    QTest::newRow("video 47% over") << 5 << CommandStyle::Modern << "video 377" << "" << 47;
    // A cut's file is held to the part kept: two frames and the audio's last frame, not a second.
    QTest::newRow("cut, two frames over") << 3 << CommandStyle::Modern << "cut 1.5-8.75, lasts 7.3" << "" << -1;
    QTest::newRow("cut at 15 fps, two frames and a half over")
        << 2 << CommandStyle::Modern << "cut 1.5-8.75, lasts 7.41, 15 fps" << "" << -1;
    QTest::newRow("cut, half a second over") << 3 << CommandStyle::Modern << "cut 1.5-8.75, lasts 7.75"
                                             << "duration 7.75 s, expected 7.25 s" << -1;
    QTest::newRow("cut not made: the whole source") << 3 << CommandStyle::Modern << "cut 1.5-8.75"
                                                    << "duration 10.4 s, expected 7.25 s" << -1;
    QTest::newRow("cut from the start only") << 3 << CommandStyle::Modern << "cut 4-, lasts 6.9" << "" << -1;
    // An end past the source's end keeps the rest, as exactly as the source's own duration is known.
    QTest::newRow("cut ending past the source") << 3 << CommandStyle::Modern << "cut 4-30, lasts 6.9" << "" << -1;
}

void TestGenerate::outputChecks() {
    QFETCH(int, preset);
    QFETCH(CommandStyle, style);
    QFETCH(QString, change);
    QFETCH(QString, words);
    QFETCH(int, over);
    zvm::OutputTarget target = *zvm::TargetFor(WorkedRequest(preset, MovieType::LiveAction, "4", "3"), style);
    zvm::ProbedOutput file{target.width, target.height, target.videoCodec, 30000.0 / 1001, target.audioCodec,
                           target.sampleRate, 2, 10.4, std::nullopt, std::nullopt, std::nullopt, std::nullopt, {}, std::nullopt, {}};
    zvm::SourceFacts source{10.0, change != "silent source", std::nullopt};
    for (const QString& part : change.split(", ", Qt::SkipEmptyParts)) {
        if (part == "height") {
            file.height = 240;
        } else if (part == "pal" || part == "25 fps" || part == "50 fps") {
            file.frameRate = part == "50 fps" ? 50 : 25;
        } else if (part == "source 25") {
            source.frameRate = 25;
        } else if (part == "200:219" || part == "square") {
            file.pixelAspect = part == "square" ? 1.0 : 200.0 / 219;
        } else if (part.startsWith("video ")) {
            file.videoBitrate = part.mid(6).toDouble();
        } else if (part.startsWith("cut ")) {
            const QStringList ends = part.mid(4).split('-');
            target.cutStart = ends[0].toDouble();
            target.cutEnd = ends.value(1).isEmpty() ? std::nullopt : std::optional(ends[1].toDouble());
        } else if (part.startsWith("lasts ")) {
            file.duration = part.mid(6).toDouble();
        } else if (part == "15 fps") {
            target.frameRate = 15000.0 / 1001;
            file.frameRate = target.frameRate;
        } else if (part == "no audio" || part == "silent source") {
            file.audioCodec.clear();
            file.sampleRate.reset();
            file.channels.reset();
            file.duration = 8.5;
        } else {
            QFAIL(qPrintable("unknown change " + part));
        }
    }
    QStringList differences;
    for (const zvm::Difference& d : zvm::Differences(target, file, source)) {
        const QString found = QString::fromStdString(d.found);
        differences << (found.isEmpty() ? "no " : "") + QString::fromStdString(d.what) +
                           (found.isEmpty() ? "" : " " + found) + ", expected " + QString::fromStdString(d.expected);
    }
    QCOMPARE(differences.join("; "), words);
    QCOMPARE(zvm::VideoBitrateOver(target, file).value_or(-1), over);
}

// Readings as the media worker gives them (codec, profile, level, size, rate, video kbit/s, audio codec,
// rate, channels, audio kbit/s, brand, and read through the file: declared references, B-frames 1/0,
// kbit in the fullest second, index first 1/0; "-" or left off for what it did not read) against the
// target's player.
void TestGenerate::deviceLimits_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QString>("verdict"); // held/checked, then each limit not held; empty: no limits known
    QTest::newRow("psp h264 at level 3.0") << "psp-480x272" << "h264 Main 30 480x272 29.97 250 aac 24000 2 33 MSNV"
                                           << "9/10; level 3.0 (2.1)";
    QTest::newRow("psp h264 at level 2.1") << "psp-480x272" << "h264 Main 21 480x272 25 250 aac 48000 2 33 MSNV"
                                           << "10/10";
    QTest::newRow("psp h264 as plain mp4, above 30 fps")
        << "psp-480x272" << "h264 High 21 480x272 50 250 aac 24000 2 33 isom"
        << "7/10; profile High (Main); frame rate 50 fps (30 fps); brand isom (MSNV)";
    QTest::newRow("psp h264 without sound") << "psp-480x272" << "h264 Main 21 480x272 29.97 250 - - - - MSNV"
                                            << "6/7; sound stream  ()";
    QTest::newRow("psp mpeg-4, designed") << "psp-320x240" << "mpeg4 Simple_Profile 1 320x240 29.97 300 aac 24000 2 33 isom"
                                          << "9/9";
    QTest::newRow("psp mpeg-4 over 768 kbit/s") << "psp-368x208"
                                                << "mpeg4 Simple_Profile 1 368x208 14.985 820 aac 24000 2 33 isom"
                                                << "8/9; video bitrate 820 kbit/s (768 kbit/s)";
    QTest::newRow("psp mpeg-4 film, 44.1 kHz, odd size")
        << "psp-320x240" << "mpeg4 - - 318x240 23.976 256 aac 44100 2 33 -"
        << "5/8; picture size 318x240 (); frame rate 23.98 fps (29.97, 14.99 fps); sample rate 44100 Hz (24000 Hz)";
    QTest::newRow("psp h264 as written, read through")
        << "psp-480x272" << "h264 Main 21 480x272 29.97 250 aac 48000 2 33 MSNV 2 1 700 1" << "13/13";
    QTest::newRow("psp h264 with b-pyramid's references")
        << "psp-480x272" << "h264 Main 21 480x272 29.97 250 aac 48000 2 33 MSNV 4 1 700 1"
        << "12/13; reference frames 4 (2)";
    QTest::newRow("psp mpeg-4 bursting, index last")
        << "psp-320x240" << "mpeg4 Simple_Profile 1 320x240 29.97 300 aac 24000 2 33 isom - 0 1810.4 0"
        << "10/12; video bitrate in its fullest second 1810 kbit/s (768 kbit/s); index before the data  ()";
    QTest::newRow("psp mpeg-4 with b-frames") << "psp-368x208"
                                              << "mpeg4 Simple_Profile 1 368x208 29.97 300 aac 24000 2 33 isom - 1 700 1"
                                              << "11/12; B-frames  ()";
    QTest::newRow("vcd, a burst its buffer holds")
        << "vcd-352x240" << "mpeg1video - - 352x240 29.97 1150 mp2 44100 2 192 - - 1 1470 -" << "8/8";
    QTest::newRow("vcd, a burst beyond its buffer")
        << "vcd-pal-352x288" << "mpeg1video - - 352x288 25 1150 mp2 44100 2 192 - - - 1500 -"
        << "7/8; video bitrate in its fullest second 1500 kbit/s (1480 kbit/s)";
    QTest::newRow("ipod with b-frames") << "ipod-320x240"
                                        << "h264 Constrained_Baseline 30 320x240 29.97 300 aac 24000 2 33 isom 1 1 700 1"
                                        << "11/12; B-frames  ()";
    QTest::newRow("vcd, designed") << "vcd-352x240" << "mpeg1video - - 352x240 29.97 1150 mp2 44100 2 192 -" << "7/7";
    QTest::newRow("vcd pal at the ntsc rate, 160 kbit/s sound")
        << "vcd-pal-352x288" << "mpeg1video - - 352x288 29.97 1150 mp2 44100 2 160 -"
        << "5/7; frame rate 29.97 fps (25, 24 fps); audio bitrate 160 kbit/s (128, 192, 224, 384 kbit/s)";
    QTest::newRow("ipod, constrained baseline") << "ipod-320x240"
                                                << "h264 Constrained_Baseline 30 320x240 29.97 300 aac 24000 2 33 isom"
                                                << "9/9";
    QTest::newRow("ipod, main at 3.1") << "ipod-320x240" << "h264 Main 31 320x240 29.97 900 aac 24000 2 33 isom"
                                       << "6/9; profile Main (Baseline); level 3.1 (3.0); video bitrate 900 kbit/s (768 kbit/s)";
    QTest::newRow("amv at 15 fps") << "amv-208x176" << "amv - - 208x176 15 - adpcm_ima_amv 22050 1 - -"
                                   << "6/7; frame rate 15 fps (10, 12, 16 fps)";
    QTest::newRow("amv without sound, too large") << "amv-160x112" << "amv - - 320x240 10 - - - - - -"
                                                  << "2/4; pixels per frame 76800 (36608); sound stream  ()";
    QTest::newRow("raw frames") << "mcu-160x128" << "rawvideo - - 160x128 15 - - - - - -" << "1/1";
    QTest::newRow("vita: no limits stored") << "vita-960x544" << "h264 Main 31 960x544 29.97 900 aac 24000 2 33 isom"
                                            << "";
    QTest::newRow("gba: no player known") << "gba-240x160" << "mpeg4 Simple_Profile 1 240x160 29.97 256 aac 24000 2 33 isom"
                                          << "";
}

void TestGenerate::deviceLimits() {
    QFETCH(QString, target);
    QFETCH(QString, reading);
    QFETCH(QString, verdict);
    const zvm::TargetPreset& preset = *zvm::FindPreset(*zvm::PresetByName(target.toStdString()));
    const std::optional<zvm::DeviceLimits> limits = zvm::LimitsFor(preset);
    QCOMPARE(limits.has_value(), !verdict.isEmpty());
    QVERIFY(zvm::BuiltInLimits(preset.name) != nullptr); // every built-in row has its entry, a note at least
    if (!limits) {
        return;
    }
    QStringList f = reading.split(' ');
    QVERIFY(f.size() == 11 || f.size() == 15);
    f.resize(15, "-");
    const auto text = [&](int i) { return f[i] == "-" ? std::string() : f[i].toStdString(); };
    const auto number = [&](int i) { return f[i] == "-" ? std::nullopt : std::optional(f[i].toDouble()); };
    const auto flag = [&](int i) { return number(i) ? std::optional(*number(i) == 1) : std::nullopt; };
    zvm::ProbedOutput file;
    file.videoCodec = text(0);
    file.videoProfile = QString::fromStdString(text(1)).replace('_', ' ').toStdString();
    file.videoLevel = number(2) ? std::optional(int(*number(2))) : std::nullopt;
    if (f[3] != "-") {
        file.width = f[3].section('x', 0, 0).toInt();
        file.height = f[3].section('x', 1, 1).toInt();
    }
    file.frameRate = number(4);
    file.videoBitrate = number(5);
    file.audioCodec = text(6);
    file.sampleRate = number(7);
    file.channels = number(8) ? std::optional(int(*number(8))) : std::nullopt;
    file.audioBitrate = number(9);
    file.brand = text(10);
    file.referenceFrames = number(11) ? std::optional(int(*number(11))) : std::nullopt;
    file.bFrames = flag(12);
    file.peakVideoBitrate = number(13);
    file.indexFirst = flag(14);
    const zvm::LimitVerdict got = zvm::CheckLimits(*limits, file);
    QStringList words{QString("%1/%2").arg(got.checked - qsizetype(got.missed.size())).arg(got.checked)};
    for (const zvm::LimitMiss& miss : got.missed) {
        words << QString::fromStdString(miss.what + " " + miss.found + " (" + miss.allowed + ")");
    }
    QCOMPARE(words.join("; "), verdict);
}

// How a time is typed: each spelling's seconds, or what is wrong with it; what is read back from the
// texts the program writes is the same time.
void TestGenerate::cutTimes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("seconds"); // the time read; -1 when refused
    QTest::addColumn<QString>("refusal");
    const std::pair<const char*, double> good[] = {
        {"90", 90},         {"12.5", 12.5},           {" 7 ", 7},      {".5", 0.5},
        {"3.", 3},          {"0", 0},                 {"2:05", 125},   {"0:59.999", 59.999},
        {"1:02:03.250", 3723.25}, {"1:2:3", 3723},    {"90:00", 5400}, {"12.0004", 12},
        {"12.0005", 12.001}, {"100:00:00", 360000},   {"007", 7},
    };
    for (const auto& [text, seconds] : good) {
        QTest::addRow("'%s'", text) << text << seconds << "";
    }
    const std::pair<const char*, const char*> bad[] = {
        {"", "is not a time"},         {"abc", "is not a time"},     {"1,5", "is not a time"},
        {"1e3", "is not a time"},      {"+5", "is not a time"},      {"12.5.1", "is not a time"},
        {"1:2:3:4", "is not a time"},  {":30", "is not a time"},     {"1:", "is not a time"},
        {"1: 30", "is not a time"},    {"1:-30", "is not a time"},   {"0x10", "is not a time"},
        {"inf", "is not a time"},      {"99999999999", "is not a time"}, {"-5", "cannot be negative"},
        {"-1:00", "cannot be negative"}, {"1:60", "below 60"},       {"1:60:00", "below 60"},
        {"2:05:60.5", "below 60"},
    };
    for (const auto& [text, refusal] : bad) {
        QTest::addRow("'%s' refused", text) << text << -1.0 << refusal;
    }
}

void TestGenerate::cutTimes() {
    QFETCH(QString, text);
    QFETCH(double, seconds);
    QFETCH(QString, refusal);
    const zvm::Result<double> read = zvm::ParseCutTime(text.toStdString());
    QCOMPARE(read.ok(), refusal.isEmpty());
    if (!read.ok()) {
        const QString message = QString::fromStdString(read.status().text());
        QVERIFY2(message.contains(refusal) && message.contains(text), qPrintable(message)); // names what was given
        return;
    }
    QCOMPARE(read.value(), seconds);
    for (const std::string& written : {zvm::CutClockText(seconds), zvm::CutSecondsText(seconds)}) {
        const zvm::Result<double> back = zvm::ParseCutTime(written);
        QVERIFY2(back.ok() && back.value() == seconds, written.c_str());
    }
}

// Where a cut stands in each form's command, what it keeps of a source, and which cuts are refused.
void TestGenerate::cutCommands_data() {
    QTest::addColumn<QString>("start"); // as typed; empty: none
    QTest::addColumn<QString>("end");
    QTest::addColumn<double>("duration"); // the source's; -1 unknown
    QTest::addColumn<QString>("options"); // between "-y " and "-i", or the refusal
    QTest::addColumn<double>("kept");     // -1: not known
    QTest::newRow("no cut") << "" << "" << 60.0 << "" << 60.0;
    QTest::newRow("both ends") << "5.5" << "12.75" << 60.0 << "-ss 5.5 -t 7.25 " << 7.25;
    QTest::newRow("clock spellings") << "1:02:03.250" << "1:03:00" << -1.0 << "-ss 3723.25 -t 56.75 " << 56.75;
    QTest::newRow("the end only") << "" << "0:30" << 60.0 << "-t 30 " << 30.0;
    QTest::newRow("the start only") << "45" << "" << 60.0 << "-ss 45 " << 15.0;
    QTest::newRow("the start only, duration unknown") << "45" << "" << -1.0 << "-ss 45 " << -1.0;
    QTest::newRow("a start at 0 seeks nothing") << "0" << "10" << 60.0 << "-t 10 " << 10.0;
    QTest::newRow("an end past the source keeps the rest") << "50" << "1:10" << 60.0 << "-ss 50 -t 20 " << 10.0;
    QTest::newRow("the end before the start") << "12" << "5" << 60.0 << "must end after it starts: 0:12 - 0:05"
                                              << -1.0;
    QTest::newRow("the end at the start") << "1:00.5" << "60.5" << 60.0 << "must end after it starts" << -1.0;
    QTest::newRow("an end of 0") << "" << "0" << -1.0 << "must end after it starts: 0:00 - 0:00" << -1.0;
    QTest::newRow("an end under a millisecond") << "" << "0.0004" << 60.0 << "must end after it starts" << -1.0;
    QTest::newRow("the start past the source") << "61" << "" << 60.0 << "after the video's end: 1:01 > 1:00"
                                               << -1.0;
    QTest::newRow("the start at the source's end") << "60" << "70" << 60.0 << "after the video's end" << -1.0;
}

void TestGenerate::cutCommands() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(double, duration);
    QFETCH(QString, options);
    QFETCH(double, kept);
    ConversionRequest r = WorkedRequest(0, MovieType::LiveAction, "640", "480");
    r.encoderPath = "ffmpeg";
    for (const auto& [text, field] : {std::pair(start, &r.cutStart), std::pair(end, &r.cutEnd)}) {
        if (!text.isEmpty()) {
            const zvm::Result<double> time = zvm::ParseCutTime(text.toStdString());
            QVERIFY2(time.ok(), qPrintable("not a time: " + text));
            *field = time.value();
        }
    }
    const std::optional<double> known = duration < 0 ? std::nullopt : std::optional(duration);
    const zvm::Status checked = zvm::CheckCut(r, known);
    const bool refused = options.contains(' ') && !options.startsWith('-');
    QCOMPARE(!checked.ok(), refused);
    if (refused) {
        QVERIFY2(QString::fromStdString(checked.text()).contains(options), checked.text().c_str());
        return;
    }
    QCOMPARE(zvm::KeptSeconds(r.cutStart, r.cutEnd, known).value_or(-1), kept);
    // Every form seeks the input the same way; no cut leaves each command exactly as designed.
    for (int preset : {0, 4, 5}) {
        r.preset = preset;
        for (const CommandStyle style : {CommandStyle::Classic, CommandStyle::Modern}) {
            const QString command = CommandOf(r, style);
            QVERIFY2(command.startsWith("ffmpeg -y " + options + "-i \"C:"), qPrintable(command));
            const zvm::Status encodable = zvm::CheckEncodable(Built(r, style));
            QVERIFY2(encodable.ok(), encodable.text().c_str());
        }
    }
    if (r.cutEnd && r.cutStart && *r.cutEnd > *r.cutStart) {
        std::swap(r.cutStart, r.cutEnd); // the unattended runs refuse it without a duration too
        QVERIFY(QString::fromStdString(zvm::CheckEncodable(Built(r)).text()).contains("must end after it starts"));
    }
}

// Bitrates worked by hand: MB x 8000 x 0.97 / kept seconds - audio, in whole kbit/s below; floors
// as pixels x frame rate x 0.04 (MPEG-4) or 0.025 (H.264) bits.
void TestGenerate::fileSizes_data() {
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("change"); // "animation", "cut A-B" (either side may be empty)
    QTest::addColumn<double>("megabytes"); // 0: none asked
    QTest::addColumn<double>("source");    // 0: not known
    QTest::addColumn<QString>("outcome");  // the video bitrate, or words of the refusal
    QTest::addColumn<int>("passes");
    QTest::newRow("none asked keeps the bitrate") << 3 << "" << 0.0 << 600.0 << "256" << 1;
    QTest::newRow("psp, 10 MB for ten minutes") << 3 << "" << 10.0 << 600.0 << "97" << 2;
    QTest::newRow("psp, 9 MB is too small") << 3 << "" << 9.0 << 600.0 << "smallest size that works is 9.6 MB" << 2;
    QTest::newRow("animation has half the frames") << 3 << "animation" << 9.0 << 600.0 << "84" << 2;
    QTest::newRow("gba, 5 MB is too small") << 0 << "" << 5.0 << 600.0 << "smallest size that works is 6.2 MB" << 2;
    QTest::newRow("h264 at 480x272 needs more") << 5 << "" << 10.0 << 600.0 << "smallest size that works is 10.1 MB"
                                               << 2;
    QTest::newRow("h264, 20 MB") << 5 << "" << 20.0 << 600.0 << "226" << 2;
    QTest::newRow("a cut keeps half") << 3 << "cut 0-300" << 10.0 << 600.0 << "226" << 2;
    QTest::newRow("a cut from 100 s to the end") << 3 << "cut 100-" << 10.0 << 600.0 << "123" << 2;
    QTest::newRow("a cut's end past the source keeps only the rest") << 3 << "cut 300-900" << 10.0 << 600.0 << "226" << 2;
    QTest::newRow("a cut's end needs no duration") << 3 << "cut -300" << 10.0 << 0.0 << "226" << 2;
    QTest::newRow("no duration known") << 3 << "" << 10.0 << 0.0 << "duration, which is not known" << 2;
    QTest::newRow("a cut past the end") << 3 << "cut 700-" << 10.0 << 600.0 << "Nothing of the video is kept" << 2;
    QTest::newRow("no size at all") << 3 << "" << -1.0 << 600.0 << "above 0 MB" << 2;
    QTest::newRow("vcd sets its own bitrate") << 4 << "" << 10.0 << 600.0 << "its bitrate is fixed" << 1;
    QTest::newRow("two passes without a size") << 3 << "two passes" << 0.0 << 600.0 << "256" << 2;
}

void TestGenerate::fileSizes() {
    QFETCH(int, preset);
    QFETCH(QString, change);
    QFETCH(double, megabytes);
    QFETCH(double, source);
    QFETCH(QString, outcome);
    QFETCH(int, passes);
    ConversionRequest r = WorkedRequest(preset, MovieType::LiveAction, "640", "480");
    if (megabytes != 0) {
        r.fileSizeMB = megabytes;
    }
    if (change == "animation") {
        r.movieType = MovieType::Animation;
    } else if (change == "two passes") {
        r.twoPass = true;
    } else if (change.startsWith("cut ")) {
        const QString start = change.mid(4).section('-', 0, 0);
        const QString end = change.mid(4).section('-', 1, 1);
        r.cutStart = start.isEmpty() ? std::nullopt : std::optional(start.toDouble());
        r.cutEnd = end.isEmpty() ? std::nullopt : std::optional(end.toDouble());
    } else if (!change.isEmpty()) {
        QFAIL(qPrintable("unknown change " + change));
    }
    const std::optional<double> duration = source > 0 ? std::optional(source) : std::nullopt;
    QCOMPARE(zvm::UsesTwoPasses(r) ? 2 : 1, passes);
    ConversionRequest sized = r;
    const zvm::Status status = zvm::ApplyFileSize(sized, duration);
    if (!status.ok()) {
        QVERIFY2(QString::fromStdString(status.text()).contains(outcome), status.text().c_str());
        QCOMPARE(sized, r); // a refusal changes nothing
        if (outcome.contains("smallest")) { // the size named is taken, and gives at least the floor
            sized.fileSizeMB = std::stod(status.detail());
            QVERIFY(zvm::ApplyFileSize(sized, duration).ok());
            QVERIFY(std::stod(sized.videoBitrate) >= *zvm::VideoBitrateFloor(sized));
            sized.fileSizeMB = *sized.fileSizeMB - 0.1;
            QVERIFY(!zvm::ApplyFileSize(sized, duration).ok()); // and a tenth less is not
        }
        return;
    }
    QCOMPARE(QString::fromStdString(sized.videoBitrate), outcome);
    // The command and the after-check both take the bitrate that the size gave.
    QVERIFY(CommandOf(sized, CommandStyle::Modern).contains(" -b:v " + outcome + "k"));
    QCOMPARE(zvm::TargetFor(sized, CommandStyle::Modern)->videoBitrate, std::optional(outcome.toDouble()));
}

void TestGenerate::passSteps_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("twoPass");
    QTest::addColumn<QStringList>("steps");
    const QString head = R"(ffmpeg -y -i "in.avi" -c:v mpeg4 -b:v 97k -f mp4 )";
    QTest::newRow("one pass") << head + R"("out dir/o.mp4")" << false << QStringList{head + R"("out dir/o.mp4")"};
    QTest::newRow("two passes") << head + R"("out dir/o.mp4")" << true
                                << QStringList{head + R"(-pass 1 -passlogfile "/c/p x/pass" "/dev/null")",
                                               head + R"(-pass 2 -passlogfile "/c/p x/pass" "out dir/o.mp4")"};
    QTest::newRow("an output named as an option") << head + R"("./-o.mp4")" << true
                                                  << QStringList{head + R"(-pass 1 -passlogfile "/c/p x/pass" "/dev/null")",
                                                                 head + R"(-pass 2 -passlogfile "/c/p x/pass" "./-o.mp4")"};
    QTest::newRow("another output stays one step") << head + R"("else.mp4")" << true
                                                   << QStringList{head + R"("else.mp4")"};
}

void TestGenerate::passSteps() {
    QFETCH(QString, command);
    QFETCH(bool, twoPass);
    QFETCH(QStringList, steps);
    const QString output = QString(QTest::currentDataTag()).contains("option") ? "-o.mp4" : "out dir/o.mp4";
    QStringList made;
    for (const std::string& step :
         zvm::PassSteps(command.toStdString(), output.toStdString(), twoPass, "/c/p x/pass")) {
        made << QString::fromStdString(step);
    }
    QCOMPARE(made, steps);
}

QTEST_GUILESS_MAIN(TestGenerate)
#include "tst_generate.moc"
