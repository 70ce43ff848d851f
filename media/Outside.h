#pragma once

#include "core/CommandForm.h"
#include "process/EncoderJob.h"
#include "core/Fitting.h"
#include "media/FrameRenderer.h"
#include "media/OutputCheck.h"
#include "media/SizeProbe.h"
#include "process/Spawn.h"
#include "core/Status.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>

namespace zvm::media {

// Everything a conversion asks of the world outside this program: the encoder it starts, what it
// answers, and what the media worker reads of a video. The windows, the queue and the command-line tool all go through one of
// these, so tests put a fake in its place. Nothing waits: each answer comes later, once, to done.
// encoder is always the encoder box's text.
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
    // A video's display size and duration.
    virtual void detectSize(const QString& video, const QString& encoder,
                            std::function<void(const SizeDetection&)> done) = 0;
    // Whether the encoder knows the classic options: Unknown when the text names no program.
    virtual void askForm(const QString& encoder, std::function<void(EncoderAnswer)> done) = 0;
    // Whether it can write the later targets' H.264 files. An outside that cannot ask says Unknown.
    virtual void askH264(const QString& /*encoder*/, const std::function<void(H264Answer)>& done) {
        done(H264Answer::Unknown);
    }
    // Reads a finished file and compares it with what its command asked for.
    virtual void checkOutput(const QString& output, const QString& encoder, const OutputTarget& target,
                             const SourceFacts& source, std::function<void(const CheckReport&)> done) = 0;
    // One frame of the source at `seconds`, through the command's scale and pad. done may first get
    // the nearest earlier keyframe's picture (exact false), at once, then the exact frame or why there
    // is none. One at a time: a newer request ends the one still running, whose done is not called again.
    virtual void renderFrame(const QString& encoder, const QString& source, double seconds,
                             const FrameGeometry& geometry,
                             std::function<void(const RenderedFrame&)> done) = 0;
    // The same through a whole picture filter instead of the scale and pad alone: the command's, with
    // its subtitles. An outside that cannot take one renders through the scale and pad.
    virtual void renderFrameThrough(const QString& encoder, const QString& source, double seconds,
                                    const FrameGeometry& geometry, const std::string& /*filter*/,
                                    std::function<void(const RenderedFrame&)> done) {
        renderFrame(encoder, source, seconds, geometry, std::move(done));
    }
    // The exact frame of a file at `seconds` through the given scale and pad, beside renderFrame's
    // requests: it neither ends one nor is ended by one (the queue's small pictures of finished files
    // while the preview shows frames). An outside with one frame path renders it there.
    virtual void renderStill(const QString& encoder, const QString& file, double seconds,
                             const FrameGeometry& geometry, std::function<void(const RenderedFrame&)> done) {
        renderFrame(encoder, file, seconds, geometry, std::move(done));
    }
};

// The real thing: the encoder started as its own program; sizes, checks and frames read by the media
// worker (see MediaWorker), which this program starts on first need.
class RealOutside : public Outside {
public:
    Result<std::unique_ptr<EncoderJob>> startEncoder(const QString& commandLine, const QString& encoder,
                                                     process::Lifetime lifetime) override;
    void detectSize(const QString& video, const QString& encoder,
                    std::function<void(const SizeDetection&)> done) override;
    void askForm(const QString& encoder, std::function<void(EncoderAnswer)> done) override;
    void askH264(const QString& encoder, const std::function<void(H264Answer)>& done) override;
    void checkOutput(const QString& output, const QString& encoder, const OutputTarget& target,
                     const SourceFacts& source, std::function<void(const CheckReport&)> done) override;
    void renderFrame(const QString& encoder, const QString& source, double seconds,
                     const FrameGeometry& geometry, std::function<void(const RenderedFrame&)> done) override;
    void renderFrameThrough(const QString& encoder, const QString& source, double seconds,
                            const FrameGeometry& geometry, const std::string& filter,
                            std::function<void(const RenderedFrame&)> done) override;
    void renderStill(const QString& encoder, const QString& file, double seconds, const FrameGeometry& geometry,
                     std::function<void(const RenderedFrame&)> done) override;

private:
    quint64 rendering_ = 0; // the media worker's number for the frame still asked for
};

} // namespace zvm::media
