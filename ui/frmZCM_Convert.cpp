// Convert: Generate, the run's own checks, then the encoder started without a shell.
#include "ui/frmZCM.h"

#include "ui/EncoderWindow.h"
#include "process/OutputGuard.h"
#include "media/Outside.h"
#include "ui/Platform.h"
#include "queue/Queue.h"
#include "files/TextCrossing.h"
#include "ui/Translated.h"
#include "core/Validation.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

// Pressed before the form is known, Convert runs once it is: Generate, then the box's text.
void frmZCM::cmdConvert_Click() {
    whenFormDecided([this] { convert(); });
}

void frmZCM::convert() {
    const Generated generated = generate(); // with its own message box, whatever its outcome
    if (const auto refusal = zvm::CheckRunRequest(requestFromControls())) {
        if (refusal->shown) {
            showRefusal(*refusal);
        }
        return;
    }
    // Only the command just written may run: an older one in the box was made for other values.
    // Generate's refusal has been shown; the boxes may have changed behind its message (a size read
    // meanwhile), so the run's checks can pass, but there is still nothing new to start.
    if (generated == Generated::Refused) {
        return;
    }
    if (generated == Generated::NoCommand) {
        platform_.showMessage(this, Translated(zvm::queue::kNoMovieType), tr("Choose a Movie Type!"));
        return;
    }
    if (zvm::process::OutputIsSource(zvm::files::PathToStd(txtOriginalVideo->text()),
                                     zvm::files::PathToStd(txtSaveAs->text()))) {
        platform_.showMessage(this, tr("The output file is the source video. Choose another output filename"),
                              tr("Invalid Filename!"));
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
    const zvm::ConversionRequest request = requestFromControls(); // as Generate left it
    auto* window = new EncoderWindow(
        platform_, outside_, std::move(started).value(),
        {command, txtSaveAs->text(), txtffmpegexe->text(), zvm::TargetFor(request, commandStyle())}, this);
    window->show();
}
