// DPG's own parts: the video scan against streams the real encoder writes, fed in any pieces, and
// the header written and read back, with the files it must refuse.
#include "core/Dpg.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zvm;

class TestDpg : public QObject {
    Q_OBJECT

private slots:
    void scansTheEncodersStream_data();
    void scansTheEncodersStream();
    void readsItsHeaderBack_data();
    void readsItsHeaderBack();

private:
    QTemporaryDir dir_;
};

void TestDpg::scansTheEncodersStream_data() {
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("group"); // pictures a group
    QTest::addColumn<int>("piece"); // bytes fed at a time; 0: all at once
    QTest::addColumn<int>("frames");
    QTest::newRow("a second at 15 fps, groups of 5, whole") << 15 << 5 << 0 << 15;
    QTest::newRow("the same a byte at a time") << 15 << 5 << 1 << 15;
    QTest::newRow("10 fps, one group, in odd pieces") << 10 << 100 << 7 << 10;
    QTest::newRow("25 fps, groups of 12") << 25 << 12 << 4096 << 25;
}

void TestDpg::scansTheEncodersStream() {
    QFETCH(int, rate);
    QFETCH(int, group);
    QFETCH(int, piece);
    QFETCH(int, frames);
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    QVERIFY(!ffmpeg.isEmpty());
    const QString path = dir_.filePath(QString("v%1-%2.m1v").arg(rate).arg(group));
    QProcess p;
    p.start(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i", QString("testsrc=s=256x192:d=1:r=%1").arg(rate), "-c:v",
                     "mpeg1video", "-strict", "-1", "-g", QString::number(group), "-f", "mpeg1video", path});
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    dpg::VideoScan scan;
    const int step = piece > 0 ? piece : int(bytes.size());
    for (qsizetype at = 0; at < bytes.size(); at += step) {
        scan.Feed(std::string_view(bytes.constData() + at, std::size_t(std::min<qsizetype>(step, bytes.size() - at))));
    }
    QCOMPARE(int(scan.Frames()), frames);
    QCOMPARE(qsizetype(scan.Bytes()), bytes.size());
    QCOMPARE(int(scan.Gops().size()), (frames + group - 1) / group);
    for (std::size_t i = 0; i < scan.Gops().size(); ++i) {
        const dpg::Gop gop = scan.Gops()[i];
        QCOMPARE(int(gop.frame), int(i) * group);
        QCOMPARE(bytes.mid(gop.offset, 4), QByteArray("\x00\x00\x01\xB8", 4));
    }
}

void TestDpg::readsItsHeaderBack_data() {
    dpg::VideoScan video;
    video.Feed(std::string_view("\x00\x00\x01\xB8\x00\x00\x01\x00\x00\x00\x01\x00xx", 14));
    const Result<dpg::Header> made = dpg::HeaderFor(video, 15, dpg::kSampleRate, 1000);
    QVERIFY(made.ok());
    const std::string head = dpg::HeaderBytes(made.value());
    const std::uint64_t whole = 48 + 1000 + 14 + 8;
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<qulonglong>("fileBytes");
    QTest::addColumn<QString>("refused"); // a piece of the refusal; empty: read
    const auto row = [](const char* name, const std::string& bytes, std::uint64_t length, const char* refused) {
        QTest::newRow(name) << QByteArray(bytes.data(), qsizetype(bytes.size())) << qulonglong(length) << refused;
    };
    row("as written", head, whole, "");
    row("short", head.substr(0, 40), whole, "ends within its header");
    row("the first version, short of its pixel format", "DPG1" + head.substr(4, 34), whole, "ends within its header");
    row("another format", "RIFF" + head.substr(4), whole, "no DPG file");
    row("version 7", "DPG7" + head.substr(4), whole, "version not known");
    row("parts beyond its end", head, whole - 1, "beyond its");
}

void TestDpg::readsItsHeaderBack() {
    QFETCH(QByteArray, head);
    QFETCH(qulonglong, fileBytes);
    QFETCH(QString, refused);
    const Result<dpg::Header> read = dpg::ReadHeader(std::string_view(head.constData(), std::size_t(head.size())), fileBytes);
    if (!refused.isEmpty()) {
        QVERIFY2(!read.ok() && QString::fromStdString(read.status().text()).contains(refused),
                 qPrintable(QString::fromStdString(read.status().text())));
        return;
    }
    QVERIFY(read.ok());
    const dpg::Header h = read.value();
    // Little endian: the sound right after the 48 bytes, "30 00 00 00" at 20; 15 fps as 15 times 256.
    QCOMPARE(head.mid(20, 4), QByteArray("\x30\x00\x00\x00", 4));
    QCOMPARE(h.frames, 2u);
    QCOMPARE(h.FramesPerSecond(), 15.0);
    QCOMPARE(h.audioSize, 1000u);
    QCOMPARE(h.videoStart, 1048u);
    QCOMPARE(h.gopStart, 1062u);
    QCOMPARE(h.gopSize, 8u);
    QCOMPARE(dpg::GopListBytes({{3, 0x102}}), std::string("\x03\x00\x00\x00\x02\x01\x00\x00", 8));
}

QTEST_APPLESS_MAIN(TestDpg)
#include "tst_dpg.moc"
