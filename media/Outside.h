#pragma once

#include "core/CommandForm.h"
#include "core/Status.h"
#include "media/Answers.h"
#include "process/EncoderJob.h"
#include "process/Spawn.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>

namespace zvm::media {

// One frame asked of a file: the moment, and the whole picture filter it goes through (the
// command's, or ScaleAndPadFilter of a geometry). A request that replacesEarlier ends the one of its
// kind still pending, whose done is then never called, and may first get the nearest earlier
// keyframe's picture (exact false): the preview following a slider. One that does not stands beside
// them, neither ending one nor ended by one: the queue's small pictures of finished files.
struct FrameAsk {
    QString file;
    double seconds = 0;
    std::string filter;
    bool replacesEarlier = true;
};

// Everything a conversion asks of the world outside this program: the encoder it starts, what it
// answers, and what the media worker reads of a video. The windows, the queue and the command-line
// tool all go through one of these, so tests put a fake in its place. Nothing waits: each answer
// comes later, once, to done. encoder is always the encoder box's text.
class Outside {
public:
    Outside() = default;
    virtual ~Outside() = default;
    Outside(const Outside&) = delete;
    Outside& operator=(const Outside&) = delete;

    // Starts one command line without a shell, and returns at once with the job that follows it: an
    // Independent program outlives this one, a Tied one ends with the calling thread (call it from the
    // GUI thread). The line's program is the encoder's when the line begins with its text. A failure's
    // detail is the program that was looked for (empty when the line names none).
    virtual Result<std::unique_ptr<EncoderJob>>
    startEncoder(const QString& commandLine, const QString& encoder, process::Lifetime lifetime) = 0;
    // Whether the encoder knows the classic options: Unknown when the text names no program.
    virtual void askForm(const QString& encoder, std::function<void(EncoderAnswer)> done) = 0;
    // Whether it can write the later targets' H.264 files: Unknown when the text names no program.
    virtual void askH264(const QString& encoder, std::function<void(H264Answer)> done) = 0;
    // A read or check will follow soon: whatever answers it may start now, so that its start overlaps
    // other work (an encoder's run) rather than delaying the first answer.
    virtual void expectReads() = 0;
    // A video's display size and duration.
    virtual void detectSize(const QString& video, std::function<void(const SizeDetection&)> done) = 0;
    // A look at a dozen frames of a video: its black bars and whether it is interlaced. Decodes frames,
    // so it is asked only for an automatic crop or a source whose field order is not known.
    virtual void lookAtPicture(const QString& video, std::function<void(const PictureLook&)> done) = 0;
    // Reads a finished file and compares it with what its command asked for.
    virtual void checkOutput(const QString& output, const OutputTarget& target, const SourceFacts& source,
                             std::function<void(const CheckReport&)> done) = 0;
    // One frame of a file (see FrameAsk), or why there is none.
    virtual void renderFrame(const FrameAsk& ask, std::function<void(const RenderedFrame&)> done) = 0;
};

// Forwards every question to another outside, so that a test overrides only what it fakes.
class OutsideWrapper : public Outside {
public:
    explicit OutsideWrapper(Outside& wrapped) : wrapped_(wrapped) {}

    Result<std::unique_ptr<EncoderJob>> startEncoder(const QString& commandLine, const QString& encoder,
                                                     process::Lifetime lifetime) override {
        return wrapped_.startEncoder(commandLine, encoder, lifetime);
    }
    void askForm(const QString& encoder, std::function<void(EncoderAnswer)> done) override {
        wrapped_.askForm(encoder, std::move(done));
    }
    void askH264(const QString& encoder, std::function<void(H264Answer)> done) override {
        wrapped_.askH264(encoder, std::move(done));
    }
    void expectReads() override { wrapped_.expectReads(); }
    void detectSize(const QString& video, std::function<void(const SizeDetection&)> done) override {
        wrapped_.detectSize(video, std::move(done));
    }
    void lookAtPicture(const QString& video, std::function<void(const PictureLook&)> done) override {
        wrapped_.lookAtPicture(video, std::move(done));
    }
    void checkOutput(const QString& output, const OutputTarget& target, const SourceFacts& source,
                     std::function<void(const CheckReport&)> done) override {
        wrapped_.checkOutput(output, target, source, std::move(done));
    }
    void renderFrame(const FrameAsk& ask, std::function<void(const RenderedFrame&)> done) override {
        wrapped_.renderFrame(ask, std::move(done));
    }

private:
    Outside& wrapped_;
};

// The real thing: the encoder started as its own program; sizes, checks and frames read by the media
// worker (see MediaWorker), which this program starts on first need.
class RealOutside : public Outside {
public:
    Result<std::unique_ptr<EncoderJob>> startEncoder(const QString& commandLine, const QString& encoder,
                                                     process::Lifetime lifetime) override;
    void askForm(const QString& encoder, std::function<void(EncoderAnswer)> done) override;
    void askH264(const QString& encoder, std::function<void(H264Answer)> done) override;
    void expectReads() override;
    void detectSize(const QString& video, std::function<void(const SizeDetection&)> done) override;
    void lookAtPicture(const QString& video, std::function<void(const PictureLook&)> done) override;
    void checkOutput(const QString& output, const OutputTarget& target, const SourceFacts& source,
                     std::function<void(const CheckReport&)> done) override;
    void renderFrame(const FrameAsk& ask, std::function<void(const RenderedFrame&)> done) override;

private:
    quint64 rendering_ = 0; // the media worker's number for the replaceable frame still asked for
};

} // namespace zvm::media
