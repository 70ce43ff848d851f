#pragma once

#include "media/Outside.h"

#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTimer>

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
// startsForReal, start the program for real; the form questions are answered from the event loop;
// every other answer waits in its pending list until the test gives it, in any order.
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

    // The form and H.264 questions are answered from the event loop, never inside the call, as the
    // real encoder answers: so a caller meets the wait the user meets.
    void askForm(const QString& encoder, std::function<void(zvm::EncoderAnswer)> done) override {
        formQuestions.append(encoder);
        if (formAnswersWhenTold) { // the question waits in pendingForms until the test answers it
            pendingForms.append(std::move(done));
            return;
        }
        QTimer::singleShot(0, QCoreApplication::instance(),
                           [done = std::move(done), answer = formAnswer] { done(answer); });
    }

    void askH264(const QString& encoder, std::function<void(zvm::H264Answer)> done) override {
        h264Questions.append(encoder);
        QTimer::singleShot(0, QCoreApplication::instance(),
                           [done = std::move(done), answer = h264Answer] { done(answer); });
    }

    void expectReads() override { ++readsExpected; }

    void detectSize(const QString& video, std::function<void(const SizeDetection&)> done) override {
        detections.append(video);
        pendingDetections.append(std::move(done));
    }

    void lookAtPicture(const QString& video, std::function<void(const PictureLook&)> done) override {
        looks.append(video);
        pendingLooks.append(std::move(done));
    }

    void checkOutput(const QString& output, const zvm::OutputTarget& target, const zvm::SourceFacts& source,
                     std::function<void(const CheckReport&)> done) override {
        checks.append({output, target.screen, source});
        pendingChecks.append(std::move(done));
    }

    // As the real one: a replacing request ends the one not yet answered, a still does not.
    void renderFrame(const zvm::media::FrameAsk& ask, std::function<void(const RenderedFrame&)> done) override {
        renders.append(ask);
        if (ask.replacesEarlier) {
            pendingRender = std::move(done);
        } else {
            pendingStills.append(std::move(done));
        }
    }

    QStringList started;
    std::optional<zvm::Status> startFailure;
    bool startsForReal = false;
    FakeJob* lastJob = nullptr;
    QList<QPointer<FakeJob>> jobs; // every fake job started, in order

    bool jobsEndOnStop = false;
    int stops = 0;

    QStringList detections;
    QStringList looks;
    QList<std::function<void(const PictureLook&)>> pendingLooks;
    QList<std::function<void(const SizeDetection&)>> pendingDetections;

    QStringList formQuestions;
    QStringList h264Questions;
    bool formAnswersWhenTold = false;
    QList<std::function<void(zvm::EncoderAnswer)>> pendingForms;
    zvm::EncoderAnswer formAnswer = zvm::EncoderAnswer::Unknown;
    zvm::H264Answer h264Answer = zvm::H264Answer::Unknown;
    int readsExpected = 0;

    struct Check {
        QString output;
        std::string screen;
        zvm::SourceFacts source;
    };
    QList<Check> checks;
    QList<std::function<void(const CheckReport&)>> pendingChecks;

    QList<zvm::media::FrameAsk> renders; // every frame asked for, in order
    std::function<void(const RenderedFrame&)> pendingRender; // the replacing request still unanswered
    QList<std::function<void(const RenderedFrame&)>> pendingStills;

private:
    zvm::media::RealOutside real_;
};
