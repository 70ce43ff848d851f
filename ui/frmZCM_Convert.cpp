// Convert: Generate, the run's own checks, then the encoder started without a shell.
#include "frmZCM.h"

#include "EncoderWindow.h"
#include "Platform.h"
#include "Validation.h"

#include <QLineEdit>
#include <QPlainTextEdit>

void frmZCM::cmdConvert_Click() {
    cmdGenerate_Click(); // with its own message box, whatever its outcome
    if (const auto refusal = zvm::CheckRunRequest(requestFromControls())) {
        if (refusal->shown) {
            showRefusal(*refusal);
        }
        return;
    }
    const QString command = txtFFMPEGCode->toPlainText();
    StartOutcome outcome = platform_.startProgram(command);
    if (!outcome.job) {
        const QString program =
            outcome.program.isEmpty() ? QString() : QStringLiteral("\n\nProgram: %1").arg(outcome.program);
        platform_.showMessage(
            this, QStringLiteral("The encoder could not be started: %1.%2").arg(outcome.error, program),
            QStringLiteral("Convert using ffmpeg"));
        return;
    }
    auto* window = new EncoderWindow(platform_, std::move(outcome.job), command, txtSaveAs->text(), this);
    window->show();
}
