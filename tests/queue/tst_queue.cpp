// The queue: its state machine as a table of events, its time arithmetic, a run of the fake encoder
// through the real run layer, what a restart finds, the lock on the kept queue, and the partial
// outputs of failed and stopped runs. (A killed queue resumed with the real encoder: realencoder.)
#include "tests/FakeOutside.h"
#include "tests/GenerateCases.h"
#include "tests/Requests.h"
#include "core/OutputName.h"
#include "settings/TargetsFile.h"
#include "core/Presets.h"
#include "core/SourceChoices.h"
#include "queue/QueueRunner.h"
#include "queue/QueueStore.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace zvm::queue;

class TestQueue : public QObject {
    Q_OBJECT

private slots:
    void sharedCases_data();
    void sharedCases();
    void stateMachine_data();
    void stateMachine();
    void storePacing_data();
    void storePacing();
    void timeLeft();
    void progressOverPasses_data();
    void progressOverPasses();
    void runsTheEncoder_data();
    void runsTheEncoder();
    void runsSideBySide();
    void removingARunningItemRunsOn();
    void restoresAsAdded_data();
    void restoresAsAdded();
    void oneWindowKeepsTheQueue_data();
    void oneWindowKeepsTheQueue();
    void readsAnEarlierVersionsFile_data();
    void readsAnEarlierVersionsFile();
    void removesOnlyWhatItWrote_data();
    void removesOnlyWhatItWrote();
    void keepsTargetsByName_data();
    void keepsTargetsByName();
    void keepsSubtitles_data();
    void keepsSubtitles();
    void resolvesSubtitlesAsItStarts_data();
    void resolvesSubtitlesAsItStarts();
    void readsWhatItsChoicesNeed_data();
    void readsWhatItsChoicesNeed();
};

Q_DECLARE_METATYPE(QueueSummary)

namespace {
// A video whose size is not known yet.
zvm::ConversionRequest Request(const QString& name) {
    zvm::ConversionRequest r = ReadyRequest(("/v/" + name + ".avi").toStdString(), ("/out/" + name + ".mp4").toStdString());
    r.width.clear();
    r.height.clear();
    return r;
}

// A ready video of the folder, named "<name>.avi" and written to "<name>.mp4".
zvm::ConversionRequest Ready(const QTemporaryDir& dir, const QString& name) {
    return ReadyRequest(dir.filePath(name + ".avi").toStdString(), dir.filePath(name + ".mp4").toStdString());
}

// Replaces `from` with `to` in the kept file; false when it cannot be read or written.
// Runs `sql` with `values` on the kept queue as another reader would; the first column of its rows.
QByteArrayList OnStore(const QString& store, const QString& sql, const QVariantList& values = {}) {
    QByteArrayList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "looking in");
        db.setDatabaseName(store);
        const bool opened = db.open();
        QSqlQuery q(db);
        q.prepare(sql);
        for (int at = 0; at < values.size(); ++at) {
            q.bindValue(at, values[at]);
        }
        for (bool ran = opened && q.exec(); ran && q.next();) {
            rows << q.value(0).toByteArray();
        }
    }
    QSqlDatabase::removeDatabase("looking in");
    return rows;
}

QByteArray KeptText(const QString& store) {
    return OnStore(store, "SELECT item FROM items").join('\n');
}

// Edits the kept items' text in place, as a damaged or hand-edited store would have it.
bool Rewrite(const QString& store, const QByteArray& from, const QByteArray& to) {
    OnStore(store, "UPDATE items SET item = replace(item, ?, ?)", {from, to});
    return KeptText(store).contains(to);
}

std::optional<zvm::process::FileId> NoFile(const std::string&) {
    return std::nullopt;
}

QString Base(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).baseName();
}

// Each item's base name and state, with its reason when it has one.
QString States(const Queue& queue) {
    QStringList states;
    for (const QueueItem& item : queue.items()) {
        const QString reason = QString::fromStdString(ReasonText(item));
        states << Base(item.request.sourceVideo) + ":" + QString::fromUtf8(StateWord(item.state)) +
                      (reason.isEmpty() ? "" : "(" + reason + ")");
    }
    return states.join(' ');
}

// Plays a script of events, one per word group separated by ';', on a queue whose items are named
// by their source; returns the items' states in order and what each "next" started, or what in the
// script it could not play.
// Each item as a restart would find it: source, output, state and reason, in order.
QString Kept(const std::vector<QueueItem>& items) {
    QStringList kept;
    for (const QueueItem& item : items) {
        kept << QString::fromStdString(item.request.sourceVideo + ">" + item.request.outputPath + ":" +
                                       std::string(StateWord(item.state)) + "(" + ReasonText(item) + ")");
    }
    return kept.join(' ');
}

// After every event the store keeps only what changed; what it then holds must be the queue's
// unfinished items, as a store written whole would hold them.
QString Play(const QString& script) {
    QTemporaryDir dir;
    const QString keptIn = dir.filePath("queue.sqlite");
    QueueStore store(keptIn);
    // No file is there: paths are the same when their names are, enough for the source-is-output rule.
    auto queue = std::make_unique<Queue>(NoFile);
    QHash<QString, int> ids;
    QStringList started;
    for (const QString& event : script.split(';', Qt::SkipEmptyParts)) {
        // Each event word, with how many words the event takes.
        static const QHash<QString, qsizetype> kWords{
            {"add", 2},  {"size", 2},   {"nosize", 2}, {"output", 3},  {"start", 1},
            {"next", 1}, {"pause", 1},  {"end", 3},    {"missing", 2}, {"stop", 2},
            {"skip", 2}, {"remove", 2}, {"move", 3},   {"clear", 1},   {"sliver", 2},
            {"parallel", 2}, {"restart", 1}, {"cut", 4}, {"filesize", 3}, {"withdraw", 2}};
        const QStringList w = event.simplified().split(' ');
        const int id = ids.value(w.value(1), -1);
        const bool named = w[0] != "add" && w[0] != "cut" && w[0] != "parallel";
        if (kWords.value(w[0]) != w.size() || (named && w.size() > 1 && id < 0)) {
            return "cannot play: " + event;
        }
        if (w[0] == "add" || w[0] == "cut") { // cut NAME START END: added with that cut, "-" for none
            zvm::ConversionRequest r = Request(w[1]);
            if (w[0] == "cut") {
                r.cutStart = w[2] == "-" ? std::nullopt : std::optional(w[2].toDouble());
                r.cutEnd = w[3] == "-" ? std::nullopt : std::optional(w[3].toDouble());
            }
            ids[w[1]] = queue->add(r, zvm::CommandStyle::Modern);
        } else if (w[0] == "size") {
            queue->sizeKnown(id, 640, 480, 10.0);
        } else if (w[0] == "sliver") { // a size whose fit is less than a pixel high
            queue->sizeKnown(id, 100000, 1, 10.0);
        } else if (w[0] == "nosize") {
            queue->sizeUnknown(id, "no video stream");
        } else if (w[0] == "output") {
            queue->setOutput(id, w[2].toStdString());
        } else if (w[0] == "start") {
            queue->start();
        } else if (w[0] == "next") {
            const auto next = queue->next();
            started << (next ? ids.key(*next) : QString("-"));
        } else if (w[0] == "pause") {
            queue->pauseAfterCurrent();
        } else if (w[0] == "end") {
            queue->ended(id, w[2].toInt(), "log");
        } else if (w[0] == "missing") {
            queue->checked(id, zvm::CheckVerdict::Missing, "The encoder ended without writing it");
        } else if (w[0] == "stop") {
            queue->stopped(id, "stopped");
        } else if (w[0] == "skip") {
            queue->skip({id}, "its output exists already");
        } else if (w[0] == "remove") {
            queue->remove(id);
        } else if (w[0] == "withdraw") {
            queue->withdraw(id);
        } else if (w[0] == "move") {
            queue->move(id, w[2].toInt());
        } else if (w[0] == "clear") {
            queue->clearFinished();
        } else if (w[0] == "parallel") {
            queue->setParallel(w[1].toInt());
        } else if (w[0] == "restart") { // the program was killed: a new queue gets what the old kept
            auto restarted = std::make_unique<Queue>(NoFile);
            restarted->setParallel(queue->parallel());
            restarted->restore(queue->unfinished());
            queue = std::move(restarted);
            for (const QueueItem& item : queue->items()) {
                ids[Base(item.request.sourceVideo)] = item.id;
            }
        } else if (w[0] == "filesize") { // megabytes over the ten seconds "size" reads; "none"
            queue->setFileSize(id, w[2] == "none" ? std::nullopt : std::optional(w[2].toDouble()));
        }
        const QueueChanges changes = queue->takeChanges(); // a restart's renumbered items are kept whole
        if (!(w[0] == "restart" ? store.replace(queue->unfinished()) : store.keep(*queue, changes)).ok() ||
            Kept(LoadQueue(keptIn).items) != Kept(queue->unfinished())) {
            return "the store differs after: " + event + ": " + Kept(LoadQueue(keptIn).items);
        }
    }
    QStringList states;
    for (const QueueItem& item : queue->items()) {
        states << QFileInfo(QString::fromStdString(item.request.sourceVideo)).baseName() + ":" +
                      QString::fromUtf8(StateWord(item.state));
    }
    return states.join(' ') + " | " + started.join(' ');
}
} // namespace

void TestQueue::sharedCases_data() {
    AddGenerateCaseRows();
}

// The queue writes for the shared cases the very command the window and the tool write for them.
void TestQueue::sharedCases() {
    QFETCH(int, row);
    const GenerateCase& c = kGenerateCases[row];
    QTemporaryDir dir;
    QVERIFY(WriteCaseTargets(dir.filePath("targets.json")));
    QVERIFY(zvm::settings::UseTargetsFile(dir.filePath("targets.json").toStdString()).problem.ok());
    zvm::ConversionRequest r;
    r.encoderPath = "ffmpeg";
    r.sourceVideo = "/videos/clip.avi";
    r.outputPath = zvm::SuggestOutputName(r.sourceVideo, c.preset, "");
    r.width = c.width;
    r.height = c.height;
    r.videoBitrate = c.videoBitrate;
    r.audioBitrate = c.audioBitrate;
    r.sampleRate = c.sampleRate;
    r.preset = c.preset;
    r.movieType = c.animation ? zvm::MovieType::Animation : zvm::MovieType::LiveAction;
    Queue queue(NoFile);
    const int id = queue.addReady(r, c.modern ? zvm::CommandStyle::Modern : zvm::CommandStyle::Classic);
    QCOMPARE(QString::fromStdString(ReasonText(*queue.find(id))), QString());
    QCOMPARE(QString::fromStdString(queue.find(id)->command), QString(c.command));
}

void TestQueue::stateMachine_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("after"); // the items' states in order | what each "next" started
    QTest::newRow("sizes arrive, then one at a time, in order")
        << "add a; add b; start; size b; next; size a; next; next; end a 0; next; end b 0; next"
        << "a:finished b:finished | - a - b -";
    QTest::newRow("not started: nothing runs") << "add a; size a; next" << "a:waiting | -";
    QTest::newRow("a failure, and the queue goes on")
        << "add a; add b; add c; size a; size b; size c; start; next; end a 0; next; end b 1; next; end c 0; next"
        << "a:finished b:failed c:finished | a b c -";
    QTest::newRow("the running item is not removed") << "add a; size a; start; next; remove a"
                                                      << "a:running | a";
    QTest::newRow("a running item withdrawn once stopped: the next one runs")
        << "add a; add b; size a; size b; start; next; withdraw a; next" << "b:running | a b";
    QTest::newRow("a waiting item is") << "add a; add b; size a; size b; remove b" << "a:waiting | ";
    QTest::newRow("reorder") << "add a; add b; add c; size a; size b; size c; move c -2; move a 1; start; next"
                             << "c:running b:waiting a:waiting | c";
    QTest::newRow("moves stop at the ends") << "add a; add b; move a -5; move b 9" << "a:detecting b:detecting | ";
    QTest::newRow("size unknown: needs attention, skipped") << "add a; add b; nosize a; size b; start; next"
                                                            << "a:needs-attention b:running | b";
    QTest::newRow("a mended output runs") << "add a; nosize a; output a /x.mp4; add b; size b; output b /y.mp4"
                                          << "a:needs-attention b:waiting | ";
    QTest::newRow("two items, one output") << "add a; size a; add b; size b; output b /out/a.mp4"
                                           << "a:waiting b:needs-attention | ";
    QTest::newRow("output is the source") << "add a; size a; output a /v/a.avi" << "a:needs-attention | ";
    QTest::newRow("a picture no encoder can make") << "add a; sliver a; add b; size b; start; next"
                                                   << "a:needs-attention b:running | b";
    QTest::newRow("output is the source after ..") << "add a; size a; output a /v/x/../a.avi"
                                                   << "a:needs-attention | ";
    QTest::newRow("output is another item's source, added later")
        << "add a; size a; output a /v/b.avi; add b; size b; start; next" << "a:needs-attention b:running | b";
    QTest::newRow("output is another item's source, added earlier")
        << "add b; add a; size a; size b; output a /v/b.avi; start; next" << "b:running a:needs-attention | b";
    QTest::newRow("a clean exit without a file fails") << "add a; size a; start; next; end a 0; missing a"
                                                       << "a:failed | a";
    // Sources last 10 s here: a cut is checked against that once the size is read.
    QTest::newRow("cuts within the video run") << "cut a 2 5; cut b - 30; cut c 9.5 -; size a; size b; size c; start; next"
                                               << "a:running b:waiting c:waiting | a";
    QTest::newRow("a cut ending before its start") << "cut a 5 2; size a" << "a:needs-attention | ";
    QTest::newRow("a cut ending at 0") << "cut a - 0; size a" << "a:needs-attention | ";
    QTest::newRow("a cut starting past the video's end, or before its start") << "cut a 10 12; size a; cut b -1 -; size b"
                                                         << "a:needs-attention b:needs-attention | ";
    QTest::newRow("skipped items are not run") << "add a; add b; size a; size b; skip a; start; next"
                                               << "a:skipped b:running | b";
    const QString three = "parallel 2; add a; add b; add c; size a; size b; size c; start; ";
    QTest::newRow("two at once, ending out of order")
        << three + "next; next; next; end b 0; next; next; end c 1; end a 0; next"
        << "a:finished b:finished c:failed | a b - c - -";
    QTest::newRow("stop one of two: the other finishes, none starts")
        << three + "next; next; stop a; next; end b 0; next" << "a:stopped b:finished c:waiting | a b - -";
    QTest::newRow("pause with two running") << three + "next; next; pause; end b 0; next; end a 0; next; start; next"
                                            << "a:finished b:finished c:running | a b - - c";
    QTest::newRow("killed with two running, restarted")
        << three + "next; next; restart; start; next; next; next" << "a:running b:running c:waiting | a b a b -";
    QTest::newRow("added while one runs: it takes the free place")
        << "parallel 2; add a; size a; start; next; next; add b; size b; next" << "a:running b:running | a - b";
    // GBA at 29.97 fps needs 47 kbit/s of video beside 32 of sound: just over 0.1 MB for ten seconds.
    QTest::newRow("a file size too small") << "add a; size a; filesize a 0.1; start; next" << "a:needs-attention | -";
    QTest::newRow("a file size that works") << "add a; size a; filesize a 0.2; start; next" << "a:running | a";
    QTest::newRow("a file size taken back") << "add a; size a; filesize a 0.1; filesize a none" << "a:waiting | ";
    QTest::newRow("clear finished") << "add a; add b; size a; size b; start; next; end a 0; next; end b 1; clear"
                                    << "b:failed | a b";
}

void TestQueue::stateMachine() {
    QFETCH(QString, script);
    QFETCH(QString, after);
    QCOMPARE(Play(script), after);
}

// The pacing of the store as a table: changes at given milliseconds ("shown": progress, "soon": a size
// read, an after-check; "now": a start, an end, a user's edit), the timer firing when it is due, and a
// kill at the end: when the file was written, and which kept changes the kill loses.
void TestQueue::storePacing_data() {
    QTest::addColumn<QString>("changes");
    QTest::addColumn<int>("killedAt");
    QTest::addColumn<QString>("after"); // "stores <ms>... | lost <change>..."
    QTest::newRow("a lone size read is kept at once") << "0:soon" << 5 << "stores 0 | lost -";
    QTest::newRow("size reads within a second wait, and are kept together")
        << "0:soon 100:soon 500:soon" << 2000 << "stores 0 1000 | lost -";
    QTest::newRow("a kill within the second loses what waited, not progress")
        << "0:soon 100:soon 200:shown" << 900 << "stores 0 | lost 100:soon";
    QTest::newRow("an end is kept at once within the second") << "0:soon 100:now" << 101 << "stores 0 100 | lost -";
    QTest::newRow("an end takes what waited along") << "0:soon 100:soon 300:now" << 2000
                                                   << "stores 0 300 | lost -";
    QTest::newRow("a user's edits are each kept at once") << "0:now 10:now 20:now" << 21 << "stores 0 10 20 | lost -";
    QTest::newRow("progress is never kept") << "0:shown 10:shown 3000:shown" << 5000 << "stores - | lost -";
    QTest::newRow("steady changes: once a second")
        << "0:soon 400:soon 800:soon 1200:soon 1600:soon 2000:soon" << 2500
        << "stores 0 1000 2000 | lost 2000:soon";
    QTest::newRow("after a quiet second, kept at once") << "0:now 5000:soon" << 5001 << "stores 0 5000 | lost -";
}

void TestQueue::storePacing() {
    QFETCH(QString, changes);
    QFETCH(int, killedAt);
    QFETCH(QString, after);
    using Ms = StorePacing::Ms;
    StorePacing pacing;
    QStringList stores;
    QStringList waiting; // kept changes not yet written
    std::optional<int> due;
    const auto follow = [&](const StorePacing::Plan& plan, int now) {
        if (plan.storeNow) {
            pacing.stored(Ms(now));
            stores << QString::number(now);
            waiting.clear();
        } else if (plan.wakeIn) {
            due = now + int(plan.wakeIn->count());
        }
    };
    const auto runTimerUntil = [&](int now) {
        while (due && *due <= now) {
            const int at = *due;
            due.reset();
            follow(pacing.woke(Ms(at)), at);
        }
    };
    static const QHash<QString, Keep> kKeeps{{"shown", Keep::Shown}, {"soon", Keep::Soon}, {"now", Keep::AtOnce}};
    for (const QString& change : changes.split(' ')) {
        const int at = change.section(':', 0, 0).toInt();
        runTimerUntil(at);
        const Keep keep = kKeeps.value(change.section(':', 1));
        if (keep != Keep::Shown) {
            waiting << change;
        }
        follow(pacing.changed(keep, Ms(at)), at);
    }
    runTimerUntil(killedAt);
    QCOMPARE(pacing.pending(), !waiting.isEmpty());
    QCOMPARE("stores " + (stores.isEmpty() ? "-" : stores.join(' ')) + " | lost " +
                 (waiting.isEmpty() ? "-" : waiting.join(' ')),
             after);
}

void TestQueue::timeLeft() {
    Queue queue(NoFile);
    const int a = queue.addReady(ReadyRequest("/v/a.avi", "/out/a.mp4"), zvm::CommandStyle::Modern);
    const int b = queue.add(Request("b"), zvm::CommandStyle::Modern);
    queue.start();
    QCOMPARE(queue.next(), std::optional(a));
    QVERIFY(!queue.secondsLeft(a)); // no speed yet
    queue.progressed(a, 0.1, 60.0, 1.5);
    QVERIFY(!queue.secondsLeft(a)); // its start only: 898 s left at that speed
    QVERIFY(!queue.totalSecondsLeft());
    queue.progressed(a, 20, 60.0, 10); // 20 s of 60 in 10 s: 2x, 20 s left
    QCOMPARE(queue.secondsLeft(a), std::optional(20.0));
    QVERIFY(!queue.totalSecondsLeft()); // b's duration is not known yet
    queue.sizeKnown(b, 640, 480, 30.0);
    QCOMPARE(queue.totalSecondsLeft(), std::optional(35.0)); // 40 + 30 s of source at 2x
    queue.setParallel(2); // shared, 17.5 s; but a alone still takes its 20 s
    QCOMPARE(queue.totalSecondsLeft(), std::optional(20.0));
    const int long90 = queue.add(Request("long"), zvm::CommandStyle::Modern);
    queue.sizeKnown(long90, 640, 480, 90.0);
    QCOMPARE(queue.totalSecondsLeft(), std::optional(40.0)); // 160 s at 2x, on two encoders
    queue.setParallel(1);
    // Only the part a cut keeps counts; the encoder's time for it starts at 0.
    auto cut = Request("c");
    cut.cutStart = 20;
    cut.cutEnd = 36;
    const int c = queue.add(cut, zvm::CommandStyle::Modern);
    queue.sizeKnown(c, 640, 480, 600.0);
    QCOMPARE(queue.totalSecondsLeft(), std::optional(88.0)); // 40 + 30 + 90 + 16 s at 2x
    queue.ended(a, 0, "");
    QCOMPARE(queue.next(), std::optional(b));
    queue.ended(b, 0, "");
    QCOMPARE(queue.next(), std::optional(long90));
    queue.ended(long90, 0, "");
    QCOMPARE(queue.next(), std::optional(c));
    queue.progressed(c, 4, 600.0, 2); // 4 s of the 16 kept, at 2x
    QCOMPARE(queue.secondsLeft(c), std::optional(6.0));
    queue.ended(c, 0, "");
    QCOMPARE(queue.find(c)->encoded, 16.0); // done: all it keeps
}

void TestQueue::progressOverPasses_data() {
    QTest::addColumn<bool>("twoPass");
    QTest::addColumn<QString>("cut"); // "START-END" in seconds, or none
    QTest::addColumn<QStringList>("events"); // the encoder's time, or "next pass"
    QTest::addColumn<double>("done"); // the share the item's progress shows
    QTest::newRow("one pass, halfway") << false << "" << QStringList{"00:00:30"} << 0.5;
    QTest::newRow("first of two, halfway") << true << "" << QStringList{"00:00:30"} << 0.25;
    QTest::newRow("first of two, done") << true << "" << QStringList{"00:00:10", "00:01:00"} << 0.5;
    QTest::newRow("second begun, no time yet") << true << "" << QStringList{"00:01:00", "next pass"} << 0.5;
    QTest::newRow("second halfway") << true << "" << QStringList{"00:01:00", "next pass", "00:00:30"} << 0.75;
    QTest::newRow("second halfway, with a cut") << true << "20-50" << QStringList{"00:00:30", "next pass", "00:00:15"} << 0.75;
}

// One progress over both passes of a two-pass run, each pass an equal half, from the encoder's time,
// which starts again at 0 in the second pass; the time left follows from it.
void TestQueue::progressOverPasses() {
    QFETCH(bool, twoPass);
    QFETCH(QString, cut);
    QFETCH(QStringList, events);
    QFETCH(double, done);
    QTemporaryDir dir;
    FakeOutside outside;
    QueueRunner runner(outside, dir.filePath("queue.sqlite"));
    zvm::ConversionRequest request = Ready(dir, "a");
    request.twoPass = twoPass;
    if (!cut.isEmpty()) {
        request.cutStart = cut.section('-', 0, 0).toDouble();
        request.cutEnd = cut.section('-', 1, 1).toDouble();
    }
    const int id = runner.addReady(request, zvm::CommandStyle::Modern);
    runner.start();
    QTRY_COMPARE_WITH_TIMEOUT(outside.jobs.size(), 1, 5000); // in the next turn of the event loop
    const QByteArray header = "Input #0, avi, from 'a.avi':\n  Duration: 00:01:00.00, start: 0.0\n";
    emit outside.jobs.last()->outputArrived(header);
    for (const QString& event : events) {
        if (event == "next pass") {
            emit outside.jobs.last()->finished(0, 0);
            QCOMPARE(outside.jobs.size(), 2);
            emit outside.jobs.last()->outputArrived(header); // each pass describes its input again
            continue;
        }
        emit outside.jobs.last()->outputArrived(
            QString("frame=  10 fps=25 size=  4kB time=%1.00 bitrate=1.0kbits/s\r").arg(event).toUtf8());
    }
    const QueueItem& item = *runner.queue().find(id);
    QCOMPARE(item.state, ItemState::Running);
    QCOMPARE(item.encoded / *KeptDuration(item), done);
    if (const auto left = runner.queue().secondsLeft(id)) { // once the clock has moved
        QCOMPARE(*left / item.runSeconds, (1 - done) / done);
    }
}

void TestQueue::runsTheEncoder_data() {
    QTest::addColumn<int>("parallel");
    QTest::newRow("one after another") << 1;
    QTest::newRow("side by side") << 3;
}

// Three videos through the fake encoder and the real run layer: the second fails, the third still
// runs, and the summary, said once every after-check has answered, counts them.
void TestQueue::runsTheEncoder() {
    QFETCH(int, parallel);
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path()); // the fake encoder records its arguments in its working directory
    qputenv("FAKE_ENCODER_FAIL_ON", "second");
    FakeOutside outside;
    outside.startsForReal = true;
    QueueRunner runner(outside, dir.filePath("queue.sqlite"));
    runner.setParallel(parallel);
    zvm::ConversionRequest settings = Request("x");
    settings.encoderPath = FAKE_ENCODER_PATH;
    std::vector<zvm::ConversionRequest> requests;
    for (const char* name : {"first", "second", "third"}) {
        settings.sourceVideo = dir.filePath(QString(name) + ".avi").toStdString();
        settings.outputPath = dir.filePath(QString(name) + ".mp4").toStdString();
        requests.push_back(settings);
    }
    runner.add(requests, zvm::CommandStyle::Classic);
    QCOMPARE(outside.pendingDetections.size(), QueueRunner::kParallelDetections); // not all at once
    while (!outside.pendingDetections.isEmpty()) { // each answer lets the next detection start
        outside.pendingDetections.takeFirst()({QSize(640, 480), {}, 1.0});
    }
    QCOMPARE(outside.detections.size(), 3);
    QSignalSpy done(&runner, &QueueRunner::finishedAll);
    runner.start();
    QTRY_COMPARE_WITH_TIMEOUT(outside.started.size(), parallel, 5000); // one per turn of the event loop
    QTRY_VERIFY_WITH_TIMEOUT(runner.queue().runningIds().empty() && outside.checks.size() == 2, 20000);
    qunsetenv("FAKE_ENCODER_FAIL_ON");
    QDir::setCurrent(previous);
    QVERIFY(done.isEmpty()); // the checks have not answered
    QStringList checked; // only the clean exits
    for (const FakeOutside::Check& check : outside.checks) {
        checked << QFileInfo(check.output).fileName();
    }
    checked.sort();
    QCOMPARE(checked, QStringList({".zvm-partial.first.mp4", ".zvm-partial.third.mp4"})); // before their rename
    for (const auto& answer : outside.pendingChecks) {
        answer({zvm::CheckVerdict::Fits, "fits"});
    }
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 5000);
    const auto summary = done[0][0].value<QueueSummary>();
    QCOMPARE(summary.finished, 2);
    QCOMPARE(summary.failed, 1);
    const QueueItem& failed = runner.queue().items()[1];
    QCOMPARE(ReasonText(failed), "the encoder ended with exit code 1");
    QVERIFY(QString::fromStdString(failed.log).contains("Conversion failed!"));
    QVERIFY(LoadQueue(dir.filePath("queue.sqlite")).items.empty()); // nothing unfinished is left to offer
}

// Two at once, kept for the next runner: one ending early lets the third start, a stopped one
// starts no more, and the summary waits for the last after-check and counts a file that does not fit
// apart from those that do.
void TestQueue::runsSideBySide() {
    QTemporaryDir dir;
    const QString store = dir.filePath("queue.sqlite");
    FakeOutside outside;
    outside.jobsEndOnStop = true;
    auto runner = std::make_unique<QueueRunner>(outside, store);
    runner->setParallel(2);
    QHash<QString, int> ids;
    for (const char* name : {"a", "b", "c", "d"}) {
        ids[name] = runner->addReady(Ready(dir, name), zvm::CommandStyle::Modern);
    }
    QSignalSpy done(runner.get(), &QueueRunner::finishedAll);
    runner->start();
    QTRY_COMPARE_WITH_TIMEOUT(outside.jobs.size(), 2, 5000);
    QVERIFY(!runner->stopCurrent()); // which one is not clear
    emit outside.jobs[1]->finished(0, 0);
    QTRY_COMPARE_WITH_TIMEOUT(outside.jobs.size(), 3, 5000); // in the next turn of the event loop
    QVERIFY(outside.started[2].contains("c.avi"));
    QVERIFY(runner->stop(ids["c"]));
    QTRY_COMPARE(runner->queue().find(ids["c"])->state, ItemState::Stopped);
    QCOMPARE(outside.jobs[0]->stopCalls, 0);
    QFile(dir.filePath(".zvm-partial.a.mp4")).open(QIODevice::WriteOnly); // what a's encoder wrote
    emit outside.jobs[0]->finished(0, 0);
    QCoreApplication::processEvents(); // where a start after an end would come
    QCOMPARE(outside.jobs.size(), 3); // d waits: a stop pauses the queue
    QCOMPARE(States(runner->queue()), "a:finished b:finished c:stopped(stopped on request) d:waiting");
    QCOMPARE(outside.pendingChecks.size(), 2);
    outside.pendingChecks[0]({zvm::CheckVerdict::Differs, "does not fit"});
    QCoreApplication::processEvents(); // where the end would be said
    QVERIFY(done.isEmpty());
    outside.pendingChecks[1]({zvm::CheckVerdict::Fits, "fits"});
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 5000);
    const auto summary = done[0][0].value<QueueSummary>();
    QCOMPARE(QList<int>({summary.finished, summary.misfits, summary.failed, summary.skipped}), QList<int>({1, 1, 0, 1}));
    QCOMPARE(outside.renders.size(), 2); // a small picture of each file the checks could read
    QCOMPARE(outside.renders.last().file, QString::fromStdString(Ready(dir, "a").outputPath));
    QVERIFY(outside.renders.last().filter.starts_with("scale=54:36,pad=54:36:0:0")); // the 3:2 screen, small
    QCOMPARE(outside.pendingStills.size(), 2); // beside each other: neither ends the other
    outside.pendingStills.last()({"png", {}, true});
    QCOMPARE(runner->thumbnail(ids["a"]), QByteArray("png"));
    runner.reset();
    QCOMPARE(QueueRunner(outside, store).parallelSetting(), 2);
}

// Removing the running video is not a stop: it goes, its partial file with it, and the next one starts.
void TestQueue::removingARunningItemRunsOn() {
    QTemporaryDir dir;
    FakeOutside outside;
    outside.jobsEndOnStop = true;
    QueueRunner runner(outside, dir.filePath("queue.sqlite"));
    runner.setParallel(1);
    const int a = runner.addReady(Ready(dir, "a"), zvm::CommandStyle::Modern);
    runner.addReady(Ready(dir, "b"), zvm::CommandStyle::Modern);
    runner.start();
    QTRY_COMPARE_WITH_TIMEOUT(outside.jobs.size(), 1, 5000); // in the next turn of the event loop
    runner.remove(a);
    QTRY_COMPARE_WITH_TIMEOUT(outside.jobs.size(), 2, 20000);
    QCOMPARE(States(runner.queue()), "b:running");
    QVERIFY(runner.queue().isRunning());
}

void TestQueue::restoresAsAdded_data() {
    QTest::addColumn<QString>("kept"); // "source>output state [start-end]" per item, ';' between; '@' is the test folder
    QTest::addColumn<QString>("present"); // files that exist in the test folder
    QTest::addColumn<QString>("from");    // the working folder at the new start, in the test folder
    QTest::addColumn<QString>("after");   // the items, and whose outputs exist already
    QTest::newRow("a running item starts again") << "@/a.avi>@/a.mp4 running" << "a.avi" << "." << "a:waiting | ";
    QTest::newRow("relative paths, from the working folder")
        << "a.avi>out/a.mp4 waiting" << "a.avi" << "." << "a:waiting | ";
    QTest::newRow("relative paths, another working folder")
        << "a.avi>a.mp4 waiting" << "a.avi" << "elsewhere"
        << "a:needs-attention(The source video is not there any more: @/elsewhere/a.avi) | ";
    QTest::newRow("output is its source") << "@/a.avi>@/a.avi waiting" << "a.avi" << "."
                                          << "a:needs-attention(The output file is the source video) | ";
    QTest::newRow("output is another item's source")
        << "@/a.avi>@/b.avi running; @/b.avi>@/b.mp4 waiting" << "a.avi b.avi" << "."
        << "a:needs-attention(The output file is the source of another video of the queue) b:waiting | ";
    QTest::newRow("two items, one output")
        << "@/a.avi>@/x.mp4 waiting; @/b.avi>@/x.mp4 running" << "a.avi b.avi" << "."
        << "a:waiting b:needs-attention(Another video of the queue is written to the same output file) | ";
    QTest::newRow("a cut is kept") << "@/a.avi>@/a.mp4 waiting 1.5-3; @/b.avi>@/b.mp4 waiting -4.25"
                                   << "a.avi b.avi" << "." << "a:waiting b:waiting | ";
    QTest::newRow("a file size is kept") << "@/a.avi>@/a.mp4 waiting mb2" << "a.avi" << "." << "a:waiting | ";
    QTest::newRow("a silent source keeps its silent track") << "@/a.avi>@/a.mp4 waiting silent" << "a.avi" << "."
                                                            << "a:waiting | ";
    QTest::newRow("a file size too small")
        << "@/a.avi>@/a.mp4 waiting mb0.01" << "a.avi" << "."
        << "a:needs-attention(This file size leaves too few bits for a watchable picture; the smallest size that "
           "works is 0.2 MB) | ";
    QTest::newRow("outputs that exist are asked about")
        << "@/a.avi>@/a.mp4 waiting; @/b.avi>@/b.mp4 waiting" << "a.avi b.avi a.mp4" << "."
        << "a:waiting b:waiting | a";
}

// What an earlier run kept comes back as if added now: its command built again, its paths absolute,
// checked again; the file keeps every item, whatever became of it.
void TestQueue::restoresAsAdded() {
    QFETCH(QString, kept);
    QFETCH(QString, present);
    QFETCH(QString, from);
    QFETCH(QString, after);
    QTemporaryDir dir;
    const QString store = dir.filePath("queue.sqlite");
    std::vector<QueueItem> items;
    for (const QString& entry : kept.split(';')) {
        const QStringList words = entry.trimmed().replace('@', dir.path()).split(QRegularExpression("[> ]"));
        const auto state = StateFromWord(words.value(2).toStdString());
        // The fourth word: a cut "A-B" (either side may be empty), "mbN", a file size in megabytes, or
        // "silent", a source read to have no sound, for the PSP's own format.
        const bool sized = words.value(3).startsWith("mb");
        const bool silent = words.value(3) == "silent";
        const QStringList cut = words.value(3).split('-');
        QVERIFY2((words.size() == 3 || (words.size() == 4 && (sized || silent || cut.size() == 2))) && state,
                 qPrintable("cannot read: " + entry));
        QueueItem& item = items.emplace_back();
        item.request = Ready(dir, "x");
        item.duration = 10;
        if (sized) {
            item.request.fileSizeMB = words[3].mid(2).toDouble();
        }
        item.request.sourceVideo = words[0].toStdString();
        item.request.outputPath = words[1].toStdString();
        item.state = *state;
        if (silent) {
            item.request.preset = *zvm::PresetByName("psp-480x272");
            item.hasAudio = false;
        } else if (words.size() == 4 && !sized) {
            item.request.cutStart = cut[0].isEmpty() ? std::nullopt : std::optional(cut[0].toDouble());
            item.request.cutEnd = cut[1].isEmpty() ? std::nullopt : std::optional(cut[1].toDouble());
        }
    }
    QVERIFY(SaveQueue(store, items).ok());
    for (const QString& name : present.split(' ')) {
        QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkpath(from));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.filePath(from));
    FakeOutside outside;
    QueueRunner runner(outside, store);
    runner.restore(runner.loadStore().items);
    QDir::setCurrent(previous);
    QStringList existing;
    for (const int id : runner.existingOutputs()) {
        existing << Base(runner.queue().find(id)->request.sourceVideo);
    }
    QCOMPARE(States(runner.queue()).replace(dir.path(), "@") + " | " + existing.join(' '), after);
    for (const QueueItem& item : runner.queue().items()) {
        QVERIFY(QFileInfo(QString::fromStdString(item.request.sourceVideo)).isAbsolute());
        QVERIFY(QFileInfo(QString::fromStdString(item.request.outputPath)).isAbsolute());
        QCOMPARE(item.command.find(item.request.sourceVideo) != std::string::npos,
                 item.state == ItemState::Waiting); // a waiting item can run
    }
    QCOMPARE(LoadQueue(store).items.size(), items.size()); // none lost
    for (std::size_t at = 0; at < items.size(); ++at) { // the cut comes back, and no cut stays none
        const zvm::ConversionRequest& restored = runner.queue().items()[at].request;
        QCOMPARE(restored.cutStart, items[at].request.cutStart);
        QCOMPARE(restored.cutEnd, items[at].request.cutEnd);
        QCOMPARE(restored.fileSizeMB, items[at].request.fileSizeMB);
        QCOMPARE(runner.queue().items()[at].command.find("anullsrc") != std::string::npos,
                 items[at].hasAudio == false);
    }
}

// An item names its target in the file, so a user's target keeps its item whatever row it has in the
// next run; files written with row numbers read as they were meant, and an unknown name is set aside.
void TestQueue::keepsTargetsByName_data() {
    QTest::addColumn<QString>("target"); // the name saved, or "row N" for an old file
    QTest::addColumn<QString>("loaded"); // the name read back; empty when the file is set aside
    QTest::newRow("a built-in target") << "psp-480x272" << "psp-480x272";
    QTest::newRow("a user's target") << "my-phone" << "my-phone";
    QTest::newRow("an old file's row") << "row 6" << "vcd-pal-352x288";
    QTest::newRow("an old file's row beyond the built-in ones") << "row 8" << "";
    QTest::newRow("a user's target removed meanwhile") << "gone" << "";
}

void TestQueue::keepsTargetsByName() {
    QFETCH(QString, target);
    QFETCH(QString, loaded);
    const auto user = [](const char* name) {
        zvm::UserTarget t;
        t.name = name;
        t.label = "Phone";
        t.width = 640;
        t.height = 360;
        t.video = zvm::VideoKind::H264;
        return t;
    };
    zvm::SetUserTargets({user("gone"), user("my-phone")});
    QTemporaryDir dir;
    const QString store = dir.filePath("queue.sqlite");
    QueueItem item;
    item.request = Ready(dir, "x");
    item.request.preset = target.startsWith("row") ? 0 : *zvm::PresetByName(target.toStdString());
    item.state = ItemState::Waiting;
    QVERIFY(SaveQueue(store, {item}).ok());
    const QByteArray named = "\"target\":\"" + (target.startsWith("row") ? QByteArray("gba-240x160") : target.toUtf8()) + '"';
    QVERIFY(KeptText(store).contains(named));
    if (target.startsWith("row")) { // as files were written before
        QVERIFY(Rewrite(store, named, "\"preset\": " + target.mid(4).toUtf8()));
    }
    zvm::SetUserTargets({});
    zvm::SetUserTargets({user("my-phone")}); // another run: its own row, after the withdrawn one here
    const LoadedQueue kept = LoadQueue(store);
    zvm::SetUserTargets({});
    QCOMPARE(kept.problem.isEmpty(), !loaded.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList({"queue.sqlite.damaged-*"}).size(), loaded.isEmpty() ? 1 : 0);
    if (!loaded.isEmpty()) {
        QCOMPARE(kept.items.size(), std::size_t(1));
        QCOMPARE(QString::fromUtf8(zvm::FindPreset(kept.items[0].request.preset)->name), loaded);
    }
}

void TestQueue::oneWindowKeepsTheQueue_data() {
    QTest::addColumn<bool>("otherProgram"); // the owner: another program, or another runner of this one
    QTest::newRow("another window of this program") << false;
    QTest::newRow("another program, its lock a day old, then killed") << true;
}

// The window that comes second neither offers nor overwrites the first one's queue; it keeps its
// own videos in memory, and once the first is gone (closed, or killed) it joins what the file holds
// to its own, each video once.
void TestQueue::oneWindowKeepsTheQueue() {
    QFETCH(bool, otherProgram);
    QTemporaryDir dir;
    const QString store = dir.filePath("queue.sqlite");
    QueueItem theirs;
    theirs.request = Ready(dir, "theirs");
    theirs.state = ItemState::Running;
    QVERIFY(SaveQueue(store, {theirs}).ok());
    FakeOutside outside;
    auto first = std::make_unique<QueueRunner>(outside, store);
    QProcess owner;
    if (otherProgram) {
        first.reset();
        owner.start(QUEUE_TOOL_PATH, {store, FAKE_ENCODER_PATH, dir.path(), "0"});
        QVERIFY(owner.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QLockFile(store + ".lock").getLockInfo(nullptr, nullptr, nullptr), 10000);
        QFile lock(store + ".lock");
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    }
    QueueRunner second(outside, store);
    QVERIFY(!second.holdsStore());
    QVERIFY(second.loadStore().items.empty()); // not offered here
    QVERIFY(second.storeStatus().message().starts_with("it is in use by another window"));
    second.addReady(Ready(dir, "mine"), zvm::CommandStyle::Modern);
    second.addReady(theirs.request, theirs.style); // the same work, added here too
    QCOMPARE(LoadQueue(store).items.size(), std::size_t(1)); // not written over
    if (otherProgram) {
        ::kill(static_cast<pid_t>(owner.processId()), SIGKILL);
        QVERIFY(owner.waitForFinished(10000));
    } else {
        first.reset();
    }
    QTRY_VERIFY_WITH_TIMEOUT(second.holdsStore(), 4 * QueueRunner::kLockRetryMs);
    QCOMPARE(States(second.queue()), "mine:waiting theirs:waiting");
    QCOMPARE(LoadQueue(store).items.size(), std::size_t(2));
    QVERIFY(second.storeStatus().ok());
}

// A queue an earlier version kept as one JSON file is read once, kept in the store, and the old file
// goes only once the store holds it; one that cannot be read is set aside as before.
void TestQueue::readsAnEarlierVersionsFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("items");
    QTest::newRow("two waiting") << QByteArray(R"({"version": 1, "items": [
        {"source": "@/a.avi", "output": "@/a.mp4", "target": "psp-368x208", "state": "waiting", "width": "640", "height": "480"},
        {"source": "@/b.avi", "output": "@/b.mp4", "target": "gba-240x160", "state": "running", "width": "720", "height": "576"}]})") << 2;
    QTest::newRow("damaged") << QByteArray(R"({"version": 1, "items": [{"source": 1}]})") << 0;
}

void TestQueue::readsAnEarlierVersionsFile() {
    QFETCH(QByteArray, file);
    QFETCH(int, items);
    QTemporaryDir dir;
    QFile json(dir.filePath("queue.json"));
    QVERIFY(json.open(QIODevice::WriteOnly) && json.write(file.replace("@", dir.path().toUtf8())) == file.size());
    json.close();
    FakeOutside outside;
    {
        QueueRunner runner(outside, dir.filePath("queue.sqlite"));
        LoadedQueue kept = runner.loadStore();
        QCOMPARE(kept.items.size(), std::size_t(items));
        QCOMPARE(kept.problem.isEmpty(), items > 0);
        runner.restore(std::move(kept.items));
    }
    QCOMPARE(LoadQueue(dir.filePath("queue.sqlite")).items.size(), std::size_t(items));
    QVERIFY(!QFile::exists(dir.filePath("queue.json")));
    QCOMPARE(QDir(dir.path()).entryList({"queue.json.damaged-*"}).size(), items > 0 ? 0 : 1);
}

void TestQueue::removesOnlyWhatItWrote_data() {
    QTest::addColumn<bool>("before"); // a file stood at the output before the run
    QTest::addColumn<bool>("writes"); // the encoder writes it
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("left");
    QTest::addColumn<QString>("reason");
    const QString removed = "; its partial output was removed";
    QTest::newRow("failed: its new file") << false << true << "exit" << false
                                          << "the encoder ended with exit code 1" + removed;
    QTest::newRow("failed: a file it would replace") << true << true << "exit" << true
                                                     << "the encoder ended with exit code 1" + removed;
    QTest::newRow("failed before touching a file") << true << false << "exit" << true
                                                   << "the encoder ended with exit code 1";
    QTest::newRow("failed, writing nothing") << false << false << "exit" << false
                                             << "the encoder ended with exit code 1";
    QTest::newRow("ended by a signal") << false << true << "signal" << false
                                       << "the encoder was ended by a signal" + removed;
    QTest::newRow("stopped: its new file") << false << true << "stop" << false << "stopped on request" + removed;
    QTest::newRow("stopped before touching a file") << true << false << "stop" << true << "stopped on request";
    QTest::newRow("finished") << false << true << "finish" << true << "";
}

void TestQueue::removesOnlyWhatItWrote() {
    QFETCH(bool, before);
    QFETCH(bool, writes);
    QFETCH(QString, end);
    QFETCH(bool, left);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    FakeOutside outside;
    outside.jobsEndOnStop = true;
    QueueRunner runner(outside);
    const zvm::ConversionRequest request = Ready(dir, "a");
    QFile output(QString::fromStdString(request.outputPath));
    if (before) {
        QVERIFY(output.open(QIODevice::WriteOnly));
        output.write("kept");
        output.close();
    }
    const int id = runner.addReady(request, zvm::CommandStyle::Modern);
    runner.start();
    QTRY_VERIFY_WITH_TIMEOUT(outside.lastJob != nullptr, 5000);
    if (writes) { // the encoder writes a hidden name beside the asked one
        QFile partial(QFileInfo(output).dir().filePath(".zvm-partial.a.mp4"));
        QVERIFY(outside.started.constFirst().endsWith('"' + partial.fileName() + '"'));
        QVERIFY(partial.open(QIODevice::WriteOnly));
        partial.write("partial");
    }
    const QHash<QString, std::function<void()>> ends{
        {"exit", [&] { emit outside.lastJob->finished(1, 0); }},
        {"signal", [&] { emit outside.lastJob->finished(-1, SIGKILL); }},
        {"stop", [&] { runner.stopCurrent(); }},
        {"finish", [&] { emit outside.lastJob->finished(0, 0); }}};
    QVERIFY2(ends.contains(end), qPrintable("no such end: " + end));
    ends[end]();
    QTRY_VERIFY(runner.queue().find(id)->state != ItemState::Running);
    if (!outside.pendingChecks.isEmpty()) { // the asked name is given once the file passed
        outside.pendingChecks.takeFirst()({zvm::CheckVerdict::Fits, "fits"});
    }
    QCOMPARE(output.exists(), left);
    QCOMPARE(QString::fromStdString(ReasonText(*runner.queue().find(id))), reason);
    if (left && end != "finish") {
        QVERIFY(output.open(QIODevice::ReadOnly));
        QCOMPARE(output.readAll(), "kept");
    }
    QVERIFY(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter("partial").isEmpty());
}

QTEST_GUILESS_MAIN(TestQueue)
#include "tst_queue.moc"

// Subtitles are kept only when chosen, so a file without them reads as before and keeps reading so;
// a value that cannot be read sets the file aside and says which.
void TestQueue::keepsSubtitles_data() {
    QTest::addColumn<QString>("choice");  // "none", or "auto|file SIZE [streams|file]"
    QTest::addColumn<QString>("written"); // put in place of the item's subtitle fields before reading
    QTest::addColumn<QString>("problem"); // in the message when set aside; empty when it loads
    QTest::newRow("none: nothing written") << "none" << "" << "";
    QTest::newRow("automatic, its size and streams") << "auto 14 2" << "" << "";
    QTest::newRow("automatic, streams not yet read") << "auto 0" << "" << "";
    QTest::newRow("a file") << "file 0 /s/it's: a,b.srt" << "" << "";
    QTest::newRow("an unknown word") << "none" << R"("subtitles": "sometimes")" << R"(kept as "sometimes", which is not)";
    QTest::newRow("a file without its name") << "none" << R"("subtitles": "file")" << "subtitle file of";
    QTest::newRow("a size that is no number") << "auto 0" << R"("subtitleSize": "big")" << "subtitle size of";
    QTest::newRow("a size too large") << "auto 0" << R"("subtitleSize": 201)" << "subtitle size of";
    QTest::newRow("a stream count below 0") << "auto 0" << R"("subtitleStreams": -1)" << "stream count of";
    // Other numbers no run can use set it aside too, said briefly.
    QTest::newRow("a cut start no video has") << "none" << R"("cutStart": 1e308)" << "cutStart of";
    QTest::newRow("a file size no file has") << "none" << R"("fileSizeMB": 1e308)" << "kept as 1e+308, which no video";
    QTest::newRow("a duration past any video") << "none" << R"("duration": -4e7)" << "duration of";
    // The source's choices beside them, kept the same way.
    QTest::newRow("a crop rectangle, a stream, deinterlacing") << "none crop=1440:1080:240:0@1920x1080 track=1 deint=on"
                                                               << "" << "";
    QTest::newRow("automatic crop, languages, no deinterlacing") << "auto 0 crop=auto lang=eng,deu deint=off" << "" << "";
    QTest::newRow("a crop that is no rectangle") << "none" << R"("crop": "wide")" << "crop of";
    QTest::newRow("an unknown deinterlacing") << "none" << R"("deinterlace": "maybe")" << "deinterlacing of";
    QTest::newRow("a stream below 0") << "none" << R"("audioTrack": -2)" << "sound stream of";
}

void TestQueue::keepsSubtitles() {
    QFETCH(QString, choice);
    QFETCH(QString, written);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString store = dir.filePath("queue.sqlite");
    QueueItem item;
    item.request = Ready(dir, "x");
    item.state = ItemState::Waiting;
    QStringList words = choice.split(' ');
    const QHash<QString, zvm::SubtitleMode> modes{{"none", zvm::SubtitleMode::None},
                                                  {"auto", zvm::SubtitleMode::Auto},
                                                  {"file", zvm::SubtitleMode::File}};
    QVERIFY2(modes.contains(words[0]), qPrintable("cannot read: " + choice));
    for (const QString& word : words) {
        const QString value = word.section('=', 1);
        if (word.startsWith("crop=")) {
            item.request.crop = *zvm::ParseCrop(value.section('@', 0, 0).toStdString());
            item.request.crop.sourceWidth = value.section('@', 1).section('x', 0, 0).toInt();
            item.request.crop.sourceHeight = value.section('@', 1).section('x', 1).toInt();
        } else if (word.startsWith("lang=")) {
            item.request.audio.languages = *zvm::ParseLanguages(value.toStdString());
        } else if (word.startsWith("track=")) {
            item.request.audio.track = value.toInt();
        } else if (word.startsWith("deint=")) {
            item.request.deinterlace = *zvm::DeinterlaceFromWord(value.toStdString());
        }
    }
    words.erase(std::remove_if(words.begin(), words.end(), [](const QString& w) { return w.contains('='); }), words.end());
    item.request.subtitles.mode = modes[words[0]];
    item.request.subtitles.size = words.value(1).toInt();
    if (words.size() > 2 && words[0] == "auto") {
        item.subtitleStreams = words[2].toInt();
    } else if (words.size() > 2) {
        item.request.subtitles.file = choice.section(' ', 2).toStdString();
    }
    QVERIFY(SaveQueue(store, {item}).ok());
    QCOMPARE(KeptText(store).contains("subtitle"), words[0] != "none"); // only when chosen
    QVERIFY(written.isEmpty() || Rewrite(store, "\"state\":", written.toUtf8() + ", \"state\":"));
    const LoadedQueue kept = LoadQueue(store);
    QVERIFY2(problem.isEmpty() ? kept.problem.isEmpty() : kept.problem.contains(problem), qPrintable(kept.problem));
    QCOMPARE(QDir(dir.path()).entryList({"queue.sqlite.damaged-*"}).size(), problem.isEmpty() ? 0 : 1); // not lost
    if (problem.isEmpty()) {
        QCOMPARE(kept.items.size(), std::size_t(1));
        QVERIFY(kept.items[0].request == item.request);
        QCOMPARE(kept.items[0].subtitleStreams, item.subtitleStreams);
    }
}

// Automatic subtitles take the one read of the video's size for its subtitle streams, and are resolved
// again as the video starts: a file beside it then, else its first stream, else none.
void TestQueue::resolvesSubtitlesAsItStarts_data() {
    // "add": read by the queue; "ready": the preview's count given; "file": picked; "menu": chosen once queued
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("streams");    // the video's subtitle streams
    QTest::addColumn<QString>("beside"); // when a.srt comes beside the video: "before" its read, "after", "never"
    QTest::addColumn<QString>("drawn");  // in the started command; "-" for no subtitles; else the item's state
    QTest::newRow("a file beside") << "add" << 1 << "before" << R"(subtitles=filename=\'@/a.srt\')";
    QTest::newRow("a file beside, put there after the read") << "add" << 0 << "after" << "@/a.srt";
    QTest::newRow("the first stream") << "add" << 2 << "never" << R"(@/a.avi\':si=0)";
    QTest::newRow("none to be found") << "add" << 0 << "never" << "-";
    QTest::newRow("chosen in the menu, read then") << "menu" << 1 << "never" << R"(@/a.avi\':si=0)";
    QTest::newRow("counted by the preview") << "ready" << 1 << "never" << R"(@/a.avi\':si=0)";
    QTest::newRow("a picked file") << "file" << 1 << "before" << "@/a.srt";
    QTest::newRow("a picked file gone") << "file" << 0 << "never" << "a:needs-attention(The subtitle file is not there: @/a.srt)";
}

void TestQueue::resolvesSubtitlesAsItStarts() {
    QFETCH(QString, how);
    QFETCH(int, streams);
    QFETCH(QString, beside);
    QFETCH(QString, drawn);
    QTemporaryDir dir;
    const auto make = [&](const QString& name) { QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly)); };
    make("a.avi");
    if (beside == "before") {
        make("a.srt");
    }
    FakeOutside outside;
    QueueRunner runner(outside);
    zvm::ConversionRequest r = Ready(dir, "a");
    r.subtitles.mode = how == "file" ? zvm::SubtitleMode::File : zvm::SubtitleMode::Auto;
    r.subtitles.file = how == "file" ? dir.filePath("a.srt").toStdString() : std::string();
    if (how == "menu") {
        const zvm::SubtitleChoice automatic = std::exchange(r.subtitles, {});
        runner.setSubtitles(runner.addReady(r, zvm::CommandStyle::Modern), automatic);
    } else if (how == "add") {
        r.width.clear(); // as the window adds videos
        runner.add({r}, zvm::CommandStyle::Modern);
    } else {
        runner.addReady(r, zvm::CommandStyle::Modern, how == "ready" ? std::optional(streams) : std::nullopt);
    }
    QCOMPARE(outside.detections.size(), how == "add" || how == "menu" ? 1 : 0); // once, and only when it must be
    if (!outside.pendingDetections.isEmpty()) {
        outside.pendingDetections.takeFirst()({QSize(640, 480), {}, 10.0, {}, {1, 1}, streams});
    }
    if (beside == "after") {
        make("a.srt");
    }
    runner.start();
    QCoreApplication::processEvents(); // the start comes in the next turn of the event loop
    const QString state = States(runner.queue()).replace(dir.path(), "@");
    const QString started = outside.started.value(0).replace(dir.path(), "@");
    if (drawn.startsWith("a:")) {
        QCOMPARE(state, drawn);
    } else {
        QVERIFY2(drawn == "-" ? !started.contains("subtitles=") : started.contains(drawn), qPrintable(started));
        QVERIFY2(!started.isEmpty(), qPrintable(state));
    }
}

// An item's read looks at its frames only where its choices need it: an automatic crop, or a later
// row's deinterlacing that the stream's field order does not settle; its command takes what was found.
void TestQueue::readsWhatItsChoicesNeed_data() {
    QTest::addColumn<int>("preset");
    QTest::addColumn<bool>("autoCrop");
    QTest::addColumn<QString>("fields"); // as the stream says: "interlaced", "progressive" or "unknown"
    QTest::addColumn<int>("looks");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("an automatic crop") << 0 << true << "progressive" << 1 << "crop=480:480:80:0" << "bwdif";
    QTest::newRow("interlaced, a later row") << 5 << false << "interlaced" << 0 << "bwdif=mode=send_frame" << "crop=";
    QTest::newRow("fields unknown, looked at") << 5 << false << "unknown" << 1 << "bwdif=mode=send_frame" << "crop=";
    QTest::newRow("progressive, a later row") << 5 << false << "progressive" << 0 << "scale=" << "bwdif";
    QTest::newRow("interlaced, a designed row") << 0 << false << "interlaced" << 0 << "scale=" << "bwdif";
}

void TestQueue::readsWhatItsChoicesNeed() {
    QFETCH(int, preset);
    QFETCH(bool, autoCrop);
    QFETCH(QString, fields);
    QFETCH(int, looks);
    QFETCH(QString, in);
    QFETCH(QString, out);
    QTemporaryDir dir;
    FakeOutside outside;
    QueueRunner runner(outside);
    zvm::ConversionRequest r = Ready(dir, "a");
    r.width.clear();
    r.preset = preset;
    r.crop.mode = autoCrop ? zvm::CropMode::Auto : zvm::CropMode::None;
    runner.add({r}, zvm::CommandStyle::Modern);
    SizeDetection read{QSize(640, 480), {}, 10.0, QSize(640, 480)};
    read.interlaced = fields == "unknown" ? std::nullopt : std::optional(fields == "interlaced");
    QTRY_COMPARE_WITH_TIMEOUT(outside.pendingDetections.size(), 1, 5000);
    outside.pendingDetections.takeFirst()(read);
    QCOMPARE(outside.looks.size(), looks);
    if (looks > 0) {
        outside.pendingLooks.takeFirst()({{zvm::CropMode::Rect, 480, 480, 80, 0}, {}, true});
    }
    const std::string& command = runner.queue().items().at(0).command;
    QVERIFY2(command.find(in.toStdString()) != std::string::npos, command.c_str());
    QVERIFY2(command.find(out.toStdString()) == std::string::npos, command.c_str());
}
