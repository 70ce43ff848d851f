// Start-up, Save settings and the three file pickers.
#include "ui/frmZCM.h"

#include "ui/EncoderForm.h"
#include "ui/Platform.h"
#include "ui/SourceReader.h"
#include "core/Presets.h"
#include "settings/SettingsFile.h"
#include "ui/FamilyHeadings.h"
#include "ui/TargetsDialog.h"
#include "settings/TargetsFile.h"
#include "files/TextCrossing.h"
#include "ui/Translated.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QStandardItemModel>
#include <QStandardPaths>

namespace settings = zvm::settings;
using zvm::files::PathToQString;
using zvm::files::PathToStd;

namespace {
// Functions, not constants: a text is translated when it is shown, after the translations are loaded.
QString SaveTitle() {
    return frmZCM::tr("Save settings to settings.ini");
}

#ifdef Q_OS_WIN
const QString kEncoderPattern = QStringLiteral("ffmpeg.exe*");
#else
const QString kEncoderPattern = QStringLiteral("ffmpeg*"); // programs here carry no .exe ending
#endif

QString AllFiles() {
    return frmZCM::tr("All files (*)");
}

} // namespace

QList<QLineEdit*> frmZCM::savedBoxes() const {
    return {txtWidth,      txtHeight,        txtVideoBitrate, txtAudioBitrate,
            txtSampleRate, txtOriginalVideo, txtSaveAs,       txtffmpegexe};
}

// The fixed file name, resolved against the current working directory at each load and save, as
// designed; or in the per-user folder the window was told to keep it in, made when first needed.
std::filesystem::path frmZCM::settingsPath() const {
    if (settingsFolder_.isEmpty()) {
        return {std::string(settings::kFileName)};
    }
    QDir().mkpath(settingsFolder_);
    return PathToStd(QDir(settingsFolder_).filePath(PathToQString(settings::kFileName)));
}

void frmZCM::keepSettingsIn(const QString& folder) {
    settingsFolder_ = folder;
}

// A video named when the program was started: one goes into the source box as if it had been picked;
// several go to the queue.
void frmZCM::openVideos(const QStringList& videos) {
    if (videos.size() > 1) {
        addToQueue(videos);
    } else if (videos.size() == 1) {
        txtOriginalVideo->setText(videos.first());
        reader_->chosen();
    }
}

void frmZCM::Form_Load() {
    setWindowTitle(tr("Zarnik Video Maker v0.61 - by the Zarnik Video Maker team"));
    setMovieType(zvm::MovieType::LiveAction);
    if (!loadSettings()) {
        cmdffmpegexe_Click();
    }
    loadTargets();
    listTargets();
    cboPlatform->setCurrentIndex(0);
    reader_->restored();
    showCommandForm();
    txtOriginalVideo->setFocus(Qt::OtherFocusReason);
    txtOriginalVideo_GotFocus(); // the window is not shown yet, so no focus event comes now
}

// The kept queue is read before the videos named at the start join it, so that nothing overwrites it.
void frmZCM::startUpShown(const QStringList& videos) {
    offerKeptQueue();
    openVideos(videos);
    activateWindow();
    txtOriginalVideo->setFocus(Qt::OtherFocusReason);
}

// Only a missing file, or a record of ours not marked saved, is a first run. A file that cannot be
// read, or belongs to another program, keeps the design-time values for this run and is left alone:
// no start overwrites what it did not write.
bool frmZCM::loadSettings() {
    const settings::LoadResult loaded = settings::LoadSettings(settingsPath());
    if (loaded.state == settings::FileState::Missing) {
        return false;
    }
    if (loaded.state != settings::FileState::Loaded) {
        platform_.showMessage(
            this,
            tr("%1 could not be read: %2. This run uses the default values; "
               "the file is left as it is.")
                .arg(QDir::current().absoluteFilePath(PathToQString(settingsPath().native())),
                     Translated(loaded.reason)),
            tr("Settings not loaded"));
        return true;
    }
    const settings::ParsedSettings& parsed = loaded.parsed;
    const QList<QLineEdit*> boxes = savedBoxes();
    for (std::size_t i = 0; i < settings::FieldCount && i < parsed.fieldsRead; ++i) {
        boxes[qsizetype(i)]->setText(
            PathToQString(parsed.record.values[i])); // settings.ini: the system's bytes
    }
    form_->choose(parsed.record.formChoice);
    return parsed.countsAsSaved();
}

void frmZCM::loadTargets() {
    const QString file = platform_.targetsFile();
    if (file.isEmpty()) {
        zvm::SetUserTargets({});
        return;
    }
    const settings::LoadedTargets loaded = settings::UseTargetsFile(PathToStd(file));
    targetsDamagedInPlace_ = loaded.damagedInPlace;
    if (!loaded.problem.ok()) {
        const QString aside = PathToQString(loaded.asideAs.native());
        platform_.showMessage(this,
                              tr("Your targets in %1 could not be read: %2.").arg(file, Translated(loaded.problem)) +
                                  QLatin1Char(' ') +
                                  (loaded.damagedInPlace
                                       ? tr("The file could not be set aside as %1 and is left as it is.").arg(aside)
                                       : tr("The file was set aside as %1, with all it held.").arg(aside)) +
                                  QLatin1Char(' ') + tr("This run offers the built-in targets."),
                              tr("Targets not loaded"));
    }
}

// Rows keep their place for the whole run (a request names its target by row), so the list only
// grows: texts are renewed, new targets added, and withdrawn ones hidden.
void frmZCM::listTargets() {
    const std::span<const zvm::TargetPreset> targets = zvm::TargetPresets();
    auto* view = qobject_cast<QListView*>(cboPlatform->view());
    auto* model = qobject_cast<QStandardItemModel*>(cboPlatform->model());
    if (view != nullptr && qobject_cast<FamilyHeadings*>(view->itemDelegate()) == nullptr) {
        view->setItemDelegate(new FamilyHeadings(view->itemDelegate(), cboPlatform));
    }
    for (int row = 0; row < static_cast<int>(targets.size()); ++row) {
        const zvm::TargetPreset& target = targets[static_cast<std::size_t>(row)];
        const QString text = QString::fromUtf8(target.displayText.data(), qsizetype(target.displayText.size()));
        if (row < cboPlatform->count()) {
            cboPlatform->setItemText(row, text);
        } else {
            cboPlatform->addItem(text);
        }
        if (view != nullptr) {
            view->setRowHidden(row, target.withdrawn);
        }
        if (model != nullptr && target.withdrawn) {
            model->item(row)->setEnabled(false);
        }
    }
    const zvm::TargetPreset* chosen = zvm::FindPreset(cboPlatform->currentIndex());
    if (chosen != nullptr && chosen->withdrawn) {
        cboPlatform->setCurrentIndex(0);
    }
}

void frmZCM::mnuTargets_Click() {
    TargetsDialog dialog(platform_, PathToStd(platform_.targetsFile()), targetsDamagedInPlace_, this);
    if (dialog.exec() == QDialog::Accepted) {
        targetsChanged();
    }
}

void frmZCM::targetsChanged() {
    listTargets();
    showServedTargets();
    followTarget();
    describePreset();
}

void frmZCM::mnuSaveINI_Click() {
    settings::SettingsRecord record;
    const QList<QLineEdit*> boxes = savedBoxes();
    for (std::size_t i = 0; i < settings::FieldCount; ++i) {
        record.values[i] = PathToStd(boxes[qsizetype(i)]->text());
    }
    record.formChoice = form_->choice();
    if (const auto unstorable = settings::CheckStorable(record)) {
        const QString box = boxes[qsizetype(unstorable->field)]->accessibleName();
        const QString why = unstorable->problem == settings::StoreProblem::DoubleQuote
                                ? tr("contains a double quote (\"), which settings.ini cannot store")
                                : tr("holds more text than settings.ini can keep");
        platform_.showMessage(this, tr("The settings were not saved: the box \"%1\" %2.").arg(box, why),
                              SaveTitle());
        return;
    }
    if (const zvm::Status saved = settings::SaveSettings(settingsPath(), record); !saved.ok()) {
        platform_.showMessage(
            this, tr("The settings could not be saved to settings.ini: %1").arg(Translated(saved)),
            SaveTitle());
        return;
    }
    platform_.showMessage(this, tr("Settings Saved!"), SaveTitle());
}

// The designed six endings, today's common ones, and everything; the designed pattern itself stays in
// the video picker's file-name field.
QStringList frmZCM::VideoFilters() {
    return {tr("Video files (*.avi *.wmv *.mpg *.mpeg *.mp4 *.ogm)"),
            tr("All videos (*.mkv *.mov *.m4v *.webm *.3gp *.ts *.flv *.avi *.wmv *.mpg *.mpeg *.mp4 *.ogm)"),
            AllFiles()};
}

// Cancelling leaves the box as it was.
bool frmZCM::pickInto(QLineEdit* box, const FileDialogRequest& request) {
    const std::optional<QString> path = platform_.openFileName(this, request);
    if (!path) {
        return false;
    }
    box->setText(*path);
    return true;
}

// Where a video picker opens: where the current source is, else where the last video came from, else
// the user's Videos folder.
QString frmZCM::videoFolder() const {
    const QFileInfo source(txtOriginalVideo->text());
    if (!txtOriginalVideo->text().isEmpty() && source.absoluteDir().exists()) {
        return source.absolutePath();
    }
    if (!lastVideoFolder_.isEmpty()) {
        return lastVideoFolder_;
    }
    return QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
}

void frmZCM::cmdBrowseVideo_Click() {
    const bool picked =
        pickInto(txtOriginalVideo, {tr("Locate Video File"),
                                    QStringLiteral("*.avi; *.wmv; *.mpg; *.mpeg; *.mp4; *.ogm"),
                                    VideoFilters(),
                                    videoFolder()});
    if (picked) {
        lastVideoFolder_ = QFileInfo(txtOriginalVideo->text()).absolutePath();
        reader_->chosen();
    }
}

void frmZCM::cmdSaveAs_Click() {
    pickInto(txtSaveAs,
             {tr("Save as .mp4"), QStringLiteral("*.mp4"), {tr("MP4 files (*.mp4)"), AllFiles()}, {}});
}

// Choosing the encoder always saves all settings, cancelled or not, so the first-run question is
// asked only once. The dialog opens where the first ffmpeg on the search path is, so that the
// usual answer is one click away.
void frmZCM::cmdffmpegexe_Click() {
    const QString found = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    pickInto(txtffmpegexe, {tr("Locate FFMPEG.EXE"),
                            kEncoderPattern,
                            {QStringLiteral("ffmpeg (%1)").arg(kEncoderPattern), AllFiles()},
                            found.isEmpty() ? QString() : QFileInfo(found).absolutePath(),
                            /*mustBeProgram=*/true});
    mnuSaveINI_Click();
    showCommandForm();
}
