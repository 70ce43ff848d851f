// The window's commands: Generate, Clear, Exit, Web site, Manual, select on focus, copy, drop.
#include "ui/frmZCM.h"

#include "core/Generate.h"
#include "core/Presets.h"
#include "core/PrepareRun.h"
#include "ui/EncoderForm.h"
#include "ui/Manual.h"
#include "ui/Platform.h"
#include "ui/ProgramIcon.h"
#include "ui/SoundStreamMenu.h"
#include "ui/SourceReader.h"
#include "files/TextCrossing.h"
#include "ui/Translated.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStandardItemModel>

namespace {
using zvm::files::PathToQString;
using zvm::files::PathToStd;
using zvm::files::ToQString;
using zvm::files::ToStd;

void SelectWholeText(QLineEdit* box) {
    box->setSelection(0, static_cast<int>(box->text().size()));
}

// Sets a text only when it differs, so an unchanged box keeps its caret and undo history.
void SetTextIfChanged(QLineEdit* box, const std::string& text) {
    const QString value = ToQString(text);
    if (box->text() != value) {
        box->setText(value);
    }
}

// The local files of a drag.
QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    for (const QUrl& url : data != nullptr ? data->urls() : QList<QUrl>()) {
        if (url.isLocalFile()) {
            files << QDir::toNativeSeparators(url.toLocalFile());
        }
    }
    return files;
}
} // namespace

frmZCM::frmZCM(Platform& platform, zvm::media::Outside& outside, QWidget* parent)
    : QMainWindow(parent), platform_(platform), outside_(outside), manualFolders_(ManualFolders()) {
    setObjectName(QStringLiteral("frmZCM"));
    setWindowIcon(ProgramIcon());
    buildLayout();
    form_ = new EncoderForm(outside_, this);
    reader_ = new SourceReader(outside_, platform_, this,
                               {txtOriginalVideo, txtWidth, txtHeight, txtSaveAs, txtffmpegexe, cboPlatform});
    connect(reader_, &SourceReader::soundStreamsRead, this, &frmZCM::listSoundStreams);
    listSoundStreams();
    connectHandlers();
}

// The controls outlive this part of the window while it is destroyed; the focus leaving a box then
// must not reach a handler.
frmZCM::~frmZCM() {
    for (QObject* control : findChildren<QObject*>()) {
        control->disconnect(this);
    }
}

zvm::ConversionRequest frmZCM::requestFromControls() const {
    zvm::ConversionRequest r;
    r.sourceVideo = PathToStd(txtOriginalVideo->text());
    r.outputPath = PathToStd(txtSaveAs->text());
    r.encoderPath = PathToStd(txtffmpegexe->text());
    r.width = ToStd(txtWidth->text());
    r.height = ToStd(txtHeight->text());
    r.videoBitrate = ToStd(txtVideoBitrate->text());
    r.audioBitrate = ToStd(txtAudioBitrate->text());
    r.sampleRate = ToStd(txtSampleRate->text());
    r.preset = std::max(0, cboPlatform->currentIndex()); // start-up always selects a row
    r.movieType = movieType();
    r.bestQuality = mnuBestQuality->isEnabled() && mnuBestQuality->isChecked();
    if (reader_ != nullptr) { // a target that needs sound gets a silent track for a silent source
        r.silentSource = reader_->silence(txtOriginalVideo->text());
        r.sourceFrameRate = reader_->frameRate(txtOriginalVideo->text()); // a film's rate is kept where it can be
    }
    const zvm::TargetPreset* target = zvm::FindPreset(r.preset);
    const bool modern = commandStyle() == zvm::CommandStyle::Modern || (target != nullptr && zvm::NeedsModernForm(*target));
    if (mnuCropBars != nullptr && mnuCropBars->isChecked() && modern && barsOf_ == txtOriginalVideo->text()) {
        r.crop = bars_;
    }
    if (modern) { // the classic options cannot name a stream
        r.audio.track = chosenSoundStream();
    }
    return r;
}

int frmZCM::chosenSoundStream() const {
    const QAction* chosen = soundStreams_ != nullptr ? soundStreams_->checkedAction() : nullptr;
    const int stream = chosen != nullptr ? chosen->data().toInt() : -1;
    const auto streams = reader_ != nullptr ? reader_->soundStreams(txtOriginalVideo->text())
                                            : std::vector<zvm::AudioStreamFacts>();
    return stream < std::ssize(streams) ? stream : -1; // a choice made for another source is none here
}

// The menu offers a choice only where there is one.
void frmZCM::listSoundStreams() {
    const auto streams = reader_->soundStreams(txtOriginalVideo->text());
    FillSoundStreamMenu(mnuSoundStream, soundStreams_, streams, -1);
    mnuSoundStream->setEnabled(streams.size() > 1);
}

zvm::MovieType frmZCM::movieType() const {
    if (optLiveAction->isChecked()) {
        return zvm::MovieType::LiveAction;
    }
    return optAnime->isChecked() ? zvm::MovieType::Animation : zvm::MovieType::None;
}

// An exclusive group refuses to clear its chosen option, so exclusivity is lifted first; the
// unchosen option is cleared before the chosen one is set, and optionToggled restores exclusivity.
void frmZCM::setMovieType(zvm::MovieType type) {
    movieTypeGroup_->setExclusive(false);
    QRadioButton* chosen = type == zvm::MovieType::LiveAction  ? optLiveAction
                           : type == zvm::MovieType::Animation ? optAnime
                                                               : nullptr;
    for (QRadioButton* option : {optLiveAction, optAnime}) {
        if (option != chosen) {
            option->setChecked(false);
        }
    }
    if (chosen != nullptr) {
        chosen->setChecked(true);
    }
}

// The pair is exclusive while one option is chosen (with neither chosen, exclusivity would force
// one). Only the chosen option is then a Tab stop; with neither chosen, both are.
void frmZCM::optionToggled() {
    const bool anyChosen = optLiveAction->isChecked() || optAnime->isChecked();
    movieTypeGroup_->setExclusive(anyChosen);
    for (QRadioButton* option : {optLiveAction, optAnime}) {
        option->setFocusPolicy(!anyChosen || option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void frmZCM::showRefusal(const zvm::Status& refusal) {
    platform_.showMessage(this, Translated(refusal.message()), Translated(refusal.title()));
}

void frmZCM::cmdGenerate_Click() {
    whenFormDecided([this] { generate(); });
}

frmZCM::Generated frmZCM::generate() {
    zvm::ConversionRequest request = requestFromControls();
    // As the preview shows it: an interlaced source is deinterlaced where its target's commands do it
    // (after the designed rows, whose commands stay as designed). The queue reads each video itself.
    zvm::RunFacts read;
    read.interlaced = reader_ != nullptr ? reader_->interlaced(txtOriginalVideo->text()) : std::nullopt;
    request.deinterlace = zvm::ResolveDeinterlace(request.deinterlace, request.preset, read);
    const auto outcome = zvm::Generate(request, commandStyle());
    if (!outcome.ok()) {
        showRefusal(outcome.status());
        return Generated::Refused;
    }
    const zvm::GenerateResult& result = outcome.value();
    SetTextIfChanged(txtAudioBitrate, result.request.audioBitrate);
    SetTextIfChanged(txtSampleRate, result.request.sampleRate);

    const zvm::FrameGeometry& g = result.geometry;
    showResults({ToQString(zvm::FormatRatio(g.ratio)), QString::number(g.newWidth),
                 QString::number(g.newHeight), QString::number(g.padTop), QString::number(g.padBottom),
                 QString::number(g.padLeft), QString::number(g.padRight)});

    if (result.request.movieType != movieType()) {
        setMovieType(result.request.movieType);
    }
    if (result.command) {
        txtFFMPEGCode->setPlainText(PathToQString(*result.command)); // its file names as they were given
    }
    return result.command ? Generated::Written : Generated::NoCommand;
}

void frmZCM::cmdClear_Click() {
    for (QLineEdit* box : {txtOriginalVideo, txtSaveAs, txtWidth, txtHeight}) {
        box->clear();
    }
    txtFFMPEGCode->clear();
    showResults({});
}

// The seven result labels in their designed order; a missing text empties a label. A screen reader
// reads the value as the label's description, after its name.
void frmZCM::showResults(const QStringList& texts) {
    const QList<QLabel*> labels{lblRatio,     lblNewWidth, lblNewHeight, lblPadTop,
                                lblPadBottom, lblPadLeft,  lblPadRight};
    for (qsizetype i = 0; i < labels.size(); ++i) {
        labels[i]->setText(texts.value(i));
        labels[i]->setAccessibleDescription(texts.value(i));
    }
}

// The closed list is narrower than its texts, so the whole choice is in its tooltip and description.
void frmZCM::describePreset() {
    const QString chosen = cboPlatform->currentText();
    cboPlatform->setToolTip(chosen.isEmpty() ? tr("Choose a resolution")
                                             : tr("Choose a resolution: %1").arg(chosen));
    cboPlatform->setAccessibleDescription(chosen);
}

void frmZCM::followTarget() {
    const zvm::TargetPreset* target = zvm::FindPreset(cboPlatform->currentIndex());
    fraMovieType->setEnabled(target == nullptr || target->designed);
}

void frmZCM::showServedTargets() {
    auto* model = qobject_cast<QStandardItemModel*>(cboPlatform->model());
    const bool known = form_->isDecidedFor(txtffmpegexe->text());
    for (int row = 0; model != nullptr && row < model->rowCount(); ++row) {
        const zvm::TargetPreset* target = zvm::FindPreset(row);
        const std::string why =
            target == nullptr || !known ? std::string() : zvm::CannotServe(*target, form_->answer(), form_->h264());
        QStandardItem* item = model->item(row);
        item->setEnabled(why.empty() && (target == nullptr || !target->withdrawn));
        item->setToolTip(why.empty() ? QString() : tr("This encoder cannot write it: %1").arg(Translated(why)));
    }
}

// Ends the program at once: nothing is asked or saved, and running encoders go on. Only a converting
// queue is asked about first, since it cannot go on without the program.
void frmZCM::cmdExit_Click() {
    if (mayQuit()) {
        platform_.endProgram(0);
    }
}

void frmZCM::mnuWebsite_Click() {
    OpenOrSay(platform_, this, QUrl(QStringLiteral(ZVM_HOMEPAGE_URL)), tr("Web site"));
}

void frmZCM::lookForManualIn(const QStringList& folders) {
    manualFolders_ = folders;
}

// The manual in the window's language, in the user's browser. A build run without its manual (or an
// installation that lost it) says where it looked rather than doing nothing.
void frmZCM::mnuManual_Click() {
    const QString page = ManualPage(manualFolders_, QLocale());
    if (page.isEmpty()) {
        platform_.showMessage(this,
                              tr("The manual was not found. It was looked for in:\n%1")
                                  .arg(manualFolders_.join(QLatin1Char('\n'))),
                              tr("Manual"));
        return;
    }
    OpenOrSay(platform_, this, QUrl::fromLocalFile(page), tr("Manual"));
}

void frmZCM::txtOriginalVideo_GotFocus() {
    SelectWholeText(txtOriginalVideo);
}
void frmZCM::txtSaveAs_GotFocus() {
    SelectWholeText(txtSaveAs);
}
void frmZCM::txtWidth_GotFocus() {
    SelectWholeText(txtWidth);
}
void frmZCM::txtHeight_GotFocus() {
    SelectWholeText(txtHeight);
}
void frmZCM::txtVideoBitrate_GotFocus() {
    SelectWholeText(txtVideoBitrate);
}
void frmZCM::txtAudioBitrate_GotFocus() {
    SelectWholeText(txtAudioBitrate);
}
void frmZCM::txtSampleRate_GotFocus() {
    SelectWholeText(txtSampleRate);
}

// Entering the command box carries the command to the clipboard. An empty box leaves the user's
// clipboard as it was: there is nothing to copy, and emptying it would lose their content.
void frmZCM::txtFFMPEGCode_GotFocus() {
    txtFFMPEGCode->selectAll();
    const QString command = txtFFMPEGCode->toPlainText();
    if (!command.isEmpty()) {
        platform_.setClipboardText(command);
    }
}

void frmZCM::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!centred_ && screen() != nullptr) {
        centred_ = true;
        const QRect available = screen()->availableGeometry();
        move(available.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

void frmZCM::closeEvent(QCloseEvent* event) {
    if (!mayQuit()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    platform_.endProgram(0); // the close control ends the program like Exit, encoder windows included
}

QLineEdit* frmZCM::dropTargetAt(const QPoint& position) const {
    for (QLineEdit* box : {txtSaveAs, txtffmpegexe}) {
        if (box->rect().contains(box->mapFrom(this, position))) {
            return box;
        }
    }
    return txtOriginalVideo;
}

void frmZCM::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

// One file fills a box; several go to the queue.
void frmZCM::dropEvent(QDropEvent* event) {
    const QStringList files = DroppedFiles(event->mimeData());
    if (files.size() > 1) {
        event->acceptProposedAction();
        addToQueue(files);
        return;
    }
    if (files.isEmpty()) {
        return;
    }
    const QString& path = files.first();
    QLineEdit* box = dropTargetAt(event->position().toPoint());
    box->setText(path);
    event->acceptProposedAction();
    if (box == txtOriginalVideo) {
        reader_->chosen();
    }
}
