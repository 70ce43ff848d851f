// Starting and following a real program: the fake encoder, built by the project.
#include "media/EncoderOutput.h"
#include "process/EncoderProcess.h"
#include "process/ProcessGroups.h"
#include "process/ProcessRun.h"
#include "process/ProgramLookup.h"
#include "process/Spawn.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <unistd.h>

using namespace zvm::process;

class TestSpawn : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void argumentsArriveExactly_data();
    void argumentsArriveExactly();
    void stopEndsTheWholeGroup_data();
    void stopEndsTheWholeGroup();
    void floodStaysBounded();
    void helperEndsWithItsChildren_data();
    void helperEndsWithItsChildren();
    void lifetimeAfterItsStarterIsKilled_data();
    void lifetimeAfterItsStarterIsKilled();
    void failedStartSaysWhy_data() { lifetimeAfterItsStarterIsKilled_data(); }
    void failedStartSaysWhy();
    void aLeaderThatEndedAtOnceStillNamesItsGroup();

private:
    std::unique_ptr<EncoderProcess> start(const QStringList& arguments);

    std::unique_ptr<QTemporaryDir> dir_;
    QString logs_;
    QString previousDir_;
    QString encoder_; // the fake encoder, inside a folder whose name has a blank
};

namespace {
// Whether a process still runs; a zombie nobody reaps has ended.
bool Running(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
}

// The pid a started program wrote into child.pid; 0 when there is none.
pid_t WrittenChild() {
    QFile file("child.pid");
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt() : 0;
}

long ResidentKiB() {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return 0;
}
} // namespace

void TestSpawn::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(dir_->path()).mkdir("my tools"));
    QVERIFY(QDir(dir_->path()).mkdir("logs"));
    logs_ = dir_->filePath("logs");
    encoder_ = dir_->filePath("my tools/ffmpeg");
    QVERIFY(QFile::copy(QStringLiteral(FAKE_ENCODER_PATH), encoder_));
    QFile::setPermissions(encoder_, QFile::permissions(encoder_) | QFileDevice::ExeOwner);
    previousDir_ = QDir::currentPath();
    qputenv("XDG_CACHE_HOME", dir_->path().toLocal8Bit()); // answers remembered here, not in the user's cache
    QDir::setCurrent(dir_->path()); // the encoder records its arguments in its working directory
    for (const char* name : {"FAKE_ENCODER_SECONDS", "FAKE_ENCODER_EXIT", "FAKE_ENCODER_FLOOD",
                             "FAKE_ENCODER_IGNORE_TERM", "FAKE_ENCODER_FORK"}) {
        qunsetenv(name);
    }
}

void TestSpawn::cleanup() {
    QDir::setCurrent(previousDir_);
}

std::unique_ptr<EncoderProcess> TestSpawn::start(const QStringList& arguments) {
    ResolvedCommand command{encoder_.toStdString(), {}};
    for (const QString& a : arguments) {
        command.arguments.push_back(a.toStdString());
    }
    const auto spawned = SpawnDetached(command, logs_.toStdString());
    if (!spawned.ok()) {
        qWarning("%s", spawned.status().text().c_str());
        return nullptr;
    }
    // The log has no name from the start, so no end of this program can leave it behind.
    if (!QDir(logs_).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        qWarning("the log folder is not empty");
        return nullptr;
    }
    return std::make_unique<EncoderProcess>(spawned.value().pid, spawned.value().logFd);
}

void TestSpawn::argumentsArriveExactly_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("exitCode"); // the encoder's own, as it reports it

    QTest::newRow("blanks") << "my clip.avi" << "my clip.mp4" << 0;
    QTest::newRow("command substitution") << "$(touch pwned).avi" << "`touch pwned2`.mp4" << 3;
    QTest::newRow("separators and quotes") << "a; touch pwned3 & b | c.avi" << "it's ü, ñ.mp4" << 0;
}

void TestSpawn::argumentsArriveExactly() {
    QFETCH(QString, source);
    QFETCH(QString, output);
    QFETCH(int, exitCode);
    qputenv("FAKE_ENCODER_EXIT", QByteArray::number(exitCode));
    qputenv("FAKE_ENCODER_SECONDS", "0.5");
    const QString line = encoder_ + R"( -y -i ")" + source + R"(" -r 29.971 -s 214x160 ")" + output + "\"";
    const auto r =
        ResolveCommandLine(line.toStdString(), encoder_.toStdString(), ProgramFinder::FromSystem());
    QVERIFY2(r.ok(), r.status().text().c_str());
    QStringList arguments;
    for (const std::string& a : r.value().arguments) {
        arguments << QString::fromStdString(a);
    }
    QCOMPARE(arguments, QStringList({"-y", "-i", source, "-r", "29.971", "-s", "214x160", output}));
    auto process = start(arguments);
    QVERIFY(process);
    QByteArray seen;
    connect(process.get(), &EncoderJob::outputArrived, this, [&seen](const QByteArray& b) { seen += b; });
    QSignalSpy finished(process.get(), &EncoderJob::finished);
    QVERIFY(process->isRunning());
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toInt(), exitCode);
    QVERIFY(!process->isRunning());
    QVERIFY(seen.contains("Duration: 00:00:00.50"));
    QVERIFY(seen.contains("video:40kB")); // the last words, written just before the end

    QFile record(dir_->filePath("arguments.txt"));
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(record.readAll()).split('\n', Qt::SkipEmptyParts), arguments);
    QVERIFY(QFile::exists(dir_->filePath(output)));
    for (const char* trap : {"pwned", "pwned2", "pwned3"}) {
        QVERIFY2(!QFile::exists(dir_->filePath(trap)), trap); // nothing else ran
    }
}

void TestSpawn::stopEndsTheWholeGroup_data() {
    QTest::addColumn<QByteArray>("behaviour");
    QTest::addColumn<int>("signal"); // what ended the encoder
    QTest::newRow("ends on request") << QByteArray() << SIGTERM;
    QTest::newRow("ignores the request") << QByteArray("FAKE_ENCODER_IGNORE_TERM") << SIGKILL;
    QTest::newRow("leaves a child that ignores it") << QByteArray("FAKE_ENCODER_FORK") << SIGTERM;
}

void TestSpawn::stopEndsTheWholeGroup() {
    QFETCH(QByteArray, behaviour);
    QFETCH(int, signal);
    if (!behaviour.isEmpty()) {
        qputenv(behaviour.constData(), "1");
    }
    qputenv("FAKE_ENCODER_SECONDS", "30");
    auto process = start({"out.mp4"});
    QVERIFY(process);
    process->setStopGrace(300);
    QSignalSpy finished(process.get(), &EncoderJob::finished);
    QSignalSpy output(process.get(), &EncoderJob::outputArrived);
    QVERIFY(output.wait(10000)); // its signals are set up before it writes
    process->stop();
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(1).toInt(), signal);
    if (QFile::exists("child.pid")) {
        const pid_t child = WrittenChild();
        QVERIFY(child > 0);
        QTRY_VERIFY(!Running(child));
    }
}

// An encoder that writes 100 MB without a line break: the reader keeps up in bounded reads, keeps only
// a capped line, and its memory stays bounded.
void TestSpawn::floodStaysBounded() {
    qputenv("FAKE_ENCODER_FLOOD", "100");
    const long before = ResidentKiB();
    auto process = start({"out.mp4"});
    QVERIFY(process);
    zvm::media::EncoderOutput output;
    // Each read is bounded in size (a clock would make the test fail on a busy machine).
    qsizetype largestRead = 0;
    connect(process.get(), &EncoderJob::outputArrived, this, [&](const QByteArray& bytes) {
        output.append(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        largestRead = std::max(largestRead, bytes.size());
    });
    QSignalSpy finished(process.get(), &EncoderJob::finished);
    QVERIFY(finished.wait(30000));
    QVERIFY(QString::fromStdString(output.screen()).contains("video:40kB"));
    for (const QString& line : QString::fromStdString(output.screen()).split('\n')) {
        QVERIFY(line.size() <= qsizetype(zvm::media::EncoderOutput::kMaxLineLength));
    }
    // The last read, after the end, may take up to the backlog bound (plus the note of what was skipped).
    QVERIFY2(largestRead <= EncoderProcess::kBacklogBytes + 256, qPrintable(QString::number(largestRead)));
    QVERIFY2(ResidentKiB() - before < 64 * 1024, qPrintable(QString::number(ResidentKiB() - before)));
}

// A helper that hangs after starting a child of its own: when its time is up, or its run is
// cancelled, the child ends with it.
void TestSpawn::helperEndsWithItsChildren_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("time is up") << false;
    QTest::newRow("cancelled") << true;
}

void TestSpawn::helperEndsWithItsChildren() {
    QFETCH(bool, cancel);
    auto run = std::make_unique<ProcessRun>(cancel ? 60000 : 500);
    QSignalSpy done(run.get(), &ProcessRun::done);
    run->start("sh", {"-c", "sleep 60 & echo $! > child.pid; sleep 60"});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo("child.pid").size() > 0, 20000);
    const pid_t child = WrittenChild();
    QVERIFY(child > 0 && Running(child));
    if (cancel) {
        run.reset();
    } else {
        QVERIFY(done.wait(20000));
        QVERIFY(done.at(0).at(0).value<ProcessResult>().timedOut);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!Running(child), 10000);
}

// The program that started the encoder is killed: a tied encoder ends with it, what the encoder
// started is left to its process group's record (ended here as the next start ends it), and an
// independent encoder finishes its work.
void TestSpawn::lifetimeAfterItsStarterIsKilled_data() {
    QTest::addColumn<bool>("tied");
    QTest::newRow("tied") << true;
    QTest::newRow("independent") << false;
}

void TestSpawn::lifetimeAfterItsStarterIsKilled() {
    QFETCH(bool, tied);
    qputenv("FAKE_ENCODER_FORK", "1");
    qputenv("FAKE_ENCODER_SECONDS", tied ? "60" : "5");
    QProcess starter;
    starter.start(SPAWN_PARENT_PATH, {tied ? "tied" : "independent", logs_, encoder_, "out.mp4"});
    QVERIFY(starter.waitForReadyRead(10000));
    const QList<QByteArray> words = starter.readAllStandardOutput().trimmed().split(' ');
    QCOMPARE(words.size(), 2);
    const ProcessMark encoder{words[0].toInt(), words[1].toULongLong()};
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo("child.pid").size() > 0, 10000);
    const pid_t child = WrittenChild();
    QVERIFY(child > 0);
    ::kill(static_cast<pid_t>(starter.processId()), SIGKILL);
    QVERIFY(starter.waitForFinished(10000));
    if (tied) {
        QTRY_VERIFY_WITH_TIMEOUT(MarkOf(encoder.pid) != encoder, 10000);
        QVERIFY(Running(child)); // the kernel's tie reaches the encoder alone
    } else {
        QVERIFY(MarkOf(encoder.pid) == encoder);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo("out.mp4").size() > 0, 30000); // written at its end
    }
    EndGroups({encoder}, std::chrono::milliseconds(300)); // the child ignores SIGTERM
    QTRY_VERIFY_WITH_TIMEOUT(!Running(child), 10000);
}

// A program that cannot be run: the start fails with the system's reason, in either way of starting.
void TestSpawn::failedStartSaysWhy() {
    QFETCH(bool, tied);
    QFile notes(dir_->filePath("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly)); // not executable
    notes.close();
    const ResolvedCommand command{notes.fileName().toStdString(), {"out.mp4"}};
    const auto spawned =
        tied ? SpawnTied(command, logs_.toStdString()) : SpawnDetached(command, logs_.toStdString());
    QVERIFY(!spawned.ok());
    QCOMPARE(spawned.status().text(), std::string(std::strerror(EACCES)));
}

QTEST_GUILESS_MAIN(TestSpawn)
#include "tst_spawn.moc"

// A leader may end before its follower is made: its group, which its children may still hold, is known.
void TestSpawn::aLeaderThatEndedAtOnceStillNamesItsGroup() {
    qputenv("FAKE_ENCODER_SECONDS", "0");
    const auto spawned = SpawnDetached({encoder_.toStdString(), {"out.mp4"}}, logs_.toStdString());
    QVERIFY(spawned.ok());
    const pid_t pid = spawned.value().pid;
    QTRY_VERIFY_WITH_TIMEOUT(!Running(pid), 10000);
    EncoderProcess process(pid, spawned.value().logFd);
    QVERIFY(process.group().has_value());
    QCOMPARE(process.group()->pid, pid);
    QVERIFY(!MarkOf(pid).has_value()); // ended, so not a running process's mark
}
