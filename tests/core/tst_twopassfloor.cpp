// The least bitrate a second pass can plan for, from first passes' statistics as the encoders wrote
// them (excerpts of captured logs), and the refusal that names the smallest bitrate or size.
#include "core/TwoPassFloor.h"

#include <QTest>

class TestTwoPassFloor : public QObject {
    Q_OBJECT

private slots:
    void floor_data();
    void floor();
    void refusal_data();
    void refusal();
};

void TestTwoPassFloor::floor_data() {
    QTest::addColumn<QByteArray>("statistics");
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("kbps"); // -1: none
    // Both frames at the coarsest quantiser: the key frame's 0.8 of step 31, the P frame's step 31.
    QTest::newRow("noise, all at the coarsest")
        << QByteArray("in:0 out:0 type:1 q:427 itex:161534 ptex:0 mv:0 misc:973 fcode:1 bcode:1 mc-var:0 var:119055 "
                      "icount:150 skipcount:0 hbits:117;\nin:1 out:1 type:2 q:236 itex:129986 ptex:130923 mv:462 "
                      "misc:1732 fcode:1 bcode:1 mc-var:46901 var:119443 icount:85 skipcount:0 hbits:65;\n")
        << 30000.0 / 1001 << 652.94;
    // Skipped P frames stay at the finest quantiser, and the key frame is tied to them: its whole
    // texture counts (at the coarsest, 15.8 kbit/s).
    QTest::newRow("flat, the key frame tied to its skipped neighbours")
        << QByteArray("in:0 out:0 type:1 q:189 itex:2490 ptex:0 mv:0 misc:977 fcode:1 bcode:1 mc-var:0 var:300 "
                      "icount:150 skipcount:0 hbits:117;\nin:1 out:1 type:2 q:236 itex:0 ptex:0 mv:0 misc:223 fcode:1 "
                      "bcode:1 mc-var:0 var:300 icount:0 skipcount:150 hbits:65;\nin:2 out:2 type:2 q:236 itex:0 "
                      "ptex:0 mv:0 misc:223 fcode:1 bcode:1 mc-var:0 var:300 icount:0 skipcount:150 hbits:65;\n")
        << 30000.0 / 1001 << 39.12;
    // libx264: motion and the rest, at the rate its options line names rather than the one given.
    QTest::newRow("libx264")
        << QByteArray("#options: 480x272 fps=30000/1001 timebase=1001/30000 bitdepth=8 cabac=1\nin:0 out:0 type:I "
                      "dur:2 cpbdur:2 q:69.00 aq:51.00 tex:78 mv:217 misc:97 imb:510 pmb:0 smb:0 d:- ref:;\nin:4 out:1 "
                      "type:P dur:2 cpbdur:2 q:69.00 aq:51.00 tex:0 mv:0 misc:112 imb:0 pmb:0 smb:510 d:- ref:0 ;\n")
        << 15.0 << 6.38;
    QTest::newRow("no frames") << QByteArray("#options: 480x272 fps=25/1\n") << 25.0 << -1.0;
    QTest::newRow("not a log") << QByteArray("in the beginning;") << 25.0 << -1.0;
}

void TestTwoPassFloor::floor() {
    QFETCH(QByteArray, statistics);
    QFETCH(double, rate);
    QFETCH(double, kbps);
    const std::optional<double> found = zvm::SecondPassFloorKbps(statistics.toStdString(), rate);
    QCOMPARE(found.has_value(), kbps >= 0);
    QVERIFY2(!found || std::abs(*found - kbps) < 0.01, qPrintable(QString::number(found.value_or(0))));
}

void TestTwoPassFloor::refusal_data() {
    QTest::addColumn<QString>("bitrate");
    QTest::addColumn<double>("megabytes"); // 0: none asked
    QTest::addColumn<double>("floor");
    QTest::addColumn<QString>("text"); // empty: accepted
    QTest::newRow("above the floor and its margin") << "200" << 0.0 << 190.0 << "";
    QTest::newRow("within the margin") << "195" << 0.0 << 190.0 << "the smallest video bitrate that works is 196 kbit/s";
    QTest::newRow("far under: the shortfall again") << "100" << 0.0 << 145.83 << "that works is 198 kbit/s";
    QTest::newRow("a file size: the size over a minute") << "100" << 0.9 << 145.83
                                                         << "file size that works is 1.8 MB (198 kbit/s)";
    QTest::newRow("not a number") << "fast" << 0.0 << 145.83 << "";
}

void TestTwoPassFloor::refusal() {
    QFETCH(QString, bitrate);
    QFETCH(double, megabytes);
    QFETCH(double, floor);
    QFETCH(QString, text);
    zvm::ConversionRequest r;
    r.videoBitrate = bitrate.toStdString();
    r.audioBitrate = "32";
    r.fileSizeMB = megabytes > 0 ? std::optional(megabytes) : std::nullopt;
    const zvm::Status status = zvm::CheckSecondPass(r, 60.0, floor);
    QCOMPARE(status.ok(), text.isEmpty());
    QVERIFY2(status.ok() || (status.kind() == zvm::FailureKind::Refused &&
                             QString::fromStdString(status.text()).endsWith(text)),
             status.text().c_str());
}

QTEST_APPLESS_MAIN(TestTwoPassFloor)
#include "tst_twopassfloor.moc"
