// One video's run from start to result: how each way of ending comes out (a table over the fake),
// the wait for what a real encoder left in its process group, and the groups a headless runner
// records with no queue file.
#include "tests/FakeOutside.h"
#include "tests/Requests.h"
#include "process/ProcessGroups.h"
#include "core/Presets.h"
#include "queue/ConversionJob.h"
#include "queue/QueueRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace zvm::queue;

Q_DECLARE_METATYPE(zvm::queue::JobEnd)
Q_DECLARE_METATYPE(zvm::CheckVerdict)

class TestConversionJob : public QObject {
    Q_OBJECT

private slots:
    void ends_data();
    void ends();
    void waitsForTheWholeGroup_data();
    void waitsForTheWholeGroup();
    void headlessRunnerRecordsItsGroups();
    void putsDpgTogether_data();
    void putsDpgTogether();
};

namespace {
JobOrder Order(const QTemporaryDir& dir, bool target) {
    JobOrder order;
    order.request.encoderPath = "ffmpeg";
    order.request.sourceVideo = dir.filePath("in.avi").toStdString();
    order.request.outputPath = dir.filePath("out.mp4").toStdString();
    order.command = "ffmpeg -i \"" + order.request.sourceVideo + "\" \"" + order.request.outputPath + "\"";
    if (target) {
        order.target = zvm::OutputTarget{};
    }
    order.duration = 10;
    return order;
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A shell script for an encoder: the output is its last argument.
QString Script(const QTemporaryDir& dir, const QString& body) {
    const QString path = dir.filePath("encoder.sh");
    if (!Write(path, ("#!/bin/sh\nfor a; do out=$a; done\n" + body + "\n").toUtf8())) {
        return {};
    }
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    return path;
}
} // namespace

// end: how the encoder ends ("exit N", "signal", "start fails", "stop", "stop while checking");
// verdict: the after-check's answer, when there is a target. The encoder writes a partial name; the
// asked name held "before" and gets what was written only when the run passed.
void TestConversionJob::ends_data() {
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("target");
    QTest::addColumn<zvm::CheckVerdict>("verdict");
    QTest::addColumn<bool>("misfitsFail");
    QTest::addColumn<JobEnd>("result");
    QTest::addColumn<QByteArray>("asked"); // what the asked name holds afterwards
    QTest::addColumn<QString>("kept");     // where else the written file is kept
    QTest::addColumn<bool>("removed");
    using V = zvm::CheckVerdict;
    const QByteArray b = "before";
    const QByteArray w = "written";
    QTest::newRow("fits") << "exit 0" << true << V::Fits << true << JobEnd::Converted << w << "" << false;
    QTest::newRow("no target, no check") << "exit 0" << false << V::NotChecked << true << JobEnd::Converted << w << ""
                                         << false;
    QTest::newRow("not checked: kept beside it") << "exit 0" << true << V::NotChecked << true << JobEnd::Converted
                                                 << b << "out.unchecked.mp4" << false;
    QTest::newRow("differs, kept in the queue") << "exit 0" << true << V::Differs << false << JobEnd::Converted << b
                                                << "out.not-fitting.mp4" << false;
    QTest::newRow("differs, failed for the tool") << "exit 0" << true << V::Differs << true << JobEnd::Misfit << b
                                                  << "" << true;
    QTest::newRow("missing, failed for the tool") << "exit 0" << true << V::Missing << true << JobEnd::Misfit << b
                                                  << "" << true;
    QTest::newRow("exit code") << "exit 3" << true << V::NotChecked << true << JobEnd::EncoderFailed << b << ""
                               << true;
    QTest::newRow("signal") << "signal" << true << V::NotChecked << true << JobEnd::EncoderFailed << b << "" << true;
    QTest::newRow("start fails") << "start fails" << true << V::NotChecked << true << JobEnd::NotStarted << b << ""
                                 << false;
    QTest::newRow("stopped") << "stop" << true << V::NotChecked << true << JobEnd::Stopped << b << "" << true;
    QTest::newRow("stopped while checking")
        << "stop while checking" << true << V::NotChecked << false << JobEnd::Stopped << b << "" << true;
    QTest::newRow("no room for it") << "no room" << true << V::NotChecked << true << JobEnd::NotStarted << b << ""
                                    << false;
}

void TestConversionJob::ends() {
    QFETCH(QString, end);
    QFETCH(bool, target);
    QFETCH(zvm::CheckVerdict, verdict);
    QFETCH(bool, misfitsFail);
    QFETCH(JobEnd, result);
    QFETCH(QByteArray, asked);
    QFETCH(QString, kept);
    QFETCH(bool, removed);
    QTemporaryDir dir;
    FakeOutside outside;
    outside.jobsEndOnStop = true;
    if (end == "start fails") {
        outside.startFailure = zvm::Status::Failure(zvm::FailureKind::Outside, "no such program");
    }
    const QString output = dir.filePath("out.mp4");
    const QString partial = dir.filePath(".zvm-partial.out.mp4");
    QVERIFY(Write(output, "before")); // the user agreed to replace it
    QVERIFY(Write(partial, "left by a killed run"));
    JobOrder order = Order(dir, target);
    order.request.videoBitrate = end == "no room" ? "1e12" : "256"; // kbit/s, for 10 s
    order.request.audioBitrate = "32";
    ConversionJob job(outside, order, {misfitsFail});
    QSignalSpy checking(&job, &ConversionJob::checking);
    QSignalSpy ended(&job, &ConversionJob::ended);
    QCOMPARE(job.start().ok(), end != "start fails" && end != "no room");
    QCOMPARE(outside.started.size(), end == "no room" ? 0 : 1);
    QVERIFY(outside.started.isEmpty() || outside.started.constFirst().endsWith(" \"" + partial + "\""));
    if (outside.lastJob != nullptr) {
        QCOMPARE(job.stage(), ConversionJob::Stage::Encoding);
        QVERIFY(Write(partial, "written"));
        emit outside.lastJob->outputArrived("Could not write header: No space left on device\n");
        if (end == "stop") {
            job.stop();
        } else {
            emit outside.lastJob->finished(end == "signal" ? -1 : end.mid(5).toInt(), end == "signal" ? SIGKILL : 0);
        }
    }
    if (!outside.pendingChecks.isEmpty()) {
        QCOMPARE(checking.size(), 1);
        QCOMPARE(job.stage(), ConversionJob::Stage::Checking);
        QCOMPARE(outside.checks.constFirst().source.duration, std::optional<double>(10));
        QCOMPARE(outside.checks.constFirst().output, partial); // checked before it takes the name
        if (end == "stop while checking") {
            job.stop();
        }
        outside.pendingChecks.takeFirst()({verdict, "the check's line"}); // after a stop: dropped
    }
    QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 5000);
    const auto got = ended[0][0].value<JobResult>();
    QCOMPARE(got.end, result);
    QFile file(output);
    QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), asked);
    QVERIFY(!QFile::exists(partial));
    QCOMPARE(got.removed, removed);
    QCOMPARE(QString::fromStdString(got.keptAs), kept.isEmpty() ? QString() : dir.filePath(kept));
    if (!kept.isEmpty()) {
        QFile keptFile(dir.filePath(kept));
        QVERIFY(keptFile.open(QIODevice::ReadOnly));
        QCOMPARE(keptFile.readAll(), QByteArray("written"));
        QCOMPARE(QString::fromStdString(got.checkLine), "the check's line; kept as " + kept);
    }
    QCOMPARE(got.checked, end == "exit 0" && target);
    if (got.checked && kept.isEmpty()) {
        QCOMPARE(got.verdict, verdict);
        QCOMPARE(got.checkLine, "the check's line");
    }
    if (result == JobEnd::NotStarted) {
        QCOMPARE(got.startFailure.message(), end == "no room" ? "too little room for the output in %1" : "no such program");
    }
    QCOMPARE(QString::fromStdString(got.cause), result == JobEnd::EncoderFailed ? "the disk is full" : "");
}

// What the encoder started in turn may still write the output after the encoder ended: the run ends
// once the whole group has, killed past the grace time or at once when stopped.
void TestConversionJob::waitsForTheWholeGroup_data() {
    QTest::addColumn<QString>("encoder");
    QTest::addColumn<bool>("stop"); // the run is stopped once the encoder ended
    QTest::addColumn<JobEnd>("result");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("a child still writing") << "echo a > \"$out\"\n(sleep 1; echo b >> \"$out\") &" << false
                                           << JobEnd::Converted << QByteArray("a\nb\n");
    QTest::newRow("a child past the grace time") << "echo a > \"$out\"\nsleep 300 &" << false
                                                 << JobEnd::Converted << QByteArray("a\n");
    QTest::newRow("stopped while a child writes") << "echo a > \"$out\"\nsleep 300 &" << true << JobEnd::Stopped
                                                  << QByteArray();
}

void TestConversionJob::waitsForTheWholeGroup() {
    QFETCH(QString, encoder);
    QFETCH(bool, stop);
    QFETCH(JobEnd, result);
    QFETCH(QByteArray, output);
    QTemporaryDir dir;
    FakeOutside outside;
    outside.startsForReal = true;
    JobOrder order = Order(dir, false);
    order.request.encoderPath = Script(dir, encoder).toStdString();
    order.command = "\"" + order.request.encoderPath + "\" \"" + order.request.outputPath + "\"";
    ConversionJob job(outside, order, {true, 3000});
    QSignalSpy groups(&job, &ConversionJob::groupStarted);
    QSignalSpy ended(&job, &ConversionJob::ended);
    QVERIFY(job.start().ok());
    QCOMPARE(groups.size(), 1);
    const auto leader = groups[0][0].value<zvm::process::ProcessMark>();
    if (stop) {
        QTRY_COMPARE_WITH_TIMEOUT(job.stage(), ConversionJob::Stage::WaitingForGroup, 10000);
        job.stop();
    }
    QVERIFY(ended.wait(15000));
    QCOMPARE(ended[0][0].value<JobResult>().end, result);
    QVERIFY(zvm::process::GroupMembers(leader).empty());
    QFile written(QString::fromStdString(order.request.outputPath));
    QCOMPARE(written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray(), output);
}

// Without a queue file, the groups still go to the file it is given while their encoders run, and
// are forgotten once they end: a later start (the window's or the tool's) ends what a killed run left.
void TestConversionJob::headlessRunnerRecordsItsGroups() {
    QTemporaryDir dir;
    FakeOutside outside;
    outside.startsForReal = true;
    const QString groups = dir.filePath("data/encoder-groups.txt");
    QueueRunner runner(outside, RunnerSetup{{}, groups.toStdString(), true, true});
    zvm::ConversionRequest request = ReadyRequest(dir.filePath("a.avi").toStdString(), dir.filePath("a.mp4").toStdString());
    request.encoderPath = Script(dir, "touch \"$out.running\"\nwhile [ -e \"$out.running\" ]; do sleep 0.05; done")
                              .toStdString();
    const int id = runner.addReady(request, zvm::CommandStyle::Modern);
    QSignalSpy done(&runner, &QueueRunner::finishedAll);
    runner.start();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath(".zvm-partial.a.mp4.running")), 10000);
    QFile record(groups);
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(record.readAll().split('\n').size(), 2); // one line
    QVERIFY(QFile::remove(dir.filePath(".zvm-partial.a.mp4.running")));
    QTRY_VERIFY_WITH_TIMEOUT(!outside.pendingChecks.isEmpty(), 15000);
    outside.pendingChecks.takeFirst()({zvm::CheckVerdict::Fits, "fits"});
    QVERIFY(!done.isEmpty() || done.wait(5000));
    QCOMPARE(runner.queue().find(id)->state, ItemState::Finished);
    QVERIFY(!QFile::exists(groups));
    QVERIFY(!QFile::exists(dir.filePath("queue.sqlite")));
}


// A DPG's two streams, written by the encoder under partial names of their own, become the file
// when the encoder ends well, and are gone however the run ends.
void TestConversionJob::putsDpgTogether_data() {
    QTest::addColumn<QString>("end");
    QTest::addColumn<QByteArray>("video"); // what the encoder leaves as the video stream
    QTest::addColumn<JobEnd>("result");
    QTest::addColumn<int>("bytes"); // of the asked file afterwards; 0: none there
    const QByteArray two("\x00\x00\x01\xB8\x00\x00\x01\x00.\x00\x00\x01\x00.", 14);
    QTest::newRow("put together") << "exit 0" << two << JobEnd::Converted << 48 + 5 + 14 + 8;
    QTest::newRow("no picture") << "exit 0" << QByteArray("junk") << JobEnd::EncoderFailed << 0;
    QTest::newRow("the encoder failed") << "exit 3" << two << JobEnd::EncoderFailed << 0;
    QTest::newRow("stopped") << "stop" << two << JobEnd::Stopped << 0;
}

void TestConversionJob::putsDpgTogether() {
    QFETCH(QString, end);
    QFETCH(QByteArray, video);
    QFETCH(JobEnd, result);
    QFETCH(int, bytes);
    QTemporaryDir dir;
    FakeOutside outside;
    outside.jobsEndOnStop = true;
    JobOrder order = Order(dir, true);
    order.request.preset = *zvm::PresetByName("dpg-256x192");
    order.request.outputPath = dir.filePath("out.dpg").toStdString();
    order.command = "ffmpeg -i \"" + order.request.sourceVideo + "\" -f mpeg1video \"" + order.request.outputPath +
                    ".m1v\" -f mp2 \"" + order.request.outputPath + ".mp2\"";
    ConversionJob job(outside, order, {true});
    QSignalSpy ended(&job, &ConversionJob::ended);
    QVERIFY(job.start().ok());
    const QString parts = dir.filePath(".zvm-partial.out.dpg");
    QVERIFY(outside.started.constFirst().endsWith(" -f mpeg1video \"" + parts + ".m1v\" -f mp2 \"" + parts + ".mp2\""));
    QVERIFY(Write(parts + ".m1v", video) && Write(parts + ".mp2", "sound"));
    if (end == "stop") {
        job.stop();
    } else {
        emit outside.lastJob->finished(end.mid(5).toInt(), 0);
    }
    if (!outside.pendingChecks.isEmpty()) {
        QCOMPARE(outside.checks.constFirst().output, parts); // the file put together, before it takes the name
        outside.pendingChecks.takeFirst()({zvm::CheckVerdict::Fits, "fits"});
    }
    QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 5000);
    QCOMPARE(ended[0][0].value<JobResult>().end, result);
    QCOMPARE(QFileInfo(dir.filePath("out.dpg")).size(), qint64(bytes));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), bytes > 0 ? QStringList{"out.dpg"} : QStringList());
}

QTEST_GUILESS_MAIN(TestConversionJob)
#include "tst_conversionjob.moc"
