// Save settings, the pickers and Convert, driven through the fake platform.
#include "EncoderWindow.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void saveWritesTheDesignedBytes();
    void saveRefusesADoubleQuote();
    void saveFailureShowsWhy();
    void pickers_data();
    void pickers();
    void encoderPickerSavesEvenWhenCancelled();
    void convertMessagePairs_data();
    void convertMessagePairs();
    void convertStartsTheBoxText();
    void failedStartSaysWhy();
    void encoderWindowFollowsTheJob();
    void closingTheEncoderWindowKeepsItsJob();
};

void TestCommands::saveWritesTheDesignedBytes() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.txtWidth->setText("abc");
    w.txtOriginalVideo->setText(QString::fromUtf8("/home/zoë/My Videos, old/clip.avi"));
    w.mnuSaveINI->trigger();
    QCOMPARE(fx.platform.messages.size(), 1);
    QCOMPARE(fx.platform.messages[0].prompt, "Settings Saved!");
    QCOMPARE(fx.platform.messages[0].title, "Save settings to settings.ini");
    QCOMPARE(fx.settingsBytes(),
             QString::fromUtf8(R"("abc","480","256","32","24000","/home/zoë/My Videos, old/)"
                               R"(clip.avi","/videos/clip.mp4","/usr/bin/ffmpeg","Saved")"
                               "\r\n")
                 .toLocal8Bit());
}

void TestCommands::saveRefusesADoubleQuote() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.txtSaveAs->setText(R"(/videos/"best".mp4)");
    w.mnuSaveINI_Click();
    QCOMPARE(fx.platform.messages.size(), 1);
    QVERIFY(fx.platform.messages[0].prompt.contains("Outputted MP4 filename"));
    QCOMPARE(fx.platform.messages[0].title, "Save settings to settings.ini");
    QCOMPARE(fx.settingsBytes(), WindowFixture::SavedFile());
}

void TestCommands::saveFailureShowsWhy() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    QDir::setCurrent("/proc"); // no one, root included, can create a file here
    w.mnuSaveINI_Click();
    QDir::setCurrent(fx.dir.path());
    QCOMPARE(fx.platform.messages.size(), 1);
    QVERIFY(fx.platform.messages[0].prompt.startsWith("The settings could not be saved to settings.ini: "));
    QVERIFY(!fx.platform.messages[0].prompt.contains("Saved!"));
}

void TestCommands::pickers_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("video") << "cmdBrowseVideo"
                           << "txtOriginalVideo"
                           << "Locate Video File"
                           << "*.avi; *.wmv; *.mpg; *.mpeg; *.mp4; *.ogm";
    QTest::newRow("output") << "cmdSaveAs"
                            << "txtSaveAs"
                            << "Save as .mp4"
                            << "*.mp4";
}

void TestCommands::pickers() {
    QFETCH(QString, button);
    QFETCH(QString, box);
    QFETCH(QString, title);
    QFETCH(QString, pattern);
    WindowFixture fx;
    frmZCM& w = fx.start();
    auto* target = w.findChild<QLineEdit*>(box);
    const QString before = target->text();

    fx.platform.setNextCancel();
    QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(target->text(), before); // cancel keeps the path the box held
    QCOMPARE(fx.platform.dialogs.last().title, title);
    QCOMPARE(fx.platform.dialogs.last().initialName, pattern);
    QVERIFY(fx.platform.dialogs.last().filters.contains("All files (*)"));

    fx.platform.setNextFileName("/new/place/file without ending");
    QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(target->text(), "/new/place/file without ending");
    QCOMPARE(fx.platform.dialogs.last().initialName, pattern); // each run starts from the pattern again
    QVERIFY(fx.platform.messages.isEmpty());
    QCOMPARE(QDir::currentPath(), QDir(fx.dir.path()).canonicalPath());
}

void TestCommands::encoderPickerSavesEvenWhenCancelled() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.txtWidth->setText("1280");
    fx.platform.setNextCancel();
    QTest::mouseClick(w.cmdffmpegexe, Qt::LeftButton);
    QCOMPARE(w.txtffmpegexe->text(), "/usr/bin/ffmpeg");
    QCOMPARE(fx.platform.titles(), QStringList{"Save settings to settings.ini"});
    QVERIFY(fx.settingsBytes().startsWith("\"1280\""));

    fx.platform.setNextFileName("/opt/ff/ffmpeg");
    w.cmdffmpegexe_Click();
    QVERIFY(fx.settingsBytes().contains(R"("/opt/ff/ffmpeg","Saved")"));
    QCOMPARE(fx.platform.messages.size(), 2);
}

void TestCommands::convertMessagePairs_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("sampleRate");
    QTest::addColumn<QStringList>("titles");

    QTest::newRow("input empty") << ""
                                 << "o.mp4"
                                 << "640"
                                 << "24000" << QStringList{"Enter an input filename!", "Invalid Filename!"};
    QTest::newRow("width bad") << "i.avi"
                               << "o.mp4"
                               << "abc"
                               << "24000" << QStringList{"Invalid Width!", "Invalid Width!"};
    QTest::newRow("sample rate bad") << "i.avi"
                                     << "o.mp4"
                                     << "640"
                                     << "x" << QStringList{"Invalid Samplerate!", "Invalid Samplerate!"};
    QTest::newRow("output empty") << "i.avi"
                                  << ""
                                  << "640"
                                  << "24000" << QStringList{"Enter an output filename!"};
    QTest::newRow("output empty, width bad")
        << "i.avi"
        << ""
        << "abc"
        << "24000" << QStringList{"Enter an output filename!", "Invalid Width!"};
    QTest::newRow("input blank passes") << " "
                                        << "o.mp4"
                                        << "640"
                                        << "24000" << QStringList{};
}

void TestCommands::convertMessagePairs() {
    QFETCH(QString, source);
    QFETCH(QString, output);
    QFETCH(QString, width);
    QFETCH(QString, sampleRate);
    QFETCH(QStringList, titles);
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.cmdGenerate_Click(); // an earlier command stays in the box
    w.txtOriginalVideo->setText(source);
    w.txtSaveAs->setText(output);
    w.txtWidth->setText(width);
    w.txtSampleRate->setText(sampleRate);
    w.cmdConvert_Click();
    QCOMPARE(fx.platform.titles(), titles);
    QCOMPARE(fx.platform.started.size(), titles.isEmpty() ? 1 : 0);
}

void TestCommands::convertStartsTheBoxText() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.txtFFMPEGCode->setPlainText("edited by hand");
    QTest::mouseClick(w.cmdConvert, Qt::LeftButton);
    QTest::mouseClick(w.cmdConvert, Qt::LeftButton);
    QCOMPARE(fx.platform.started.size(), 2); // two clicks, two encoders
    QCOMPARE(fx.platform.started[0], w.txtFFMPEGCode->toPlainText());
    QVERIFY(fx.platform.started[0].startsWith("/usr/bin/ffmpeg -y -i "));
    QCOMPARE(w.findChildren<EncoderWindow*>().size(), 2);
    QVERIFY(fx.platform.messages.isEmpty());
}

void TestCommands::failedStartSaysWhy() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    fx.platform.startError = "no such program was found";
    w.cmdConvert_Click();
    QCOMPARE(fx.platform.messages.size(), 1);
    QVERIFY(fx.platform.messages[0].prompt.startsWith("The encoder could not be started: no such program"));
    QVERIFY(fx.platform.messages[0].prompt.contains("/usr/bin/ffmpeg"));
    QVERIFY(w.findChildren<EncoderWindow*>().isEmpty());
}

void TestCommands::encoderWindowFollowsTheJob() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.cmdConvert_Click();
    auto* window = w.findChild<EncoderWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), "clip.mp4 - ffmpeg");
    auto* progress = window->findChild<QProgressBar*>("progress");
    QCOMPARE(progress->maximum(), 0); // busy until a duration is known
    FakeJob* job = fx.platform.lastJob;
    emit job->outputArrived("  Duration: 00:00:10.00, start: 0\nframe=1 time=00:00:05.00 x\r");
    QCOMPARE(progress->value(), progress->maximum() / 2);
    window->findChild<QPushButton*>("stop")->click();
    QCOMPARE(job->stopCalls, 1);
    emit job->outputArrived(
        "Unrecognized option 'me'.\nError splitting the argument list: Option not found\n");
    emit job->finished(8, 0);
    QVERIFY(window->statusText().contains("Failed (exit code 8)"));
    QVERIFY(window->statusText().contains("modern command"));
    QVERIFY(window->findChild<QPlainTextEdit*>("output")->toPlainText().contains("Option not found"));
    window->findChild<QPushButton*>("copyLog")->click();
    QVERIFY(fx.platform.clipboard.last().startsWith("  Duration: 00:00:10.00"));
    QVERIFY(fx.platform.clipboard.last().contains("Option not found"));
}

void TestCommands::closingTheEncoderWindowKeepsItsJob() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.cmdConvert_Click();
    QPointer<EncoderWindow> window = w.findChild<EncoderWindow*>();
    window->show();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window != nullptr); // the encoder still runs: it is followed until it ends
    QCOMPARE(fx.platform.lastJob->stopCalls, 0);
    fx.platform.lastJob->running = false;
    emit fx.platform.lastJob->finished(0, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window == nullptr);
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
