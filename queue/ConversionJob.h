#pragma once

#include "core/ConversionRequest.h"
#include "core/OutputTarget.h"
#include "core/Status.h"
#include "files/WrittenFile.h"
#include "media/EncoderOutput.h"
#include "media/Outside.h"
#include "process/GroupWait.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zvm::queue {

// How one video's run ended.
enum class JobEnd {
    Converted,     // the encoder ended well; the after-check's verdict says how the file fits
    EncoderFailed, // the encoder ended with an exit code or was ended by a signal
    NotStarted,    // the encoder, or its second pass, could not be started or was refused
    Misfit,        // the after-check found the file missing or not fitting, and it counts as failed
    Stopped,       // stopped on request, however the encoder then ended
};

struct JobResult {
    JobEnd end = JobEnd::Converted;
    int exitCode = 0; // the encoder's; -1 with signal when a signal ended it
    int signal = 0;
    std::string log;      // the encoder's last words
    bool removed = false; // what the run wrote is gone
    Status startFailure;  // for NotStarted: Refused for a second pass its first found too few bits for
    bool checked = false; // the after-check answered
    CheckVerdict verdict = CheckVerdict::NotChecked;
    std::string checkLine;
    // Where a converted file is when that is not the asked name: its check did not pass, or the
    // last rename failed. Empty otherwise.
    std::string keptAs;
    // For EncoderFailed: what the encoder's words say went wrong (a fixed text), or empty.
    std::string cause;
};

// What one run needs: the command to start, the request it was made from (its output, encoder and
// passes), the target the after-check compares with (none: no check), and the source's duration when
// it is known.
struct JobOrder {
    std::string command;
    ConversionRequest request;
    std::optional<OutputTarget> target;
    std::optional<double> duration;
};

// One video from its start to its result, through the outside alone: its encoder started (all its
// passes) writing under a hidden partial name, followed, and once it ends its whole process group
// waited for, the output read back by the after-check, renamed to the asked name only when it
// passed (kept under a name that says so when it did not), and what a failed or stopped run wrote
// removed: the asked name is never touched by a run that fails. With misfitsFail, a file the check finds missing or not fitting is removed too, and the
// run failed. ended() comes once; the job may then be deleted (later: it is delivering the signal).
class ConversionJob final : public QObject {
    Q_OBJECT

public:
    struct Rules {
        bool misfitsFail = false;
        int groupGraceMilliseconds = process::GroupWait::kGraceMilliseconds;
    };

    ConversionJob(media::Outside& outside, JobOrder order, Rules rules, QObject* parent = nullptr);
    ~ConversionJob() override;
    ConversionJob(const ConversionJob&) = delete;
    ConversionJob& operator=(const ConversionJob&) = delete;

    // Starts the encoder, tied to the calling thread (the GUI thread, or the tool's). A failure is
    // returned, and ended() follows at once with NotStarted.
    Status start();
    // The run ends as Stopped: a running encoder is asked to stop (killed, with atOnce), what it left
    // behind is killed, a pending after-check is no longer waited for, and what the run wrote goes.
    void stop(bool atOnce = false);
    // Where the run is: its encoder runs, what that left behind is waited for, its output is checked.
    enum class Stage { Encoding, WaitingForGroup, Checking, Ended };
    Stage stage() const;
    // Its encoder, or what that left behind, still runs.
    bool encoding() const { return stage() == Stage::Encoding || stage() == Stage::WaitingForGroup; }

signals:
    // Seconds of the kept part encoded over all passes, the source's duration when known, the run's
    // seconds so far.
    void progressed(double encoded, std::optional<double> duration, double runSeconds);
    // A pass began: its encoder leads a new process group.
    // written: the hidden name the encoder writes until the file is whole (empty when it writes the
    // asked name), so a later start can remove it once the group is gone.
    void groupStarted(const zvm::process::ProcessMark& leader, const std::string& written);
    // The encoder and what it left ended well, and the output is being checked: the encoder's place
    // is free. Not for a run that ends without a check.
    void checking(const std::string& log);
    void ended(const zvm::queue::JobResult& result);

private:
    void follow(const QByteArray& bytes);
    void passStarted(std::size_t step, std::size_t steps);
    void encoderEnded(int exitCode, int signal);
    void afterEncode();
    void check();
    void checkAnswered(const CheckReport& report);
    void finish(JobResult result);
    Status notStarted(Status failure);
    void publish(JobResult& result) const;
    bool writesPartial() const { return written_ != order_.request.outputPath; }
    void announceGroup();
    std::string writingParts(const std::string& command);
    Status assembleParts() const;

    media::Outside& outside_;
    JobOrder order_;
    Rules rules_;
    std::unique_ptr<EncoderJob> encoder_;
    std::unique_ptr<process::GroupWait> groupWait_;
    media::EncoderOutput output_;
    QElapsedTimer clock_;
    std::string written_; // what the encoder writes: a partial name, or the asked one
    // A DPG's two streams, which the encoder writes under partial names and the job puts together
    // into written_; empty for every other target.
    std::vector<std::string> parts_;
    std::optional<files::FileStamp> before_; // what stood there before the encoder started
    int exitCode_ = 0;
    int signal_ = 0;
    bool stopping_ = false;
    bool checking_ = false;
    bool ended_ = false;
    // Answers of the outside may come after the job is gone: they are then dropped.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace zvm::queue
