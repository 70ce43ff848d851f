// The queue beside the window: adding videos to it, showing it, offering it back at start-up, and
// asking before the program quits in the middle of it.
#include "ui/frmZCM.h"

#include "ui/EncoderWindow.h"
#include "core/OutputName.h"
#include "ui/Platform.h"
#include "process/StoppingSignals.h"
#include "queue/QueueRunner.h"
#include "queue/QueueStore.h"
#include "ui/QueueWindow.h"
#include "files/TextCrossing.h"
#include "core/Validation.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

QueueRunner& frmZCM::queue() {
    if (queue_ == nullptr) {
        queue_ = new QueueRunner(outside_, platform_.queueFile(), this);
    }
    return *queue_;
}

void frmZCM::showQueue() {
    if (queueWindow_ == nullptr) {
        queueWindow_ = new QueueWindow(queue(), platform_, this);
    }
    queueWindow_->show();
    queueWindow_->raise();
    queueWindow_->activateWindow();
}

// Each video gets the window's settings as they are now; its output goes into the output box's
// folder when the box names one (or a file in one), else beside the video; their commands take the
// form the encoder takes.
void frmZCM::addToQueue(const QStringList& videos) {
    const QString box = txtSaveAs->text();
    const QString folder = box.isEmpty()            ? QString()
                           : QFileInfo(box).isDir() ? box
                                                    : QFileInfo(box).absolutePath();
    std::vector<zvm::ConversionRequest> requests;
    zvm::ConversionRequest request = requestFromControls();
    request.width.clear(); // read from each video
    request.height.clear();
    for (const QString& video : videos) {
        request.sourceVideo = zvm::files::PathToStd(video);
        request.outputPath =
            zvm::SuggestOutputName(request.sourceVideo, request.preset, zvm::files::PathToStd(folder));
        requests.push_back(request);
    }
    whenFormDecided([this, requests] {
        queue().add(requests, commandStyle());
        showQueue();
    });
}

// "All videos" comes first here: the designed list's first filter hides today's common endings.
void frmZCM::mnuAddToQueue_Click() {
    QStringList filters = VideoFilters();
    filters.move(1, 0);
    const QStringList videos =
        platform_.openFileNames(this, {tr("Add videos to queue"), {}, filters, videoFolder()});
    if (!videos.isEmpty()) {
        lastVideoFolder_ = QFileInfo(videos.constFirst()).absolutePath();
        addToQueue(videos);
    }
}

void frmZCM::mnuAddCurrent_Click() {
    addCurrentToQueue(requestFromControls());
}

// The window's request, with the preview's cut and subtitles when it comes from there. The queue starts
// its commands without the command box, so a name with a double quote is taken.
void frmZCM::addCurrentToQueue(const zvm::ConversionRequest& request, std::optional<int> subtitleStreams) {
    if (const zvm::Status refusal = zvm::CheckRequest(request, zvm::NameQuotes::Taken); !refusal.ok()) {
        showRefusal(refusal);
        return;
    }
    whenFormDecided([this, request, subtitleStreams] {
        queue().addReady(request, commandStyle(), subtitleStreams);
        showQueue();
    });
}

// What an earlier run left unfinished is offered back once; a damaged file is set aside and said so,
// or, when it cannot be moved, left alone for the whole run. While another window holds the queue,
// nothing is offered: its videos are that window's.
void frmZCM::offerKeptQueue() {
    if (platform_.queueFile().isEmpty()) {
        return;
    }
    if (!queue().holdsStore()) {
        platform_.showMessage(this,
                              tr("The queue is in use by another window of this program. This window keeps "
                                 "the videos you add in memory and joins them to the saved queue when the "
                                 "other window is closed."),
                              tr("Queue"));
        return;
    }
    LoadedQueue kept = queue().loadStore();
    if (!kept.problem.isEmpty()) {
        platform_.showMessage(this, kept.problem, tr("Queue"));
    }
    if (kept.items.empty()) {
        return;
    }
    const int choice =
        platform_.askChoice(this, tr("%n video(s) were waiting in the queue.", "", static_cast<int>(kept.items.size())),
                            tr("Queue"), {tr("&Resume"), tr("&Discard")}, /*safe=*/0);
    if (choice == 0) {
        queue().restore(std::move(kept.items));
        showQueue();
        queueWindow_->start(); // asks about outputs that exist, as a start from the window does
    } else {
        queue().restore({}); // nothing back: the kept file is emptied
        if (!queue().storeStatus().ok()) {
            showQueue(); // where it says that the file still holds them
        }
    }
}

// Quitting while the queue converts stops it first, when the user agrees: the current video's
// partial output is removed and the rest is kept for the next start.
// Quitting ends the program at once and leaves a converting encoder running, as designed; since its
// window goes with the program, the desktop is told once that it goes on.
bool frmZCM::mayQuit() {
    if (queue_ == nullptr || !queue_->isRunning()) {
        sayWhatGoesOn();
        return true;
    }
    const int choice = platform_.askChoice(
        this,
        tr("The queue is converting. Stop it and quit? The current video is stopped and its partial "
           "output removed; the videos not yet converted are kept for the next start."),
        tr("Quit"), {tr("Stop the queue and &quit"), tr("&Cancel")}, /*safe=*/1);
    if (choice != 0) {
        return false;
    }
    queue_->stopForQuit();
    sayWhatGoesOn();
    return true;
}

void frmZCM::stopOnSignals() {
    connect(new StoppingSignals(this), &StoppingSignals::arrived, this, &frmZCM::stopForSignal);
}

void frmZCM::stopForSignal(int signal) {
    if (stoppingFor_ != 0) {
        return; // already stopping, within the encoders' grace time
    }
    stoppingFor_ = signal;
    if (queue_ != nullptr) {
        queue_->stopForQuit();
    }
    sayWhatGoesOn();
    platform_.endProgram(128 + signal);
}

void frmZCM::sayWhatGoesOn() {
    QStringList outputs;
    for (const EncoderWindow* window : findChildren<EncoderWindow*>()) {
        if (const QString output = window->outputStillBeingWritten(); !output.isEmpty()) {
            outputs << QDir::toNativeSeparators(output);
        }
    }
    if (outputs.isEmpty() || toldWhatGoesOn_) {
        return;
    }
    toldWhatGoesOn_ = true;
    platform_.notify(QStringLiteral("Zarnik Video Maker"),
                     tr("The conversion goes on after the program ends: %1 is still being written.")
                         .arg(outputs.join(QStringLiteral(", "))));
}
