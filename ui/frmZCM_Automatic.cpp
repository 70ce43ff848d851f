// What the window works out by itself: the command form the encoder needs, the source's size, and
// an output name beside the source.
#include "ui/frmZCM.h"

#include "core/OutputName.h"
#include "media/Outside.h"
#include "ui/Platform.h"
#include "ui/PreviewWindow.h"
#include "files/TextCrossing.h"
#include "ui/Translated.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

#include <utility>

zvm::CommandStyle frmZCM::commandStyle() {
    decideFormNow();
    return zvm::DecideForm(formChoice_, encoderAnswer_).style;
}

// No program runs before the user asks for a command: the encoder the box names is asked which form
// it takes when a command is first needed for that text (Generate, Convert, the preview, the queue),
// whatever key or button asked. A remembered answer comes at once; otherwise the window waits for
// it, within the question's own time limit, taking no input meanwhile.
void frmZCM::decideFormNow() {
    const QString encoder = txtffmpegexe->text();
    if (formChoice_ != zvm::FormChoice::Automatic || askedEncoder_ == encoder) {
        return;
    }
    askedEncoder_ = encoder;
    // The answer may come after the wait has ended (the application quitting): it then finds neither.
    auto answer = std::make_shared<std::optional<zvm::EncoderAnswer>>();
    QEventLoop wait;
    outside_.askForm(encoder, [answer, waiting = QPointer<QEventLoop>(&wait)](zvm::EncoderAnswer a) {
        *answer = a;
        if (waiting != nullptr) {
            waiting->quit();
        }
    });
    if (!answer->has_value()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
        QApplication::restoreOverrideCursor();
    }
    encoderAnswer_ = answer->value_or(zvm::EncoderAnswer::Unknown);
    h264Answer_ = zvm::H264Answer::Unknown;
    showCommandForm();
    if (encoderAnswer_ == zvm::EncoderAnswer::Rejects) { // only today's encoders can write the later targets
        QPointer<frmZCM> self(this);
        outside_.askH264(encoder, [self, encoder](zvm::H264Answer a) {
            if (self != nullptr && self->askedEncoder_ == encoder) {
                self->h264Answer_ = a;
                self->showServedTargets();
            }
        });
    }
}

// The menu entry's check mark shows the form in use, and its tooltip why.
void frmZCM::showCommandForm() {
    const zvm::FormDecision decision = zvm::DecideForm(formChoice_, encoderAnswer_);
    mnuModernCommand->setChecked(decision.style == zvm::CommandStyle::Modern);
    const bool undecided = formChoice_ == zvm::FormChoice::Automatic && askedEncoder_ != txtffmpegexe->text();
    const QString why = undecided ? tr("The form is decided when a command is first written, by asking the encoder")
                                  : tr("In use: the %1").arg(Translated(decision.reason));
    mnuModernCommand->setToolTip(why);
    mnuModernCommand->setStatusTip(why);
    showServedTargets();
}

// Toggling the entry is an explicit choice, kept in settings.ini.
void frmZCM::mnuModernCommand_Click(bool checked) {
    formChoice_ = checked ? zvm::FormChoice::Modern : zvm::FormChoice::Classic;
    showCommandForm();
    followPreview();
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
            addCurrentToQueue(request, preview_->subtitleStreams());
        });
    }
    preview_->show();
    followPreview();
    preview_->raise();
    preview_->activateWindow();
}

void frmZCM::followPreview() {
    if (preview_ != nullptr && preview_->isVisible()) {
        preview_->follow(requestFromControls(), commandStyle());
    }
}

void frmZCM::mnuDetectSize_Click() {
    detectSize(true);
}

void frmZCM::detectSize(bool reportFailure) {
    const int detection = ++detections_;
    QPointer<frmZCM> self(this);
    outside_.detectSize(txtOriginalVideo->text(),
                        [self, detection, reportFailure](const SizeDetection& r) {
                            if (self == nullptr || detection != self->detections_) {
                                return; // the window is gone, or a newer detection has been asked for
                            }
                            if (r.size) {
                                self->txtWidth->setText(QString::number(r.size->width()));
                                self->txtHeight->setText(QString::number(r.size->height()));
                                self->describeDetectedSize(r);
                            } else if (reportFailure) {
                                self->platform_.showMessage(
                                    self, tr("The size could not be detected: %1.").arg(r.error),
                                    tr("Detect size from video"));
                            }
                        });
}

namespace {
QString SizeText(QSize size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}
} // namespace

// The size boxes' tooltips say what was detected, since the size shown can differ from the stored
// pixels a file manager reports (a DVD's 720x480 is shown 655 wide). Typing over either box, or a
// detection without that detail, brings back the designed tips.
void frmZCM::describeDetectedSize(const SizeDetection& found) {
    QString what;
    if (found.size && found.pixels.isValid()) {
        detectedSize_ = found.size;
        what = found.pixels == *found.size ? tr("%1 pixels").arg(SizeText(found.pixels))
                                           : tr("%1 pixels, shown as %2").arg(SizeText(found.pixels),
                                                                              SizeText(*found.size));
        if (found.pixelAspect != QSize(1, 1)) {
            what = tr("%1 (pixel aspect %2:%3)")
                       .arg(what)
                       .arg(found.pixelAspect.width())
                       .arg(found.pixelAspect.height());
        }
    } else {
        detectedSize_.reset();
    }
    txtWidth->setToolTip(what.isEmpty() ? tr("Width of original video")
                                        : tr("Width of original video: %1").arg(what));
    txtHeight->setToolTip(what.isEmpty() ? tr("Height of original video")
                                         : tr("Height of original video: %1").arg(what));
}

// A video picked or dropped: its size is read and, unless the user named the output, the output is
// named after it.
void frmZCM::sourceChosen() {
    chosenSource_ = txtOriginalVideo->text();
    detectSize(false);
    suggestOutput();
}

// Fills the output box only while it is empty or still holds the previous suggestion: a name the user
// typed, picked or restored from settings.ini is never replaced.
void frmZCM::suggestOutput() {
    const QString output = txtSaveAs->text();
    if (txtOriginalVideo->text().isEmpty() || (!output.isEmpty() && output != suggestedOutput_)) {
        return;
    }
    suggestedOutput_ = zvm::files::PathToQString(zvm::SuggestOutputName(
        zvm::files::PathToStd(txtOriginalVideo->text()), std::max(0, cboPlatform->currentIndex())));
    txtSaveAs->setText(suggestedOutput_);
}
