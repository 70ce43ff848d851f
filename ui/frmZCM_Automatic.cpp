// What the window works out by itself: the command form the encoder needs, and the preview that
// follows it.
#include "ui/frmZCM.h"

#include "media/Outside.h"
#include "ui/EncoderForm.h"
#include "ui/Platform.h"
#include "ui/PreviewWindow.h"
#include "ui/SourceReader.h"
#include "ui/Translated.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>

#include <utility>

zvm::CommandStyle frmZCM::commandStyle() const {
    return form_->style();
}

// No program runs before the user asks for a command: the encoder the box names is asked which form
// it takes when a command is first needed for that text (Generate, Convert, the preview, the queue),
// whatever key or button asked. What needs the form waits for the answer in order, with the window
// still answering; a remembered answer comes at once.
void frmZCM::whenFormDecided(std::function<void()> action) {
    formWaiters_.push_back(std::move(action));
    runFormWaiters();
}

// An answer for an encoder text the box no longer holds asks again for the box's text.
void frmZCM::runFormWaiters() {
    if (formWaiters_.empty()) {
        return;
    }
    const QString encoder = txtffmpegexe->text();
    if (!form_->isDecidedFor(encoder)) {
        setCursor(Qt::BusyCursor);
        form_->ask(encoder); // may answer at once, and so run the waiters
        return;
    }
    unsetCursor();
    for (auto& action : std::exchange(formWaiters_, {})) {
        action();
    }
}

// The menu entry's check mark shows the form in use, and its tooltip why.
void frmZCM::showCommandForm() {
    const zvm::FormDecision decision = form_->decision();
    mnuModernCommand->setChecked(decision.style == zvm::CommandStyle::Modern);
    // Greyed only once the classic form is known to be the one in use: it cannot ask for it.
    mnuBestQuality->setEnabled(!form_->isDecidedFor(txtffmpegexe->text()) ||
                               decision.style == zvm::CommandStyle::Modern);
    const QString why = !form_->isDecidedFor(txtffmpegexe->text())
                            ? tr("The form is decided when a command is first written, by asking the encoder")
                            : tr("In use: the %1").arg(Translated(decision.reason));
    mnuModernCommand->setToolTip(why);
    mnuModernCommand->setStatusTip(why);
    showServedTargets();
}

// Toggling the entry is an explicit choice, kept in settings.ini.
void frmZCM::mnuModernCommand_Click(bool checked) {
    form_->choose(checked ? zvm::FormChoice::Modern : zvm::FormChoice::Classic);
    showCommandForm();
    followPreview();
}

// The bars are measured when the entry is checked and again for each source named while it is; the
// fit is then of the kept picture, in the modern form (the classic options cannot cut it).
void frmZCM::mnuCropBars_Click(bool checked) {
    if (checked) {
        lookForBars();
    }
}

void frmZCM::lookForBars() {
    const QString source = txtOriginalVideo->text();
    if (!mnuCropBars->isChecked() || source.isEmpty() || source == barsOf_) {
        return;
    }
    barsOf_ = source;
    bars_ = {};
    mnuCropBars->setStatusTip(tr("Looking for black bars..."));
    QPointer<frmZCM> alive(this);
    outside_.lookAtPicture(source, [alive, source](const PictureLook& look) {
        if (alive == nullptr || alive->barsOf_ != source) {
            return; // another source was named meanwhile
        }
        alive->bars_ = look.crop;
        const QString found = look.crop.mode == zvm::CropMode::Rect
                                  ? tr("Black bars found: the picture is %1x%2").arg(look.crop.width).arg(look.crop.height)
                                  : tr("No black bars cropped: %1").arg(QString::fromStdString(look.cropWhy));
        alive->mnuCropBars->setStatusTip(found);
        alive->mnuCropBars->setToolTip(found);
    });
}

// One preview window, made when first asked for and kept (with its size and place) for the session.
void frmZCM::mnuPreview_Click() {
    if (preview_ == nullptr) {
        preview_ = new PreviewWindow(outside_, this, &platform_);
        connect(preview_, &PreviewWindow::addToQueue, this, [this] {
            zvm::ConversionRequest request = requestFromControls();
            request.cutStart = preview_->cutStart();
            request.cutEnd = preview_->cutEnd();
            request.subtitles = preview_->subtitles();
            if (preview_->crop().mode == zvm::CropMode::Rect) {
                request.crop = preview_->crop();
            }
            addCurrentToQueue(request, preview_->subtitleStreams());
        });
    }
    preview_->show();
    followPreview();
    preview_->raise();
    preview_->activateWindow();
}

// Until the form is known the preview keeps what it shows; the answer brings it up to date.
void frmZCM::followPreview() {
    if (preview_ == nullptr || !preview_->isVisible()) {
        return;
    }
    if (!form_->isDecidedFor(txtffmpegexe->text())) {
        form_->ask(txtffmpegexe->text());
        return;
    }
    preview_->follow(requestFromControls(), commandStyle());
}

void frmZCM::mnuDetectSize_Click() {
    reader_->readSize(true);
}
