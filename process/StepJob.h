#pragma once

#include "process/EncoderJob.h"
#include "core/Status.h"


#include <cstddef>
#include <functional>
#include <memory>

// Several programs run one after another as one job: each step starts when the one before it ended
// well, and the first that fails or is stopped ends the whole with its own exit. Output of every step
// arrives as the job's. `finally` runs exactly once, when the whole has ended however it ended, or
// when the job goes while a step still runs: what the steps shared (their logs) is removed then.
// A check before a later step may refuse it: the job then ends there, as one whose step could not
// be started, and says why.
class StepJob final : public EncoderJob {
    Q_OBJECT

public:
    using Start = std::function<zvm::Result<std::unique_ptr<EncoderJob>>(std::size_t step)>;
    using Check = std::function<zvm::Status(std::size_t step)>;
    // The exit code of a run whose later step could not be started, as a shell gives it.
    static constexpr int kStepNotStarted = 127;

    StepJob(std::size_t steps, Start start, std::function<void()> finally, QObject* parent = nullptr);
    ~StepJob() override;
    StepJob(const StepJob&) = delete;
    StepJob& operator=(const StepJob&) = delete;

    // Asked before each step after the first, once the one before ended well.
    void checkBefore(Check check) { check_ = std::move(check); }
    // Why a check refused the next step; ok otherwise.
    const zvm::Status& refusal() const { return refusal_; }

    // Starts the first step; a failure to do so is returned and nothing runs (finally has run).
    zvm::Status begin();

    bool isRunning() const override { return current_ != nullptr && current_->isRunning(); }
    void stop() override;
    void kill() override;
    std::optional<zvm::process::ProcessMark> group() const override;
    std::size_t stepCount() const override { return steps_; }
    // The step that runs, or the last that ran.
    EncoderJob* current() const { return current_.get(); }

private:
    zvm::Status startStep();
    void stepEnded(int exitCode, int signal);
    void finish();

    std::size_t steps_;
    std::size_t step_ = 0;
    Start start_;
    Check check_;
    zvm::Status refusal_;
    std::function<void()> finally_;
    std::unique_ptr<EncoderJob> current_;
    bool stopRequested_ = false;
};
