// Starting a real program: the fake encoder, built by the project.
#include "EncoderProcess.h"
#include "ProgramLookup.h"
#include "Spawn.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

using namespace zvm::run;

class TestSpawn : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void argumentsArriveExactly_data();
    void argumentsArriveExactly();
    void followsOutputAndExitCode();
    void stopAsksTheEncoderToEnd();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
    QString encoder_; // the fake encoder, inside a folder whose name has a blank
};

void TestSpawn::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(dir_->path()).mkdir("my tools"));
    encoder_ = dir_->filePath("my tools/ffmpeg");
    QVERIFY(QFile::copy(QStringLiteral(FAKE_ENCODER_PATH), encoder_));
    QFile::setPermissions(encoder_, QFile::permissions(encoder_) | QFileDevice::ExeOwner);
    previousDir_ = QDir::currentPath();
    QDir::setCurrent(dir_->path()); // the encoder records its arguments in its working directory
    qunsetenv("FAKE_ENCODER_SECONDS");
    qunsetenv("FAKE_ENCODER_EXIT");
}

void TestSpawn::cleanup() {
    QDir::setCurrent(previousDir_);
}

void TestSpawn::argumentsArriveExactly_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output");

    QTest::newRow("blanks") << "my clip.avi"
                            << "my clip.mp4";
    QTest::newRow("command substitution") << "$(touch pwned).avi"
                                          << "`touch pwned2`.mp4";
    QTest::newRow("separators and quotes") << "a; touch pwned3 & b | c.avi"
                                           << "it's ü, ñ.mp4";
}

void TestSpawn::argumentsArriveExactly() {
    QFETCH(QString, source);
    QFETCH(QString, output);
    const QString line = encoder_ + R"( -y -i ")" + source + R"(" -r 29.971 -s 214x160 ")" + output + "\"";
    const QByteArray bytes = line.toUtf8();
    const Resolution r = ResolveCommandLine(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                            ProgramFinder::FromSystem());
    QVERIFY2(r.command.has_value(), r.error.c_str());
    const SpawnResult spawned = SpawnDetached(*r.command, dir_->path().toStdString());
    QVERIFY2(spawned.error.empty(), spawned.error.c_str());

    EncoderProcess process(spawned.pid, QString::fromStdString(spawned.logPath));
    QSignalSpy finished(&process, &EncoderJob::finished);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toInt(), 0);

    QFile record(dir_->filePath("arguments.txt"));
    QVERIFY(record.open(QIODevice::ReadOnly));
    const QStringList args = QString::fromUtf8(record.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(args, QStringList({"-y", "-i", source, "-r", "29.971", "-s", "214x160", output}));
    QVERIFY(QFile::exists(dir_->filePath(output)));
    for (const char* trap : {"pwned", "pwned2", "pwned3"}) {
        QVERIFY2(!QFile::exists(dir_->filePath(trap)), trap); // nothing else ran
    }
    QVERIFY(QString::fromStdString(spawned.logPath).startsWith(dir_->path()));
    QVERIFY(!QFile::exists(QString::fromStdString(spawned.logPath))); // removed once read to the end
}

void TestSpawn::followsOutputAndExitCode() {
    qputenv("FAKE_ENCODER_EXIT", "3");
    qputenv("FAKE_ENCODER_SECONDS", "0.5");
    const SpawnResult spawned =
        SpawnDetached({encoder_.toStdString(), {"out.mp4"}}, dir_->path().toStdString());
    QVERIFY(spawned.error.empty());
    EncoderProcess process(spawned.pid, QString::fromStdString(spawned.logPath));
    QByteArray seen;
    connect(&process, &EncoderJob::outputArrived, this, [&seen](const QByteArray& b) { seen += b; });
    QSignalSpy finished(&process, &EncoderJob::finished);
    QVERIFY(process.isRunning());
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toInt(), 3);
    QVERIFY(!process.isRunning());
    QVERIFY(seen.contains("Duration: 00:00:00.50"));
    QVERIFY(seen.contains("video:40kB"));
}

void TestSpawn::stopAsksTheEncoderToEnd() {
    qputenv("FAKE_ENCODER_SECONDS", "30");
    const SpawnResult spawned =
        SpawnDetached({encoder_.toStdString(), {"out.mp4"}}, dir_->path().toStdString());
    QVERIFY(spawned.error.empty());
    QCOMPARE(getsid(spawned.pid), spawned.pid); // a session of its own
    EncoderProcess process(spawned.pid, QString::fromStdString(spawned.logPath));
    QSignalSpy finished(&process, &EncoderJob::finished);
    process.stop();
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(1).toInt(), SIGTERM);
}

QTEST_GUILESS_MAIN(TestSpawn)
#include "tst_spawn.moc"
