// Convert: Generate, the run's own checks, then the encoder started without a shell.
#include "ui/frmZCM.h"

#include "ui/EncoderWindow.h"
#include "media/Outside.h"
#include "ui/Platform.h"
#include "core/Presets.h"
#include "core/PrepareRun.h"
#include "core/RunReasons.h"
#include "media/SubtitleSource.h"
#include "files/TextCrossing.h"
#include "ui/Translated.h"
#include "core/Validation.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

// Why Convert starts nothing though the checks passed, in the window's own boxes.
void frmZCM::showUnprepared(const zvm::Status& why) {
    if (why.message() == zvm::kNoMovieType) {
        platform_.showMessage(this, Translated(why), tr("Choose a Movie Type!"));
    } else if (why.message() == zvm::kOutputIsSource) {
        platform_.showMessage(this, tr("The output file is the source video. Choose another output filename"),
                              tr("Invalid Filename!"));
    } else {
        platform_.showMessage(this, Translated(why), tr("Convert using ffmpeg"));
    }
}

// Pressed before the form is known, Convert runs once it is: Generate, then the box's text.
void frmZCM::cmdConvert_Click() {
    whenFormDecided([this] { convert(); });
}

void frmZCM::convert() {
    const Generated generated = generate(); // with its own message box, whatever its outcome
    if (const zvm::Status refusal = zvm::CheckRunRequest(requestFromControls()); !refusal.ok()) {
        if (!refusal.title().empty()) { // an untitled one Generate has just shown
            showRefusal(refusal);
        }
        return;
    }
    // Only the command just written may run: an older one in the box was made for other values.
    // Generate's refusal has been shown; the boxes may have changed behind its message (a size read
    // meanwhile), so the run's checks can pass, but there is still nothing new to start.
    if (generated == Generated::Refused) {
        return;
    }
    // Prepared as every face prepares a run, with the designed checks: what the encoder cannot use
    // its own window shows.
    const zvm::ConversionRequest request = requestFromControls(); // as Generate left it
    const auto prepared =
        zvm::PrepareRun(request, commandStyle(), zvm::media::FilesOf(request), zvm::RunChecks::Designed);
    if (!prepared.ok()) {
        showUnprepared(prepared.status());
        return;
    }
    // The command tells the encoder to replace its output without asking: the window asks first.
    if (QFileInfo::exists(txtSaveAs->text())) {
        enum Answer { Replace, Cancel };
        const int choice = platform_.askChoice(
            this, tr("The output file %1 exists already. Replace it?").arg(QDir::toNativeSeparators(txtSaveAs->text())),
            tr("Convert using ffmpeg"), {tr("&Replace"), tr("&Cancel")}, Cancel);
        if (choice != Replace) {
            return;
        }
    }
    const QString command = txtFFMPEGCode->toPlainText();
    const zvm::TargetPreset* preset = zvm::FindPreset(request.preset);
    auto started = outside_.startEncoder(command, txtffmpegexe->text(), zvm::process::Lifetime::Independent);
    if (!started.ok()) {
        const zvm::Status why = started.status();
        const QString program = why.detail().empty()
                                    ? QString()
                                    : tr("\n\nProgram: %1").arg(zvm::files::PathToQString(why.detail()));
        platform_.showMessage(
            this, tr("The encoder could not be started: %1.%2").arg(Translated(why.message()), program),
            tr("Convert using ffmpeg"));
        return;
    }
    auto* window = new EncoderWindow(platform_, outside_, std::move(started).value(),
                                     {command, txtSaveAs->text(), txtffmpegexe->text(), prepared.value().target,
                                      preset != nullptr && preset->container == zvm::Container::Dpg},
                                     this);
    window->show();
}
