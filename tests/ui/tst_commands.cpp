// Save settings, the pickers, Convert and the encoder window, driven through the fake platform.
#include "ui/EncoderWindow.h"
#include "core/Presets.h"
#include "tests/ui/WindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void saveWritesTheDesignedBytes();
    void saveRefusals_data();
    void saveRefusals();
    void unusableSettingsAreLeftAlone_data();
    void unusableSettingsAreLeftAlone();
    void pickers_data();
    void pickers();
    void encoderPickerSavesEvenWhenCancelled();
    void convertRefusals_data();
    void convertRefusals();
    void convertStartsTheBoxText();
    void convertRightAfterGenerateStartsTheFormShown_data();
    void convertRightAfterGenerateStartsTheFormShown();
    void convertAsksBeforeReplacing_data();
    void convertAsksBeforeReplacing();
    void failedStartSaysWhy();
    void encoderWindowEnds_data();
    void encoderWindowEnds();
    void encoderWindowPutsDpgTogether_data();
    void encoderWindowPutsDpgTogether();
    void closingTheEncoderWindowKeepsItsJob();
    void exitSaysTheEncoderGoesOn_data();
    void exitSaysTheEncoderGoesOn();
};

void TestCommands::saveWritesTheDesignedBytes() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).txtWidth->setText("abc");
    Ui(w).txtOriginalVideo->setText(QString::fromUtf8("/home/zoë/My Videos, old/clip.avi"));
    Ui(w).mnuSaveINI->trigger();
    QCOMPARE(fx.platform.messages.size(), 1);
    QCOMPARE(fx.platform.messages[0].prompt, "Settings Saved!");
    QCOMPARE(fx.platform.messages[0].title, "Save settings to settings.ini");
    QCOMPARE(fx.settingsBytes(),
             QString::fromUtf8(R"("abc","480","256","32","24000","/home/zoë/My Videos, old/)"
                               R"(clip.avi","/videos/clip.mp4","/usr/bin/ffmpeg","Saved")"
                               "\r\n")
                 .toLocal8Bit());
}

void TestCommands::saveRefusals_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("says"); // the message names the box, or says why
    QTest::newRow("double quote") << "txtSaveAs" << R"(/videos/"best".mp4)" << R"("Outputted MP4 filename")";
    QTest::newRow("more than the reader reads") // with 32,750 characters in the output box too
        << "txtffmpegexe" << QString(32'767, 'f') << R"("Location of FFMPEG.EXE")";
    QTest::newRow("a folder nobody can write") << "" << "" << "could not be saved to settings.ini: ";
}

void TestCommands::saveRefusals() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, says);
    WindowFixture fx;
    frmZCM& w = fx.start();
    if (text.size() > 1000) {
        Ui(w).txtSaveAs->setText(QString(32'750, 'o'));
    }
    if (box.isEmpty()) {
        QDir::setCurrent("/proc"); // no one, root included, can create a file here
    } else {
        w.findChild<QLineEdit*>(box)->setText(text);
    }
    w.mnuSaveINI_Click();
    QDir::setCurrent(fx.dir.path());
    QCOMPARE(fx.platform.messages.size(), 1);
    QVERIFY2(fx.platform.messages[0].prompt.contains(says), qPrintable(fx.platform.messages[0].prompt));
    QCOMPARE(fx.platform.messages[0].title, "Save settings to settings.ini");
    QCOMPARE(fx.settingsBytes(), WindowFixture::SavedFile());
}

// Whatever stands where settings.ini should be and cannot be read is reported once and left alone:
// only a missing file is a first run.
void TestCommands::unusableSettingsAreLeftAlone_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("reason");
    QTest::newRow("directory") << "directory" << "not a regular file"; // the others of a kind: tst_settings
    QTest::newRow("over the limit") << "too large" << "larger than 64 KiB";
    QTest::newRow("link to another program's INI") << "foreign link" << "does not hold this program's settings";
}

void TestCommands::unusableSettingsAreLeftAlone() {
    QFETCH(QString, setup);
    QFETCH(QString, reason);
    WindowFixture fx;
    const QString path = fx.dir.filePath("settings.ini");
    if (setup == "directory") {
        QDir(fx.dir.path()).mkdir("settings.ini");
    } else if (setup == "too large") {
        fx.writeSettings(WindowFixture::SavedFile() + QByteArray(70'000, ' '));
    } else if (setup == "foreign link") {
        QFile foreign(fx.dir.filePath("other.ini"));
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.write("[General]\nlastFolder=/home/me\n");
        foreign.close();
        QVERIFY(QFile::link("other.ini", path));
    } else {
        QFAIL("unknown setup");
    }
    const QFileInfo before(path);
    frmZCM& w = fx.start({});
    QVERIFY(fx.platform.dialogs.isEmpty()); // no first-run question, whose answer would be saved
    QCOMPARE(fx.platform.titles(), QStringList{"Settings not loaded"});
    QVERIFY2(fx.platform.messages[0].prompt.contains(reason), qPrintable(fx.platform.messages[0].prompt));
    QCOMPARE(Ui(w).txtVideoBitrate->text(), "256");
    QVERIFY(Ui(w).txtWidth->text().isEmpty());
    const QFileInfo after(path);
    QCOMPARE(after.isDir(), before.isDir());
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(QFileInfo(path).size(), before.size());
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
    Ui(w).txtWidth->setText("1280");
    fx.platform.setNextCancel();
    QTest::mouseClick(Ui(w).cmdffmpegexe, Qt::LeftButton);
    QCOMPARE(Ui(w).txtffmpegexe->text(), "/usr/bin/ffmpeg");
    QCOMPARE(fx.platform.titles(), QStringList{"Save settings to settings.ini"});
    QVERIFY(fx.settingsBytes().startsWith("\"1280\""));

    fx.platform.setNextFileName("/opt/ff/ffmpeg");
    w.cmdffmpegexe_Click();
    QVERIFY(fx.settingsBytes().contains(R"("/opt/ff/ffmpeg","Saved")"));
    QCOMPARE(fx.platform.messages.size(), 2);
}

void TestCommands::convertRefusals_data() {
    QTest::addColumn<QString>("source"); // $DIR is the working folder, which holds clip.avi
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("sampleRate");
    QTest::addColumn<bool>("afterVcd"); // a VCD Generate first cleared the movie type
    QTest::addColumn<QStringList>("titles");

    const QString clip = "$DIR/clip.avi";
    const QStringList sameFile{"Invalid Filename!"};
    QTest::newRow("input empty") << "" << "o.mp4" << "640" << "24000" << false
                                 << QStringList{"Enter an input filename!", "Invalid Filename!"};
    QTest::newRow("width bad") << "i.avi" << "o.mp4" << "abc" << "24000" << false
                               << QStringList{"Invalid Width!", "Invalid Width!"};
    QTest::newRow("sample rate bad") << "i.avi" << "o.mp4" << "640" << "x" << false
                                     << QStringList{"Invalid Samplerate!", "Invalid Samplerate!"};
    QTest::newRow("output empty") << "i.avi" << "" << "640" << "24000" << false
                                  << QStringList{"Enter an output filename!"};
    QTest::newRow("output empty, width bad") << "i.avi" << "" << "abc" << "24000" << false
                                             << QStringList{"Enter an output filename!", "Invalid Width!"};
    QTest::newRow("input blank passes") << " " << "o.mp4" << "640" << "24000" << false << QStringList{};
    QTest::newRow("stale command after a VCD build") << "i.avi" << "o.mp4" << "640" << "24000" << true
                                                     << QStringList{"Choose a Movie Type!"};
    // The size detection ends while Generate's complaint is open: the run's checks then pass, but the
    // box still holds the old command, and nothing more is said.
    QTest::newRow("size read behind Generate's message") << "i.avi" << "o.mp4" << "" << "24000" << false
                                                         << QStringList{"Invalid Width!"};
    QTest::newRow("output is the source") << clip << clip << "640" << "24000" << false << sameFile;
    QTest::newRow("output is the source, relative") << clip << "./clip.avi" << "640" << "24000" << false
                                                    << sameFile;
    QTest::newRow("output is the source, through ..") << clip << "$DIR/sub/../clip.avi" << "640" << "24000"
                                                      << false << sameFile;
    QTest::newRow("output is the source, through a link") << clip << "$DIR/link.avi" << "640" << "24000"
                                                          << false << sameFile;
}

void TestCommands::convertRefusals() {
    QFETCH(QString, source);
    QFETCH(QString, output);
    QFETCH(QString, width);
    QFETCH(QString, sampleRate);
    QFETCH(bool, afterVcd);
    QFETCH(QStringList, titles);
    WindowFixture fx;
    QDir(fx.dir.path()).mkdir("sub");
    QFile(fx.dir.filePath("clip.avi")).open(QIODevice::WriteOnly);
    QFile::link(fx.dir.filePath("clip.avi"), fx.dir.filePath("link.avi"));
    frmZCM& w = fx.start();
    if (afterVcd) {
        Ui(w).cboPlatform->setCurrentIndex(4);
    }
    w.cmdGenerate_Click(); // an earlier command stays in the box
    QVERIFY(WindowFixture::formAnswered(w));
    Ui(w).cboPlatform->setCurrentIndex(0);
    Ui(w).txtOriginalVideo->setText(source.replace("$DIR", fx.dir.path()));
    Ui(w).txtSaveAs->setText(output.replace("$DIR", fx.dir.path()));
    Ui(w).txtWidth->setText(width);
    Ui(w).txtSampleRate->setText(sampleRate);
    if (width.isEmpty()) {
        fx.platform.whileMessageShows = [&w] { Ui(w).txtWidth->setText("640"); };
    }
    w.cmdConvert_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    QCOMPARE(fx.platform.titles(), titles);
    QCOMPARE(fx.outside.started.size(), titles.isEmpty() ? 1 : 0);
    if (titles.value(1) == "Invalid Filename!") { // Convert's own words, not Generate's
        QCOMPARE(fx.platform.messages[1].prompt, "You must enter a valid filename with extension (eg movie.avi)");
    }
}

// An existing output is replaced only when the user says so; Enter and Esc start nothing.
void TestCommands::convertAsksBeforeReplacing_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("choice"); // -1: the box closed
    QTest::addColumn<int>("started");
    QTest::newRow("a new output asks nothing") << false << -1 << 1;
    QTest::newRow("replace") << true << 0 << 1;
    QTest::newRow("cancel") << true << 1 << 0;
    QTest::newRow("closed, or Enter: the safe answer") << true << -1 << 0;
}

void TestCommands::convertAsksBeforeReplacing() {
    QFETCH(bool, exists);
    QFETCH(int, choice);
    QFETCH(int, started);
    WindowFixture fx;
    frmZCM& w = fx.start();
    const QString output = fx.dir.filePath("out clip.mp4");
    if (exists) {
        QVERIFY(QFile(output).open(QIODevice::WriteOnly));
    }
    Ui(w).txtSaveAs->setText(output);
    fx.platform.choices.enqueue(choice);
    w.cmdConvert_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    QCOMPARE(fx.platform.questions.size(), exists ? 1 : 0);
    if (exists) {
        QCOMPARE(fx.platform.questions[0].prompt, "The output file " + output + " exists already. Replace it?");
        QCOMPARE(fx.platform.choiceButtons.value(fx.platform.safeChoices.value(0)), "&Cancel");
    }
    QCOMPARE(fx.outside.started.size(), started);
    QVERIFY(fx.platform.messages.isEmpty());
}

void TestCommands::convertStartsTheBoxText() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).txtFFMPEGCode->setPlainText("edited by hand");
    QTest::mouseClick(Ui(w).cmdConvert, Qt::LeftButton);
    QTest::mouseClick(Ui(w).cmdConvert, Qt::LeftButton);
    QVERIFY(WindowFixture::formAnswered(w));
    QCOMPARE(fx.outside.started.size(), 2); // two clicks, two encoders
    QCOMPARE(fx.outside.started[0], Ui(w).txtFFMPEGCode->toPlainText());
    QVERIFY(fx.outside.started[0].startsWith("/usr/bin/ffmpeg -y -i "));
    QCOMPARE(w.findChildren<EncoderWindow*>().size(), 2);
    QVERIFY(fx.platform.messages.isEmpty());
}

void TestCommands::convertRightAfterGenerateStartsTheFormShown_data() {
    QTest::addColumn<QString>("typedMeanwhile"); // into the encoder box before the answer; empty: nothing
    QTest::newRow("the encoder asked") << QString();
    QTest::newRow("another encoder typed before the answer") << "/opt/other/ffmpeg";
}

// A fresh encoder is still being asked its form when Convert follows Generate: both act on the
// answer for the box's encoder, and the encoder started is exactly the command the box then shows.
void TestCommands::convertRightAfterGenerateStartsTheFormShown() {
    QFETCH(QString, typedMeanwhile);
    WindowFixture fx;
    fx.outside.formAnswersWhenTold = true;
    frmZCM& w = fx.start();
    // Queued, so that they come while the question is pending, however the window waits for it.
    QTimer::singleShot(0, &w, [&w, typedMeanwhile] {
        QTest::mouseClick(Ui(w).cmdConvert, Qt::LeftButton);
        if (!typedMeanwhile.isEmpty()) {
            Ui(w).txtffmpegexe->setText(typedMeanwhile);
        }
    });
    QTimer::singleShot(0, &w, [&fx, typedMeanwhile] {
        QCOMPARE(fx.outside.pendingForms.size(), 1);
        // A stale answer for a text the box no longer holds would write the classic form.
        fx.outside.pendingForms.takeFirst()(typedMeanwhile.isEmpty() ? zvm::EncoderAnswer::Rejects
                                                                     : zvm::EncoderAnswer::Accepts);
    });
    QTest::mouseClick(Ui(w).cmdGenerate, Qt::LeftButton);
    if (!typedMeanwhile.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(fx.outside.formQuestions.size(), 2, 5000); // the box's new text is asked
        QCOMPARE(fx.outside.pendingForms.size(), 1);
        fx.outside.pendingForms.takeFirst()(zvm::EncoderAnswer::Rejects);
    }
    QTRY_COMPARE_WITH_TIMEOUT(fx.outside.started.size(), 1, 5000);
    QCOMPARE(fx.outside.started[0], Ui(w).txtFFMPEGCode->toPlainText());
    QVERIFY(fx.outside.started[0].contains(" -vf scale=")); // the modern form the answer asks for
    const QString encoder = typedMeanwhile.isEmpty() ? QStringLiteral("/usr/bin/ffmpeg") : typedMeanwhile;
    QVERIFY(fx.outside.started[0].startsWith(encoder + " -y "));
    QCOMPARE(fx.outside.formQuestions.last(), encoder);
    QVERIFY(fx.outside.pendingForms.isEmpty());
    QVERIFY(fx.platform.messages.isEmpty());
}

void TestCommands::failedStartSaysWhy() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    fx.outside.startFailure = zvm::Status::Failure(zvm::FailureKind::NotFound, "no such program was found",
                                                   "/opt/looked/for/ffmpeg");
    w.cmdConvert_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    QCOMPARE(fx.platform.messages.size(), 1);
    QVERIFY(fx.platform.messages[0].prompt.startsWith("The encoder could not be started: no such program"));
    QVERIFY(
        fx.platform.messages[0].prompt.endsWith("Program: /opt/looked/for/ffmpeg")); // the program looked for
    QVERIFY(w.findChildren<EncoderWindow*>().isEmpty());
}

// How an encoder's run ends, and what its window says: a clean exit hands the file to the after-check,
// whose words it shows (a missing file fails); a failure names its exit code and, for an encoder that
// rejects the classic options, the remedy; Stop says what is left. Markup in names is shown as written.
void TestCommands::encoderWindowEnds_data() {
    QTest::addColumn<QByteArray>("words");  // what the encoder writes before it ends
    QTest::addColumn<int>("exitCode");      // -1: stopped by the user
    QTest::addColumn<int>("verdict");       // of the after-check, -1 when none is made
    QTest::addColumn<bool>("outputWritten");
    QTest::addColumn<QString>("status");
    using V = CheckReport::Verdict;
    QTest::newRow("finished, fits") << QByteArray() << 0 << int(V::Fits) << true << "Finished";
    QTest::newRow("finished, does not fit") << QByteArray() << 0 << int(V::Differs) << true << "Finished";
    QTest::newRow("clean exit, no file") << QByteArray() << 0 << int(V::Missing) << false << "Failed: no output file";
    QTest::newRow("rejects the classic options")
        << QByteArray("Unrecognized option 'me'.\nError splitting the argument list: Option not found\n") << 8 << -1
        << false << "Failed (exit code 8). This encoder needs the modern command";
    QTest::newRow("full disk") << QByteArray("Could not write header: No space left on device\n") << 1 << -1 << false
                               << "Failed (exit code 1): the disk is full";
    QTest::newRow("stopped, partial output") << QByteArray() << -1 << -1 << true
                                             << "Stopped. The partial output was kept: $OUT";
    QTest::newRow("stopped, nothing written") << QByteArray() << -1 << -1 << false << "Stopped. No output was written";
}

void TestCommands::encoderWindowEnds() {
    QFETCH(QByteArray, words);
    QFETCH(int, exitCode);
    QFETCH(int, verdict);
    QFETCH(bool, outputWritten);
    QFETCH(QString, status);
    WindowFixture fx;
    frmZCM& w = fx.start();
    const QString output = fx.dir.filePath("x<font size=7>SPOOF<!--.mp4");
    Ui(w).txtSaveAs->setText(output);
    if (outputWritten) {
        QFile(output).open(QIODevice::WriteOnly);
        fx.platform.choices.enqueue(0); // replace it
    }
    w.cmdConvert_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    auto* window = w.findChild<EncoderWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), "x<font size=7>SPOOF<!--.mp4 - ffmpeg");
    auto* command = window->findChild<QLabel*>("command");
    QCOMPARE(command->textFormat(), Qt::PlainText);
    QCOMPARE(window->findChild<QLabel*>("status")->textFormat(), Qt::PlainText);
    auto* progress = window->findChild<QProgressBar*>("progress");
    QCOMPARE(progress->maximum(), 0); // busy until a duration is known
    FakeJob* job = fx.outside.lastJob;
    emit job->outputArrived("  Duration: 00:00:10.00, start: 0\nframe=1 time=00:00:05.00 x\r" + words);
    QCOMPARE(progress->value(), progress->maximum() / 2);
    if (exitCode < 0) {
        window->findChild<QPushButton*>("stop")->click();
        QCOMPARE(job->stopCalls, 1);
    }
    emit job->finished(exitCode < 0 ? 255 : exitCode, 0);
    QCOMPARE(fx.outside.checks.size(), verdict < 0 ? 0 : 1); // only a clean exit is checked
    if (verdict >= 0) {
        QCOMPARE(fx.outside.checks[0].output, output);
        QCOMPARE(fx.outside.checks[0].screen, "GBA - 240x160");
        QCOMPARE(fx.outside.checks[0].source.duration,
                 std::optional<double>(10.0)); // the encoder's own figure
        fx.outside.pendingChecks[0]({CheckReport::Verdict(verdict), "the <b>words</b>"});
        QCOMPARE(window->checkText(), "the <b>words</b>");
    }
    QVERIFY2(window->statusText().startsWith(status.replace("$OUT", output)), qPrintable(window->statusText()));
    window->findChild<QPushButton*>("copyLog")->click();
    QVERIFY(fx.platform.clipboard.last().startsWith("  Duration: 00:00:10.00"));
    QVERIFY(fx.platform.clipboard.last().contains(words));
}

// A Convert to DPG: the encoder's two streams beside the output become the file the check reads.
void TestCommands::encoderWindowPutsDpgTogether_data() {
    QTest::addColumn<QByteArray>("video"); // the stream the encoder leaves
    QTest::addColumn<QString>("status");
    QTest::newRow("put together") << QByteArray("\x00\x00\x01\xB8\x00\x00\x01\x00.", 9) << "Finished";
    QTest::newRow("no picture") << QByteArray("junk") << "Failed: the DPG file could not be put together";
}

void TestCommands::encoderWindowPutsDpgTogether() {
    QFETCH(QByteArray, video);
    QFETCH(QString, status);
    WindowFixture fx;
    frmZCM& w = fx.start();
    const QString output = fx.dir.filePath("out.dpg");
    Ui(w).cboPlatform->setCurrentIndex(*zvm::PresetByName("dpg-256x192"));
    Ui(w).txtSaveAs->setText(output);
    w.cmdConvert_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    auto* window = w.findChild<EncoderWindow*>();
    QVERIFY2(window != nullptr, qPrintable(fx.platform.messages.isEmpty() ? QString() : fx.platform.messages[0].prompt));
    for (const auto& [part, bytes] : {std::pair(QString(".m1v"), video), std::pair(QString(".mp2"), QByteArray("sound"))}) {
        QFile file(output + part);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    emit fx.outside.lastJob->finished(0, 0);
    QVERIFY2(window->statusText().startsWith(status), qPrintable(window->statusText()));
    const bool made = status == "Finished";
    QCOMPARE(fx.outside.checks.size(), made ? 1 : 0);
    QCOMPARE(QFileInfo::exists(output), made);
    QCOMPARE(QFileInfo::exists(output + ".m1v"), !made); // kept for a look when they could not be used
}

void TestCommands::closingTheEncoderWindowKeepsItsJob() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.cmdConvert_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    QPointer<EncoderWindow> window = w.findChild<EncoderWindow*>();
    window->show();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window != nullptr); // the encoder still runs: it is followed until it ends
    QCOMPARE(fx.outside.lastJob->stopCalls, 0);
    fx.outside.lastJob->running = false;
    emit fx.outside.lastJob->finished(0, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window == nullptr);
}

// Exit leaves a converting encoder running, as designed, and says so once: its window goes too.
void TestCommands::exitSaysTheEncoderGoesOn_data() {
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("exits"); // Exit, then the close control too
    QTest::newRow("converting") << true << 1;
    QTest::newRow("converting, quit twice") << true << 2;
    QTest::newRow("finished") << false << 1;
}

void TestCommands::exitSaysTheEncoderGoesOn() {
    QFETCH(bool, running);
    QFETCH(int, exits);
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.cmdConvert_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    QVERIFY(fx.outside.lastJob != nullptr);
    fx.outside.lastJob->running = running;
    w.cmdExit_Click();
    if (exits > 1) {
        w.close();
    }
    QCOMPARE(fx.outside.lastJob->stopCalls, 0);
    const QStringList expected{"Zarnik Video Maker: The conversion goes on after the program ends: "
                               "/videos/clip.mp4 is still being written."};
    QCOMPARE(fx.platform.notifications, running ? expected : QStringList());
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
