// What the window works out by itself: the command form, the source's size, the output's name.
#include "tests/GenerateCases.h"
#include "ui/FrameView.h"
#include "ui/PreviewWindow.h"
#include "ui/QueueModel.h"
#include "ui/QueueWindow.h"
#include "ui/Translations.h"
#include "core/CommandLine.h"
#include "core/Presets.h"
#include "core/SourceChoices.h"
#include "tests/ui/WindowFixture.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QPushButton>
#include <QSpinBox>
#include <QRadioButton>
#include <QSlider>
#include <QTableView>
#include <QStandardItemModel>

class TestAutomatic : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallTranslations(*qApp); } // English plurals, as the program has them
    void formFollowsTheEncoder();
    void explicitChoiceIsKept();
    void cropsBarsWhenAsked_data();
    void cropsBarsWhenAsked();
    void previewDeinterlaces_data();
    void previewDeinterlaces();
    void previewTakesATypedCrop_data();
    void previewTakesATypedCrop();
    void choosesTheSoundStream_data();
    void choosesTheSoundStream();
    void outputNamedFromTheSource_data();
    void outputNamedFromTheSource();
    void typedSourceIsRead();
    void pickersOpenWhereTheVideosAre_data();
    void pickersOpenWhereTheVideosAre();
    void onlyTheLatestDetectionCounts();
    void detectionSaysWhatItFound_data();
    void detectionSaysWhatItFound();
    void detectionFailuresSpeakOnlyWhenAsked();
    void previewFollowsTheWindow();
    void previewCutGoesToTheQueue();
    void previewSubtitlesGoToTheQueue_data();
    void previewSubtitlesGoToTheQueue();
    void greysWhatTheEncoderCannotWrite_data();
    void greysWhatTheEncoderCannotWrite();
    void sameCommandAsTheTool_data();
    void sameCommandAsTheTool();
};

namespace {
SizeDetection Found(int w, int h) {
    return {QSize(w, h), {}, {}};
}

QString Command(frmZCM& w) {
    w.cmdGenerate_Click();
    return WindowFixture::formAnswered(w) ? Ui(w).txtFFMPEGCode->toPlainText() : QString("(no form answer)");
}
} // namespace

// No program runs at start; the form is decided for the encoder box's text when a command is first
// needed, by whatever key asks, and follows a new text at once.
void TestAutomatic::formFollowsTheEncoder() {
    WindowFixture fx;
    frmZCM& w = fx.start(); // a nine-field file: automatic
    QVERIFY(fx.outside.formQuestions.isEmpty());
    QVERIFY(Ui(w).mnuModernCommand->toolTip().contains("decided when a command is first written"));

    // Through the window system, as a real key press is; an access key's click arrives a moment later.
    QWindow* window = w.windowHandle();
    fx.outside.formAnswer = zvm::EncoderAnswer::Rejects;
    QTest::keyClick(window, Qt::Key_G, Qt::AltModifier);
    QTRY_VERIFY(Ui(w).txtFFMPEGCode->toPlainText().contains(" -vf scale="));
    QCOMPARE(fx.outside.formQuestions, QStringList{"/usr/bin/ffmpeg"});
    QVERIFY(Ui(w).mnuModernCommand->isChecked());
    QVERIFY(Ui(w).mnuModernCommand->toolTip().contains("chosen automatically: this ffmpeg rejects"));
    // Best quality is the modern form's to offer: the command gets it, and it is never kept.
    QVERIFY(Ui(w).mnuBestQuality->isEnabled() && !Ui(w).mnuBestQuality->isChecked());
    Ui(w).mnuBestQuality->trigger();
    QTest::keyClick(window, Qt::Key_G, Qt::AltModifier);
    QTRY_VERIFY(Ui(w).txtFFMPEGCode->toPlainText().contains(" -c:v mpeg4 -g 300 -mbd rd "));
    w.mnuSaveINI_Click();
    QCOMPARE(fx.settingsBytes(), WindowFixture::SavedFile()); // automatic stays a nine-field file

    // A new encoder typed into the box: the next Alt+G asks it, once, and writes its form.
    Ui(w).txtffmpegexe->setText("/opt/other/ffmpeg");
    QVERIFY(Ui(w).mnuModernCommand->toolTip().contains("decided when a command is first written"));
    fx.outside.formAnswer = zvm::EncoderAnswer::Accepts;
    for (int press = 0; press < 2; ++press) {
        Ui(w).txtFFMPEGCode->clear();
        QTest::keyClick(window, Qt::Key_G, Qt::AltModifier);
        QTRY_VERIFY(Ui(w).txtFFMPEGCode->toPlainText().contains(" -me epzs "));
    }
    QVERIFY(!Ui(w).mnuBestQuality->isEnabled()); // the classic form: greyed, and the designed command
    QCOMPARE(fx.outside.formQuestions, QStringList({"/usr/bin/ffmpeg", "/opt/other/ffmpeg"}));
    QVERIFY(Ui(w).mnuModernCommand->toolTip().contains("accepts the classic options"));
}

void TestAutomatic::explicitChoiceIsKept() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    fx.outside.formAnswer = zvm::EncoderAnswer::Rejects;
    Ui(w).mnuModernCommand->trigger(); // on: modern, by the user's choice
    Ui(w).mnuModernCommand->trigger(); // off: classic, by the user's choice
    QVERIFY(!Ui(w).mnuModernCommand->isChecked());
    QVERIFY(Ui(w).mnuModernCommand->toolTip().contains("chosen by you"));
    w.mnuSaveINI_Click();
    QVERIFY(fx.settingsBytes().endsWith(R"("Saved","Classic")" "\r\n"));

    WindowFixture next; // the next start keeps the choice, whatever the encoder would say
    QDir::setCurrent(fx.dir.path());
    next.outside.formAnswer = zvm::EncoderAnswer::Rejects;
    frmZCM& again = next.start({});
    QVERIFY(!Ui(again).mnuModernCommand->isChecked());
    QVERIFY(Command(again).contains(" -me epzs "));
    QVERIFY(next.outside.formQuestions.isEmpty()); // a chosen form needs no question
}

// The bars the worker found are cut away in the modern form only, for the source they were found in.
void TestAutomatic::cropsBarsWhenAsked_data() {
    QTest::addColumn<QString>("found");   // the rectangle, or why there is none
    QTest::addColumn<bool>("modern");
    QTest::addColumn<QString>("filter");  // the command's picture filter starts so; "-": the designed command
    QTest::newRow("found, modern") << "480:360:80:0" << true << "crop=480:360:80:0,scale=214:160,pad=240:160:14:0";
    QTest::newRow("found, classic: the designed command") << "480:360:80:0" << false << "-";
    QTest::newRow("frames disagree") << "why:the frames disagree" << true << "scale=240:136,pad=240:160:0:12";
    // The preview's offer: the 4:3 show fills the 3:2 screen's height instead of a 16:9 strip of it.
    QTest::newRow("the preview's Crop them") << "480:360:80:0 preview" << true
                                             << "Black bars found: 80 px left and right — Crop them (the picture "
                                                "fills 89% of the screen instead of 64%)";
    QTest::newRow("no offer in the classic form") << "480:360:80:0 preview" << false << "-";
}

void TestAutomatic::cropsBarsWhenAsked() {
    QFETCH(QString, found);
    QFETCH(bool, modern);
    QFETCH(QString, filter);
    WindowFixture fx;
    frmZCM& w = fx.start();
    fx.outside.formAnswer = modern ? zvm::EncoderAnswer::Rejects : zvm::EncoderAnswer::Accepts;
    if (found.endsWith(" preview")) {
        Ui(w).txtWidth->setText("640");
        Ui(w).txtHeight->setText("360");
        QVERIFY(!Command(w).isEmpty()); // the form decided, as the preview shows it
        Ui(w).mnuPreview->trigger();
        auto* preview = w.findChild<PreviewWindow*>();
        QTRY_COMPARE(fx.outside.detections.size(), 1);
        fx.outside.pendingDetections.takeFirst()({QSize(640, 360), {}, 60.0});
        QCOMPARE(fx.outside.looks.size(), 1);
        PictureLook look;
        look.crop = *zvm::ParseCrop(found.section(' ', 0, 0).toStdString());
        look.crop.sourceWidth = 640;
        look.crop.sourceHeight = 360;
        fx.outside.pendingLooks.takeFirst()(look);
        auto* offer = preview->findChild<QPushButton*>("cropBars");
        QCOMPARE(offer->isVisibleTo(preview), filter != "-");
        if (filter != "-") {
            QCOMPARE(offer->text(), filter);
            offer->click();
            QCOMPARE(preview->view()->fit()->newHeight, 160); // the kept 4:3 picture, height-limited
            QCOMPARE(preview->crop(), look.crop);             // what the queue is given
            QTRY_VERIFY(!fx.outside.renders.isEmpty() && fx.outside.renders.last().filter.starts_with("crop=480:360:80:0,"));
        }
        return;
    }
    auto* crop = w.findChild<QAction*>("mnuCropBars");
    QVERIFY(crop != nullptr && !crop->isChecked());
    Ui(w).txtWidth->setText("640");
    Ui(w).txtHeight->setText("360");
    const QString plain = Command(w);
    crop->trigger();
    QCOMPARE(fx.outside.looks, QStringList{Ui(w).txtOriginalVideo->text()});
    PictureLook look;
    if (found.startsWith("why:")) {
        look.cropWhy = found.mid(4).toStdString();
    } else {
        look.crop = *zvm::ParseCrop(found.toStdString());
        look.crop.sourceWidth = 640;
        look.crop.sourceHeight = 360;
    }
    fx.outside.pendingLooks.takeFirst()(look);
    const QString command = Command(w);
    if (filter == "-") {
        QCOMPARE(command, plain);
    } else {
        QVERIFY2(command.contains(" -vf " + filter), qPrintable(command));
        QCOMPARE(crop->toolTip().contains(QString::fromStdString(look.cropWhy)), true);
    }
    w.mnuSaveINI_Click();
    QVERIFY(!fx.settingsBytes().contains("rop")); // not kept: the next start begins without it
}

// The preview's frame goes through the deinterlacing its run will have, and says so.
void TestAutomatic::previewDeinterlaces_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("interlaced"); // as the size read says: 1, 0, or -1 unknown
    QTest::addColumn<bool>("deinterlaced");
    QTest::newRow("interlaced, a later target") << "psp-480x272" << 1 << true;
    QTest::newRow("progressive") << "psp-480x272" << 0 << false;
    QTest::newRow("not known") << "psp-480x272" << -1 << false;
    QTest::newRow("a designed row keeps its picture") << "gba-240x160" << 1 << false;
}

void TestAutomatic::previewDeinterlaces() {
    QFETCH(QString, target);
    QFETCH(int, interlaced);
    QFETCH(bool, deinterlaced);
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).cboPlatform->setCurrentIndex(*zvm::PresetByName(target.toStdString()));
    Ui(w).mnuPreview->trigger();
    auto* preview = w.findChild<PreviewWindow*>();
    QTRY_VERIFY(!fx.outside.pendingDetections.isEmpty());
    SizeDetection read{QSize(720, 480), {}, 60.0};
    read.interlaced = interlaced < 0 ? std::nullopt : std::optional(interlaced == 1);
    fx.outside.pendingDetections.takeFirst()(read);
    QTRY_VERIFY(fx.outside.pendingRender != nullptr);
    QCOMPARE(fx.outside.renders.last().filter.starts_with("bwdif=mode=send_frame,"), deinterlaced);
    std::exchange(fx.outside.pendingRender, nullptr)({QByteArray(), {}});
    QCOMPARE(preview->statusText().contains("deinterlaced"), deinterlaced);
    // Generate writes what the preview showed, from the window's own read.
    Ui(w).txtOriginalVideo->setText("/media/show.mkv");
    Ui(w).mnuDetectSize->trigger();
    QTRY_VERIFY(!fx.outside.pendingDetections.isEmpty());
    fx.outside.pendingDetections.takeFirst()(read);
    QCOMPARE(Command(w).contains("bwdif=mode=send_frame"), deinterlaced);
}

// A crop typed in the preview, in the source's stored pixels, is drawn and rendered as the run will
// cut it; one outside the picture, or not four numbers, is said and changes nothing.
void TestAutomatic::previewTakesATypedCrop_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("said"); // empty: taken
    QTest::addColumn<QString>("kept"); // the crop then
    QTest::addColumn<QString>("fit");  // the picture on the screen then
    QTest::newRow("a rectangle inside") << "480:480:80:0" << "" << "480:480:80:0" << "272x272";
    QTest::newRow("wider than the picture") << "600:480:80:0" << "must lie inside the picture" << "320:200:0:20" << "436x272";
    QTest::newRow("not four numbers") << "480x480" << "Type the crop as" << "320:200:0:20" << "436x272";
    QTest::newRow("emptied: none") << "" << "" << "none" << "362x272";
}

void TestAutomatic::previewTakesATypedCrop() {
    QFETCH(QString, typed);
    QFETCH(QString, said);
    QFETCH(QString, kept);
    QFETCH(QString, fit);
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).cboPlatform->setCurrentIndex(*zvm::PresetByName("psp-480x272")); // the modern form, unasked
    Ui(w).txtWidth->setText("640");
    Ui(w).txtHeight->setText("480");
    Ui(w).mnuPreview->trigger();
    auto* preview = w.findChild<PreviewWindow*>();
    QTRY_VERIFY(!fx.outside.pendingDetections.isEmpty());
    fx.outside.pendingDetections.takeFirst()({QSize(640, 480), {}, 60.0, QSize(640, 480)});
    QTRY_VERIFY(fx.outside.pendingRender != nullptr);
    std::exchange(fx.outside.pendingRender, nullptr)({QByteArray(), {}});
    auto* box = preview->findChild<QLineEdit*>("cropRect");
    for (const QString& text : {QString("320:200:0:20"), typed}) { // a crop chosen before, then the one typed
        box->setText(text);
        emit box->editingFinished();
    }
    QCOMPARE(QString::fromStdString(zvm::CropText(preview->crop())), kept);
    const auto g = preview->view()->fit();
    QCOMPARE(g ? QString("%1x%2").arg(g->newWidth).arg(g->newHeight) : QString(), fit);
    QVERIFY2(preview->statusText().contains(said), qPrintable(preview->statusText()));
    if (said.isEmpty()) {
        QTRY_VERIFY(fx.outside.pendingRender != nullptr);
        QCOMPARE(QString::fromStdString(fx.outside.renders.last().filter).contains("crop=" + typed), !typed.isEmpty());
    }
}

// The source's sound streams, once read, are offered by language and title; the one chosen is mapped
// in the modern form, and a new source starts again from the encoder's own choice.
void TestAutomatic::choosesTheSoundStream_data() {
    QTest::addColumn<int>("streams"); // the first Japanese and the default, the second English commentary
    QTest::addColumn<int>("pick");    // the entry chosen: 0 Automatic, N the Nth stream
    QTest::addColumn<bool>("modern");
    QTest::addColumn<bool>("again");  // another source read after the choice
    QTest::addColumn<QString>("map"); // what the command maps; empty: nothing (the designed command)
    QTest::newRow("the second of two") << 2 << 2 << true << false << "-map 0:v:0 -map 0:a:1";
    QTest::newRow("the first of three") << 3 << 1 << true << false << "-map 0:v:0 -map 0:a:0";
    QTest::newRow("automatic") << 2 << 0 << true << false << "";
    QTest::newRow("classic: the designed command") << 2 << 2 << false << false << "";
    QTest::newRow("one stream: nothing to choose") << 1 << 0 << true << false << "";
    QTest::newRow("another source: its own choice") << 2 << 2 << true << true << "";
}

void TestAutomatic::choosesTheSoundStream() {
    QFETCH(int, streams);
    QFETCH(int, pick);
    QFETCH(bool, modern);
    QFETCH(bool, again);
    QFETCH(QString, map);
    WindowFixture fx;
    frmZCM& w = fx.start();
    fx.outside.formAnswer = modern ? zvm::EncoderAnswer::Rejects : zvm::EncoderAnswer::Accepts;
    SizeDetection read{QSize(640, 360), {}, 60.0};
    for (int at = 0; at < streams; ++at) {
        read.audioStreams.push_back({at == 0 ? "jpn" : "eng", at == 1 ? "Commentary" : "", 2 + at, at == 0});
    }
    auto* menu = w.findChild<QMenu*>("mnuSoundStream");
    QVERIFY(menu != nullptr && !menu->isEnabled()); // nothing read yet
    for (const QString& source : again ? QStringList{"/media/film.mkv", "/media/next.mkv"} : QStringList{"/media/film.mkv"}) {
        Ui(w).txtOriginalVideo->setText(source);
        Ui(w).mnuDetectSize->trigger();
        QTRY_VERIFY(!fx.outside.pendingDetections.isEmpty());
        fx.outside.pendingDetections.takeFirst()(read);
        if (source.endsWith("film.mkv")) {
            QCOMPARE(menu->isEnabled(), streams > 1);
            QCOMPARE(menu->actions().size(), streams + 1);
            const QStringList entries{"&1: jpn, 2 channels, default", "&2: eng, Commentary, 3 channels", "&3: eng, 4 channels"};
            QCOMPARE(menu->actions().last()->text(), entries[streams - 1]);
            menu->actions().at(pick)->trigger();
        }
    }
    const QString command = Command(w);
    QVERIFY2(map.isEmpty() ? !command.contains("-map") : command.contains(" " + map + " "), qPrintable(command));
}

void TestAutomatic::outputNamedFromTheSource_data() {
    QTest::addColumn<bool>("drop");       // dropped onto the window, or picked
    QTest::addColumn<QString>("output");  // the output box before: "" empty, or a name of the user's
    QTest::addColumn<QString>("second");   // chosen after /media/clip.mkv
    QTest::addColumn<QString>("expected"); // then
    const QString next = "/media/next.avi";
    QTest::newRow("picked into an empty box") << false << "" << next << "/media/next.mp4";
    QTest::newRow("dropped into an empty box") << true << "" << next << "/media/next.mp4";
    QTest::newRow("a typed name is kept") << false << "/videos/mine.mp4" << next << "/videos/mine.mp4";
    QTest::newRow("a dropped video keeps it too") << true << "/videos/mine.mp4" << next << "/videos/mine.mp4";
    QTest::newRow("no name it would refuse") << false << "" << R"(/media/say "hi".avi)" << "";
}

void TestAutomatic::outputNamedFromTheSource() {
    QFETCH(bool, drop);
    QFETCH(QString, output);
    QFETCH(QString, second);
    QFETCH(QString, expected);
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).txtSaveAs->setText(output);
    for (const QString& video : {QString("/media/clip.mkv"), second}) {
        if (drop) {
            QVERIFY(WindowFixture::dropFile(w, Ui(w).cmdGenerate, video));
        } else {
            fx.platform.setNextFileName(video);
            w.cmdBrowseVideo_Click();
        }
    }
    QCOMPARE(fx.outside.detections, QStringList({"/media/clip.mkv", second}));
    QCOMPARE(Ui(w).txtSaveAs->text(), expected);
    Ui(w).cboPlatform->setCurrentIndex(4); // a suggestion follows the preset's ending; a user's name does not
    QCOMPARE(Ui(w).txtSaveAs->text(), output.isEmpty() ? QString(expected).replace(".mp4", ".mpg") : output);
    fx.outside.pendingDetections.last()(Found(853, 480));
    QCOMPARE(Ui(w).txtWidth->text(), "853");
    QCOMPARE(Ui(w).txtHeight->text(), "480");
}

// A typed source is read once the user leaves the box with a changed text, as a picked one is.
void TestAutomatic::typedSourceIsRead() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).txtOriginalVideo->setFocus();
    QTest::keyClick(Ui(w).txtOriginalVideo, Qt::Key_Return); // the restored source: nothing to read
    QVERIFY(fx.outside.detections.isEmpty());
    Ui(w).txtOriginalVideo->setText("/videos/typed.mkv");
    QTest::keyClick(Ui(w).txtOriginalVideo, Qt::Key_Return);
    QTest::keyClick(Ui(w).txtOriginalVideo, Qt::Key_Return); // unchanged since: read once
    QCOMPARE(fx.outside.detections, QStringList{"/videos/typed.mkv"});
    fx.outside.pendingDetections[0](Found(720, 480));
    QCOMPARE(Ui(w).txtWidth->text(), "720");
    QCOMPARE(Ui(w).txtSaveAs->text(), "/videos/clip.mp4"); // a name the user gave is kept
}

// The video pickers open where the current source is, else where the last video came from, else in
// the user's Videos folder; the queue's add dialog shows all videos first.
void TestAutomatic::pickersOpenWhereTheVideosAre_data() {
    QTest::addColumn<QString>("source"); // the box's text; $DIR is the test's folder
    QTest::addColumn<QString>("picked"); // picked before, with the box emptied after; "" none
    QTest::addColumn<QString>("folder"); // where the next picker opens; "videos": the Videos folder
    QTest::newRow("beside the current source") << "$DIR/clip.avi" << "" << "$DIR";
    QTest::newRow("the last video's folder") << "" << "$DIR/sub/last.mkv" << "$DIR/sub";
    QTest::newRow("a source whose folder is gone") << "/nonexistent/clip.avi" << "" << "videos";
    QTest::newRow("nothing yet") << "" << "" << "videos";
}

void TestAutomatic::pickersOpenWhereTheVideosAre() {
    QFETCH(QString, source);
    QFETCH(QString, picked);
    QFETCH(QString, folder);
    WindowFixture fx;
    frmZCM& w = fx.start();
    QVERIFY(QDir(fx.dir.path()).mkpath("sub"));
    const auto here = [&fx](QString text) { return text.replace("$DIR", fx.dir.path()); };
    if (!picked.isEmpty()) {
        fx.platform.setNextFileName(here(picked));
        w.cmdBrowseVideo_Click();
    }
    Ui(w).txtOriginalVideo->setText(here(source));
    w.cmdBrowseVideo_Click(); // cancelled
    Ui(w).mnuAddToQueue->trigger(); // cancelled
    const QString expected =
        folder == "videos" ? QStandardPaths::writableLocation(QStandardPaths::MoviesLocation) : here(folder);
    QCOMPARE(fx.platform.dialogs.size(), picked.isEmpty() ? 2 : 3);
    QCOMPARE(fx.platform.dialogs.at(fx.platform.dialogs.size() - 2).folder, expected);
    QCOMPARE(fx.platform.dialogs.last().folder, expected);
    QVERIFY(fx.platform.dialogs.last().filters.value(0).startsWith("All videos"));
}

void TestAutomatic::onlyTheLatestDetectionCounts() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).mnuDetectSize->trigger();
    Ui(w).txtOriginalVideo->setText("/videos/other.avi");
    Ui(w).mnuDetectSize->trigger();
    QCOMPARE(fx.outside.detections, QStringList({"/videos/clip.avi", "/videos/other.avi"}));
    fx.outside.pendingDetections[1](Found(320, 240));
    fx.outside.pendingDetections[0](Found(1920, 1080)); // late answer to the first request
    QCOMPARE(Ui(w).txtWidth->text(), "320");
    QCOMPARE(Ui(w).txtHeight->text(), "240");
}

// The boxes take the size as shown; their tips say the stored pixels it came from, until typed over.
void TestAutomatic::detectionSaysWhatItFound_data() {
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<QSize>("aspect");
    QTest::addColumn<QString>("said");
    QTest::newRow("DVD frame") << QSize(655, 480) << QSize(720, 480) << QSize(10, 11)
                               << "720x480 pixels, shown as 655x480 (pixel aspect 10:11)";
    QTest::newRow("turned phone video") << QSize(1080, 1920) << QSize(1920, 1080) << QSize(1, 1)
                                        << "1920x1080 pixels, shown as 1080x1920";
    QTest::newRow("square pixels") << QSize(320, 240) << QSize(320, 240) << QSize(1, 1) << "320x240 pixels";
}

void TestAutomatic::detectionSaysWhatItFound() {
    QFETCH(QSize, shown);
    QFETCH(QSize, pixels);
    QFETCH(QSize, aspect);
    QFETCH(QString, said);
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).mnuDetectSize->trigger();
    fx.outside.pendingDetections.takeFirst()({shown, {}, {}, pixels, aspect});
    QCOMPARE(Ui(w).txtWidth->text(), QString::number(shown.width()));
    QCOMPARE(Ui(w).txtWidth->toolTip(), "Width of original video: " + said);
    QCOMPARE(Ui(w).txtHeight->toolTip(), "Height of original video: " + said);
    QTest::keyClick(Ui(w).txtHeight, Qt::Key_Backspace);
    QCOMPARE(Ui(w).txtWidth->toolTip(), "Width of original video");
    QCOMPARE(Ui(w).txtHeight->toolTip(), "Height of original video");
}

void TestAutomatic::detectionFailuresSpeakOnlyWhenAsked() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    fx.platform.setNextFileName("/videos/notes.txt");
    w.cmdBrowseVideo_Click();
    fx.outside.pendingDetections.takeFirst()({std::nullopt, zvm::Status::Failure(zvm::FailureKind::BadInput, "the file has no video stream"), {}});
    QVERIFY(fx.platform.messages.isEmpty());
    QTest::keyClick(w.windowHandle(), Qt::Key_D, Qt::ControlModifier);
    fx.outside.pendingDetections.takeFirst()({std::nullopt, zvm::Status::Failure(zvm::FailureKind::BadInput, "<b>ffprobe</b> was not found"), {}});
    QCOMPARE(fx.platform.titles(), QStringList{"Detect size from video"});
    QVERIFY(fx.platform.messages[0].prompt.contains("<b>ffprobe</b> was not found"));
    QCOMPARE(Ui(w).txtWidth->text(), "640");
}

// The preview draws the fit of whatever the window holds, at once, and the numbers a Generate shows.
// Its frame is asked for at a share of the source's duration, read first, and through the same fit.
void TestAutomatic::previewFollowsTheWindow() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).mnuPreview->trigger();
    auto* preview = w.findChild<PreviewWindow*>();
    QVERIFY(preview != nullptr && preview->isVisible());
    QTRY_COMPARE(fx.outside.detections, QStringList{"/videos/clip.avi"}); // after the typing pause
    QVERIFY(fx.outside.renders.isEmpty());
    fx.outside.pendingDetections.takeFirst()({QSize(640, 480), {}, 60.0});
    QCOMPARE(fx.outside.renders.size(), 1);
    QCOMPARE(fx.outside.renders[0].seconds, 6.0);                      // 10% in
    QCOMPARE(fx.outside.renders[0].filter, zvm::ScaleAndPadFilter(*preview->view()->fit())); // the fit it draws
    QCOMPARE(preview->statusText(), "Rendering a frame...");
    QImage frame(240, 160, QImage::Format_RGB32);
    frame.fill(Qt::gray);
    QByteArray png;
    QBuffer buffer(&png);
    frame.save(&buffer, "PNG");
    fx.outside.pendingRender({png, {}, false}); // the nearest keyframe's picture first
    QCOMPARE(preview->statusText(), "Rendering a frame...");
    std::exchange(fx.outside.pendingRender, nullptr)({png, {}});
    QVERIFY2(preview->statusText().startsWith("A frame at 0:06 of 1:00"), qPrintable(preview->statusText()));
    auto numbers = [&] {
        const zvm::FrameGeometry g = preview->view()->fit().value_or(zvm::FrameGeometry{});
        return QStringList{QString::number(g.newWidth), QString::number(g.newHeight), QString::number(g.padTop),
                           QString::number(g.padBottom), QString::number(g.padLeft), QString::number(g.padRight)};
    };
    QCOMPARE(numbers(), QStringList({"214", "160", "0", "0", "14", "12"}));
    QCOMPARE(preview->windowTitle(), "Preview - GBA - 240x160 (1.5000 ratio)");
    Ui(w).cboPlatform->setCurrentIndex(3);
    Ui(w).txtWidth->setText("1280");
    Ui(w).txtHeight->setText("720");
    QCOMPARE(preview->windowTitle(), "Preview - PSP - 368x208 (1.1769 ratio)");
    w.cmdGenerate_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    QCOMPARE(numbers(), WindowFixture::LabelTexts(w).mid(1));
    QVERIFY(preview->view()->description().contains("picture 368 x 208"));

    Ui(w).cboPlatform->setCurrentIndex(4);
    w.cmdGenerate_Click(); // clears the movie type
    QVERIFY(WindowFixture::formAnswered(w));
    QVERIFY(preview->findChild<QLabel*>("note")->isVisible()); // a VCD's pixels are not square
    Ui(w).cboPlatform->setCurrentIndex(0);
    QVERIFY(preview->findChild<QLabel*>("caption")->text().startsWith("No movie type chosen"));
    Ui(w).txtHeight->setText("tall");
    QVERIFY(!preview->view()->fit().has_value());
    QTRY_VERIFY(preview->statusText().startsWith("No frame: enter the source's width and height"));
    QCOMPARE(Ui(w).txtHeight->text(), "tall"); // the preview never writes into the window

    Ui(w).txtHeight->setText("720");
    QTRY_VERIFY(fx.outside.pendingRender != nullptr);
    fx.outside.pendingRender({{}, zvm::Status::Failure(zvm::FailureKind::BadInput, "the <b>source</b> was not found")});
    QCOMPARE(preview->statusText(), "No frame: the <b>source</b> was not found"); // a reason, not a crash
    preview->close();
    Ui(w).mnuPreview->trigger();
    QCOMPARE(w.findChildren<PreviewWindow*>().size(), 1); // one instance
}

// Start and end are set at the slider's moments, an end before the start is refused and said, and
// the cut goes with the video into the queue, whose progress counts only the part kept.
void TestAutomatic::previewCutGoesToTheQueue() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).txtSaveAs->setText(fx.dir.filePath("cut.mp4")); // a folder that can take it
    Ui(w).mnuPreview->trigger();
    auto* preview = w.findChild<PreviewWindow*>();
    QTRY_COMPARE(fx.outside.pendingDetections.size(), 1);
    fx.outside.pendingDetections.takeFirst()({QSize(640, 480), {}, 60.0});
    auto* slider = preview->findChild<QSlider*>("moment");
    const auto click = [&](const char* button, int moment) {
        slider->setValue(moment);
        preview->findChild<QPushButton*>(button)->click();
        return preview->findChild<QLabel*>("cutText")->text();
    };
    QCOMPARE(click("setEnd", 500), "Cut from 0:00 to 0:30");
    QCOMPARE(click("setStart", 100), "Cut from 0:06 to 0:30");
    QCOMPARE(click("setStart", 600), "Cut from 0:06 to 0:30"); // refused: nothing lost
    QVERIFY2(preview->statusText().contains("The cut must end after it starts: 0:36 - 0:30"),
             qPrintable(preview->statusText()));
    QCOMPARE(preview->cutStart(), std::optional(6.0));

    preview->findChild<QPushButton*>("addToQueue")->click();
    auto* queue = w.findChild<QueueWindow*>();
    QVERIFY(queue != nullptr && queue->isVisible());
    queue->findChild<QPushButton*>("start")->click();
    QTRY_COMPARE_WITH_TIMEOUT(fx.outside.started.size(), 1, 5000);
    QVERIFY2(fx.outside.started[0].contains(" -y -ss 6 -t 24 -i "), qPrintable(fx.outside.started[0]));
    emit fx.outside.lastJob->outputArrived("  Duration: 00:01:00.00,\nframe=1 time=00:00:12.00 x\r");
    QCOMPARE(queue->table()->model()->index(0, QueueModel::Progress).data().toString(), "50%"); // 12 s of the 24 kept

    QCOMPARE(click("clearCut", 0), "No cut: the whole video is converted");
    Ui(w).txtOriginalVideo->setText("/videos/other.avi");
    QCOMPARE(click("setEnd", 500), "No cut: the whole video is converted"); // its duration is read first
}

// The subtitles chosen in the preview are drawn on its frame and go with the video into the queue,
// which takes the stream count the preview read rather than reading the video again.
void TestAutomatic::previewSubtitlesGoToTheQueue_data() {
    QTest::addColumn<int>("entry");       // None, Automatic, File...
    QTest::addColumn<QString>("picked");  // the file dialog's answer; "-" for cancel
    QTest::addColumn<QString>("beside");  // a file put beside the video
    QTest::addColumn<int>("size");        // the text size set beside; 0 for automatic
    QTest::addColumn<QString>("drawn");   // in the frame's filter and the queue's command; "-" for none
    QTest::newRow("none, though one is beside") << 0 << "" << "clip.srt" << 0 << "-";
    QTest::newRow("automatic: the file beside") << 1 << "" << "clip.srt" << 0 << R"(filename=\'@/clip.srt\')";
    QTest::newRow("automatic: the first stream") << 1 << "" << "" << 0 << R"(filename=\'@/clip.avi\':si=0)";
    QTest::newRow("a picked file") << 2 << "@/mine.ass" << "clip.srt" << 0 << R"(filename=\'@/mine.ass\')";
    QTest::newRow("a picked script, its text sized") // a script's own styles are kept unless a size is set
        << 2 << "@/mine.ass" << "" << 20 << R"(filename=\'@/mine.ass\':force_style=)";
    QTest::newRow("a file dialog cancelled") << 2 << "-" << "clip.srt" << 0 << "-";
}

void TestAutomatic::previewSubtitlesGoToTheQueue() {
    QFETCH(int, entry);
    QFETCH(QString, picked);
    QFETCH(QString, beside);
    QFETCH(int, size);
    QFETCH(QString, drawn);
    WindowFixture fx;
    frmZCM& w = fx.start();
    const QString at = fx.dir.path();
    for (const QString& name : {QString("clip.avi"), QString("mine.ass"), beside}) {
        QVERIFY(name.isEmpty() || QFile(fx.dir.filePath(name)).open(QIODevice::WriteOnly));
    }
    if (!Ui(w).mnuModernCommand->isChecked()) {
        Ui(w).mnuModernCommand->trigger(); // burned-in subtitles need the modern form
    }
    Ui(w).txtOriginalVideo->setText(fx.dir.filePath("clip.avi"));
    Ui(w).txtSaveAs->setText(fx.dir.filePath("out.mp4"));
    Ui(w).mnuPreview->trigger();
    auto* preview = w.findChild<PreviewWindow*>();
    // The window reads the typed source too, as it loses the focus to the preview.
    QTRY_VERIFY(!fx.outside.renders.isEmpty() || !fx.outside.pendingDetections.isEmpty());
    while (fx.outside.renders.isEmpty()) {
        QTRY_VERIFY(!fx.outside.pendingDetections.isEmpty());
        fx.outside.pendingDetections.takeFirst()({QSize(640, 480), {}, 60.0, {}, {1, 1}, 1});
    }
    const qsizetype reads = fx.outside.detections.size();
    if (!picked.isEmpty()) {
        picked == "-" ? fx.platform.setNextCancel() : fx.platform.setNextFileName(QString(picked).replace("@", at));
    }
    auto* box = preview->findChild<QComboBox*>("subtitles");
    emit box->activated(entry);
    if (size > 0) {
        preview->findChild<QSpinBox*>("subtitleSize")->setValue(size);
    }
    QTRY_VERIFY(fx.outside.renders.size() > 1);
    const QString filter = QString::fromStdString(fx.outside.renders.last().filter).replace(at, "@");
    QVERIFY2(drawn == "-" ? !filter.contains("subtitles=") : filter.contains(drawn), qPrintable(filter));

    preview->findChild<QPushButton*>("addToQueue")->click();
    auto* queue = w.findChild<QueueWindow*>();
    queue->findChild<QPushButton*>("start")->click();
    QTRY_COMPARE_WITH_TIMEOUT(fx.outside.started.size(), 1, 5000);
    QCOMPARE(fx.outside.detections.size(), reads); // the preview's read serves the queue
    const QString started = fx.outside.started[0].replace(at, "@");
    QVERIFY2(drawn == "-" ? !started.contains("subtitles=") : started.contains(drawn), qPrintable(started));
}

// Once the encoder has answered, the list greys the targets it cannot write, each saying why in its
// tooltip; the user's own targets are judged as the built-in ones.
void TestAutomatic::greysWhatTheEncoderCannotWrite_data() {
    QTest::addColumn<QString>("encoder"); // the form it takes, and what it says of H.264
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("why"); // in the tooltip; empty for a target it can write
    QTest::newRow("today's, with libx264: the PSP's H.264") << "modern x264" << "psp-480x272" << "";
    QTest::newRow("today's, without libx264: the PSP's H.264") << "modern none" << "psp-480x272" << "libx264";
    QTest::newRow("today's, without libx264: a user's H.264") << "modern none" << "my-phone" << "libx264";
    QTest::newRow("today's, without libx264: VCD for a TV") << "modern none" << "vcd-tv-352x240" << "";
    QTest::newRow("too old for -fpsmax: a user's H.264") << "modern old" << "my-phone" << "ffmpeg 4.4 or later";
    QTest::newRow("classic only: a user's target") << "classic" << "my-phone" << "takes only the classic ones";
    QTest::newRow("classic only: a designed row") << "classic" << "psp-368x208" << "";
}

void TestAutomatic::greysWhatTheEncoderCannotWrite() {
    QFETCH(QString, encoder);
    QFETCH(QString, target);
    QFETCH(QString, why);
    const QMap<QString, zvm::H264Answer> h264{{"x264", zvm::H264Answer::Serves},
                                              {"none", zvm::H264Answer::NoLibx264},
                                              {"old", zvm::H264Answer::TooOld},
                                              {"", zvm::H264Answer::Unknown}};
    const QString form = encoder.section(' ', 0, 0);
    QVERIFY2((form == "modern" || form == "classic") && h264.contains(encoder.section(' ', 1)),
             qPrintable("unknown encoder " + encoder));
    WindowFixture fx;
    fx.platform.targetsPath = fx.dir.filePath("targets.json");
    QVERIFY(WriteCaseTargets(fx.platform.targetsPath));
    fx.outside.formAnswer = form == "modern" ? zvm::EncoderAnswer::Rejects : zvm::EncoderAnswer::Accepts;
    fx.outside.h264Answer = h264[encoder.section(' ', 1)];
    frmZCM& w = fx.start();
    w.cmdGenerate_Click(); // the first command asks the encoder
    QVERIFY(WindowFixture::formAnswered(w));
    const std::optional<int> row = zvm::PresetByName(target.toStdString());
    QVERIFY2(row, qPrintable("unknown target " + target));
    const QStandardItem* item = qobject_cast<QStandardItemModel*>(Ui(w).cboPlatform->model())->item(*row);
    QTRY_COMPARE(item->isEnabled(), why.isEmpty());
    QVERIFY2(item->toolTip().contains(why), qPrintable(item->toolTip()));
    QCOMPARE(item->toolTip().isEmpty(), why.isEmpty());
}

void TestAutomatic::sameCommandAsTheTool_data() {
    AddGenerateCaseRows();
}

// The command-line tool is given the same values in its own test and must print the same command.
void TestAutomatic::sameCommandAsTheTool() {
    QFETCH(int, row);
    const GenerateCase& c = kGenerateCases[row];
    WindowFixture fx;
    fx.platform.targetsPath = fx.dir.filePath("targets.json");
    QVERIFY(WriteCaseTargets(fx.platform.targetsPath));
    frmZCM& w = fx.start();
    Ui(w).txtffmpegexe->setText("ffmpeg");
    Ui(w).txtSaveAs->clear();
    Ui(w).cboPlatform->setCurrentIndex(c.preset);
    fx.platform.setNextFileName("/videos/clip.avi");
    w.cmdBrowseVideo_Click(); // names the output after the video, as the tool does
    Ui(w).txtWidth->setText(c.width);
    Ui(w).txtHeight->setText(c.height);
    Ui(w).txtVideoBitrate->setText(c.videoBitrate);
    Ui(w).txtAudioBitrate->setText(c.audioBitrate);
    Ui(w).txtSampleRate->setText(c.sampleRate);
    (c.animation ? Ui(w).optAnime : Ui(w).optLiveAction)->setChecked(true);
    if (Ui(w).mnuModernCommand->isChecked() != c.modern) {
        Ui(w).mnuModernCommand->trigger();
    }
    QCOMPARE(Command(w), QString(c.command));
}

QTEST_MAIN(TestAutomatic)
#include "tst_automatic.moc"
