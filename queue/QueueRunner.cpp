#include "QueueRunner.h"

#include "FileSize.h"
#include "OutputGuard.h"
#include "Passes.h"
#include "QueueStore.h"
#include "TextCrossing.h"
#include "WrittenFile.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QTimer>

#include <algorithm>


using zvm::files::PathToQString;
using zvm::files::PathToStd;
using zvm::files::ToStd;

QueueRunner::QueueRunner(zvm::media::Outside& outside, QString storePath, QObject* parent)
    : QObject(parent), queue_(&zvm::process::OutputIsSource), outside_(outside),
      storePath_(std::move(storePath)),
      groups_(storePath_.isEmpty() ? std::filesystem::path()
                                   : EncoderGroups::BesideQueue(PathToStd(storePath_))) {
    groups_.endLeftOvers(); // before anything of this run starts, resumed items first of all
    if (!storePath_.isEmpty()) {
        claimStore();
    }
}

QueueRunner::~QueueRunner() = default;

// Stale time 0: a window that has run for days is never taken for dead. A lock whose owner is gone
// (killed, crashed) is still taken over, by QLockFile's own check of the owner's process.
void QueueRunner::claimStore() {
    QDir().mkpath(QFileInfo(storePath_).absolutePath());
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
    LoadedQueue kept = LoadQueue(storePath_);
    if (kept.damagedInPlace) {
        storePath_.clear(); // nothing is kept in this run: the lock guards nothing
        lock_->unlock();
    }
    return kept;
}

// Every change is shown; one that changes what a restart would find is also kept.
void QueueRunner::touch(bool structural) {
    if (structural && !storePath_.isEmpty() && holdsStore_) {
        storeStatus_ = SaveQueue(storePath_, queue_.unfinished());
    }
    emit changed();
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
        if (request.width.empty()) {
            toDetect_.push_back(queue_.add(request, style));
        } else {
            queue_.addReady(request, style);
        }
    }
    touch(true);
    detectNext();
    launchNext();
}

int QueueRunner::addReady(zvm::ConversionRequest request, zvm::CommandStyle style) {
    anchor(request);
    const int id = queue_.addReady(std::move(request), style);
    touch(true);
    launchNext();
    return id;
}

// A kept item is checked as a new one is, and also for its source: paths kept relative by an older
// version are taken from the working folder, and a source that is not there leaves it needing
// attention, kept, rather than failing.
void QueueRunner::restore(std::vector<zvm::queue::QueueItem> kept) {
    const std::size_t before = queue_.items().size();
    for (zvm::queue::QueueItem& item : kept) {
        anchor(item.request);
    }
    queue_.restore(std::move(kept));
    std::vector<int> missing;
    for (std::size_t at = before; at < queue_.items().size(); ++at) {
        const auto& item = queue_.items()[at];
        if (!QFileInfo::exists(PathToQString(item.request.sourceVideo))) {
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
        QPointer<QueueRunner> self(this);
        outside_.detectSize(PathToQString(item->request.sourceVideo), PathToQString(item->request.encoderPath),
                            [self, id](const SizeDetection& found) {
                                if (self == nullptr) {
                                    return;
                                }
                                --self->detecting_;
                                if (found.size) {
                                    self->queue_.sizeKnown(id, found.size->width(), found.size->height(),
                                                           found.duration);
                                } else {
                                    self->queue_.sizeUnknown(id, ToStd(found.error));
                                }
                                self->touch(true);
                                self->detectNext();
                                self->launchNext();
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

// A file size needs the source's duration: one not read yet (its size was given) is read first.
void QueueRunner::setFileSize(int id, std::optional<double> megabytes) {
    const zvm::queue::QueueItem* item = queue_.find(id);
    if (item == nullptr || item->duration || !megabytes) {
        queue_.setFileSize(id, megabytes);
        touch(true);
        return;
    }
    QPointer<QueueRunner> self(this);
    outside_.detectSize(PathToQString(item->request.sourceVideo), PathToQString(item->request.encoderPath),
                        [self, id, megabytes](const SizeDetection& found) {
                            if (self != nullptr) {
                                self->queue_.setFileSize(id, megabytes, found.duration);
                                self->touch(true);
                            }
                        });
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
}

void QueueRunner::launchNext() {
    while (job_ == nullptr) {
        const std::optional<int> id = queue_.next();
        if (!id) {
            if (!queue_.isRunning() && !announced_) {
                announced_ = true;
                emit finishedAll(queue_.summary());
            }
            return;
        }
        const zvm::queue::QueueItem& item = *queue_.find(*id);
        outputBefore_ = zvm::files::StampOf(item.request.outputPath);
        // Tied to this thread, the GUI thread, which lives as long as the window.
        auto started = zvm::media::StartEncoding(
            outside_, PathToQString(item.command), PathToQString(item.request.outputPath),
            zvm::UsesTwoPasses(item.request), PathToQString(item.request.encoderPath), zvm::process::Lifetime::Tied);
        if (!started.ok()) {
            queue_.failedToStart(*id, started.status().message());
            touch(true);
            continue;
        }
        job_ = std::move(started).value();
        if (const auto group = job_->group()) {
            groups_.started(*group);
        }
        runningId_ = *id;
        stopFor_ = StopFor::Nothing;
        output_ = zvm::media::EncoderOutput();
        clock_.start();
        connect(job_.get(), &EncoderJob::outputArrived, this, &QueueRunner::follow);
        connect(job_.get(), &EncoderJob::finished, this, &QueueRunner::ended);
        touch(true);
    }
}

void QueueRunner::follow(const QByteArray& bytes) {
    output_.append(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    queue_.progressed(runningId_, output_.time().value_or(0), output_.duration(),
                      static_cast<double>(clock_.elapsed()) / 1000);
    touch(false);
}

void QueueRunner::ended(int exitCode, int signal) {
    job_.release()->deleteLater(); // it is still delivering this signal
    groups_.forgetEnded();
    const int id = runningId_;
    runningId_ = 0;
    if (stopFor_ != StopFor::Nothing) {
        endStopped(id);
    } else {
        const bool failed = exitCode != 0 || signal != 0;
        const bool removed = failed && removePartial(id);
        queue_.ended(id, signal != 0 ? -1 : exitCode, output_.screen(), removed);
        if (!failed) {
            check(id);
        }
    }
    touch(true);
    launchNext(); // at once: the next encoder starts within the same event
}

// A failed or stopped encoder's partial file is no use to anyone: it goes. A file that stood there
// before and that the encoder never touched is not its to remove.
bool QueueRunner::removePartial(int id) {
    const zvm::queue::QueueItem* item = queue_.find(id);
    if (item == nullptr) {
        return false;
    }
    return zvm::files::RemoveWritten(item->request.outputPath, outputBefore_);
}

// After a quit, the item runs again at the next start.
void QueueRunner::endStopped(int id) {
    const bool removed = removePartial(id);
    if (stopFor_ == StopFor::Quit) {
        queue_.interrupted(id);
    } else {
        queue_.stopped(id, removed ? zvm::queue::kStoppedOnRequest : zvm::queue::kStoppedNothingWritten);
    }
    if (stopFor_ == StopFor::Removal) {
        queue_.remove(id);
    }
}

void QueueRunner::check(int id) {
    const zvm::queue::QueueItem& item = *queue_.find(id);
    const auto target = zvm::TargetFor(item.request, item.style);
    if (!target) {
        return;
    }
    QPointer<QueueRunner> self(this);
    const zvm::SourceFacts source{item.duration, output_.inputHasAudio().value_or(true), std::nullopt};
    outside_.checkOutput(PathToQString(item.request.outputPath), PathToQString(item.request.encoderPath), *target, source,
                         [self, id](const CheckReport& report) {
                             if (self != nullptr) {
                                 self->queue_.checked(id, report.verdict, ToStd(report.line));
                                 self->touch(true);
                             }
                         });
}

void QueueRunner::stopCurrent(bool atOnce) {
    queue_.pauseAfterCurrent();
    if (job_ == nullptr) {
        return;
    }
    stopFor_ = StopFor::Request;
    if (atOnce) {
        job_->kill();
    } else {
        job_->stop();
    }
}

void QueueRunner::remove(int id) {
    if (job_ != nullptr && id == runningId_) {
        stopFor_ = StopFor::Removal;
        job_->stop();
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
    touch(true);
}

void QueueRunner::skip(const std::vector<int>& ids) {
    queue_.skip(ids, zvm::queue::kOutputExists);
    touch(true);
}

void QueueRunner::stopForQuit() {
    queue_.pauseAfterCurrent();
    if (job_ == nullptr) {
        return;
    }
    stopFor_ = StopFor::Quit;
    QEventLoop wait; // the encoder ends within its grace time, killed if need be
    connect(job_.get(), &EncoderJob::finished, &wait, &QEventLoop::quit, Qt::QueuedConnection);
    job_->stop();
    QTimer::singleShot(10000, &wait, &QEventLoop::quit);
    wait.exec();
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
