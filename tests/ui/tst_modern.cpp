// The modern command choice and the detection of the source size, through the fake platform.
#include "WindowFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>

class TestModern : public QObject {
    Q_OBJECT

private slots:
    void modernCommandIsChosenAndKept();
    void startupRestoresTheChoice();
    void detectionAfterPickingFillsTheSize();
    void onlyTheLatestDetectionCounts();
    void failuresSpeakOnlyWhenAsked();
    void dropOntoTheVideoDetects_data();
    void dropOntoTheVideoDetects();
};

namespace {
SizeDetection Found(int w, int h) {
    return {QSize(w, h), {}};
}
} // namespace

void TestModern::modernCommandIsChosenAndKept() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    QVERIFY(!w.mnuModernCommand->isChecked());
    w.mnuModernCommand->trigger();
    w.cmdGenerate_Click();
    QCOMPARE(
        w.txtFFMPEGCode->toPlainText(),
        R"(/usr/bin/ffmpeg -y -i "/videos/clip.avi" -r 30000/1001 -vf scale=214:160,pad=240:160:14:0,setsar=1 )"
        R"(-c:v mpeg4 -b:v 256k -c:a aac -ac 2 -ar 24000 -b:a 32k -f mp4 "/videos/clip.mp4")");
    w.mnuSaveINI_Click();
    QVERIFY(fx.settingsBytes().endsWith(R"("Saved","Modern")"
                                        "\r\n"));
    w.mnuModernCommand->trigger();
    w.mnuSaveINI_Click();
    QCOMPARE(fx.settingsBytes(), WindowFixture::SavedFile()); // off: the nine-field file, byte for byte
}

void TestModern::startupRestoresTheChoice() {
    WindowFixture fx;
    QByteArray file = WindowFixture::SavedFile();
    file.insert(file.size() - 2, R"(,"Modern")");
    frmZCM& w = fx.start(file);
    QVERIFY(w.mnuModernCommand->isChecked());
    QVERIFY(fx.platform.dialogs.isEmpty());
}

void TestModern::detectionAfterPickingFillsTheSize() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    fx.platform.setNextCancel();
    w.cmdBrowseVideo_Click();
    QVERIFY(fx.platform.detections.isEmpty()); // nothing picked, nothing to detect
    fx.platform.setNextFileName("/videos/wide.mkv");
    w.cmdBrowseVideo_Click();
    QCOMPARE(fx.platform.detections, QStringList{"/videos/wide.mkv"});
    fx.platform.pendingDetections.takeFirst()(Found(853, 480));
    QCOMPARE(w.txtWidth->text(), "853");
    QCOMPARE(w.txtHeight->text(), "480");
}

void TestModern::onlyTheLatestDetectionCounts() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.mnuDetectSize->trigger();
    w.txtOriginalVideo->setText("/videos/other.avi");
    w.mnuDetectSize->trigger();
    QCOMPARE(fx.platform.detections, QStringList({"/videos/clip.avi", "/videos/other.avi"}));
    fx.platform.pendingDetections[1](Found(320, 240));
    fx.platform.pendingDetections[0](Found(1920, 1080)); // late answer to the first request
    QCOMPARE(w.txtWidth->text(), "320");
    QCOMPARE(w.txtHeight->text(), "240");
}

void TestModern::failuresSpeakOnlyWhenAsked() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    fx.platform.setNextFileName("/videos/notes.txt");
    w.cmdBrowseVideo_Click();
    fx.platform.pendingDetections.takeFirst()({std::nullopt, "the file has no video stream"});
    QVERIFY(fx.platform.messages.isEmpty());
    QCOMPARE(w.txtWidth->text(), "640");

    QTest::keyClick(w.windowHandle(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(fx.platform.detections.size(), 2);
    fx.platform.pendingDetections.takeFirst()({std::nullopt, "ffprobe was not found"});
    QCOMPARE(fx.platform.messages.size(), 1);
    QCOMPARE(fx.platform.messages[0].title, "Detect size from video");
    QVERIFY(fx.platform.messages[0].prompt.contains("ffprobe was not found"));
    QCOMPARE(w.txtWidth->text(), "640");
}

void TestModern::dropOntoTheVideoDetects_data() {
    QTest::addColumn<QString>("onto");
    QTest::addColumn<bool>("detects");
    QTest::newRow("video box") << "txtOriginalVideo" << true;
    QTest::newRow("elsewhere fills the video box") << "cmdGenerate" << true;
    QTest::newRow("output box") << "txtSaveAs" << false;
}

void TestModern::dropOntoTheVideoDetects() {
    QFETCH(QString, onto);
    QFETCH(bool, detects);
    WindowFixture fx;
    frmZCM& w = fx.start();
    QVERIFY(WindowFixture::dropFile(w, w.findChild<QWidget*>(onto), "/media/dropped.mp4"));
    QCOMPARE(fx.platform.detections.size(), detects ? 1 : 0);
}

QTEST_MAIN(TestModern)
#include "tst_modern.moc"
