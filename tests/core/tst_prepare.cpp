// One preparation for every face: what it resolves and what it refuses; its command is Generate's
// (the shared cases of tst_generate hold it to the designed commands too).
#include "tests/Requests.h"
#include "core/Cut.h"
#include "core/FileSize.h"
#include "core/Generate.h"
#include "core/PrepareRun.h"
#include "core/RunReasons.h"

#include <QTest>

using zvm::ConversionRequest;
using zvm::RunChecks;
using zvm::RunFacts;
using zvm::SubtitleMode;

Q_DECLARE_METATYPE(zvm::ConversionRequest)
Q_DECLARE_METATYPE(zvm::RunFacts)
Q_DECLARE_METATYPE(zvm::RunChecks)
Q_DECLARE_METATYPE(zvm::SubtitleMode)

class TestPrepare : public QObject {
    Q_OBJECT

private slots:
    void prepared_data();
    void prepared();
    void sourceChoices_data();
    void sourceChoices();
};

namespace {
ConversionRequest Request() {
    ConversionRequest r = ReadyRequest("/videos/clip.mkv", "/videos/clip.mp4");
    r.width = "1280";
    r.height = "720";
    r.preset = 5; // a modern row, which can draw subtitles
    return r;
}

template <class Change> ConversionRequest With(Change change) {
    ConversionRequest r = Request();
    change(r);
    return r;
}

RunFacts Facts(std::optional<double> duration, int streams = 0, std::string beside = {}) {
    RunFacts facts;
    facts.hasAudio = true;
    facts.duration = duration;
    facts.subtitleStreams = streams;
    facts.subtitleBeside = std::move(beside);
    return facts;
}
} // namespace

void TestPrepare::prepared_data() {
    QTest::addColumn<ConversionRequest>("request");
    QTest::addColumn<RunFacts>("facts");
    QTest::addColumn<RunChecks>("checks");
    QTest::addColumn<QString>("refusal"); // its English text; empty: prepared
    QTest::addColumn<SubtitleMode>("subtitles");
    QTest::addColumn<QString>("videoBitrate");
    QTest::addColumn<QString>("silentInput"); // what a silent source's command adds; empty: nothing

    const auto autoSubtitles = [](ConversionRequest& r) { r.subtitles.mode = SubtitleMode::Auto; };
    const auto u = RunChecks::Unattended;
    QTest::newRow("auto, a file beside") << With(autoSubtitles) << Facts(60, 2, "/videos/clip.srt") << u << ""
                                         << SubtitleMode::File << "256" << "";
    QTest::newRow("auto, a stream inside") << With(autoSubtitles) << Facts(60, 2) << u << "" << SubtitleMode::Stream
                                           << "256" << "";
    QTest::newRow("auto, neither") << With(autoSubtitles) << Facts(60) << u << "" << SubtitleMode::None << "256" << "";
    QTest::newRow("none stays none") << Request() << Facts(60, 2, "/videos/clip.srt") << u << ""
                                     << SubtitleMode::None << "256" << "";
    QTest::newRow("a file size makes the bitrate")
        << With([](auto& r) { r.fileSizeMB = 10.0; }) << Facts(100) << u << "" << SubtitleMode::None
        << QString::number(zvm::VideoBitrateForSize(10, 100, 32)) << "";
    QTest::newRow("the size read fills an empty one")
        << With([](auto& r) { r.width.clear(), r.height.clear(); }) << [] {
               RunFacts f = Facts(60);
               f.width = 1280, f.height = 720;
               return f;
           }() << u << "" << SubtitleMode::None << "256" << "";
    QTest::newRow("a cut past the source's end")
        << With([](auto& r) { r.cutStart = 90.0; }) << Facts(60) << u
        << "The cut starts after the video's end: 1:30 > 1:00" << SubtitleMode::None << "256" << "";
    QTest::newRow("a bitrate no encoder takes") << With([](auto& r) { r.videoBitrate = "0"; }) << Facts(60) << u
                                                << "The video bitrate must be between 1 and 100000 kbit/s, not 0"
                                                << SubtitleMode::None << "0" << "";
    QTest::newRow("the window's Convert leaves it to the encoder")
        << With([](auto& r) { r.videoBitrate = "0"; }) << Facts(60) << RunChecks::Designed << ""
        << SubtitleMode::None << "0" << "";
    QTest::newRow("output is the source") << Request() << [] {
        RunFacts f = Facts(60);
        f.outputIsSource = true;
        return f;
    }() << RunChecks::Designed << zvm::kOutputIsSource << SubtitleMode::None << "256" << "";
    QTest::newRow("output is the encoder, also where outputs are replaced") << Request() << [] {
        RunFacts f = Facts(60);
        f.outputIsEncoder = f.outputIsSubtitleFile = true;
        return f;
    }() << RunChecks::Designed << zvm::kOutputIsEncoder << SubtitleMode::None << "256" << "";
    QTest::newRow("no movie type") << With([](auto& r) { r.preset = 0, r.movieType = zvm::MovieType::None; })
                                   << Facts(60) << u << zvm::kNoMovieType << SubtitleMode::None << "256" << "";
    QTest::newRow("a named subtitle file missing")
        << With([](auto& r) { r.subtitles = {SubtitleMode::File, "/gone.srt", -1, 0}; }) << [] {
               RunFacts f = Facts(60);
               f.subtitleFileFound = false;
               return f;
           }() << u << "The subtitle file is not there: /gone.srt" << SubtitleMode::File << "256" << "";
    const auto quoted = [](auto& r) { r.sourceVideo = R"(/videos/say "hi".mkv)"; };
    QTest::newRow("a quote in a name, unattended") << With(quoted) << Facts(60) << u << "" << SubtitleMode::None << "256" << "";
    QTest::newRow("a quote in a name, in the window's text")
        << With(quoted) << Facts(60) << RunChecks::Designed << "A filename cannot contain a double quote (\")"
        << SubtitleMode::None << "256" << "";
    QTest::newRow("the window's own check first")
        << With([](auto& r) { r.width = "abc"; }) << Facts(60) << u << "You must enter a number for the width"
        << SubtitleMode::None << "256" << "";
    // The PSP's own format cannot be written without sound; MP4 and VCD can, and the designed rows
    // keep their commands.
    const auto silent = [](std::optional<double> duration) {
        RunFacts f = Facts(duration);
        f.hasAudio = false;
        return f;
    };
    const QString track = " -f lavfi -t %1 -i anullsrc=r=24000:cl=stereo -map 0:v:0 -map 1:a:0 ";
    QTest::newRow("a silent source gets a silent track") << Request() << silent(60) << u << "" << SubtitleMode::None
                                                         << "256" << track.arg(60);
    QTest::newRow("as long as the part kept") << With([](auto& r) { r.cutStart = 10.0, r.cutEnd = 12.5; })
                                              << silent(60) << u << "" << SubtitleMode::None << "256"
                                              << track.arg(2.5);
    QTest::newRow("of a length not known, ended with the picture")
        << Request() << silent(std::nullopt) << u << "" << SubtitleMode::None << "256"
        << " -i anullsrc=r=24000:cl=stereo -map 0:v:0 -map 1:a:0 -shortest ";
    QTest::newRow("unread: as the request says") << With([](auto& r) { r.silentSource = ConversionRequest::Silent{5.0}; }) << [] {
        RunFacts f = Facts(60);
        f.hasAudio.reset();
        return f;
    }() << u << "" << SubtitleMode::None << "256" << track.arg(5);
    QTest::newRow("a designed psp row writes mp4 without sound")
        << With([](auto& r) { r.preset = 2; }) << silent(60) << u << "" << SubtitleMode::None << "256" << "";
    QTest::newRow("a vcd is written without sound")
        << With([](auto& r) { r.preset = 6; }) << silent(60) << u << "" << SubtitleMode::None << "256" << "";
}

void TestPrepare::prepared() {
    QFETCH(ConversionRequest, request);
    QFETCH(RunFacts, facts);
    QFETCH(RunChecks, checks);
    QFETCH(QString, refusal);
    QFETCH(SubtitleMode, subtitles);
    QFETCH(QString, videoBitrate);
    QFETCH(QString, silentInput);

    const auto prepared = zvm::PrepareRun(request, zvm::CommandStyle::Modern, facts, checks);
    QCOMPARE(QString::fromStdString(prepared.status().text()), refusal);
    if (!prepared.ok()) {
        return;
    }
    const zvm::PreparedRun& run = prepared.value();
    QCOMPARE(run.request.subtitles.mode, subtitles);
    QCOMPARE(run.request.subtitles, zvm::ResolveSubtitles(request.subtitles, facts));
    QCOMPARE(QString::fromStdString(run.request.videoBitrate), videoBitrate);
    QCOMPARE(run.twoPasses, zvm::UsesTwoPasses(run.request));
    QCOMPARE(zvm::PassCommands(run, "/tmp/log").size(), run.twoPasses ? 2u : 1u);
    // The command is Generate's for the request as prepared, and the after-check's target matches it.
    const auto generated = zvm::Generate(run.request, zvm::CommandStyle::Modern,
                                         checks == RunChecks::Unattended ? zvm::NameQuotes::Taken : zvm::NameQuotes::Refused);
    QVERIFY(generated.ok());
    QCOMPARE(run.command, *generated.value().command);
    QCOMPARE(run.geometry, generated.value().geometry);
    QVERIFY(run.target.has_value());
    QCOMPARE(run.target->width, zvm::FindPreset(run.request.preset)->width);
    // Both passes read the silent track, and the face is told.
    for (const std::string& step : zvm::PassCommands(run, "/tmp/log")) {
        QCOMPARE(QString::fromStdString(step).contains("anullsrc"), !silentInput.isEmpty());
        QVERIFY2(QString::fromStdString(step).contains(silentInput), step.c_str());
    }
    QCOMPARE(QString::fromStdString(run.note), silentInput.isEmpty() ? QString() : QString(zvm::kSilentTrack));
}

// What the source's picture and sound resolve to. streams: the sound streams' languages, "*" after the
// default one, "-" for no language; found: the rectangle measured, or why there is none.
void TestPrepare::sourceChoices_data() {
    QTest::addColumn<QString>("choice"); // crop=..., deint=..., lang=..., track=N
    QTest::addColumn<QString>("streams");
    QTest::addColumn<QString>("found");
    QTest::addColumn<int>("interlaced"); // 1, 0, -1 for unknown
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("expected"); // the text after -i "...", up to -c:v; "refused: ..."
    QTest::newRow("terminology code finds the bibliographic") << "lang=deu" << "jpn*,ger" << "" << 0 << 5 << "-map 0:v:0 -map 0:a:1";
    QTest::newRow("two letters find three") << "lang=fr" << "jpn*,eng,fre" << "" << 0 << 5 << "-map 0:v:0 -map 0:a:2";
    QTest::newRow("bibliographic finds the terminology") << "lang=CZE" << "ces,eng*" << "" << 0 << 5 << "-map 0:v:0 -map 0:a:0";
    QTest::newRow("first of the list wins") << "lang=spa,eng" << "eng,jpn,spa" << "" << 0 << 5 << "-map 0:v:0 -map 0:a:2";
    QTest::newRow("later in the list when the first is absent") << "lang=ita,eng" << "jpn*,eng" << "" << 0 << 5 << "-map 0:v:0 -map 0:a:1";
    QTest::newRow("no match takes the default") << "lang=ita" << "jpn,eng*,-" << "" << 0 << 5 << "-map 0:v:0 -map 0:a:1";
    QTest::newRow("no match, no default: the first") << "lang=ita" << "-,jpn" << "" << 0 << 5 << "-map 0:v:0 -map 0:a:0";
    QTest::newRow("unknown codes match only themselves") << "lang=xyz" << "xy,xyz" << "" << 0 << 5 << "-map 0:v:0 -map 0:a:1";
    QTest::newRow("by number") << "track=1" << "eng*,jpn" << "" << 0 << 5 << "-map 0:v:0 -map 0:a:1";
    QTest::newRow("a number past the streams") << "track=2" << "eng*,jpn" << "" << 0 << 5 << "refused: The video has no sound stream 2";
    QTest::newRow("nothing chosen maps nothing") << "" << "jpn*,eng" << "" << 0 << 5 << "";
    QTest::newRow("automatic crop found") << "crop=auto" << "" << "1440:1080:240:0" << 0 << 5
                                          << "-vf crop=1440:1080:240:0,scale=362:272,pad=480:272:60:0,setsar=1";
    QTest::newRow("automatic crop, frames disagree") << "crop=auto" << "" << "why:3 of 10 frames agree" << 0 << 5
                                                     << "-vf scale=480:270,pad=480:272:0:2,setsar=1";
    QTest::newRow("interlaced on a later row") << "" << "" << "" << 1 << 5 << "-vf bwdif=mode=send_frame,scale=480:270,pad=480:272:0:2,setsar=1";
    QTest::newRow("progressive is left alone") << "" << "" << "" << 0 << 5 << "-vf scale=480:270,pad=480:272:0:2,setsar=1";
    QTest::newRow("interlaced on a designed row, not asked") << "" << "" << "" << 1 << 2 << "-vf scale=320:180,pad=320:240:0:30,setsar=1";
    QTest::newRow("interlaced on a designed row, asked") << "deint=on" << "" << "" << 1 << 2
                                                          << "-vf bwdif=mode=send_frame,scale=320:180,pad=320:240:0:30,setsar=1";
    QTest::newRow("turned off") << "deint=off" << "" << "" << 1 << 5 << "-vf scale=480:270,pad=480:272:0:2,setsar=1";
    QTest::newRow("a rectangle outside the picture") << "crop=1440:1080:600:0" << "" << "" << 0 << 5 << "refused: The crop rectangle must lie";
}

void TestPrepare::sourceChoices() {
    QFETCH(QString, choice);
    QFETCH(QString, streams);
    QFETCH(QString, found);
    QFETCH(int, interlaced);
    QFETCH(int, preset);
    QFETCH(QString, expected);
    ConversionRequest r = Request();
    r.width = "1920";
    r.height = "1080";
    r.preset = preset;
    const QString value = choice.section('=', 1);
    if (choice.startsWith("crop=")) {
        r.crop = *zvm::ParseCrop(value.toStdString());
    } else if (choice.startsWith("deint=")) {
        r.deinterlace = *zvm::DeinterlaceFromWord(value.toStdString());
    } else if (choice.startsWith("lang=")) {
        r.audio.languages = *zvm::ParseLanguages(value.toStdString());
    } else if (choice.startsWith("track=")) {
        r.audio.track = value.toInt();
    }
    RunFacts facts = Facts(60);
    facts.pixelWidth = 1920;
    facts.pixelHeight = 1080;
    for (const QString& stream : streams.split(',', Qt::SkipEmptyParts)) {
        QString language = stream;
        language.remove('*');
        facts.audioStreams.push_back({language == "-" ? "" : language.toStdString(), "", 2, stream.endsWith('*')});
    }
    facts.audioStreamsRead = !streams.isEmpty();
    if (found.startsWith("why:")) {
        facts.cropWhy = found.mid(4).toStdString();
    } else if (!found.isEmpty()) {
        facts.foundCrop = *zvm::ParseCrop(found.toStdString());
    }
    facts.interlaced = interlaced < 0 ? std::nullopt : std::optional<bool>(interlaced == 1);
    const auto prepared = zvm::PrepareRun(r, zvm::CommandStyle::Modern, facts);
    if (expected.startsWith("refused: ")) {
        QVERIFY(!prepared.ok());
        QVERIFY2(QString::fromStdString(prepared.status().text()).startsWith(expected.mid(9)), prepared.status().text().c_str());
        return;
    }
    QVERIFY2(prepared.ok(), prepared.status().text().c_str());
    const QString command = QString::fromStdString(prepared.value().command);
    const QString head = R"(-i "/videos/clip.mkv" )";
    const qsizetype from = command.indexOf(head) + head.size();
    const QString after = command.mid(from, command.indexOf(" -c:v") - from);
    if (expected.startsWith("-vf")) {
        QCOMPARE(after.mid(after.indexOf("-vf")), expected);
        QVERIFY(!after.contains("-map 0:a:"));
    } else {
        QVERIFY2(after.startsWith(expected), qPrintable(after));
        QCOMPARE(after.contains("-map"), !expected.isEmpty());
    }
    QCOMPARE(prepared.value().cropWhy.empty(), r.crop.mode != zvm::CropMode::Auto || !found.startsWith("why:"));
}

QTEST_APPLESS_MAIN(TestPrepare)
#include "tst_prepare.moc"
