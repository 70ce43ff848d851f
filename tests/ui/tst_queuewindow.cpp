// The queue as the user meets it: adding videos from the window, running them, the questions it asks,
// and what it offers back at the next start. Through the fake platform.
#include "tests/Requests.h"
#include "queue/QueueRunner.h"
#include "queue/QueueStore.h"
#include "ui/QueueModel.h"
#include "ui/QueueWindow.h"
#include "ui/Translations.h"
#include "tests/ui/WindowFixture.h"

#include <QAction>
#include <QBuffer>
#include <QImage>
#include <QLineEdit>
#include <QLockFile>
#include <QMenu>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <csignal>
#include <sys/stat.h>

class TestQueueWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallTranslations(*qApp); } // English plurals, as the program has them
    void addsRunsAndTellsWhenDone_data();
    void addsRunsAndTellsWhenDone();
    void stopsTheChosenVideo();
    void reopensFromTheMenu();
    void showsEachVideosSubtitleChoice();
    void offersEachVideosChoices_data();
    void offersEachVideosChoices();
    void asksBeforeReplacingOutputs_data();
    void asksBeforeReplacingOutputs();
    void offersKeptVideosBack_data();
    void offersKeptVideosBack();
    void leavesADamagedFileItCannotSetAside();
    void saysOnceThatTheQueueCannotBeKept();
    void asksBeforeQuittingARunningQueue_data();
    void asksBeforeQuittingARunningQueue();
    void modelTellsWhatChanged_data();
    void modelTellsWhatChanged();
    void keepsSortingAndSelection();
};

namespace {
QueueWindow* Window(frmZCM& w) {
    return w.findChild<QueueWindow*>();
}

QString Cell(QueueWindow* q, int row, int column) {
    return q->table()->model()->index(row, column).data().toString();
}

// Two videos added from the window, with their sizes detected; the encoder, asked its form as they
// are added, rejects the classic options.
QueueWindow* AddTwo(WindowFixture& fx, frmZCM& w, const QString& second = "b.avi") {
    fx.platform.manyFiles = {fx.dir.filePath("a.mkv"), fx.dir.filePath(second)};
    fx.outside.formAnswer = zvm::EncoderAnswer::Rejects;
    Ui(w).mnuAddToQueue->trigger();
    if (fx.outside.formQuestions.size() != 1 || !WindowFixture::formAnswered(w)) {
        return nullptr;
    }
    for (auto& detect : fx.outside.pendingDetections) {
        detect({QSize(640, 480), {}, 10.0});
    }
    fx.outside.pendingDetections.clear();
    return Window(w);
}
} // namespace

void TestQueueWindow::addsRunsAndTellsWhenDone_data() {
    QTest::addColumn<int>("parallel"); // chosen in the window's options
    QTest::addColumn<int>("verdict");  // of the first video's after-check
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("summary");
    QTest::newRow("one at a time") << 1 << int(zvm::CheckVerdict::Fits) << "Finished"
                                   << "1 finished, 1 failed, 0 skipped";
    QTest::newRow("two at once, the first not fitting")
        << 2 << int(zvm::CheckVerdict::Differs) << "Finished, but does not fit"
        << "0 finished, 1 not fitting their target, 1 failed, 0 skipped";
}

void TestQueueWindow::addsRunsAndTellsWhenDone() {
    QFETCH(int, parallel);
    QFETCH(int, verdict);
    QFETCH(QString, state);
    QFETCH(QString, summary);
    WindowFixture fx;
    fx.platform.queuePath = fx.dir.filePath("queue.sqlite");
    frmZCM& w = fx.start();
    Ui(w).txtSaveAs->clear(); // outputs beside their videos
    QueueWindow* q = AddTwo(fx, w, "say \"hi\".avi"); // started without a shell, a quote is a letter
    QVERIFY(q != nullptr);
    QCOMPARE(fx.platform.dialogs.last().title, "Add videos to queue");
    QVERIFY(q->isVisible());
    QCOMPARE(Cell(q, 0, QueueModel::Output), fx.dir.filePath("a.mp4"));
    QCOMPARE(Cell(q, 1, QueueModel::Size), "640x480");
    QCOMPARE(Cell(q, 1, QueueModel::State), "Waiting");
    QCOMPARE(LoadQueue(fx.platform.queuePath).items.size(), std::size_t(2)); // kept after every change

    QAction* choice = q->findChild<QAction*>(QString("parallel%1").arg(parallel));
    QVERIFY(choice != nullptr);
    choice->trigger();
    q->findChild<QPushButton*>("start")->click();
    QTRY_COMPARE_WITH_TIMEOUT(fx.outside.started.size(), parallel, 5000); // one per turn of the event loop
    QVERIFY(fx.outside.started[0].contains(fx.dir.filePath("a.mkv")));
    QVERIFY(fx.outside.started[0].contains(" -vf scale=")); // in the form the encoder takes
    emit fx.outside.jobs[0]->outputArrived("  Duration: 00:00:10.00,\nframe=1 time=00:00:05.00 x\r");
    QCOMPARE(Cell(q, 0, QueueModel::Progress), "50%");
    QVERIFY2(q->windowTitle().startsWith("25% - Queue - running, 0 of 2 done"), qPrintable(q->windowTitle()));
    QCOMPARE(q->windowTitle().count('%'), 1); // said once, where a task bar's short entry shows it
    QCOMPARE(fx.platform.taskbar, (QList<std::optional<double>>{0.0, 0.25})); // once per change
    emit fx.outside.jobs[0]->finished(0, 0);
    QTRY_COMPARE_WITH_TIMEOUT(fx.outside.started.size(), 2, 5000); // the next starts in the next turn
    fx.outside.pendingChecks.takeFirst()({zvm::CheckVerdict(verdict), "GBA - 240x160"});
    QCOMPARE(Cell(q, 0, QueueModel::State), state);
    QByteArray png; // the media worker's picture of the first video's output
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && QImage(64, 36, QImage::Format_RGB32).save(&buffer, "PNG"));
    fx.outside.pendingStills.takeFirst()({png, {}, true});
    QVERIFY(!q->table()->model()->index(0, QueueModel::Source).data(Qt::DecorationRole).isNull());
    QVERIFY(q->table()->model()->index(1, QueueModel::Source).data(Qt::DecorationRole).isNull());
    w.activateWindow(); // the queue window is not the active one: a notification says it is done
    QTRY_VERIFY_WITH_TIMEOUT(w.isActiveWindow() && !q->isActiveWindow(), 5000);
    emit fx.outside.jobs[1]->outputArrived("Could not write header: No space left on device\n");
    emit fx.outside.jobs[1]->finished(1, 0);
    QCOMPARE(Cell(q, 1, QueueModel::State), "Failed: the encoder ended with exit code 1: the disk is full");
    q->table()->selectRow(1);
    const QString details = q->findChild<QPlainTextEdit*>("details")->toPlainText();
    QVERIFY2(details.contains("Command: ") && details.contains("'" + fx.dir.filePath("say \"hi\".avi") + "'"),
             qPrintable(details)); // as a shell would take it
    QTRY_COMPARE_WITH_TIMEOUT(q->summaryText(), "The queue is done: " + summary + ".", 5000);
    QCOMPARE(q->windowTitle(), "Queue - done: " + summary);
    QCOMPARE(fx.platform.notifications.size(), 1);
    QCOMPARE(fx.platform.taskbar.last(), std::nullopt);
    QVERIFY(LoadQueue(fx.platform.queuePath).items.empty());
}

// With two converting, Stop asks which one unless one is selected, and stops only that one.
// The menu's check follows the chosen video, so a user sees which choice each one carries.
void TestQueueWindow::showsEachVideosSubtitleChoice() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    QueueWindow* q = AddTwo(fx, w);
    QVERIFY(q != nullptr);
    auto* menu = q->findChild<QMenu*>("subtitles");
    const auto checked = [&] {
        emit menu->aboutToShow();
        QStringList names;
        for (const char* name : {"subtitlesAuto", "subtitlesNone", "subtitlesFile"}) {
            if (q->findChild<QAction*>(name)->isChecked()) {
                names << name;
            }
        }
        return names.join(' ');
    };
    q->table()->selectRow(0);
    q->findChild<QAction*>("subtitlesAuto")->trigger();
    q->table()->selectRow(1);
    QCOMPARE(checked(), "subtitlesNone");
    q->table()->selectRow(0);
    QCOMPARE(checked(), "subtitlesAuto");
    q->table()->clearSelection();
    QCOMPARE(checked(), "");
}

// Each video carries its own quality, crop and sound stream, chosen from its menu, and its command
// follows: a crop is the one its frames agree on, found by a look asked for only then.
void TestQueueWindow::offersEachVideosChoices_data() {
    QTest::addColumn<int>("preset");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("inCommand"); // empty: neither a crop nor a stream is mapped
    QTest::addColumn<QString>("inDetails");
    QTest::addColumn<bool>("bestOffered");
    QTest::newRow("the second sound stream") << 0 << "stream 2" << "-map 0:a:1" << "Sound stream 2, in eng" << true;
    QTest::newRow("best quality on a designed row") << 2 << "best" << "-mbd rd" << "" << true;
    QTest::newRow("bars the frames agree on")
        << 0 << "crop" << "crop=480:480:80:0" << "Black bars found and cropped: the picture 480x480 fits as 160x160" << true;
    QTest::newRow("bars they disagree on") << 0 << "crop, dark" << "" << "No black bars cropped: the frames disagree" << true;
    QTest::newRow("a later row has its best already") << 5 << "" << "" << "" << false;
}

void TestQueueWindow::offersEachVideosChoices() {
    QFETCH(int, preset);
    QFETCH(QString, choice);
    QFETCH(QString, inCommand);
    QFETCH(QString, inDetails);
    QFETCH(bool, bestOffered);
    QTemporaryDir dir;
    FakeOutside outside;
    FakePlatform platform;
    QueueRunner runner(outside);
    QueueWindow q(runner, platform);
    zvm::ConversionRequest r = ReadyRequest(dir.filePath("a.avi").toStdString(), dir.filePath("a.mp4").toStdString());
    r.preset = preset;
    r.width.clear(); // read first, and its streams with it
    runner.add({r}, zvm::CommandStyle::Modern);
    SizeDetection read{QSize(640, 480), {}, 10.0, QSize(640, 480)};
    read.audioStreams = {{"jpn", "", 2, true}, {"eng", "Commentary", 2, false}};
    const auto answer = [&] {
        QTRY_COMPARE_WITH_TIMEOUT(outside.pendingDetections.size(), 1, 5000);
        outside.pendingDetections.takeFirst()(read);
    };
    answer();
    q.table()->selectRow(0);
    QCOMPARE(q.findChild<QAction*>("bestQuality")->isEnabled(), bestOffered);
    if (choice == "best") {
        q.findChild<QAction*>("bestQuality")->trigger();
    } else if (choice == "stream 2") {
        auto* menu = q.findChild<QMenu*>("soundStream");
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().size(), 3); // Automatic, then each stream
        menu->actions().at(2)->trigger();
    } else if (choice.startsWith("crop")) {
        q.findChild<QAction*>("cropBars")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(outside.pendingLooks.size(), 1, 5000); // the size read stands
        PictureLook look;
        look.crop = {zvm::CropMode::Rect, 480, 480, 80, 0};
        if (choice.contains("dark")) {
            look = {{}, "the frames disagree"};
        }
        outside.pendingLooks.takeFirst()(look);
    }
    const QString details = q.findChild<QPlainTextEdit*>("details")->toPlainText();
    QVERIFY2(inCommand.isEmpty() ? !details.contains("crop=") && !details.contains("0:a:") : details.contains(inCommand),
             qPrintable(details));
    QVERIFY2(details.contains(inDetails), qPrintable(details));
    QCOMPARE(outside.detections.size(), 1);
}

void TestQueueWindow::stopsTheChosenVideo() {
    WindowFixture fx;
    fx.outside.jobsEndOnStop = true;
    frmZCM& w = fx.start();
    Ui(w).txtSaveAs->setText(fx.dir.path()); // a folder that can take the outputs
    QueueWindow* q = AddTwo(fx, w);
    QVERIFY(q != nullptr);
    q->findChild<QAction*>("parallel2")->trigger();
    q->start();
    QTRY_COMPARE_WITH_TIMEOUT(fx.outside.jobs.size(), 2, 5000);
    q->table()->clearSelection();
    q->findChild<QPushButton*>("stop")->click();
    QCOMPARE(fx.platform.titles(), QStringList{"Stop"});
    QCOMPARE(fx.outside.stops, 0);
    q->table()->selectRow(1);
    q->findChild<QPushButton*>("stop")->click();
    QTRY_COMPARE(Cell(q, 1, QueueModel::State), "Stopped");
    QCOMPARE(Cell(q, 0, QueueModel::State), "Running");
    QCOMPARE(fx.outside.stops, 1);
}

void TestQueueWindow::asksBeforeReplacingOutputs_data() {
    QTest::addColumn<QString>("second"); // the second video; the first is a.mkv, written to a.mp4
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("started");
    QTest::addColumn<QString>("firstState");
    QTest::newRow("replace") << "b.avi" << 0 << 1 << "Running";
    QTest::newRow("skip those") << "b.avi" << 1 << 1 << "Skipped: its output exists already";
    QTest::newRow("cancel") << "b.avi" << 2 << 0 << "Waiting";
    QTest::newRow("closed, or Enter: the safe answer") << "b.avi" << -1 << 0 << "Waiting";
    QTest::newRow("replace, but a.mp4 is the second's source")
        << "a.mp4" << 0 << 1 << "Needs attention: The output file is the source of another video of the queue";
}

void TestQueueWindow::asksBeforeReplacingOutputs() {
    QFETCH(QString, second);
    QFETCH(int, choice);
    QFETCH(int, started);
    QFETCH(QString, firstState);
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).txtSaveAs->setText(fx.dir.path()); // a folder: outputs go there
    QFile(fx.dir.filePath("a.mp4")).open(QIODevice::WriteOnly);
    QFile(fx.dir.filePath("a-converted.mp4")).open(QIODevice::WriteOnly); // the output of a.mp4
    QueueWindow* q = AddTwo(fx, w, second);
    QVERIFY(q != nullptr);
    q->findChild<QAction*>("parallel1")->trigger(); // as many start on any machine
    fx.platform.choices.enqueue(choice);
    q->start();
    QCOMPARE(fx.platform.questions.size(), 1);
    QVERIFY(fx.platform.questions[0].prompt.startsWith("1 output file exists already. Replace it,"));
    QCOMPARE(fx.platform.choiceButtons.value(fx.platform.safeChoices.value(0)), "&Cancel");
    QCoreApplication::processEvents(); // where a start would come
    QCOMPARE(fx.outside.started.size(), started);
    QCOMPARE(Cell(q, 0, QueueModel::State), firstState);
}

void TestQueueWindow::offersKeptVideosBack_data() {
    QTest::addColumn<QByteArray>("kept"); // the queue file an earlier run left; empty: a good one
    QTest::addColumn<int>("choice");
    QTest::addColumn<QStringList>("titles"); // messages shown
    QTest::addColumn<int>("items");
    QTest::newRow("resume") << QByteArray() << 0 << QStringList{} << 2;
    QTest::newRow("held by another window") << QByteArray("LOCKED") << -1 << QStringList{"Queue"} << 0;
    QTest::newRow("discard") << QByteArray() << 1 << QStringList{} << 0;
    QTest::newRow("damaged") << QByteArray("{\"items\":") << -1 << QStringList{"Queue"} << 0;
    QTest::newRow("a pipe in its place") << QByteArray("FIFO") << -1 << QStringList{"Queue"} << 0;
    QTest::newRow("a folder in its place") << QByteArray("DIR") << -1 << QStringList{"Queue"} << 0;
    QTest::newRow("an incomplete item") << QByteArray(R"({"version":1,"items":[{"state":"waiting"}]})") << -1
                                        << QStringList{"Queue"} << 0;
}

void TestQueueWindow::offersKeptVideosBack() {
    QFETCH(QByteArray, kept);
    QFETCH(int, choice);
    QFETCH(QStringList, titles);
    QFETCH(int, items);
    WindowFixture fx;
    fx.platform.queuePath = fx.dir.filePath("queue.sqlite");
    QLockFile otherWindow(fx.platform.queuePath + ".lock");
    if (kept.isEmpty() || kept == "LOCKED") { // two videos ready to run; a.avi's output exists
        std::vector<zvm::queue::QueueItem> waiting(2);
        for (std::size_t at = 0; at < waiting.size(); ++at) {
            waiting[at].state = zvm::queue::ItemState::Waiting;
            const QString source = fx.dir.filePath(at == 0 ? "a.avi" : "b.avi");
            waiting[at].request = ReadyRequest(source.toStdString(), (source + ".mp4").toStdString());
            QVERIFY(QFile(source).open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile(fx.dir.filePath("a.avi.mp4")).open(QIODevice::WriteOnly));
        QVERIFY(SaveQueue(fx.platform.queuePath, waiting).ok());
        QVERIFY(kept.isEmpty() || otherWindow.tryLock(0));
    } else if (kept == "FIFO") {
        QVERIFY(::mkfifo(QFile::encodeName(fx.platform.queuePath).constData(), 0600) == 0);
    } else if (kept == "DIR") {
        QVERIFY(QDir(fx.dir.path()).mkdir("queue.sqlite"));
    } else {
        QFile file(fx.platform.queuePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kept);
    }
    fx.platform.choices.enqueue(choice);
    frmZCM& w = fx.start();
    QCOMPARE(fx.platform.titles(), titles);
    // Resumed, they are checked as new ones: the output that exists is asked about, and the safe
    // answer (taken here) starts nothing.
    QCOMPARE(fx.platform.questions.size(), !kept.isEmpty() ? 0 : choice == 0 ? 2 : 1);
    if (kept.isEmpty()) {
        QCOMPARE(fx.platform.questions[0].prompt, "2 videos were waiting in the queue.");
        QCOMPARE(fx.platform.questions.last().prompt.startsWith("1 output file exists already"), choice == 0);
        QCOMPARE(fx.platform.choiceButtons.value(fx.platform.safeChoices.last()), choice == 0 ? "&Cancel" : "&Resume");
        QCOMPARE(fx.outside.started.size(), 0);
    } else if (kept == "LOCKED") {
        QVERIFY(fx.platform.messages[0].prompt.startsWith("The queue is in use by another window"));
    }
    QCOMPARE(Window(w) != nullptr ? Window(w)->table()->model()->rowCount() : 0, items);
    QCOMPARE(QDir(fx.dir.path()).entryList({"queue.sqlite.damaged-*"}, QDir::AllEntries | QDir::System).size(),
             kept.isEmpty() || kept == "LOCKED" ? 0 : 1); // kept aside, a pipe too
    // Resumed ones stay kept, and the other window's are left to it.
    QCOMPARE(LoadQueue(fx.platform.queuePath).items.size(), std::size_t(kept == "LOCKED" ? 2 : items));
}

// A damaged file whose new name the system refuses (too long for a file name, which stops root too)
// stays where it is, is said so, and is not written over by the queue of this run.
// Closed, the queue window comes back from Options > Queue with its videos; the queue ran on meanwhile.
void TestQueueWindow::reopensFromTheMenu() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    QueueWindow* q = AddTwo(fx, w);
    QVERIFY(q != nullptr);
    q->close();
    QVERIFY(!q->isVisible());
    Ui(w).mnuQueue->trigger();
    QVERIFY(Window(w)->isVisible());
    QCOMPARE(Window(w)->table()->model()->rowCount(), 2);
}

void TestQueueWindow::leavesADamagedFileItCannotSetAside() {
    WindowFixture fx;
    fx.platform.queuePath = fx.dir.filePath(QString(240, 'q')); // 264 letters with ".damaged-<time>"
    const QByteArray damaged("{\"items\":");
    QFile file(fx.platform.queuePath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(damaged);
    file.close();
    frmZCM& w = fx.start();
    QCOMPARE(fx.platform.titles(), QStringList{"Queue"});
    QVERIFY2(fx.platform.messages[0].prompt.contains("could not be set aside"),
             qPrintable(fx.platform.messages[0].prompt));
    QueueWindow* q = AddTwo(fx, w);
    QVERIFY(q != nullptr);
    QCOMPARE(q->table()->model()->rowCount(), 2);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), damaged);
    QCOMPARE(QDir(fx.dir.path()).entryList({"*qqq*"}, QDir::Files | QDir::Hidden).size(),
             1);                                // no copy, no temporary
    QCOMPARE(q->storeProblemText(), QString()); // nothing is kept, so nothing failed to be
}

// A queue that cannot be written says so on one line of its window, not once per change, and the
// line goes when the queue is kept again.
void TestQueueWindow::saysOnceThatTheQueueCannotBeKept() {
    WindowFixture fx;
    fx.platform.queuePath = fx.dir.filePath("queue.sqlite");
    frmZCM& w = fx.start();
    QVERIFY(QDir(fx.dir.path()).mkpath("queue.sqlite/in the way")); // a file cannot replace a folder
    QueueWindow* q = AddTwo(fx, w); // the addition and each size read: every change fails to be kept
    QVERIFY(q != nullptr);
    QVERIFY2(q->storeProblemText().startsWith("The queue could not be saved: "),
             qPrintable(q->storeProblemText()));
    QVERIFY(q->findChild<QLabel*>("storeProblem")->isVisibleTo(q));
    QCOMPARE(fx.platform.messages.size(), 0);

    QVERIFY(QDir(fx.platform.queuePath).removeRecursively());
    q->table()->selectRow(1);
    q->findChild<QPushButton*>("up")->click();
    QCOMPARE(q->storeProblemText(), QString());
    QVERIFY(!q->findChild<QLabel*>("storeProblem")->isVisibleTo(q));
    QCOMPARE(LoadQueue(fx.platform.queuePath).items.size(), std::size_t(2));
}

// Closing the window while the queue converts asks first; Ctrl+C, TERM and HUP stop it as the answer
// to stop it does, without asking, and end the program with 128 + the signal's number.
void TestQueueWindow::asksBeforeQuittingARunningQueue_data() {
    QTest::addColumn<int>("choice"); // the answer to the question when the window is closed
    QTest::addColumn<int>("signal"); // or a signal instead
    QTest::addColumn<bool>("quits");
    QTest::newRow("stop the queue and quit") << 0 << 0 << true;
    QTest::newRow("cancel") << 1 << 0 << false;
    QTest::newRow("SIGTERM") << -1 << SIGTERM << true;
    QTest::newRow("SIGHUP") << -1 << SIGHUP << true;
}

void TestQueueWindow::asksBeforeQuittingARunningQueue() {
    QFETCH(int, choice);
    QFETCH(int, signal);
    QFETCH(bool, quits);
    WindowFixture fx;
    fx.platform.queuePath = fx.dir.filePath("queue.sqlite");
    fx.outside.jobsEndOnStop = true;
    frmZCM& w = fx.start();
    w.stopOnSignals();
    Ui(w).txtSaveAs->setText(fx.dir.path());
    QueueWindow* q = AddTwo(fx, w);
    QVERIFY(q != nullptr);
    q->start();
    QTRY_VERIFY_WITH_TIMEOUT(!fx.outside.started.isEmpty(), 5000);
    QFile partial(fx.dir.filePath(".zvm-partial.a.mp4")); // what its encoder has written so far
    QVERIFY(partial.open(QIODevice::WriteOnly));
    partial.close();
    if (signal == 0) {
        fx.platform.choices.enqueue(choice);
        QCloseEvent close;
        QApplication::sendEvent(&w, &close);
        QCOMPARE(close.isAccepted(), quits);
        QCOMPARE(fx.platform.questions.size(), 1);
        QCOMPARE(fx.platform.choiceButtons.value(fx.platform.safeChoices.value(0)), "&Cancel");
        QCOMPARE(fx.platform.endedWith, quits ? std::optional(0) : std::nullopt);
    } else {
        ::raise(signal);
        QTRY_COMPARE_WITH_TIMEOUT(fx.platform.endedWith, std::optional(128 + signal), 15000);
        QVERIFY(fx.platform.questions.isEmpty());
    }
    QCOMPARE(fx.outside.stops, quits ? int(fx.outside.started.size()) : 0); // every running one
    QCOMPARE(partial.exists(), !quits); // the stopped video's partial output is removed
    const auto kept = LoadQueue(fx.platform.queuePath).items;
    QCOMPARE(kept.size(), std::size_t(2)); // both wait for the next start
    QCOMPARE(kept[0].state, quits ? zvm::queue::ItemState::Waiting : zvm::queue::ItemState::Running);
}

// Each change is told once, and no wider than it is: a progress line as its own row, an added video as
// a new row, a removal or a move as a new table.
void TestQueueWindow::modelTellsWhatChanged_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("told");
    QTest::newRow("a progress line") << "progress" << "data 0-0";
    QTest::newRow("a video added") << "add" << "inserted 3-3 data 0-2";
    QTest::newRow("a waiting video removed") << "remove" << "reset";
    QTest::newRow("a video moved") << "move" << "reset";
    QTest::newRow("an output mended") << "output" << "data 0-2";
}

void TestQueueWindow::modelTellsWhatChanged() {
    QFETCH(QString, change);
    QFETCH(QString, told);
    QTemporaryDir dir;
    FakeOutside outside;
    QueueRunner runner(outside);
    const auto request = [&](const QString& name) {
        return ReadyRequest(dir.filePath(name + ".avi").toStdString(), dir.filePath(name + ".mp4").toStdString());
    };
    std::vector<int> ids;
    for (const char* name : {"a", "b", "c"}) {
        ids.push_back(runner.addReady(request(name), zvm::CommandStyle::Modern));
    }
    runner.setParallel(1);
    runner.start();
    QTRY_VERIFY_WITH_TIMEOUT(outside.lastJob != nullptr, 5000);
    QueueModel model(runner);
    QStringList heard;
    connect(&model, &QAbstractItemModel::dataChanged, this, [&](const QModelIndex& from, const QModelIndex& to) {
        heard << QString("data %1-%2").arg(from.row()).arg(to.row());
        QCOMPARE(to.column() - from.column() + 1, int(QueueModel::ColumnCount)); // whole rows
    });
    connect(&model, &QAbstractItemModel::rowsInserted, this, [&](const QModelIndex&, int first, int last) {
        heard << QString("inserted %1-%2").arg(first).arg(last);
    });
    connect(&model, &QAbstractItemModel::modelReset, this, [&] { heard << "reset"; });
    if (change == "progress") {
        emit outside.lastJob->outputArrived("  Duration: 00:00:10.00,\nframe=1 time=00:00:05.00 x\r");
        QCOMPARE(model.index(0, QueueModel::Progress).data().toString(), "50%");
    } else if (change == "add") {
        runner.addReady(request("d"), zvm::CommandStyle::Modern);
    } else if (change == "remove") {
        runner.remove(ids[2]);
    } else if (change == "move") {
        runner.move(ids[2], -1);
    } else if (change == "output") {
        QVERIFY(model.setData(model.index(1, QueueModel::Output), dir.filePath("x.mp4"), Qt::EditRole));
    } else {
        QFAIL(qPrintable("no such change: " + change));
    }
    QCOMPARE(heard.join(' '), told);
    QCOMPARE(model.rowCount(), int(runner.queue().items().size()));
}

// Sorted by a column, the table stays sorted as videos come and go, and the chosen video stays chosen
// through every change; moving up and down, which is in the queue's order, waits for that order.
void TestQueueWindow::keepsSortingAndSelection() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    QueueWindow* q = AddTwo(fx, w);
    QVERIFY(q != nullptr);
    auto* runner = w.findChild<QueueRunner*>();
    QVERIFY(runner != nullptr);
    const auto shown = [&] {
        QStringList names;
        for (int row = 0; row < q->table()->model()->rowCount(); ++row) {
            const bool chosen = q->table()->selectionModel()->isRowSelected(row);
            names << Cell(q, row, QueueModel::Source) + (chosen ? "*" : "");
        }
        return names.join(' ');
    };
    q->table()->sortByColumn(QueueModel::Source, Qt::DescendingOrder);
    q->table()->selectRow(1);
    QCOMPARE(shown(), "b.avi a.mkv*");
    QVERIFY(!q->findChild<QPushButton*>("up")->isEnabled());
    runner->addReady(ReadyRequest(fx.dir.filePath("c.avi").toStdString(), fx.dir.filePath("c.mp4").toStdString()),
                     zvm::CommandStyle::Modern);
    QCOMPARE(shown(), "c.avi b.avi a.mkv*");
    runner->remove(runner->queue().items()[1].id);
    QCOMPARE(shown(), "c.avi a.mkv*");
    q->table()->sortByColumn(-1, Qt::AscendingOrder);
    QCOMPARE(shown(), "a.mkv* c.avi");
    QVERIFY(q->findChild<QPushButton*>("up")->isEnabled());
}

QTEST_MAIN(TestQueueWindow)
#include "tst_queuewindow.moc"
