#include "queue/QueueRunner.h"

#include "core/DeviceLimits.h"

#include "core/CommandLine.h"
#include "core/FileSize.h"
#include "media/SourceFacts.h"
#include "process/OutputGuard.h"
#include "queue/QueueStore.h"
#include "process/Spawn.h"
#include "files/TextCrossing.h"
#include "files/WrittenFile.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cmath>

using zvm::files::PathToQString;
using zvm::files::PathToStd;

namespace {
// Where versions before the store kept the queue: one JSON file beside it.
QString LegacyFileBeside(const QString& storePath) {
    return QFileInfo(storePath).dir().filePath(QStringLiteral("queue.json"));
}

std::filesystem::path GroupsFile(const RunnerSetup& setup) {
    if (!setup.groupsFile.empty() || setup.storePath.isEmpty()) {
        return setup.groupsFile;
    }
    return EncoderGroups::BesideQueue(PathToStd(setup.storePath));
}
} // namespace

QueueRunner::QueueRunner(zvm::media::Outside& outside, QString storePath, QObject* parent)
    : QueueRunner(outside, RunnerSetup{std::move(storePath), {}, false, false}, parent) {}

QueueRunner::QueueRunner(zvm::media::Outside& outside, RunnerSetup setup, QObject* parent)
    : QObject(parent), queue_(&zvm::process::FileIdentity), outside_(outside), storePath_(setup.storePath),
      setup_(std::move(setup)), groups_(GroupsFile(setup_)) {
    sinceMade_.start();
    storeTimer_ = new QTimer(this);
    storeTimer_->setSingleShot(true);
    storeTimer_->setTimerType(Qt::PreciseTimer);
    connect(storeTimer_, &QTimer::timeout, this,
            [this] { follow(pacing_.woke(zvm::queue::StorePacing::Ms(sinceMade_.elapsed()))); });
    groups_.endLeftOvers(); // before anything of this run starts, resumed items first of all
    if (!storePath_.isEmpty()) {
        claimStore();
        parallelSetting_ = std::clamp(LoadQueueOptions(optionsPath()).parallel, 0, kMaxParallel);
    }
    queue_.setParallel(parallelSetting_ == 0 ? AutomaticParallel() : parallelSetting_);
}

// What waits to be kept is kept as the runner goes (the window closes, the program quits).
QueueRunner::~QueueRunner() {
    if (pacing_.pending()) {
        store();
    }
}

// Stale time 0: a window that has run for days is never taken for dead. A lock whose owner is gone
// (killed, crashed) is still taken over, by QLockFile's own check of the owner's process.
void QueueRunner::claimStore() {
    QDir().mkpath(QFileInfo(storePath_).absolutePath());
    store_ = std::make_unique<QueueStore>(storePath_);
    lock_ = std::make_unique<QLockFile>(storePath_ + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);
    holdsStore_ = lock_->tryLock(0);
    if (holdsStore_ || lock_->error() != QLockFile::LockFailedError) {
        holdsStore_ = true; // a lock that cannot be made at all: the file's own writes say what fails
        return;
    }
    storeStatus_ = zvm::Status::Failure(zvm::FailureKind::Refused, zvm::queue::kQueueInUse);
    lockRetry_ = new QTimer(this);
    connect(lockRetry_, &QTimer::timeout, this, &QueueRunner::retryStore);
    lockRetry_->start(kLockRetryMs);
}

// The other window has gone: what it kept joins this window's videos, each work once.
void QueueRunner::retryStore() {
    if (!lock_->tryLock(0)) {
        return;
    }
    holdsStore_ = true;
    lockRetry_->stop();
    storeStatus_ = {};
    std::vector<zvm::queue::QueueItem> joining;
    for (zvm::queue::QueueItem& kept : loadStore().items) {
        anchor(kept.request); // as this window's own are
        const auto& items = queue_.items();
        if (std::none_of(items.begin(), items.end(),
                         [&](const zvm::queue::QueueItem& own) { return zvm::queue::SameWork(own, kept); })) {
            joining.push_back(std::move(kept));
        }
    }
    restore(std::move(joining)); // keeps the whole
}

LoadedQueue QueueRunner::loadStore() {
    if (!holdsStore_ || storePath_.isEmpty()) {
        return {};
    }
    LoadedQueue kept = store_->load();
    if (kept.items.empty() && kept.problem.isEmpty() && !QFileInfo::exists(storePath_)) {
        kept = LoadQueueFile(LegacyFileBeside(storePath_)); // kept by an earlier version: read once
        legacyFile_ = kept.problem.isEmpty() ? LegacyFileBeside(storePath_) : QString();
    }
    if (kept.damagedInPlace) {
        storePath_.clear(); // nothing is kept in this run: the lock guards nothing
        lock_->unlock();
    }
    return kept;
}

void QueueRunner::touch(zvm::queue::Keep keep, std::optional<int> only) {
    if (!storePath_.isEmpty() && holdsStore_) {
        follow(pacing_.changed(keep, zvm::queue::StorePacing::Ms(sinceMade_.elapsed())));
    }
    if (only) {
        emit itemChanged(*only);
    } else {
        emit changed();
    }
}

void QueueRunner::follow(const zvm::queue::StorePacing::Plan& plan) {
    if (plan.storeNow) {
        store();
    } else if (plan.wakeIn) {
        storeTimer_->start(int(plan.wakeIn->count()));
    }
}

void QueueRunner::store() {
    if (storePath_.isEmpty() || !holdsStore_) {
        return;
    }
    const zvm::queue::QueueChanges changes = queue_.takeChanges();
    storeStatus_ = storeWhole_ ? store_->replace(queue_.unfinished()) : store_->keep(queue_, changes);
    storeWhole_ = !storeStatus_.ok(); // the changes not kept are known no more: the next time, the whole
    pacing_.stored(zvm::queue::StorePacing::Ms(sinceMade_.elapsed()));
    ++storesMade_;
    if (storeStatus_.ok() && !legacyFile_.isEmpty()) { // now in the store
        QFile::remove(legacyFile_);
        legacyFile_.clear();
    }
}

void QueueRunner::anchor(zvm::ConversionRequest& request) const {
    if (storePath_.isEmpty()) {
        return;
    }
    for (std::string* path : {&request.sourceVideo, &request.outputPath}) {
        if (!path->empty()) {
            *path = PathToStd(QFileInfo(PathToQString(*path)).absoluteFilePath());
        }
    }
}

// All at once and kept once: a season of episodes is one change, not two hundred.
void QueueRunner::add(const std::vector<zvm::ConversionRequest>& requests, zvm::CommandStyle style) {
    for (zvm::ConversionRequest request : requests) {
        anchor(request);
        if (request.width.empty() || request.subtitles.mode == zvm::SubtitleMode::Auto) {
            toDetect_.push_back(queue_.add(request, style));
        } else {
            queue_.addReady(request, style);
        }
    }
    touch(true);
    detectNext();
    launchNext();
}

int QueueRunner::addReady(zvm::ConversionRequest request, zvm::CommandStyle style,
                          std::optional<int> subtitleStreams) {
    anchor(request);
    // Automatic subtitles need the source's streams, and a target whose file needs sound whether it
    // has any: such a source is read first, its given size kept.
    const zvm::TargetPreset* target = zvm::FindPreset(request.preset);
    const bool read = (request.subtitles.mode == zvm::SubtitleMode::Auto && !subtitleStreams) ||
                      (target != nullptr && zvm::NeedsAudio(*target));
    const int id = read ? queue_.add(std::move(request), style)
                        : queue_.addReady(std::move(request), style, subtitleStreams);
    if (read) {
        toDetect_.push_back(id); // its given size is kept
    }
    touch(true);
    detectNext();
    launchNext();
    return id;
}

// A kept item is checked as a new one is, and also for its source: paths kept relative by an older
// version are taken from the working folder, and a source that is not there leaves it needing
// attention, kept, rather than failing.
int QueueRunner::addRead(const zvm::ConversionRequest& request, zvm::CommandStyle style,
                         const SizeDetection& read) {
    if (!read.size && !request.width.empty()) {
        return addReady(request, style, read.subtitleStreams); // the size given stands, as unread
    }
    zvm::ConversionRequest anchored = request;
    anchor(anchored);
    const int id = queue_.add(std::move(anchored), style);
    queue_.sourceRead(id, zvm::media::ReadFacts(read));
    if (read.size) {
        queue_.sizeKnown(id, read.size->width(), read.size->height(), read.duration, read.subtitleStreams,
                         read.hasAudio, read.frameRate);
    } else {
        queue_.sizeUnknown(id, read.error.text());
    }
    touch(true);
    launchNext();
    return id;
}

void QueueRunner::restore(std::vector<zvm::queue::QueueItem> kept) {
    const std::size_t before = queue_.items().size();
    for (zvm::queue::QueueItem& item : kept) {
        anchor(item.request);
    }
    queue_.restore(std::move(kept));
    storeWhole_ = true; // the kept rows had the ids of the run that kept them
    std::vector<int> missing;
    for (std::size_t at = before; at < queue_.items().size(); ++at) {
        const auto& item = queue_.items()[at];
        if (!queue_.sourceFound(item.id)) { // looked at once, as the queue took it
            missing.push_back(item.id);
        } else if (item.state == zvm::queue::ItemState::Detecting) {
            toDetect_.push_back(item.id);
        }
    }
    for (const int id : missing) {
        queue_.needsAttention(id, zvm::queue::kSourceMissing, queue_.find(id)->request.sourceVideo);
    }
    touch(true);
    detectNext();
}

// At most two size reads at a time: adding a season of episodes must not queue dozens at once.
void QueueRunner::detectNext() {
    while (detecting_ < kParallelDetections && !toDetect_.empty()) {
        const int id = toDetect_.front();
        toDetect_.pop_front();
        const zvm::queue::QueueItem* item = queue_.find(id);
        if (item == nullptr) {
            continue;
        }
        ++detecting_;
        readSource(id, [this](zvm::queue::Queue& queue, int read, const SizeDetection& found) {
            --detecting_;
            if (found.size) {
                queue.sizeKnown(read, found.size->width(), found.size->height(), found.duration,
                                found.subtitleStreams, found.hasAudio, found.frameRate);
            } else {
                queue.sizeUnknown(read, found.error.text());
            }
            touch(zvm::queue::Keep::Soon);
            detectNext();
            launchNext();
        });
    }
}

void QueueRunner::setSize(int id, int width, int height) {
    queue_.setSize(id, width, height);
    touch(true);
}

void QueueRunner::setOutput(int id, const QString& output) {
    zvm::ConversionRequest named;
    named.outputPath = PathToStd(output);
    anchor(named);
    queue_.setOutput(id, named.outputPath);
    touch(true);
}

int QueueRunner::AutomaticParallel() {
    return zvm::process::AutomaticEncoders();
}

QString QueueRunner::optionsPath() const {
    return storePath_.isEmpty() ? QString() : QueueOptionsBeside(storePath_);
}

// A larger count starts more at once; a smaller one lets the running encoders finish.
void QueueRunner::setParallel(int setting) {
    parallelSetting_ = std::clamp(setting, 0, kMaxParallel);
    queue_.setParallel(parallelSetting_ == 0 ? AutomaticParallel() : parallelSetting_);
    if (!optionsPath().isEmpty()) {
        if (zvm::Status kept = SaveQueueOptions(optionsPath(), {parallelSetting_}); !kept.ok()) {
            storeStatus_ = std::move(kept); // said as the queue's own: until it is kept again
        }
    }
    touch(false);
    launchNext();
}

void QueueRunner::runAtOnce(int count) {
    queue_.setParallel(std::max(1, count));
    touch(false);
    launchNext();
}

// A file size needs the source's duration: one not read yet (its size was given) is read first.
void QueueRunner::setFileSize(int id, std::optional<double> megabytes) {
    const zvm::queue::QueueItem* item = queue_.find(id);
    if (item == nullptr || item->duration || !megabytes) {
        queue_.setFileSize(id, megabytes);
        touch(true);
        return;
    }
    readThen(*item, [megabytes](zvm::queue::Queue& queue, int read, const SizeDetection& found) {
        queue.setFileSize(read, megabytes, found.duration);
    });
}

// The one read of the source counts its subtitle streams too: a later Automatic reads nothing again.
void QueueRunner::setSubtitles(int id, const zvm::SubtitleChoice& choice) {
    const zvm::queue::QueueItem* item = queue_.find(id);
    if (item == nullptr || choice.mode != zvm::SubtitleMode::Auto || item->subtitleStreams ||
        item->state == zvm::queue::ItemState::Detecting) {
        queue_.setSubtitles(id, choice);
        touch(true);
        return;
    }
    readThen(*item, [choice](zvm::queue::Queue& queue, int read, const SizeDetection& found) {
        queue.setSubtitles(read, choice, found.subtitleStreams);
    });
}

void QueueRunner::readThen(const zvm::queue::QueueItem& item, ReadChange change) {
    readSource(item.id, [this, change = std::move(change)](zvm::queue::Queue& queue, int id, const SizeDetection& found) {
        change(queue, id, found);
        touch(true);
    });
}

void QueueRunner::readSource(int id, ReadChange then) {
    const zvm::queue::QueueItem* item = queue_.find(id);
    if (item == nullptr) {
        return;
    }
    QPointer<QueueRunner> self(this);
    outside_.detectSize(PathToQString(item->request.sourceVideo),
                        [self, id, then = std::move(then)](const SizeDetection& found) {
                            if (self != nullptr) {
                                self->lookIfNeeded(id, zvm::media::ReadFacts(found),
                                                   [then, found](zvm::queue::Queue& queue, int read) {
                                                       then(queue, read, found);
                                                   });
                            }
                        });
}

void QueueRunner::lookIfNeeded(int id, zvm::RunFacts read, const Looked& then) {
    const zvm::queue::QueueItem* item = queue_.find(id);
    if (item == nullptr || !zvm::NeedsLook(item->request, read)) {
        queue_.sourceRead(id, read);
        then(queue_, id);
        return;
    }
    QPointer<QueueRunner> self(this);
    outside_.lookAtPicture(PathToQString(item->request.sourceVideo),
                           [self, id, read = std::move(read), then](const PictureLook& look) mutable {
                               if (self != nullptr) {
                                   zvm::media::AddLook(read, look);
                                   self->queue_.sourceRead(id, read);
                                   then(self->queue_, id);
                               }
                           });
}

// A choice that needs more of the source than its last read gives has the source read or looked at,
// and is prepared again with what was found.
void QueueRunner::readForChoices(int id) {
    touch(true);
    const zvm::queue::QueueItem* item = queue_.find(id);
    if (item == nullptr || item->state == zvm::queue::ItemState::Detecting ||
        item->state == zvm::queue::ItemState::Running) {
        return;
    }
    const Looked prepare = [this](zvm::queue::Queue& queue, int read) {
        queue.change(read, [](zvm::ConversionRequest&) {});
        touch(true);
    };
    if (!item->read) {
        readSource(id, [prepare](zvm::queue::Queue& queue, int read, const SizeDetection&) { prepare(queue, read); });
    } else if (zvm::NeedsLook(item->request, *item->read)) {
        lookIfNeeded(id, *item->read, prepare);
    }
}

void QueueRunner::readStreams(int id) {
    const zvm::queue::QueueItem* item = queue_.find(id);
    if (item != nullptr && !item->read && item->state != zvm::queue::ItemState::Detecting) {
        readSource(id, [this](zvm::queue::Queue&, int, const SizeDetection&) { touch(zvm::queue::Keep::Shown); });
    }
}

void QueueRunner::setCrop(int id, const zvm::CropChoice& crop) {
    queue_.change(id, [&crop](zvm::ConversionRequest& r) { r.crop = crop; });
    readForChoices(id);
}

void QueueRunner::setAudio(int id, const zvm::AudioChoice& audio) {
    queue_.change(id, [&audio](zvm::ConversionRequest& r) { r.audio = audio; });
    readForChoices(id);
}

void QueueRunner::setBestQuality(int id, bool best) {
    queue_.change(id, [best](zvm::ConversionRequest& r) { r.bestQuality = best; });
    touch(true);
}

void QueueRunner::start() {
    queue_.start();
    announced_ = false;
    touch(false);
    launchNext();
}

void QueueRunner::pauseAfterCurrent() {
    queue_.pauseAfterCurrent();
    touch(false);
    announceIfDone();
}

// Places are counted by the queue's running items, and with checksHoldPlaces by every run that has
// not yet ended.
bool QueueRunner::placeFree() const {
    return !setup_.checksHoldPlaces || runs_.size() < static_cast<std::size_t>(queue_.parallel());
}

int QueueRunner::encoding() const {
    return static_cast<int>(
        std::count_if(runs_.begin(), runs_.end(), [](const auto& run) { return run.second.job->encoding(); }));
}

// One encoder per turn of the event loop, never in the turn that asked: starting one (its process,
// its group's record, the store) takes a few milliseconds with a long queue, and a start added to an
// end, to a click or to another start would hold the window that much longer.
void QueueRunner::launchNext() {
    if (launchPosted_) {
        return;
    }
    launchPosted_ = true;
    QTimer::singleShot(0, this, [this] {
        launchPosted_ = false;
        if (placeFree()) {
            if (const std::optional<int> id = queue_.next()) {
                launch(*id);
                launchNext();
            }
        }
        announceIfDone();
    });
}

void QueueRunner::launch(int id) {
    const zvm::queue::QueueItem& item = *queue_.find(id);
    zvm::queue::JobOrder order{item.command, item.request, zvm::TargetFor(item.request, item.style), item.duration};
    auto job = std::make_unique<zvm::queue::ConversionJob>(outside_, std::move(order),
                                                           zvm::queue::ConversionJob::Rules{setup_.misfitsFail});
    connect(job.get(), &zvm::queue::ConversionJob::groupStarted, this,
            [this](const zvm::process::ProcessMark& leader, const std::string& written) {
                groups_.started(leader, written);
            });
    connect(job.get(), &zvm::queue::ConversionJob::progressed, this,
            [this, id](double encoded, std::optional<double> duration, double runSeconds) {
                queue_.progressed(id, encoded, duration, runSeconds);
                touch(zvm::queue::Keep::Shown, id);
            });
    connect(job.get(), &zvm::queue::ConversionJob::checking, this,
            [this, id](const std::string& log) { encoded(id, log); });
    connect(job.get(), &zvm::queue::ConversionJob::ended, this,
            [this, id](const zvm::queue::JobResult& result) { ended(id, result); });
    zvm::queue::ConversionJob* const started = job.get();
    runs_.emplace(id, Run{std::move(job), StopFor::Nothing});
    emit jobStarted(id);
    if (started->start().ok()) { // a failure has ended the run already
        touch(zvm::queue::Keep::AtOnce); // the file says what runs, as the window does
    }
}

// Said once per start, when the last encoder has ended and the last after-check has answered, so
// the summary counts what the checks found.
void QueueRunner::announceIfDone() {
    if (!announced_ && !queue_.isRunning() && runs_.empty()) {
        announced_ = true;
        emit finishedAll(queue_.summary());
    }
}

// The encoder ended well and its output is being checked: its place is free at once, and the next
// encoder starts in the next turn of the event loop.
void QueueRunner::encoded(int id, const std::string& log) {
    queue_.ended(id, 0, log);
    touch(true);
    launchNext();
}

void QueueRunner::ended(int id, const zvm::queue::JobResult& result) {
    const auto found = runs_.find(id);
    if (found == runs_.end()) {
        return;
    }
    const StopFor stopFor = found->second.stopFor;
    found->second.job.release()->deleteLater(); // it is still delivering this signal
    runs_.erase(found);
    groups_.forgetEnded();
    using zvm::queue::JobEnd;
    switch (result.end) {
    case JobEnd::NotStarted:
        queue_.failedToStart(id, result.startFailure);
        break;
    case JobEnd::Stopped:
        endStopped(id, stopFor, result.removed);
        break;
    case JobEnd::EncoderFailed:
        queue_.ended(id, result.exitCode, result.log, result.removed, result.cause);
        break;
    case JobEnd::Converted:
    case JobEnd::Misfit:
        queue_.ended(id, 0, result.log); // nothing when the check told it already
        if (result.checked) {
            queue_.checked(id, result.verdict, result.checkLine);
        }
        if (result.verdict == zvm::CheckVerdict::Fits || result.verdict == zvm::CheckVerdict::Differs) {
            drawThumbnail(id, result.keptAs.empty() ? queue_.find(id)->request.outputPath : result.keptAs);
        }
        break;
    }
    emit jobEnded(id, result);
    // A converted item left the kept queue as its encoder ended: its check's answer changes nothing kept.
    const bool converted = result.end == JobEnd::Converted || result.end == JobEnd::Misfit;
    touch(converted ? zvm::queue::Keep::Soon : zvm::queue::Keep::AtOnce);
    launchNext();
}

// After a quit, the item runs again at the next start.
void QueueRunner::endStopped(int id, StopFor stopFor, bool removed) {
    if (stopFor == StopFor::Removal) {
        queue_.withdraw(id); // not a stop: the user wants this one gone, not the queue paused
        return;
    }
    if (stopFor == StopFor::Quit) {
        queue_.interrupted(id);
    } else {
        queue_.stopped(id, removed ? zvm::queue::kStoppedOnRequest : zvm::queue::kStoppedNothingWritten);
    }
}

// Drawn by the media worker from the output at its own size scaled down, so the window only shows a
// small picture and never reads the file.
void QueueRunner::drawThumbnail(int id, const std::string& file) {
    const zvm::queue::QueueItem& item = *queue_.find(id);
    const auto target = zvm::TargetFor(item.request, item.style);
    if (!target || target->width <= 0 || target->height <= 0) {
        return;
    }
    zvm::FrameGeometry small;
    small.targetHeight = small.newHeight = kThumbnailHeight;
    const double wide = target->width * target->pixelAspect * kThumbnailHeight / target->height;
    small.targetWidth = small.newWidth = std::max(2, 2 * static_cast<int>(std::lround(wide / 2)));
    small.ratio = static_cast<float>(small.newWidth) / static_cast<float>(small.newHeight);
    QPointer<QueueRunner> self(this);
    outside_.renderFrame({PathToQString(file), 0, zvm::ScaleAndPadFilter(small), false},
                         [self, id](const RenderedFrame& frame) {
                             if (self != nullptr && !frame.png.isEmpty() && self->queue_.find(id) != nullptr) {
                                 self->thumbnails_[id] = frame.png;
                                 self->touch(zvm::queue::Keep::Shown, id);
                             }
                         });
}

QByteArray QueueRunner::thumbnail(int id) const {
    const auto found = thumbnails_.find(id);
    return found != thumbnails_.end() ? found->second : QByteArray();
}

bool QueueRunner::stop(int id, bool atOnce) {
    const auto found = runs_.find(id);
    if (found == runs_.end() || !found->second.job->encoding()) {
        return false;
    }
    queue_.pauseAfterCurrent();
    found->second.stopFor = StopFor::Request;
    found->second.job->stop(atOnce);
    touch(false);
    return true;
}

// With nothing running, the queue pauses (sizes may still be read, holding the next one back).
bool QueueRunner::stopCurrent(bool atOnce) {
    const auto running = std::find_if(runs_.begin(), runs_.end(),
                                      [](const auto& run) { return run.second.job->encoding(); });
    if (running == runs_.end()) {
        pauseAfterCurrent();
        return true;
    }
    return encoding() == 1 && stop(running->first, atOnce);
}

void QueueRunner::remove(int id) {
    if (const auto found = runs_.find(id); found != runs_.end() && found->second.job->encoding()) {
        found->second.stopFor = StopFor::Removal;
        found->second.job->stop();
        return;
    }
    queue_.remove(id);
    touch(true);
}

void QueueRunner::move(int id, int by) {
    queue_.move(id, by);
    touch(true);
}

void QueueRunner::clearFinished() {
    queue_.clearFinished();
    std::erase_if(thumbnails_, [this](const auto& kept) { return queue_.find(kept.first) == nullptr; });
    touch(true);
}

void QueueRunner::skip(const std::vector<int>& ids) {
    queue_.skip(ids, zvm::queue::kOutputExists);
    touch(true);
}

// A run whose output is being checked has written it whole: it is left to end with the runner.
void QueueRunner::stopForQuit() {
    queue_.pauseAfterCurrent();
    if (encoding() == 0) {
        return;
    }
    QEventLoop wait; // each encoder ends within its grace time, killed if need be
    for (auto& [id, run] : runs_) {
        if (!run.job->encoding()) {
            continue;
        }
        run.stopFor = StopFor::Quit;
        // Queued: asked after ended() has taken the run away.
        connect(
            run.job.get(), &zvm::queue::ConversionJob::ended, &wait,
            [this, &wait] {
                if (encoding() == 0) {
                    wait.quit();
                }
            },
            Qt::QueuedConnection);
        run.job->stop();
    }
    QTimer::singleShot(10000, &wait, &QEventLoop::quit);
    wait.exec();
}

void QueueRunner::stopAll(bool atOnce) {
    queue_.pauseAfterCurrent();
    std::vector<int> waiting;
    for (const auto& item : queue_.items()) {
        if (item.state == zvm::queue::ItemState::Waiting) {
            waiting.push_back(item.id);
        }
    }
    queue_.skip(waiting, zvm::queue::kStoppedNothingWritten);
    std::vector<zvm::queue::ConversionJob*> stopping; // a stop may end a run, and so change runs_, at once
    for (auto& [id, run] : runs_) {
        run.stopFor = run.stopFor == StopFor::Nothing ? StopFor::Request : run.stopFor;
        stopping.push_back(run.job.get());
    }
    for (zvm::queue::ConversionJob* job : stopping) {
        job->stop(atOnce);
    }
    touch(false);
    announceIfDone();
}

std::vector<int> QueueRunner::existingOutputs() const {
    std::vector<int> ids;
    for (const auto& item : queue_.items()) {
        if (item.state == zvm::queue::ItemState::Waiting &&
            QFileInfo::exists(PathToQString(item.request.outputPath))) {
            ids.push_back(item.id);
        }
    }
    return ids;
}
