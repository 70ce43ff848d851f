// The main window driven as a user would, with the fake platform answering every dialog.
#include "tests/GenerateCases.h"
#include "core/Presets.h"
#include "ui/FamilyHeadings.h"
#include "ui/TargetsDialog.h"
#include "tests/ui/WindowFixture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void designTimeState();
    void designedTexts_data();
    void designedTexts();
    void screenReaderNames();
    void startupWithSavedFile();
    void startupAsksForTheEncoder_data();
    void startupAsksForTheEncoder();
    void userSettingsAndAVideoToOpen();
    void refusalChangesNothing();
    void vcdThenRowZero();
    void clearEmptiesTwelveControls();
    void selectOnFocus_data();
    void selectOnFocus();
    void copyOnFocus();
    void emptyCommandBoxKeepsClipboard();
    void tabOrder_data();
    void tabOrder();
    void accessKeys();
    void openListShowsWholeTexts();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void dropOntoBoxes_data();
    void dropOntoBoxes();
    void webSite_data();
    void webSite();

    // Last: the rows the user's targets leave behind stay in the table for the rest of the run.
    void userTargets_data();
    void userTargets();
private:
    WindowFixture* fx_ = nullptr;
};

namespace {

void SetText(QLineEdit* box, const QString& text) {
    box->setText(text);
}

QString Focused() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

const QString kCommand640 =
    R"(/usr/bin/ffmpeg -y -i "/videos/clip.avi" -r 29.971 -s 214x160 -bitexact -strict 3 -me epzs -hq -vcodec )"
    R"(mpeg4 -b 256 -acodec aac -ac 2 -ar 24000 -ab 32 -f mp4 -padright 12 -padleft 14 "/videos/clip.mp4")";
} // namespace

// The window as built, before start-up writes into it.
// The user's own targets: read at start (a damaged file set aside and said), changed in the Targets
// dialog with the checks of the file, written on OK, and listed after the built-in rows at once.
void TestWindow::userTargets_data() {
    QTest::addColumn<QString>("file");    // targets.json at start: "case" for the cases' own, "damaged", or none
    QTest::addColumn<QString>("change");  // "add NAME WIDTHxHEIGHT", "remove", or none
    QTest::addColumn<QString>("message"); // what the user is told; empty for nothing
    QTest::addColumn<QString>("listed");  // the user's names the list offers afterwards
    QTest::newRow("read at start") << "case" << "" << "" << "my-phone";
    QTest::newRow("damaged at start") << "damaged" << "" << "could not be read: it is not JSON" << "";
    QTest::newRow("added") << "" << "add my-tv 720x576" << "" << "my-tv";
    QTest::newRow("added after the others") << "case" << "add my-tv 720x576" << "" << "my-phone my-tv";
    QTest::newRow("an odd width refused") << "" << "add my-tv 721x576" << "even sides" << "";
    QTest::newRow("a built-in name refused") << "case" << "add psp-480x272 480x272" << "a built-in target's" << "my-phone";
    QTest::newRow("a name twice refused") << "case" << "add my-phone 480x272" << "Two targets are named" << "my-phone";
    QTest::newRow("removed") << "case" << "remove" << "" << "";
    // Started from a built-in target: its fields, labelled as its copy, renamed, then added.
    QTest::newRow("a copy of a built-in") << "case" << "copy amv-208x176 my-amv" << "" << "my-phone my-amv";
    QTest::newRow("a copy under the built-in's own name") << "" << "copy ds-256x192 ds-256x192" << "a built-in target's" << "";
    // Closed with Escape: asked first when something changed, and the answer holds.
    QTest::newRow("added, Escape, saved") << "" << "add my-tv 720x576 save" << "" << "my-tv";
    QTest::newRow("added, Escape, dropped") << "case" << "add my-tv 720x576 drop" << "" << "my-phone";
    QTest::newRow("unchanged, Escape asks nothing") << "case" << "escape" << "" << "my-phone";
}

void TestWindow::userTargets() {
    QFETCH(QString, file);
    QFETCH(QString, change);
    QFETCH(QString, message);
    QFETCH(QString, listed);
    WindowFixture fx;
    fx.platform.targetsPath = fx.dir.filePath("config/targets.json");
    QVERIFY(QDir(fx.dir.path()).mkpath("config"));
    if (file == "case") {
        QVERIFY(WriteCaseTargets(fx.platform.targetsPath));
    } else if (file == "damaged") {
        QFile damaged(fx.platform.targetsPath);
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("{\"targets\": [") > 0);
    } else {
        QVERIFY2(file.isEmpty(), qPrintable("unknown file " + file));
    }
    frmZCM& w = fx.start();
    const QStringList words = change.split(' ');
    if (!change.isEmpty()) {
        TargetsDialog dialog(fx.platform, fx.platform.targetsPath.toStdString(), false, &w);
        if (words[0] == "add" && words.size() >= 3) {
            dialog.txtName->setText(words[1]);
            dialog.txtLabel->setText("Mine");
            dialog.spnWidth->setValue(words[2].section('x', 0, 0).toInt());
            dialog.spnHeight->setValue(words[2].section('x', 1, 1).toInt());
            dialog.cboVideo->setCurrentText("h264");
            dialog.addTarget();
        } else if (words[0] == "copy" && words.size() == 3) {
            dialog.cboBase->setCurrentIndex(dialog.cboBase->findData(words[1]));
            dialog.copyBuiltIn();
            QCOMPARE(dialog.txtLabel->text(), "Copy of " + QString::fromUtf8(zvm::FindBuiltIn(words[1].toStdString())->displayText));
            dialog.txtName->setText(words[2]);
            const std::size_t before = dialog.targets().size();
            dialog.addTarget();
            if (dialog.targets().size() > before) {
                const zvm::UserTarget& added = dialog.targets().back();
                const zvm::TargetPreset& base = *zvm::FindBuiltIn(words[1].toStdString());
                QCOMPARE(added.base, words[1].toStdString());
                QCOMPARE(QSize(added.width, added.height), QSize(base.width, base.height));
                QVERIFY(added.video == base.video && added.container == base.container);
            }
        } else if (words[0] == "remove") {
            dialog.list->setCurrentRow(0);
            dialog.removeTarget();
        } else if (words[0] != "escape") {
            QFAIL(qPrintable("unknown change " + change));
        }
        const QString end = words.last();
        if (end == "save" || end == "drop" || end == "escape") {
            fx.platform.choices.enqueue(end == "save" ? 0 : 1);
            dialog.reject(); // as Escape does
            QCOMPARE(fx.platform.questions.size(), end == "escape" ? 0 : 1);
            QCOMPARE(dialog.result(), end == "save" ? QDialog::Accepted : QDialog::Rejected);
        } else {
            QVERIFY(dialog.save());
        }
        w.targetsChanged(); // as the menu entry does after OK
    }
    QCOMPARE(fx.platform.messages.isEmpty(), message.isEmpty());
    if (!message.isEmpty()) {
        QVERIFY2(fx.platform.messages.last().prompt.contains(message), qPrintable(fx.platform.messages.last().prompt));
    }
    QCOMPARE(QDir(fx.dir.filePath("config")).entryList({"targets.json.damaged-*"}).size(), file == "damaged" ? 1 : 0);
    QStringList offered;
    const auto* view = qobject_cast<QListView*>(Ui(w).cboPlatform->view());
    for (int row = int(zvm::BuiltInTargets().size()); row < Ui(w).cboPlatform->count(); ++row) {
        if (!view->isRowHidden(row)) {
            offered << QString::fromUtf8(zvm::FindPreset(row)->name);
        }
    }
    QCOMPARE(offered.join(' '), listed);
    for (int row = 0; row < int(zvm::BuiltInTargets().size()); ++row) {
        QCOMPARE(Ui(w).cboPlatform->itemText(row), QString::fromUtf8(zvm::BuiltInTargets()[std::size_t(row)].displayText));
    }
    // After the first eight rows each run of a family is headed above its first row (the DPG row, added
    // after the others so that their rows keep their places, heads its own); the user's have none.
    QStringList headed;
    for (int row = 0; row < Ui(w).cboPlatform->count(); ++row) {
        if (const QString heading = FamilyHeadings::HeadingAbove(row); !heading.isEmpty()) {
            headed << QString::number(row) + " " + heading;
        }
    }
    QCOMPARE(headed.join(", "), "8 Nintendo DS, 9 MP4 players (AMV), 11 Microcontroller screens, 14 Baseline H.264, "
                                "16 Retro handhelds, 18 Nintendo DS");
    QVERIFY(qobject_cast<FamilyHeadings*>(Ui(w).cboPlatform->view()->itemDelegate()) != nullptr);
}

void TestWindow::designTimeState() {
    WindowFixture fx;
    frmZCM w(fx.platform, fx.outside);
    QCOMPARE(w.windowTitle(), "Zarnik Video Maker");
    QVERIFY(!w.windowIcon().isNull());
    // Every window shares one icon: a fresh one per window fills the pixmap cache under X11.
    frmZCM second(fx.platform, fx.outside);
    QCOMPARE(second.windowIcon().cacheKey(), w.windowIcon().cacheKey());
    // Only the three encoding numbers have text; every other box is empty.
    const QHash<QString, QString> filled{
        {"txtVideoBitrate", "256"}, {"txtAudioBitrate", "32"}, {"txtSampleRate", "24000"}};
    const QList<QLineEdit*> boxes = w.centralWidget()->findChildren<QLineEdit*>();
    QCOMPARE(boxes.size(), 8);
    for (const QLineEdit* box : boxes) {
        QCOMPARE(box->text(), filled.value(box->objectName()));
    }
    QVERIFY(Ui(w).txtFFMPEGCode->toPlainText().isEmpty());
    QCOMPARE(Ui(w).txtFFMPEGCode->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(Ui(w).txtFFMPEGCode->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(WindowFixture::LabelTexts(w), QStringList(7, QString()));
    for (const QLabel* result : w.centralWidget()->findChildren<QLabel*>(QRegularExpression("^lbl"))) {
        QCOMPARE(result->alignment() & Qt::AlignHorizontal_Mask,
                 result == Ui(w).lblRatio ? Qt::AlignLeft : Qt::AlignHCenter);
    }
    QCOMPARE(Ui(w).cboPlatform->count(), 0);
    QVERIFY(!Ui(w).cboPlatform->isEditable());
    QVERIFY(!Ui(w).optLiveAction->isChecked() && !Ui(w).optAnime->isChecked());
    QVERIFY(fx.platform.messages.isEmpty() && fx.platform.dialogs.isEmpty());
}

// Every caption, title, tooltip and list entry the window shows, as designed; an ampersand marks the
// access key. "name/N" is entry N of a list; menus and their entries are looked up by name as well.
void TestWindow::designedTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tooltip");
    const char* const rows[][3] = {
        {"Label7", "Original Video to convert", ""},
        {"Label25", "Outputted MP4 filename", ""},
        {"Label2", "Width", ""},
        {"Label1", "Height", ""},
        {"Label3", "X", ""},
        {"Label4", "Ratio", ""},
        {"Label15", "New Dimensions", ""},
        {"Label6", "Width", ""},
        {"Label5", "Height", ""},
        {"Label13", "X", ""},
        {"Label16", "Padding", ""},
        {"Label8", "Top", ""},
        {"Label12", "Left", ""},
        {"Label14", "Right", ""},
        {"Label10", "Bottom", ""},
        {"Label17", "Video Bitrate", ""},
        {"Label20", "kbit/s", ""},
        {"Label18", "Audio Bitrate", ""},
        {"Label21", "kbit/s", ""},
        {"Label19", "Audio Sample Rate", ""},
        {"Label22", "Hz", ""},
        {"Label23", "Location of FFMPEG.EXE", ""},
        {"FraVideo", "", ""},
        {"fraOriginal", "Original Video", ""},
        {"fraMovieType", "Movie Type", ""},
        {"fraPadding", "", ""},
        {"fraOptions", "Options", ""},
        {"fraSettings", "", ""},
        {"fraMain", "", ""},
        {"txtOriginalVideo", "", "Video filename with extension (.avi, .mpg, etc)"},
        {"cmdBrowseVideo", "Browse", ""},
        {"txtSaveAs", "", "Where to save the .mp4 video file"},
        {"cmdSaveAs", "Browse", ""},
        {"txtWidth", "", "Width of original video"},
        {"txtHeight", "", "Height of original video"},
        {"optLiveAction", "Live Action", ""},
        {"optAnime", "Animation", ""},
        {"cboPlatform", "", "Choose a resolution"},
        {"cboPlatform/0", "GBA - 240x160 (1.5000 ratio)", ""},
        {"cboPlatform/1", "GBA - 240x176 (1.3636 ratio)", ""},
        {"cboPlatform/2", "PSP - 320x240 (1.3333 ratio)", ""},
        {"cboPlatform/3", "PSP - 368x208 (1.1769 ratio)", ""},
        {"cboPlatform/4", "VCD - 352x240 (1.4666 ratio)", ""},
        {"txtVideoBitrate", "", "video bitrate (in kbit/s) "},
        {"txtAudioBitrate", "", "audio bitrate (in kbit/s) "},
        {"txtSampleRate", "", "audio sampling rate (in Hz) "},
        {"txtffmpegexe", "", ""},
        {"cmdffmpegexe", "Browse", ""},
        {"txtFFMPEGCode", "", ""},
        {"cmdConvert", "Con&vert", "Convert using ffmpeg"},
        {"cmdClear", "&Clear", ""},
        {"cmdExit", "E&xit", ""},
        {"cmdGenerate", "&Generate", ""},
        {"mnuFile", "&File", ""},
        {"mnuSaveINI", "&Save settings to INI", ""},
        {"mnuHelp", "&Help", ""},
        {"mnuWebsite", "&Web site", ""},
    };
    for (const auto& [name, text, tooltip] : rows) {
        QTest::newRow(name) << name << text << tooltip;
    }
}

// Checked on the started window: start-up changes none of them.
void TestWindow::designedTexts() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, tooltip);
    WindowFixture fx;
    frmZCM& w = fx.start();
    QObject* object = w.findChild<QObject*>(name.section('/', 0, 0));
    QVERIFY2(object != nullptr, qPrintable("no control named " + name));
    QString caption;
    QString tip = tooltip;
    if (auto* list = qobject_cast<QComboBox*>(object)) {
        QCOMPARE(list->count(), 19); // the designed five, then the later targets
        if (name.contains('/')) { // an entry, which has no tooltip of its own
            QCOMPARE(list->itemText(name.section('/', 1).toInt()), text);
            return;
        }
        tip += ": " + list->currentText(); // narrower than its entries, it names the chosen one
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        caption = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        caption = button->text();
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
        caption = group->title();
    } else if (auto* menu = qobject_cast<QMenu*>(object)) {
        caption = menu->title();
    } else if (auto* entry = qobject_cast<QAction*>(object)) {
        caption = entry->text(); // a menu shows no tooltips
    } else {
        QVERIFY2(qobject_cast<QLineEdit*>(object) || qobject_cast<QPlainTextEdit*>(object),
                 "a kind of control the table does not know");
    }
    QCOMPARE(caption, text);
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        QCOMPARE(widget->toolTip(), tip);
    }
}

// A screen reader names every control the user reaches or reads, each differently (three buttons
// share the caption "Browse"), and names a box by the caption that stands above it.
void TestWindow::screenReaderNames() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    const auto at = [&w](const QWidget* widget) {
        return QRect(widget->mapTo(&w, QPoint()), widget->size());
    };
    QHash<QString, QString> named; // name -> control
    for (QWidget* control :
         w.centralWidget()->findChildren<QWidget*>(QRegularExpression("^(txt|cmd|lbl|opt|cbo)"))) {
        const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(control->objectName()));
        QVERIFY2(!named.contains(name),
                 qPrintable(control->objectName() + " and " + named[name] + ": " + name));
        named[name] = control->objectName();
        if (auto* button = qobject_cast<QPushButton*>(control); button && button->text() == "Browse") {
            QVERIFY2(name != "Browse", qPrintable(button->objectName()));
        }
        if (auto* box = qobject_cast<QLineEdit*>(control)) {
            const QRect boxAt = at(box);
            const QLabel* above = nullptr;
            for (const QLabel* caption : w.findChildren<QLabel*>(QRegularExpression("^Label"))) {
                const QRect captionAt = at(caption);
                if (captionAt.center().y() < boxAt.top() && captionAt.left() < boxAt.right() &&
                    captionAt.right() > boxAt.left() && (!above || captionAt.top() > at(above).top())) {
                    above = caption;
                }
            }
            QVERIFY2(above != nullptr, qPrintable(box->objectName()));
            QCOMPARE(name, above->text());
        }
    }
}

// Start-up with a saved file, then a Generate.
void TestWindow::startupWithSavedFile() {
    WindowFixture fx;
    QByteArray file = WindowFixture::SavedFile();
    frmZCM& w = fx.start(file.replace(R"("256")", R"("")")); // an empty field empties its box
    QVERIFY(fx.platform.dialogs.isEmpty());
    QVERIFY(fx.platform.messages.isEmpty());
    QVERIFY(w.windowTitle().startsWith("Zarnik Video Maker v0.61"));
    QCOMPARE(Ui(w).txtWidth->text(), "640");
    QVERIFY(Ui(w).txtVideoBitrate->text().isEmpty());
    QCOMPARE(Ui(w).txtOriginalVideo->text(), "/videos/clip.avi");
    QCOMPARE(Ui(w).txtffmpegexe->text(), "/usr/bin/ffmpeg");
    QVERIFY(Ui(w).optLiveAction->isChecked());
    QCOMPARE(Ui(w).cboPlatform->count(), 19);
    QCOMPARE(Ui(w).cboPlatform->currentText(), "GBA - 240x160 (1.5000 ratio)");
    QCOMPARE(Focused(), "txtOriginalVideo");
    QCOMPARE(Ui(w).txtOriginalVideo->selectedText(), "/videos/clip.avi");

    Ui(w).txtVideoBitrate->setText("256");
    QTest::mouseClick(Ui(w).cmdGenerate, Qt::LeftButton);
    QVERIFY(WindowFixture::formAnswered(w));
    QVERIFY(fx.platform.messages.isEmpty());
    QCOMPARE(WindowFixture::LabelTexts(w), QStringList({"1.333333", "214", "160", "0", "0", "14", "12"}));
    QCOMPARE(QAccessible::queryAccessibleInterface(Ui(w).lblNewWidth)->text(QAccessible::Description), "214");
    QCOMPARE(Ui(w).txtFFMPEGCode->toPlainText(), kCommand640);
    Ui(w).cboPlatform->setCurrentIndex(3); // the closed list is too narrow: its whole text is in the tooltip
    QCOMPARE(Ui(w).cboPlatform->toolTip(), "Choose a resolution: PSP - 368x208 (1.1769 ratio)");
    QCOMPARE(QAccessible::queryAccessibleInterface(Ui(w).cboPlatform)->text(QAccessible::Description),
             "PSP - 368x208 (1.1769 ratio)");
}

void TestWindow::startupAsksForTheEncoder_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("ffmpegOnPath"); // the dialog then opens in its folder

    QTest::newRow("missing file, confirmed") << QByteArray() << true << true;
    QTest::newRow("lower-case marker, cancelled")
        << QByteArray(R"("1","2","3","4","5","6","7","8","saved")") << false << true;
    QTest::newRow("cut off before the marker, no ffmpeg on the path") << QByteArray(R"("1","2","3")") << true
                                                                       << false;
}

void TestWindow::startupAsksForTheEncoder() {
    QFETCH(QByteArray, settings);
    QFETCH(bool, confirm);
    QFETCH(bool, ffmpegOnPath);
    WindowFixture fx;
    QTemporaryDir bin;
    if (ffmpegOnPath) {
        QFile program(bin.filePath("ffmpeg"));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    if (confirm) {
        fx.platform.setNextFileName("/opt/ffmpeg/ffmpeg");
    }
    frmZCM& w = fx.start(settings);
    qputenv("PATH", path);
    QCOMPARE(fx.platform.dialogs.size(), 1);
    QCOMPARE(fx.platform.dialogs[0].title, "Locate FFMPEG.EXE");
    QCOMPARE(fx.platform.dialogs[0].initialName, "ffmpeg*");
    QCOMPARE(fx.platform.dialogs[0].folder, ffmpegOnPath ? bin.path() : QString());
    QCOMPARE(fx.platform.titles(), QStringList{"Save settings to settings.ini"});
    QCOMPARE(fx.platform.messages[0].prompt, "Settings Saved!");
    QCOMPARE(Ui(w).txtffmpegexe->text(), confirm ? "/opt/ffmpeg/ffmpeg" : (settings.isEmpty() ? "" : "8"));
    QVERIFY(fx.settingsBytes().endsWith(",\"Saved\"\r\n"));
    QCOMPARE(Ui(w).cboPlatform->count(), 19);

    WindowFixture second; // the next start in the same folder asks nothing
    QDir::setCurrent(fx.dir.path());
    second.start({});
    QVERIFY(second.platform.dialogs.isEmpty());
}

// Started from the desktop: settings.ini lives in the per-user folder, not the current one; a video
// from the file manager is opened as if it had been picked.
void TestWindow::userSettingsAndAVideoToOpen() {
    WindowFixture fx;
    QTemporaryDir config;
    const QString folder = config.filePath("Zarnik Video Maker");
    for (int start = 0; start < 2; ++start) { // a first run, then the next start
        if (start == 0) {
            fx.platform.setNextFileName("/usr/bin/ffmpeg");
        }
        frmZCM w(fx.platform, fx.outside);
        w.keepSettingsIn(folder);
        w.Form_Load();
        const QString video = start == 0 ? "/media/holiday.mkv" : "/media/other.mkv";
        w.openVideos({video});
        QCOMPARE(Ui(w).txtffmpegexe->text(), "/usr/bin/ffmpeg");
        QCOMPARE(Ui(w).txtOriginalVideo->text(), video);
        QCOMPARE(Ui(w).txtSaveAs->text(), "/media/holiday.mp4"); // named after the video; once saved, kept
        fx.outside.pendingDetections.takeLast()({QSize(1280, 720), {}, {}});
        QCOMPARE(Ui(w).txtWidth->text(), "1280");
        w.mnuSaveINI_Click();
    }
    QCOMPARE(fx.platform.dialogs.size(), 1); // asked for the encoder once, saved in the folder
    QVERIFY(QFile::exists(folder + "/settings.ini"));
    QVERIFY(QDir(fx.dir.path()).isEmpty()); // nothing in the current folder
}

void TestWindow::refusalChangesNothing() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.cmdGenerate_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    const QStringList labels = WindowFixture::LabelTexts(w);
    SetText(Ui(w).txtWidth, "abc");
    Ui(w).cboPlatform->setCurrentIndex(4);
    Ui(w).txtHeight->setFocus();
    QTest::mouseClick(Ui(w).cmdGenerate, Qt::LeftButton); // a click moves the focus to the button
    QCOMPARE(fx.platform.messages.size(), 1);
    QCOMPARE(fx.platform.messages[0].prompt, "You must enter a number for the width");
    QCOMPARE(fx.platform.messages[0].title, "Invalid Width!");
    QCOMPARE(WindowFixture::LabelTexts(w), labels);
    QCOMPARE(Ui(w).txtFFMPEGCode->toPlainText(), kCommand640);
    QCOMPARE(Ui(w).txtAudioBitrate->text(), "32"); // no VCD overwrite on a refusal
    QVERIFY(Ui(w).optLiveAction->isChecked());
    QCOMPARE(Focused(), "cmdGenerate");
}

void TestWindow::vcdThenRowZero() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).cboPlatform->setCurrentIndex(4);
    w.cmdGenerate_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    QCOMPARE(Ui(w).txtAudioBitrate->text(), "192");
    QCOMPARE(Ui(w).txtSampleRate->text(), "44100");
    QVERIFY(!Ui(w).optLiveAction->isChecked() && !Ui(w).optAnime->isChecked());
    const QString vcd = Ui(w).txtFFMPEGCode->toPlainText();
    QVERIFY(vcd.contains(" -target vcd "));

    Ui(w).cboPlatform->setCurrentIndex(0);
    w.cmdGenerate_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    QCOMPARE(Ui(w).lblNewWidth->text(), "214");
    QCOMPARE(Ui(w).txtFFMPEGCode->toPlainText(), vcd); // no movie type: no command
    QCOMPARE(Ui(w).txtAudioBitrate->text(), "192");

    QTest::mouseClick(Ui(w).optAnime, Qt::LeftButton);
    QVERIFY(Ui(w).optAnime->isChecked());
    w.cmdGenerate_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    QVERIFY(Ui(w).txtFFMPEGCode->toPlainText().contains(" -r 14.985 -s 214x160 "));
    QVERIFY(Ui(w).txtFFMPEGCode->toPlainText().contains(" -ar 44100 -ab 192 "));
}

void TestWindow::clearEmptiesTwelveControls() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).cboPlatform->setCurrentIndex(2);
    QTest::mouseClick(Ui(w).optAnime, Qt::LeftButton);
    w.cmdGenerate_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    Ui(w).txtVideoBitrate->setFocus();
    QTest::mouseClick(Ui(w).cmdClear, Qt::LeftButton);
    for (QLineEdit* box : {Ui(w).txtOriginalVideo, Ui(w).txtSaveAs, Ui(w).txtWidth, Ui(w).txtHeight}) {
        QVERIFY(box->text().isEmpty());
    }
    QVERIFY(Ui(w).txtFFMPEGCode->toPlainText().isEmpty());
    QCOMPARE(WindowFixture::LabelTexts(w), QStringList(7, QString()));
    QCOMPARE(Ui(w).txtVideoBitrate->text(), "256");
    QCOMPARE(Ui(w).txtAudioBitrate->text(), "32");
    QCOMPARE(Ui(w).txtSampleRate->text(), "24000");
    QCOMPARE(Ui(w).txtffmpegexe->text(), "/usr/bin/ffmpeg");
    QCOMPARE(Ui(w).cboPlatform->currentIndex(), 2);
    QVERIFY(Ui(w).optAnime->isChecked());
    QVERIFY(fx.platform.messages.isEmpty());
    QVERIFY(fx.settingsBytes() == WindowFixture::SavedFile());
}

void TestWindow::selectOnFocus_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("byMouse");
    for (const char* name : {"txtSaveAs", "txtWidth", "txtHeight", "txtVideoBitrate", "txtAudioBitrate",
                             "txtSampleRate", "txtOriginalVideo"}) {
        QTest::newRow(qPrintable(QString(name) + " by mouse")) << QString(name) << true;
        QTest::newRow(qPrintable(QString(name) + " by Tab")) << QString(name) << false;
    }
}

void TestWindow::selectOnFocus() {
    QFETCH(QString, box);
    QFETCH(bool, byMouse);
    WindowFixture fx;
    frmZCM& w = fx.start();
    auto* target = w.findChild<QLineEdit*>(box);
    target->setText("some text");
    if (byMouse) {
        Ui(w).cmdClear->setFocus(); // then a click from elsewhere
        Ui(w).txtOriginalVideo->setText(target == Ui(w).txtOriginalVideo ? "some text" : Ui(w).txtOriginalVideo->text());
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(20, 5));
        QCOMPARE(target->selectedText(), "some text");
        QTest::mouseClick(target, Qt::LeftButton, {},
                          QPoint(20, 5)); // a click in the focused box places the caret
        QVERIFY(target->selectedText().isEmpty());
    } else {
        QWidget* previous = target->previousInFocusChain();
        previous->setFocus();
        QTest::keyClick(previous, Qt::Key_Tab);
        QCOMPARE(Focused(), box);
        QCOMPARE(target->selectedText(), "some text");
    }
}

void TestWindow::copyOnFocus() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    w.cmdGenerate_Click();
    QVERIFY(WindowFixture::formAnswered(w));
    Ui(w).cmdExit->setFocus();
    QTest::keyClick(Ui(w).cmdExit, Qt::Key_Tab); // Live Action selected: Exit -> command box
    QCOMPARE(Focused(), "txtFFMPEGCode");
    QCOMPARE(fx.platform.clipboard, QStringList{kCommand640});
    QCOMPARE(Ui(w).txtFFMPEGCode->textCursor().selectedText(), kCommand640);

    QTest::mouseClick(Ui(w).txtFFMPEGCode->viewport(), Qt::LeftButton, {}, QPoint(30, 10));
    QCOMPARE(fx.platform.clipboard.size(), 1); // no repeat inside the focused box

    SetText(Ui(w).txtWidth, "1280"); // the copy never rebuilds the command
    Ui(w).cmdConvert->setFocus();
    QTest::mouseClick(Ui(w).txtFFMPEGCode->viewport(), Qt::LeftButton, {}, QPoint(30, 10));
    QCOMPARE(fx.platform.clipboard, QStringList({kCommand640, kCommand640}));
    QVERIFY(Ui(w).txtFFMPEGCode->textCursor().hasSelection());
}

void TestWindow::emptyCommandBoxKeepsClipboard() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).txtFFMPEGCode->setFocus(Qt::TabFocusReason);
    QCOMPARE(Focused(), "txtFFMPEGCode");
    QVERIFY(fx.platform.clipboard.isEmpty());
    Ui(w).txtffmpegexe->setText("/usr/bin/ffmpeg");
    Ui(w).txtffmpegexe->setFocus(Qt::MouseFocusReason); // the encoder box has no focus behaviour
    QVERIFY(fx.platform.clipboard.isEmpty());
    QVERIFY(!Ui(w).txtffmpegexe->hasSelectedText());
}

void TestWindow::tabOrder_data() {
    QTest::addColumn<bool>("animation");
    QTest::addColumn<QStringList>("order");
    const QStringList live{"txtOriginalVideo", "cmdBrowseVideo",  "txtSaveAs",       "cmdSaveAs",
                           "txtWidth",         "txtHeight",       "optLiveAction",   "cboPlatform",
                           "txtVideoBitrate",  "txtAudioBitrate", "txtSampleRate",   "cmdGenerate",
                           "cmdClear",         "cmdExit",         "txtFFMPEGCode",   "cmdConvert",
                           "txtffmpegexe",     "cmdffmpegexe",    "txtOriginalVideo"};
    QStringList anime = live;
    anime.removeAll("optLiveAction");
    anime.insert(anime.indexOf("txtFFMPEGCode"), "optAnime");
    QTest::newRow("live action") << false << live;
    QTest::newRow("animation") << true << anime;
}

void TestWindow::tabOrder() {
    QFETCH(bool, animation);
    QFETCH(QStringList, order);
    WindowFixture fx;
    frmZCM& w = fx.start();
    if (animation) {
        QTest::mouseClick(Ui(w).optAnime, Qt::LeftButton);
    }
    Ui(w).txtOriginalVideo->setFocus();
    QStringList visited{Focused()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << Focused();
    }
    QCOMPARE(visited, order);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(Focused(), "cmdffmpegexe");
}

void TestWindow::accessKeys() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    // Through the window system, where shortcuts are looked up, as a real key press is. An access
    // key animates the button's press, so its click arrives a moment later.
    QWindow* window = w.windowHandle();
    QTest::keyClick(window, Qt::Key_G, Qt::AltModifier);
    QTRY_COMPARE(Ui(w).txtFFMPEGCode->toPlainText(), kCommand640);
    QTest::keyClick(window, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(Ui(w).txtFFMPEGCode->toPlainText().isEmpty());
    Ui(w).txtOriginalVideo->setText("/videos/clip.avi");
    Ui(w).txtSaveAs->setText("/videos/clip.mp4");
    Ui(w).txtWidth->setText("640");
    Ui(w).txtHeight->setText("480");
    QTest::keyClick(window, Qt::Key_V, Qt::AltModifier);
    QTRY_COMPARE(fx.outside.started, QStringList{kCommand640});
    for (const auto& [key, menu] : {std::pair(Qt::Key_F, Ui(w).mnuFile), std::pair(Qt::Key_H, Ui(w).mnuHelp)}) {
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(window, key, Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
    }
}

void TestWindow::openListShowsWholeTexts() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    Ui(w).cboPlatform->showPopup();
    QAbstractItemView* list = Ui(w).cboPlatform->view();
    QTRY_VERIFY(list->isVisible());
    QVERIFY(list->width() >= list->sizeHintForColumn(0));
    Ui(w).cboPlatform->hidePopup();
}

// Return, keypad Enter and Space press the focused button; Enter in a text box presses nothing.
void TestWindow::keysPressTheFocusedButton_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("presses");
    for (const char* button :
         {"cmdBrowseVideo", "cmdSaveAs", "cmdffmpegexe", "cmdConvert", "cmdClear", "cmdExit", "cmdGenerate"}) {
        QTest::addRow("%s Return", button) << button << int(Qt::Key_Return) << true;
        QTest::addRow("%s Enter", button) << button << int(Qt::Key_Enter) << true;
        QTest::addRow("%s Space", button) << button << int(Qt::Key_Space) << true;
    }
    QTest::newRow("Return in a text box") << "txtWidth" << int(Qt::Key_Return) << false;
}

void TestWindow::keysPressTheFocusedButton() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, presses);
    WindowFixture fx;
    frmZCM& w = fx.start();
    QList<QSharedPointer<QSignalSpy>> spies;
    for (QPushButton* button : w.findChildren<QPushButton*>()) {
        spies << QSharedPointer<QSignalSpy>::create(button, &QPushButton::clicked);
    }
    QWidget* target = w.findChild<QWidget*>(focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    int clicks = 0;
    for (const auto& spy : spies) {
        clicks += int(spy->count());
    }
    QCOMPARE(clicks, presses ? 1 : 0);
}

void TestWindow::dropOntoBoxes_data() {
    QTest::addColumn<QString>("onto");
    QTest::addColumn<QString>("filled");
    for (const char* box : {"txtSaveAs", "txtffmpegexe"}) {
        QTest::newRow(box) << box << box;
    }
    for (const char* elsewhere : {"txtWidth", "txtFFMPEGCode"}) { // anywhere else: the video
        QTest::newRow(elsewhere) << elsewhere << "txtOriginalVideo";
    }
}

void TestWindow::dropOntoBoxes() {
    QFETCH(QString, onto);
    QFETCH(QString, filled);
    WindowFixture fx;
    frmZCM& w = fx.start();
    QVERIFY(WindowFixture::dropFile(w, w.findChild<QWidget*>(onto), "/media/new clip.mkv"));
    for (const char* name : {"txtOriginalVideo", "txtSaveAs", "txtffmpegexe"}) {
        const QString text = w.findChild<QLineEdit*>(name)->text();
        QCOMPARE(text == "/media/new clip.mkv", name == filled);
    }
}

// A desktop that cannot open the page is said, with the address to open by hand.
void TestWindow::webSite_data() {
    QTest::addColumn<bool>("desktopOpens");
    QTest::newRow("opened") << true;
    QTest::newRow("no browser") << false;
}

void TestWindow::webSite() {
    QFETCH(bool, desktopOpens);
    WindowFixture fx;
    fx.platform.desktopOpens = desktopOpens;
    frmZCM& w = fx.start();
    Ui(w).mnuWebsite->trigger();
    QCOMPARE(fx.platform.urls.size(), 1);
    QVERIFY(fx.platform.urls[0].isValid());
    QCOMPARE(fx.platform.urls[0].scheme(), "https");
    QCOMPARE(fx.platform.messages.size(), desktopOpens ? 0 : 1);
    QVERIFY(desktopOpens || fx.platform.messages[0].prompt.endsWith("\n" + fx.platform.urls[0].toString()));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
