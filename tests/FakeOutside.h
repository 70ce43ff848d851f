#pragma once

#include "media/Outside.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// An encoder that runs until the test ends it by emitting finished, or, with endsOnStop, until it
// is asked to stop.
class FakeJob final : public EncoderJob {
    Q_OBJECT

public:
    bool isRunning() const override { return running; }
    void stop() override {
        stopCalls++;
        if (stops != nullptr) {
            ++*stops;
        }
        if (endsOnStop) { // as an encoder that stops when asked
            running = false;
            QMetaObject::invokeMethod(
                this, [this] { emit finished(255, 0); }, Qt::QueuedConnection);
        }
    }

    void kill() override { stop(); }

    bool running = true;
    bool endsOnStop = false;
    int stopCalls = 0;
    int* stops = nullptr; // counts on after the job is gone
};

// Records every call to the outside. Starts give a FakeJob, fail with startFailure, or, with
// startsForReal, start the program for real; every other answer waits in its pending list until the
// test gives it, in any order.
class FakeOutside final : public zvm::media::Outside {
public:
    zvm::Result<std::unique_ptr<EncoderJob>> startEncoder(const QString& commandLine, const QString& encoder,
                                                          zvm::process::Lifetime lifetime) override {
        started.append(commandLine);
        if (startFailure) {
            return *startFailure;
        }
        if (startsForReal) {
            return real_.startEncoder(commandLine, encoder, lifetime);
        }
        auto job = std::make_unique<FakeJob>();
        job->endsOnStop = jobsEndOnStop;
        job->stops = &stops;
        lastJob = job.get();
        jobs.append(job.get());
        return std::unique_ptr<EncoderJob>(std::move(job));
    }

    void detectSize(const QString& video, const QString&,
                    std::function<void(const SizeDetection&)> done) override {
        detections.append(video);
        pendingDetections.append(std::move(done));
    }

    // Answers at once with formAnswer, as a remembered answer comes; with formAnswersWhenTold, the
    // question waits in pendingForms until the test answers it.
    void askForm(const QString& encoder, std::function<void(zvm::EncoderAnswer)> done) override {
        formQuestions.append(encoder);
        if (formAnswersWhenTold) {
            pendingForms.append(std::move(done));
            return;
        }
        done(formAnswer);
    }

    void askH264(const QString&, const std::function<void(zvm::H264Answer)>& done) override { done(h264Answer); }

    void checkOutput(const QString& output, const QString&, const zvm::OutputTarget& target,
                     const zvm::SourceFacts& source, std::function<void(const CheckReport&)> done) override {
        checks.append({output, target.screen, source});
        pendingChecks.append(std::move(done));
    }

    // As the real one: a newer request replaces the one not yet answered.
    void renderFrame(const QString&, const QString& source, double seconds,
                     const zvm::FrameGeometry& geometry,
                     std::function<void(const RenderedFrame&)> done) override {
        renders.append({source, seconds, geometry, {}});
        pendingRender = std::move(done);
    }

    // As renderFrame, with the picture filter kept.
    void renderFrameThrough(const QString& encoder, const QString& source, double seconds,
                            const zvm::FrameGeometry& geometry, const std::string& filter,
                            std::function<void(const RenderedFrame&)> done) override {
        renderFrame(encoder, source, seconds, geometry, std::move(done));
        renders.last().filter = QString::fromStdString(filter);
    }

    QStringList started;
    std::optional<zvm::Status> startFailure;
    bool startsForReal = false;
    FakeJob* lastJob = nullptr;
    QList<QPointer<FakeJob>> jobs; // every fake job started, in order

    bool jobsEndOnStop = false;
    int stops = 0;

    QStringList detections;
    QList<std::function<void(const SizeDetection&)>> pendingDetections;

    QStringList formQuestions;
    zvm::EncoderAnswer formAnswer = zvm::EncoderAnswer::Unknown;
    bool formAnswersWhenTold = false;
    QList<std::function<void(zvm::EncoderAnswer)>> pendingForms;
    zvm::H264Answer h264Answer = zvm::H264Answer::Unknown;

    struct Check {
        QString output;
        std::string screen;
        zvm::SourceFacts source;
    };
    QList<Check> checks;
    QList<std::function<void(const CheckReport&)>> pendingChecks;

    struct Render {
        QString source;
        double seconds = 0;
        zvm::FrameGeometry geometry;
        QString filter; // through renderFrameThrough
    };
    QList<Render> renders;
    std::function<void(const RenderedFrame&)> pendingRender;

private:
    zvm::media::RealOutside real_;
};
