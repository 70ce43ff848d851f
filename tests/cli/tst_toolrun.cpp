// The tool's conversions over the fake outside: what it says of each way a video ends, in which
// order, its summary and exit code, and what a stopping signal does. (The real executable, with real
// encoders and the media worker: tst_cli.)
#include "tests/FakeOutside.h"
#include "cli/ToolRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <sstream>
#include <unistd.h>

class TestToolRun : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void results_data();
    void results();
    void signalStopsEveryRun();

private:
    // Converts the videos (each "name:how", how: an exit code then the check's verdict as in "0:fits",
    // "sig" for a signal, "size" for a size that cannot be read) with `jobs` at once; the fake's
    // encoders end, and its checks answer, as the videos say, a little after each is asked.
    int convert(const QStringList& videos, int jobs, std::ostringstream& err, int raiseOnStart = 0);

    QTemporaryDir dir_;
    QString previous_;
};

void TestToolRun::init() {
    QVERIFY(dir_.isValid());
    previous_ = QDir::currentPath();
    QDir::setCurrent(dir_.path()); // the requests name their files relative to it, as the tool is given them
}

void TestToolRun::cleanup() {
    QDir::setCurrent(previous_);
}

int TestToolRun::convert(const QStringList& videos, int jobs, std::ostringstream& err, int raiseOnStart) {
    FakeOutside outside;
    outside.jobsEndOnStop = true;
    zvm::ToolOptions options;
    options.jobs = jobs;
    QHash<QString, QStringList> how; // by the output's name
    std::vector<zvm::ConversionRequest> requests;
    for (const QString& video : videos) {
        const QString name = video.section(':', 0, 0);
        requests.push_back(zvm::ToolRequest(options, (name + ".mkv").toStdString(), (name + ".mp4").toStdString()));
        how[name + ".mp4"] = video.section(':', 1).split(':');
    }
    // The encoder writes a hidden partial name beside the asked one, which the check reads.
    const auto told = [&](const QString& file) {
        QString name = QFileInfo(file).fileName().remove(".zvm-partial");
        return how.value(name.startsWith('.') ? name.mid(1) : name);
    };
    int handled = 0;
    QTimer driver; // one step of the outside per tick: sizes, then encoders, then checks
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (!outside.pendingDetections.isEmpty()) {
            const QString output = QFileInfo(outside.detections[handled]).baseName() + ".mp4";
            const bool readable = told(output).value(0) != "size";
            outside.pendingDetections.takeFirst()(readable ? SizeDetection{QSize(320, 240), {}, 1.0}
                                                           : SizeDetection{std::nullopt, zvm::Status::Failure(zvm::FailureKind::BadInput, "unreadable"), {}});
            ++handled;
            return;
        }
        for (const auto& job : outside.jobs) {
            if (job != nullptr && job->running) {
                if (raiseOnStart != 0 && outside.jobs.size() == jobs) {
                    ::raise(std::exchange(raiseOnStart, 0));
                    return;
                }
                const QString output = outside.started[outside.jobs.indexOf(job)].section('"', -2, -2);
                QVERIFY(QFile(output).open(QIODevice::WriteOnly));
                job->running = false;
                const QString code = told(output).value(0);
                emit job->finished(code == "sig" ? -1 : code.toInt(), code == "sig" ? SIGKILL : 0);
                return;
            }
        }
        if (!outside.pendingChecks.isEmpty()) {
            const QString output = outside.checks[outside.checks.size() - outside.pendingChecks.size()].output;
            const QString verdict = told(output).value(1);
            outside.pendingChecks.takeFirst()({verdict == "fits"        ? zvm::CheckVerdict::Fits
                                               : verdict == "missing"   ? zvm::CheckVerdict::Missing
                                               : verdict == "unchecked" ? zvm::CheckVerdict::NotChecked
                                                                        : zvm::CheckVerdict::Differs,
                                               verdict});
        }
    });
    driver.start(5);
    // A run that never ends is stopped as Ctrl+C would stop it, and the test fails on its exit.
    QTimer::singleShot(20000, [] { ::raise(SIGINT); });
    return zvm::cli::ConvertAll(options, requests, zvm::CommandStyle::Modern, outside, err);
}

void TestToolRun::results_data() {
    QTest::addColumn<QStringList>("videos");
    QTest::addColumn<int>("jobs");
    QTest::addColumn<QStringList>("said"); // in this order
    QTest::addColumn<int>("exitCode");
    const QString removed = "; the file it wrote was removed\n";
    const QString oneNot = "zarnik-video-maker-cli: 0 converted, 1 not: see above\n";
    QTest::newRow("fits") << QStringList{"a:0:fits"} << 1
                          << QStringList{"a.mkv -> a.mp4: finished: fits\n", "1 converted\n"} << 0;
    QTest::newRow("does not fit") << QStringList{"a:0:differs"} << 1
                                  << QStringList{"a.mkv -> a.mp4: failed: differs" + removed, oneNot} << 1;
    QTest::newRow("wrote nothing") << QStringList{"a:0:missing"} << 1
                                   << QStringList{"a.mkv -> a.mp4: failed: missing" + removed} << 1;
    // The file stays, but a check the user relies on did not happen.
    QTest::newRow("not checked") << QStringList{"a:0:unchecked"} << 1
                                 << QStringList{"a.mkv -> a.mp4: not checked: unchecked; kept as a.unchecked.mp4\n", oneNot}
                                 << 1;
    QTest::newRow("exit code") << QStringList{"a:3"} << 1
                               << QStringList{"a.mkv -> a.mp4: failed: the encoder ended with exit code 3" + removed}
                               << 1;
    QTest::newRow("signal") << QStringList{"a:sig"} << 1
                            << QStringList{"a.mkv -> a.mp4: failed: the encoder was ended by signal 9" + removed} << 1;
    QTest::newRow("size unread") << QStringList{"a:size"} << 1
                                 << QStringList{"a.mkv -> a.mp4: failed: the size could not be read: unreadable\n",
                                                oneNot}
                                 << 1;
    // With one job a check holds the encoder's place: each video ends before the next starts.
    QTest::newRow("one after another")
        << QStringList{"a:0:fits", "b:3", "c:0:fits"} << 1
        << QStringList{"a.mkv -> a.mp4: finished", "b.mkv -> b.mp4: failed", "c.mkv -> c.mp4: finished",
                       "In the order given:\n  a.mkv -> a.mp4: finished\n  b.mkv -> b.mp4: failed\n"
                       "  c.mkv -> c.mp4: finished\nzarnik-video-maker-cli: 2 converted, 1 not: see above\n"}
        << 1;
    // With more, it does not: a failure said while the other is checked, the summary in the order given.
    QTest::newRow("side by side") << QStringList{"a:0:fits", "b:3"} << 2
                                  << QStringList{"b.mkv -> b.mp4: failed", "a.mkv -> a.mp4: finished",
                                                 "In the order given:\n  a.mkv -> a.mp4: finished\n"
                                                 "  b.mkv -> b.mp4: failed\n"}
                                  << 1;
}

void TestToolRun::results() {
    QFETCH(QStringList, videos);
    QFETCH(int, jobs);
    QFETCH(QStringList, said);
    QFETCH(int, exitCode);
    std::ostringstream err;
    QCOMPARE(convert(videos, jobs, err), exitCode);
    const QString text = QString::fromStdString(err.str());
    qsizetype at = 0;
    for (const QString& words : said) {
        at = text.indexOf(words, at);
        QVERIFY2(at >= 0, qPrintable(words + " not in order in:\n" + text));
    }
}

// A stopping signal stops every running encoder, starts no other, and ends with 128 + its number.
void TestToolRun::signalStopsEveryRun() {
    std::ostringstream err;
    QCOMPARE(convert({"a:0:fits", "b:0:fits", "c:0:fits"}, 2, err, SIGTERM), 128 + SIGTERM);
    const QString text = QString::fromStdString(err.str());
    for (const char* words : {"a.mkv -> a.mp4: stopped: on signal 15", "b.mkv -> b.mp4: stopped: on signal 15",
                              "  c.mkv -> c.mp4: not started\n"}) {
        QVERIFY2(text.contains(words), qPrintable(text));
    }
    QVERIFY(!text.contains("converted"));
}

QTEST_GUILESS_MAIN(TestToolRun)
#include "tst_toolrun.moc"
