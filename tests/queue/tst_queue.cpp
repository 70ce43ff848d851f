// The queue: its state machine as a table of events, its time arithmetic, a run of the fake encoder
// through the real run layer, and what a killed program leaves for the next start.
#include "../FakeOutside.h"
#include "QueueRunner.h"
#include "QueueStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace zvm::queue;

class TestQueue : public QObject {
    Q_OBJECT

private slots:
    void stateMachine_data();
    void stateMachine();
    void timeLeft();
    void runsOneAfterAnother();
    void killedRunIsKept();
};

Q_DECLARE_METATYPE(QueueSummary)

namespace {
zvm::ConversionRequest Request(const QString& name) {
    zvm::ConversionRequest r;
    r.encoderPath = "ffmpeg";
    r.sourceVideo = ("/v/" + name + ".avi").toStdString();
    r.outputPath = ("/out/" + name + ".mp4").toStdString();
    r.videoBitrate = "256";
    r.audioBitrate = "32";
    r.sampleRate = "24000";
    return r;
}

// Plays a script of events, one per word group separated by ';', on a queue whose items are named
// by their source; returns the items' states in order and what each "next" started, or what in the
// script it could not play.
QString Play(const QString& script) {
    // Paths name the same file when they are equal: enough for the source-is-output rule.
    auto queue = std::make_unique<Queue>([](const std::string& a, const std::string& b) { return a == b; });
    QHash<QString, int> ids;
    QStringList started;
    for (const QString& event : script.split(';', Qt::SkipEmptyParts)) {
        // Each event word, with how many words the event takes.
        static const QHash<QString, qsizetype> kWords{
            {"add", 2},  {"size", 2},   {"nosize", 2}, {"output", 3},  {"start", 1},
            {"next", 1}, {"pause", 1},  {"end", 3},    {"missing", 2}, {"stop", 2},
            {"skip", 2}, {"remove", 2}, {"move", 3},   {"clear", 1},   {"restart", 1}, {"sliver", 2}};
        const QStringList w = event.simplified().split(' ');
        const int id = ids.value(w.value(1), -1);
        if (kWords.value(w[0]) != w.size() || (w[0] != "add" && w.size() > 1 && id < 0)) {
            return "cannot play: " + event;
        }
        if (w[0] == "add") {
            ids[w[1]] = queue->add(Request(w[1]), zvm::CommandStyle::Modern);
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
        } else if (w[0] == "move") {
            queue->move(id, w[2].toInt());
        } else if (w[0] == "clear") {
            queue->clearFinished();
        } else if (w[0] == "restart") { // the program ends here and starts again
            std::vector<QueueItem> kept = queue->unfinished();
            queue = std::make_unique<Queue>([](const std::string&, const std::string&) { return false; });
            queue->restore(kept);
            ids.clear();
            for (const QueueItem& item : queue->items()) {
                ids[QFileInfo(QString::fromStdString(item.request.sourceVideo)).baseName()] = item.id;
            }
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
    QTest::newRow("stop pauses the queue") << "add a; add b; size a; size b; start; next; stop a; next"
                                            << "a:stopped b:waiting | a -";
    QTest::newRow("pause after the current one")
        << "add a; add b; size a; size b; start; next; pause; end a 0; next; start; next"
        << "a:finished b:running | a - b";
    QTest::newRow("the running item is not removed") << "add a; size a; start; next; remove a"
                                                      << "a:running | a";
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
    QTest::newRow("a clean exit without a file fails") << "add a; size a; start; next; end a 0; missing a"
                                                       << "a:failed | a";
    QTest::newRow("skipped items are not run") << "add a; add b; size a; size b; skip a; start; next"
                                               << "a:skipped b:running | b";
    QTest::newRow("clear finished") << "add a; add b; size a; size b; start; next; end a 0; next; end b 1; clear"
                                    << "b:failed | a b";
    QTest::newRow("resume after a restart: the finished stay behind, the running start again")
        << "add a; add b; add c; size a; size b; size c; start; next; end a 0; next; restart; start; next"
        << "b:running c:waiting | a b b";
}

void TestQueue::stateMachine() {
    QFETCH(QString, script);
    QFETCH(QString, after);
    QCOMPARE(Play(script), after);
}

void TestQueue::timeLeft() {
    Queue queue([](const std::string&, const std::string&) { return false; });
    const int a = queue.addReady([] { auto r = Request("a"); r.width = "640", r.height = "480"; return r; }(),
                                 zvm::CommandStyle::Modern);
    const int b = queue.add(Request("b"), zvm::CommandStyle::Modern);
    queue.start();
    QCOMPARE(queue.next(), std::optional(a));
    QVERIFY(!queue.secondsLeft(a)); // no speed yet
    queue.progressed(a, 20, 60.0, 10); // 20 s of 60 in 10 s: 2x, 20 s left
    QCOMPARE(queue.secondsLeft(a), std::optional(20.0));
    QVERIFY(!queue.totalSecondsLeft()); // b's duration is not known yet
    queue.sizeKnown(b, 640, 480, 30.0);
    QCOMPARE(queue.totalSecondsLeft(), std::optional(35.0)); // 40 + 30 s of source at 2x
}

// Three videos through the fake encoder and the real run layer: the second fails, the third still
// runs, and the summary counts them.
void TestQueue::runsOneAfterAnother() {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path()); // the fake encoder records its arguments in its working directory
    qputenv("FAKE_ENCODER_FAIL_ON", "second");
    FakeOutside outside;
    outside.startsForReal = true;
    QueueRunner runner(outside, dir.filePath("queue.json"));
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
    const bool ended = done.wait(20000);
    qunsetenv("FAKE_ENCODER_FAIL_ON");
    QDir::setCurrent(previous);
    QVERIFY(ended);
    const auto summary = done[0][0].value<QueueSummary>();
    QCOMPARE(summary.finished, 2);
    QCOMPARE(summary.failed, 1);
    QStringList checked; // only the clean exits
    for (const FakeOutside::Check& check : outside.checks) {
        checked << QFileInfo(check.output).fileName();
    }
    QCOMPARE(checked, QStringList({"first.mp4", "third.mp4"}));
    for (const auto& answer : outside.pendingChecks) {
        answer({zvm::CheckVerdict::Fits, "fits"});
    }
    const QueueItem& failed = runner.queue().items()[1];
    QCOMPARE(ReasonText(failed), "the encoder ended with exit code 1");
    QVERIFY(QString::fromStdString(failed.log).contains("Conversion failed!"));
    QVERIFY(LoadQueue(dir.filePath("queue.json")).items.empty()); // nothing unfinished is left to offer
}

// A program killed in the middle of its second video leaves that one and the third for the next
// start; the first, finished, is not offered again.
void TestQueue::killedRunIsKept() {
    QTemporaryDir dir;
    const QString store = dir.filePath("queue.json");
    QProcess tool;
    tool.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FAKE_ENCODER_SECONDS", "1");
    tool.setProcessEnvironment(env);
    tool.start(QUEUE_TOOL_PATH, {store, FAKE_ENCODER_PATH, dir.path(), "3"});
    QVERIFY(tool.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath("clip 1.mp4")), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(LoadQueue(store).items.size() == 2, 10000);
    ::kill(static_cast<pid_t>(tool.processId()), SIGKILL);
    tool.waitForFinished();

    Queue next([](const std::string&, const std::string&) { return false; });
    next.restore(LoadQueue(store).items);
    QCOMPARE(next.items().size(), std::size_t(2));
    QCOMPARE(next.items()[0].request.outputPath, dir.filePath("clip 2.mp4").toStdString());
    QCOMPARE(next.items()[0].state, ItemState::Waiting); // was running: starts again from the beginning
    QCOMPARE(next.items()[1].state, ItemState::Waiting);
}

QTEST_GUILESS_MAIN(TestQueue)
#include "tst_queue.moc"
