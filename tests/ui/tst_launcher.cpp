// The queue's progress as the desktop's task bar reads it: the launcher entry signal, sent on a
// private session bus and read back by dbus-monitor, as a dock would receive it.
#include "ui/QtPlatform.h"

#include <QGuiApplication>
#include <QProcess>
#include <QtTest>

#include <optional>

class TestLauncher : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void progressReachesTheBus_data();
    void progressReachesTheBus();

private:
    QProcess bus_;
    QProcess monitor_;
    QByteArray heard_;
};

void TestLauncher::initTestCase() {
    bus_.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    QVERIFY2(bus_.waitForStarted(30000), "dbus-daemon did not start");
    QTRY_VERIFY2_WITH_TIMEOUT(bus_.canReadLine(), "waiting for the private bus's address", 30000);
    const QByteArray address = bus_.readLine().trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address); // read by the first use of the session bus, below
    QGuiApplication::setDesktopFileName(QStringLiteral(ZVM_APP_ID));
    monitor_.start("dbus-monitor", {"--address", QString::fromUtf8(address),
                                    "type='signal',interface='com.canonical.Unity.LauncherEntry'"});
    connect(&monitor_, &QProcess::readyReadStandardOutput, this,
            [this] { heard_ += monitor_.readAllStandardOutput(); });
    // dbus-monitor says NameLost once it has become a monitor and hears everything.
    QTRY_VERIFY2_WITH_TIMEOUT(heard_.contains("NameLost"), "waiting for dbus-monitor to listen", 30000);
}

void TestLauncher::cleanupTestCase() {
    monitor_.kill();
    bus_.kill();
    monitor_.waitForFinished(30000);
    bus_.waitForFinished(30000);
}

void TestLauncher::progressReachesTheBus_data() {
    QTest::addColumn<std::optional<double>>("fraction");
    QTest::addColumn<QByteArrayList>("heard"); // in dbus-monitor's words, after the entry's address
    QTest::newRow("a quarter done") << std::optional<double>(0.25)
                                    << QByteArrayList{"\"progress\"", "double 0.25", "\"progress-visible\"",
                                                      "boolean true"};
    QTest::newRow("hidden when the queue stops")
        << std::optional<double>() << QByteArrayList{"\"progress-visible\"", "boolean false"};
}

void TestLauncher::progressReachesTheBus() {
    QFETCH(std::optional<double>, fraction);
    QFETCH(QByteArrayList, heard);
    heard_.clear();
    QtPlatform platform;
    platform.showTaskbarProgress(fraction);
    const QByteArray entry = "string \"application://" ZVM_APP_ID ".desktop\"";
    QTRY_VERIFY2_WITH_TIMEOUT(heard_.contains("member=Update") && heard_.contains(entry),
                              "waiting for the launcher entry signal", 30000);
    const QByteArray after = heard_.mid(heard_.indexOf(entry));
    qsizetype from = 0;
    for (const QByteArray& word : heard) {
        from = after.indexOf(word, from);
        QVERIFY2(from >= 0, (word + " not in order in:\n" + heard_).constData());
    }
}

QTEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
