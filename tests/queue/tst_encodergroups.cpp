// The record of the queue's encoder groups: the next start ends what a killed program left behind,
// and only that; a queue's encoder itself ends with the program that ran it.
#include "queue/EncoderGroups.h"
#include "queue/QueueRunner.h"
#include "process/Spawn.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/wait.h>

using namespace zvm::process;

class TestEncoderGroups : public QObject {
    Q_OBJECT

private slots:
    void leftOvers_data();
    void leftOvers();
    void killedQueueLeavesNothingRunning();
    void aRecordThatCannotBeWrittenIsSaid();
};

namespace {
QString Text(const ProcessMark& mark) {
    return QStringLiteral("%1 %2").arg(mark.pid).arg(mark.started);
}

QString Hex(const QString& text) {
    return QString::fromLatin1(text.toUtf8().toHex());
}
} // namespace

void TestEncoderGroups::leftOvers_data() {
    // %1: a program that is gone; %2: a running group's leader; %3: its id with an earlier start;
    // %P: the partial file it wrote, %N: a name that is no partial, %M: this machine, %X: another.
    QTest::addColumn<QString>("record");
    QTest::addColumn<bool>("ended");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<bool>("partialGone");
    QTest::newRow("left by a program that is gone") << "%1 %2\n" << true << false << false;
    QTest::newRow("its partial goes with it") << "%1 %2 %P %M\n" << true << false << true;
    QTest::newRow("another machine's stays") << "%1 %2 %P %X\n" << false << true << false;
    QTest::newRow("only a partial's name is removed") << "%1 %2 %N %M\n" << true << false << false;
    QTest::newRow("leader's id given to another") << "%1 %3\n" << false << false << false;
    QTest::newRow("its program still runs") << "%2 %2 %P %M\n" << false << true << false;
    QTest::newRow("damaged") << "%1 %2 9\n%1 %2x\n%1\n\xff %2\n%1 0 0\n%1 1 1\n%1 -%2\n%1 %2 %P\n%1 %2 %P zz\n"
                             << false << false << false;
}

void TestEncoderGroups::leftOvers() {
    QFETCH(QString, record);
    QFETCH(bool, ended);
    QFETCH(bool, kept);
    QFETCH(bool, partialGone);
    QTemporaryDir dir;
    const QString partial = dir.filePath(".zvm-partial.clip.mp4");
    const QString notPartial = dir.filePath("clip.mp4");
    for (const QString& name : {partial, notPartial}) {
        QFile written(name);
        QVERIFY(written.open(QIODevice::WriteOnly));
    }
    const auto spawned = SpawnTied({"/bin/sh", {"-c", "sleep 60 & exec sleep 60"}}, dir.path().toStdString());
    QVERIFY(spawned.ok());
    ::close(spawned.value().logFd);
    const auto leader = MarkOf(spawned.value().pid);
    QVERIFY(leader);
    QTRY_VERIFY_WITH_TIMEOUT(GroupMembers(*leader).size() == 2, 10000);
    const ProcessMark self = *MarkOf(::getpid());
    const QString text = QString(record)
                             .replace("%1", Text({self.pid, self.started + 1}))
                             .replace("%2", Text(*leader))
                             .replace("%3", Text({leader->pid, leader->started - 1}))
                             .replace("%P", Hex(partial))
                             .replace("%N", Hex(notPartial))
                             .replace("%M", Hex(QSysInfo::machineHostName()))
                             .replace("%X", Hex("elsewhere"));
    const QString file = dir.filePath("encoder-groups.txt");
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(text.toUtf8()) > 0);
    out.close();

    EncoderGroups(file.toStdString()).endLeftOvers(std::chrono::milliseconds(300));
    if (ended) {
        QTRY_VERIFY_WITH_TIMEOUT(GroupMembers(*leader).empty(), 10000);
    } else {
        QCOMPARE(GroupMembers(*leader).size(), std::size_t(2));
    }
    QCOMPARE(QFile::exists(file), kept);
    QCOMPARE(QFile::exists(partial), !partialGone);
    QVERIFY(QFile::exists(notPartial));
    if (kept) {
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(out.readAll()), text);
    }
    ::kill(-leader->pid, SIGKILL);
    ::waitpid(leader->pid, nullptr, 0);
}

// The program running the queue is killed mid-encoder: its encoder ends with it, and what the encoder
// started ends when the queue is next made.
void TestEncoderGroups::killedQueueLeavesNothingRunning() {
    QTemporaryDir dir;
    const QString store = dir.filePath("queue.sqlite");
    const QString record = dir.filePath("encoder-groups.txt");
    QProcess tool;
    tool.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FAKE_ENCODER_SECONDS", "60");
    env.insert("FAKE_ENCODER_FORK", "1");
    tool.setProcessEnvironment(env);
    tool.start(QUEUE_TOOL_PATH, {store, FAKE_ENCODER_PATH, dir.path(), "1"});
    QVERIFY(tool.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(dir.filePath("child.pid")).size() > 0 && QFileInfo(record).size() > 0,
                             10000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> words = file.readAll().simplified().split(' ');
    QCOMPARE(words.size(), 6); // the program's mark, the encoder's, the partial name and the machine
    const ProcessMark encoder{words[2].toInt(), words[3].toULongLong()};
    QVERIFY(MarkOf(encoder.pid) == encoder);
    ::kill(static_cast<pid_t>(tool.processId()), SIGKILL);
    QVERIFY(tool.waitForFinished(10000));
    QTRY_VERIFY_WITH_TIMEOUT(MarkOf(encoder.pid) != encoder, 10000);
    QVERIFY(!GroupMembers(encoder).empty()); // its child, which the kernel's tie does not reach

    zvm::media::RealOutside outside;
    const QueueRunner next(outside, store);
    QTRY_VERIFY_WITH_TIMEOUT(GroupMembers(encoder).empty(), 10000);
    QVERIFY(!QFile::exists(record));
}

// The window says it as it says a queue file it cannot keep, until a later write succeeds.
void TestEncoderGroups::aRecordThatCannotBeWrittenIsSaid() {
    QTemporaryDir dir;
    QFile inTheWay(dir.filePath("data"));
    QVERIFY(inTheWay.open(QIODevice::WriteOnly)); // a file where the record's folder should be
    inTheWay.close();
    EncoderGroups groups(dir.filePath("data/encoder-groups.txt").toStdString());
    const ProcessMark self = *MarkOf(::getpid());
    groups.started(self);
    QVERIFY(!groups.status().ok());
    QVERIFY(inTheWay.remove());
    groups.started(self);
    QVERIFY2(groups.status().ok(), groups.status().text().c_str());
    QVERIFY(QFile::exists(dir.filePath("data/encoder-groups.txt")));
}

QTEST_GUILESS_MAIN(TestEncoderGroups)
#include "tst_encodergroups.moc"
