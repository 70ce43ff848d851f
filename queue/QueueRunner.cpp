#include "QueueRunner.h"

#include "OutputGuard.h"
#include "QueueStore.h"
#include "TextCrossing.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

using zvm::files::PathToQString;
using zvm::files::PathToStd;
using zvm::files::ToStd;

QueueRunner::QueueRunner(zvm::media::Outside& outside, QString storePath, QObject* parent)
    : QObject(parent), queue_(&zvm::process::OutputIsSource), outside_(outside),
      storePath_(std::move(storePath)) {}

QueueRunner::~QueueRunner() = default;

// Every change is shown; one that changes what a restart would find is also kept.
void QueueRunner::touch(bool structural) {
    if (structural && !storePath_.isEmpty()) {
        storeStatus_ = SaveQueue(storePath_, queue_.unfinished());
    }
    emit changed();
}

// All at once and kept once: a season of episodes is one change, not two hundred.
void QueueRunner::add(const std::vector<zvm::ConversionRequest>& requests, zvm::CommandStyle style) {
    for (const zvm::ConversionRequest& request : requests) {
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

int QueueRunner::addReady(const zvm::ConversionRequest& request, zvm::CommandStyle style) {
    const int id = queue_.addReady(request, style);
    touch(true);
    launchNext();
    return id;
}

void QueueRunner::restore(std::vector<zvm::queue::QueueItem> kept) {
    queue_.restore(std::move(kept));
    for (const auto& item : queue_.items()) {
        if (item.state == zvm::queue::ItemState::Detecting) {
            toDetect_.push_back(item.id);
        }
    }
    touch(true);
    detectNext();
}

// At most two ffprobes at a time: adding a season of episodes must not start dozens at once.
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
    queue_.setOutput(id, PathToStd(output));
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
        auto started = outside_.startEncoder(PathToQString(item.command), PathToQString(item.request.encoderPath));
        if (!started.ok()) {
            queue_.failedToStart(*id, started.status().message());
            touch(true);
            continue;
        }
        job_ = std::move(started).value();
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
    const int id = runningId_;
    runningId_ = 0;
    if (stopFor_ != StopFor::Nothing) {
        endStopped(id);
    } else {
        queue_.ended(id, signal != 0 ? -1 : exitCode, output_.screen());
        if (exitCode == 0 && signal == 0) {
            check(id);
        }
    }
    touch(true);
    launchNext(); // at once: the next encoder starts within the same event
}

// A stopped encoder's partial file is no use to anyone: it goes. After a quit, the item runs again
// at the next start.
void QueueRunner::endStopped(int id) {
    const zvm::queue::QueueItem* item = queue_.find(id);
    if (item != nullptr) {
        QFile::remove(PathToQString(item->request.outputPath));
    }
    if (stopFor_ == StopFor::Quit) {
        queue_.interrupted(id);
    } else {
        queue_.stopped(id, zvm::queue::kStoppedOnRequest);
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
