#include "queue/ConversionJob.h"

#include "core/Cut.h"
#include "core/FileSize.h"
#include "files/TextCrossing.h"
#include "media/Passes.h"
#include "process/EncoderProcess.h"
#include "process/StepJob.h"

namespace zvm::queue {

using files::PathToQString;

ConversionJob::ConversionJob(media::Outside& outside, JobOrder order, Rules rules, QObject* parent)
    : QObject(parent), outside_(outside), order_(std::move(order)), rules_(rules) {}

ConversionJob::~ConversionJob() {
    *alive_ = false;
}

Status ConversionJob::start() {
    const ConversionRequest& r = order_.request;
    before_ = files::StampOf(r.outputPath);
    // Tied: an encoder never outlives the program, however it ends.
    auto started = media::StartEncoding(outside_, PathToQString(order_.command), PathToQString(r.outputPath),
                                        UsesTwoPasses(r), PathToQString(r.encoderPath), process::Lifetime::Tied);
    if (!started.ok()) {
        JobResult result;
        result.end = JobEnd::NotStarted;
        result.startFailure = started.status();
        finish(std::move(result));
        return started.status();
    }
    encoder_ = std::move(started).value();
    output_.startPass(0, encoder_->stepCount());
    clock_.start();
    connect(encoder_.get(), &EncoderJob::outputArrived, this, &ConversionJob::follow);
    connect(encoder_.get(), &EncoderJob::stepStarted, this, &ConversionJob::passStarted);
    connect(encoder_.get(), &EncoderJob::finished, this, &ConversionJob::encoderEnded);
    if (const auto group = encoder_->group()) {
        emit groupStarted(*group);
    }
    return {};
}

ConversionJob::Stage ConversionJob::stage() const {
    if (ended_ || encoder_ == nullptr) {
        return Stage::Ended;
    }
    return checking_ ? Stage::Checking : groupWait_ ? Stage::WaitingForGroup : Stage::Encoding;
}

void ConversionJob::stop(bool atOnce) {
    if (ended_) {
        return;
    }
    stopping_ = true;
    switch (stage()) {
    case Stage::Encoding:
        atOnce ? encoder_->kill() : encoder_->stop();
        break;
    case Stage::WaitingForGroup:
        groupWait_->hurry();
        break;
    case Stage::Checking: // as for a running one: its output goes
        checking_ = false;
        afterEncode();
        break;
    case Stage::Ended:
        break;
    }
}

void ConversionJob::follow(const QByteArray& bytes) {
    output_.append(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    const std::optional<double> duration = order_.duration ? order_.duration : output_.duration();
    const auto kept = KeptSeconds(order_.request.cutStart, order_.request.cutEnd, duration);
    emit progressed(output_.encodedOverPasses(kept), duration, static_cast<double>(clock_.elapsed()) / 1000);
}

// A next pass over the input: a new process group, and the encoder's time from 0 again.
void ConversionJob::passStarted(std::size_t step, std::size_t steps) {
    output_.startPass(step, steps);
    if (const auto group = encoder_->group()) {
        emit groupStarted(*group);
    }
}

// What the encoder left behind may still be writing its output: its whole group is waited for.
void ConversionJob::encoderEnded(int exitCode, int signal) {
    exitCode_ = exitCode;
    signal_ = signal;
    const auto* steps = qobject_cast<StepJob*>(encoder_.get());
    const auto* process = qobject_cast<EncoderProcess*>(steps != nullptr ? steps->current() : encoder_.get());
    if (process == nullptr) { // no process group to wait for
        return afterEncode();
    }
    groupWait_ = std::make_unique<process::GroupWait>(process->groupId(), rules_.groupGraceMilliseconds);
    connect(groupWait_.get(), &process::GroupWait::gone, this, [this] {
        groupWait_.release()->deleteLater(); // it is delivering this signal
        afterEncode();
    });
    if (stopping_) {
        groupWait_->hurry();
    }
    groupWait_->start();
}

void ConversionJob::afterEncode() {
    JobResult result;
    result.exitCode = signal_ != 0 ? -1 : exitCode_;
    result.signal = signal_;
    result.log = output_.screen();
    if (stopping_) {
        result.end = JobEnd::Stopped;
    } else if (exitCode_ != 0 || signal_ != 0) {
        result.end = JobEnd::EncoderFailed;
    } else if (order_.target) {
        return check();
    }
    finish(std::move(result));
}

void ConversionJob::check() {
    checking_ = true;
    emit checking(output_.screen());
    const SourceFacts source{order_.duration ? order_.duration : output_.duration(),
                             output_.inputHasAudio().value_or(true), std::nullopt};
    outside_.checkOutput(PathToQString(order_.request.outputPath), PathToQString(order_.request.encoderPath),
                         *order_.target, source, [this, alive = alive_](const CheckReport& report) {
                             if (*alive && checking_) {
                                 checkAnswered(report);
                             }
                         });
}

void ConversionJob::checkAnswered(const CheckReport& report) {
    checking_ = false;
    JobResult result;
    result.log = output_.screen();
    result.checked = true;
    result.verdict = report.verdict;
    result.checkLine = files::ToStd(report.line);
    const bool misfit = report.verdict == CheckVerdict::Differs || report.verdict == CheckVerdict::Missing;
    result.end = misfit && rules_.misfitsFail ? JobEnd::Misfit : JobEnd::Converted;
    finish(std::move(result));
}

// What a run that did not convert wrote is no use to anyone: it goes. A file that stood there before
// and that the encoder never touched is not its to remove.
void ConversionJob::finish(JobResult result) {
    if (result.end != JobEnd::Converted && result.end != JobEnd::NotStarted) {
        result.removed = files::RemoveWritten(order_.request.outputPath, before_);
    }
    ended_ = true;
    if (encoder_) {
        encoder_.release()->deleteLater(); // its own signal may be what ended the run
    }
    emit ended(result);
}

} // namespace zvm::queue
