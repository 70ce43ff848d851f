// Convert: Generate, the run's own checks, then the encoder started without a shell.
#include "frmZCM.h"

#include "EncoderWindow.h"
#include "OutputGuard.h"
#include "Platform.h"
#include "Queue.h"
#include "TextCrossing.h"
#include "Translated.h"
#include "Validation.h"

#include <QLineEdit>
#include <QPlainTextEdit>

void frmZCM::cmdConvert_Click() {
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
    const QString command = txtFFMPEGCode->toPlainText();
    StartOutcome outcome = platform_.startProgram(command, txtffmpegexe->text());
    if (!outcome.job) {
        const QString program =
            outcome.program.isEmpty() ? QString() : tr("\n\nProgram: %1").arg(outcome.program);
        platform_.showMessage(this,
                              tr("The encoder could not be started: %1.%2")
                                  .arg(Translated(outcome.error.toStdString()), program),
                              tr("Convert using ffmpeg"));
        return;
    }
    const zvm::ConversionRequest request = requestFromControls(); // as Generate left it
    auto* window = new EncoderWindow(
        platform_, std::move(outcome.job),
        {command, txtSaveAs->text(), txtffmpegexe->text(), zvm::TargetFor(request, commandStyle())}, this);
    window->show();
}
