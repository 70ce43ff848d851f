// What the window works out by itself: the command form, the source's size, the output's name.
#include "WindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

class TestAutomatic : public QObject {
    Q_OBJECT

private slots:
    void formFollowsTheEncoder();
    void explicitChoiceIsKept();
    void encoderIsAskedOncePerText();
    void outputNamedFromTheSource_data();
    void outputNamedFromTheSource();
    void onlyTheLatestDetectionCounts();
    void detectionFailuresSpeakOnlyWhenAsked();
};

namespace {
SizeDetection Found(int w, int h) {
    return {QSize(w, h), {}, {}};
}

QString Command(frmZCM& w) {
    w.cmdGenerate_Click();
    return w.txtFFMPEGCode->toPlainText();
}
} // namespace

void TestAutomatic::formFollowsTheEncoder() {
    WindowFixture fx;
    frmZCM& w = fx.start(); // a nine-field file: automatic
    QCOMPARE(fx.platform.formQuestions, QStringList{"/usr/bin/ffmpeg"});
    QVERIFY(!w.mnuModernCommand->isChecked()); // classic until the encoder has answered
    QVERIFY(Command(w).contains(" -me epzs "));

    fx.platform.pendingForms.takeFirst()(zvm::EncoderAnswer::Rejects);
    QVERIFY(w.mnuModernCommand->isChecked());
    QVERIFY(w.mnuModernCommand->toolTip().contains("chosen automatically: this ffmpeg rejects"));
    QVERIFY(w.txtFFMPEGCode->toPlainText().contains(" -me epzs ")); // not rewritten behind the user's back
    QVERIFY(Command(w).contains(" -vf scale="));
    w.mnuSaveINI_Click();
    QCOMPARE(fx.settingsBytes(), WindowFixture::SavedFile()); // automatic stays a nine-field file
}

void TestAutomatic::explicitChoiceIsKept() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    fx.platform.pendingForms.takeFirst()(zvm::EncoderAnswer::Rejects);
    w.mnuModernCommand->trigger(); // off: classic, by the user's choice
    QVERIFY(!w.mnuModernCommand->isChecked());
    QVERIFY(w.mnuModernCommand->toolTip().contains("chosen by you"));
    w.mnuSaveINI_Click();
    QVERIFY(fx.settingsBytes().endsWith(R"("Saved","Classic")" "\r\n"));

    WindowFixture next; // the next start keeps the choice, whatever the encoder says
    QDir::setCurrent(fx.dir.path());
    frmZCM& again = next.start({});
    next.platform.pendingForms.takeFirst()(zvm::EncoderAnswer::Rejects);
    QVERIFY(!again.mnuModernCommand->isChecked());
    QVERIFY(Command(again).contains(" -me epzs "));
}

void TestAutomatic::encoderIsAskedOncePerText() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.txtffmpegexe->setFocus();
    w.txtffmpegexe->setText("/opt/other/ffmpeg");
    w.txtWidth->setFocus(); // leaving the box with a changed text asks again
    w.txtffmpegexe->setFocus();
    w.txtWidth->setFocus(); // unchanged: no new question
    QCOMPARE(fx.platform.formQuestions, QStringList({"/usr/bin/ffmpeg", "/opt/other/ffmpeg"}));
    fx.platform.pendingForms[0](zvm::EncoderAnswer::Rejects); // a late answer for the old encoder
    QVERIFY(!w.mnuModernCommand->isChecked());
    fx.platform.pendingForms[1](zvm::EncoderAnswer::Accepts);
    QVERIFY(w.mnuModernCommand->toolTip().contains("accepts the classic options"));
}

void TestAutomatic::outputNamedFromTheSource_data() {
    QTest::addColumn<bool>("drop");       // dropped onto the window, or picked
    QTest::addColumn<QString>("output");  // the output box before: "" empty, or a name of the user's
    QTest::addColumn<QString>("expected"); // after choosing /media/clip.mkv, then /media/next.avi
    QTest::newRow("picked into an empty box") << false << "" << "/media/next.mp4";
    QTest::newRow("dropped into an empty box") << true << "" << "/media/next.mp4";
    QTest::newRow("a typed name is kept") << false << "/videos/mine.mp4" << "/videos/mine.mp4";
    QTest::newRow("a dropped video keeps it too") << true << "/videos/mine.mp4" << "/videos/mine.mp4";
}

void TestAutomatic::outputNamedFromTheSource() {
    QFETCH(bool, drop);
    QFETCH(QString, output);
    QFETCH(QString, expected);
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.txtSaveAs->setText(output);
    for (const QString video : {"/media/clip.mkv", "/media/next.avi"}) {
        if (drop) {
            QVERIFY(WindowFixture::dropFile(w, w.cmdGenerate, video));
        } else {
            fx.platform.setNextFileName(video);
            w.cmdBrowseVideo_Click();
        }
    }
    QCOMPARE(fx.platform.detections, QStringList({"/media/clip.mkv", "/media/next.avi"}));
    QCOMPARE(w.txtSaveAs->text(), expected);
    w.cboPlatform->setCurrentIndex(4); // a suggestion follows the preset's ending; a user's name does not
    QCOMPARE(w.txtSaveAs->text(), output.isEmpty() ? "/media/next.mpg" : output);
    fx.platform.pendingDetections.last()(Found(853, 480));
    QCOMPARE(w.txtWidth->text(), "853");
    QCOMPARE(w.txtHeight->text(), "480");
}

void TestAutomatic::onlyTheLatestDetectionCounts() {
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

void TestAutomatic::detectionFailuresSpeakOnlyWhenAsked() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    fx.platform.setNextFileName("/videos/notes.txt");
    w.cmdBrowseVideo_Click();
    fx.platform.pendingDetections.takeFirst()({std::nullopt, "the file has no video stream", {}});
    QVERIFY(fx.platform.messages.isEmpty());
    QTest::keyClick(w.windowHandle(), Qt::Key_D, Qt::ControlModifier);
    fx.platform.pendingDetections.takeFirst()({std::nullopt, "<b>ffprobe</b> was not found", {}});
    QCOMPARE(fx.platform.titles(), QStringList{"Detect size from video"});
    QVERIFY(fx.platform.messages[0].prompt.contains("<b>ffprobe</b> was not found"));
    QCOMPARE(w.txtWidth->text(), "640");
}

QTEST_MAIN(TestAutomatic)
#include "tst_automatic.moc"
