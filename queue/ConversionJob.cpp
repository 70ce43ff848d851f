#include "queue/ConversionJob.h"

#include "core/CommandLine.h"
#include "core/Cut.h"
#include "core/Dpg.h"
#include "core/FileSize.h"
#include "core/NumericText.h"
#include "core/Text.h"
#include "core/TwoPassFloor.h"
#include "files/DpgFile.h"
#include "files/TextCrossing.h"
#include "media/Passes.h"
#include "process/EncoderProcess.h"
#include "process/StepJob.h"

#include <QCoreApplication>

#include <filesystem>

namespace zvm::queue {

using files::PathToQString;

namespace {
// About the size the file will have, from its bitrates and the seconds kept; 0 when not known.
double ExpectedMegabytes(const JobOrder& order) {
    const ConversionRequest& r = order.request;
    const auto kept = KeptSeconds(r.cutStart, r.cutEnd, order.duration);
    const auto video = ParseNumber(r.videoBitrate);
    const auto audio = ParseNumber(r.audioBitrate);
    return kept && video && audio ? SizeForVideoBitrate(*video, *kept, *audio) : 0;
}

// The rate the output runs at: the target's, or a slower source's own where the target keeps it.
double OutputRate(const JobOrder& order) {
    const std::optional<OutputTarget> target =
        order.target ? order.target : TargetFor(order.request, CommandStyle::Modern);
    const double rate = target ? target->frameRate : 0;
    const std::optional<double> source = order.request.sourceFrameRate;
    return target && target->frameRateAtMost && source && *source > 0 ? std::min(rate, *source) : rate;
}

// Pass 2 refused before it starts when pass 1 found the bitrate too low for its rate control, which
// would otherwise abort the encoder.
media::PassOneCheck SecondPassCheck(const JobOrder& order) {
    return [request = order.request, kept = KeptSeconds(order.request.cutStart, order.request.cutEnd, order.duration),
            rate = OutputRate(order)](const std::string& statistics) {
        const std::optional<double> floor = SecondPassFloorKbps(statistics, rate);
        return floor ? CheckSecondPass(request, kept, *floor) : Status();
    };
}
} // namespace

ConversionJob::ConversionJob(media::Outside& outside, JobOrder order, Rules rules, QObject* parent)
    : QObject(parent), outside_(outside), order_(std::move(order)), rules_(rules) {}

ConversionJob::~ConversionJob() {
    *alive_ = false;
}

Status ConversionJob::start() {
    const ConversionRequest& r = order_.request;
    std::string command = writingParts(order_.command);
    written_ = r.outputPath;
    const std::string partial = files::PartialPathFor(r.outputPath);
    if (!parts_.empty()) {
        written_ = partial;
        files::RemoveWritten(written_, std::nullopt);
    } else if (auto toPartial = WritingTo(order_.command, r.outputPath, partial); toPartial && !partial.empty()) {
        command = std::move(*toPartial);
        written_ = partial;
        files::RemoveWritten(written_, std::nullopt); // a killed run's leftover, by its name alone ours
    }
    before_ = files::StampOf(written_);
    // Refused before anything starts: the encoder would only fail later, in its own words.
    if (Status room = files::RoomToWrite(written_, ExpectedMegabytes(order_)); !room.ok()) {
        return notStarted(std::move(room));
    }
    // Tied: an encoder never outlives the program, however it ends.
    auto started = media::StartEncoding(outside_, PathToQString(command), PathToQString(written_),
                                        UsesTwoPasses(r), PathToQString(r.encoderPath), process::Lifetime::Tied,
                                        media::PassFolderBase(), SecondPassCheck(order_));
    if (!started.ok()) {
        return notStarted(started.status());
    }
    encoder_ = std::move(started).value();
    output_.startPass(0, encoder_->stepCount());
    clock_.start();
    connect(encoder_.get(), &EncoderJob::outputArrived, this, &ConversionJob::follow);
    connect(encoder_.get(), &EncoderJob::stepStarted, this, &ConversionJob::passStarted);
    connect(encoder_.get(), &EncoderJob::finished, this, &ConversionJob::encoderEnded);
    announceGroup();
    if (order_.target) { // its after-check will need the media worker: it may start while this encodes
        outside_.expectReads();
    }
    return {};
}

// A DPG's streams go to partial names of their own, a killed run's leftovers of them removed first.
std::string ConversionJob::writingParts(const std::string& command) {
    const TargetPreset* preset = FindPreset(order_.request.preset);
    const std::string& output = order_.request.outputPath;
    const std::string video = dpg::VideoPartFor(output);
    const std::string audio = dpg::AudioPartFor(output);
    if (preset == nullptr || preset->container != Container::Dpg || files::PartialPathFor(output).empty()) {
        return command;
    }
    const std::optional<std::string> withAudio = WritingTo(command, audio, files::PartialPathFor(audio));
    const std::optional<std::string> withBoth =
        withAudio ? WritingPartTo(*withAudio, video, files::PartialPathFor(video)) : std::nullopt;
    if (!withBoth) {
        return command;
    }
    parts_ = {files::PartialPathFor(video), files::PartialPathFor(audio)};
    for (const std::string& part : parts_) {
        files::RemoveWritten(part, std::nullopt);
    }
    return *withBoth;
}

Status ConversionJob::assembleParts() const {
    const TargetPreset* preset = FindPreset(order_.request.preset);
    const std::optional<double> rate = ParseNumber(order_.request.sampleRate);
    return files::AssembleDpg(parts_[0], parts_[1], written_, preset != nullptr ? preset->maxFrameRate.Value() : 15.0,
                              static_cast<int>(rate.value_or(dpg::kSampleRate)));
}

Status ConversionJob::notStarted(Status failure) {
    JobResult result;
    result.end = JobEnd::NotStarted;
    result.startFailure = failure;
    finish(std::move(result));
    return failure;
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
    announceGroup();
}

void ConversionJob::announceGroup() {
    if (const auto group = encoder_->group()) {
        emit groupStarted(*group, writesPartial() ? written_ : std::string());
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
    const auto* steps = qobject_cast<StepJob*>(encoder_.get());
    if (stopping_) {
        result.end = JobEnd::Stopped;
    } else if (steps != nullptr && !steps->refusal().ok()) {
        result.end = JobEnd::NotStarted; // its second pass: what the first measured says it would fail
        result.startFailure = steps->refusal();
    } else if (exitCode_ != 0 || signal_ != 0) {
        result.end = JobEnd::EncoderFailed;
        const char* cause = output_.failureCause();
        result.cause = cause != nullptr ? cause : "";
    } else if (Status assembled = parts_.empty() ? Status() : assembleParts(); !assembled.ok()) {
        result.end = JobEnd::EncoderFailed;
        result.cause = assembled.text();
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
    outside_.checkOutput(PathToQString(written_),
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
    for (const std::string& part : parts_) { // put together or of no use: they go however the run ends
        files::RemoveWritten(part, std::nullopt);
    }
    if (result.end != JobEnd::Converted && result.end != JobEnd::NotStarted) {
        result.removed = files::RemoveWritten(written_, before_);
    } else if (result.end == JobEnd::Converted && writesPartial()) {
        publish(result);
    }
    ended_ = true;
    if (encoder_) {
        encoder_.release()->deleteLater(); // its own signal may be what ended the run
    }
    emit ended(result);
}

} // namespace zvm::queue

namespace zvm::queue {

// The asked name goes only to a file that passed its check (or needed none); one that did not, or
// could not be checked, is kept beside it under a name that says so, and the check's line tells where.
void ConversionJob::publish(JobResult& result) const {
    const bool passed = !order_.target || result.verdict == CheckVerdict::Fits;
    const std::string& asked = order_.request.outputPath;
    const std::string destination =
        passed ? files::FileNamedBy(asked)
               : files::KeptPathFor(asked, result.verdict == CheckVerdict::NotChecked ? "unchecked" : "not-fitting");
    const std::string failure = files::Publish(written_, destination);
    if (failure.empty() && passed) {
        return;
    }
    result.keptAs = failure.empty() ? destination : written_;
    const QString line = failure.empty()
                             ? QCoreApplication::translate(ZVM_TEXT_CONTEXT, ZVM_TEXT("zvm", "%1; kept as %2"))
                             : QCoreApplication::translate(
                                   ZVM_TEXT_CONTEXT, ZVM_TEXT("zvm", "%1; it could not be named so (%3) and is kept as %2"));
    const QString named = PathToQString(std::filesystem::path(result.keptAs).filename().string());
    const QString checked = files::ToQString(result.checkLine);
    result.checkLine = files::ToStd(failure.empty() ? line.arg(checked, named)
                                                    : line.arg(checked, named, files::ToQString(failure)));
}

} // namespace zvm::queue
