#include "process/StepJob.h"

StepJob::StepJob(std::size_t steps, Start start, std::function<void()> finally, QObject* parent)
    : EncoderJob(parent), steps_(steps), start_(std::move(start)), finally_(std::move(finally)) {}

StepJob::~StepJob() {
    if (current_ != nullptr && current_->isRunning()) {
        current_->kill(); // its logs are about to go; a step must not go on writing into nothing
    }
    finish();
}

void StepJob::finish() {
    if (finally_) {
        const std::function<void()> once = std::move(finally_);
        finally_ = nullptr;
        once();
    }
}

zvm::Status StepJob::begin() {
    zvm::Status started = startStep();
    if (!started.ok()) {
        finish();
    }
    return started;
}

zvm::Status StepJob::startStep() {
    auto started = start_(step_);
    if (!started.ok()) {
        return started.status();
    }
    if (current_ != nullptr) {
        current_.release()->deleteLater(); // it is still delivering its end
    }
    current_ = std::move(started).value();
    connect(current_.get(), &EncoderJob::outputArrived, this, &EncoderJob::outputArrived);
    connect(current_.get(), &EncoderJob::finished, this, &StepJob::stepEnded);
    if (step_ > 0) {
        emit stepStarted(step_, steps_);
    }
    return {};
}

void StepJob::stepEnded(int exitCode, int signal) {
    const bool good = exitCode == 0 && signal == 0;
    if (good && !stopRequested_ && step_ + 1 < steps_) {
        ++step_;
        refusal_ = check_ ? check_(step_) : zvm::Status();
        const zvm::Status next = refusal_.ok() ? startStep() : refusal_;
        if (next.ok()) {
            return;
        }
        QByteArray why("\n");
        why.append(QByteArray::fromStdString(next.text())).append('\n');
        emit outputArrived(why);
        exitCode = kStepNotStarted;
    }
    finish();
    emit finished(exitCode, signal);
}

void StepJob::stop() {
    stopRequested_ = true;
    if (current_ != nullptr) {
        current_->stop();
    }
}

void StepJob::kill() {
    stopRequested_ = true;
    if (current_ != nullptr) {
        current_->kill();
    }
}

std::optional<zvm::process::ProcessMark> StepJob::group() const {
    return current_ != nullptr ? current_->group() : std::nullopt;
}
