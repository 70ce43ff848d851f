#include "Outside.h"

#include "EncoderProcess.h"
#include "FormProbe.h"
#include "ProgramLookup.h"
#include "Spawn.h"
#include "TextCrossing.h"

#include <QCoreApplication>
#include <QTimer>

namespace zvm::media {

namespace {
// The program the encoder box's text names (see FindEncoder), or an empty text.
QString EncoderProgram(const QString& encoder) {
    const auto program = process::FindEncoder(files::PathToStd(encoder), process::ProgramFinder::FromSystem());
    return program ? files::PathToQString(*program) : QString();
}

// A one-shot helper owned by the application, so that one still running at exit is ended with it.
template <class Helper, class Signal, class Done> Helper* OneShot(Signal signal, Done done) {
    auto* helper = new Helper(QCoreApplication::instance());
    QObject::connect(helper, signal, helper, [helper, done = std::move(done)](const auto& result) {
        done(result);
        helper->deleteLater();
    });
    return helper;
}
} // namespace

Result<std::unique_ptr<EncoderJob>> RealOutside::startEncoder(const QString& commandLine,
                                                              const QString& encoder) {
    const auto resolved = process::ResolveCommandLine(files::PathToStd(commandLine), files::PathToStd(encoder),
                                                      process::ProgramFinder::FromSystem());
    if (!resolved.ok()) {
        return resolved.status(); // the looked-for program is its detail
    }
    const auto spawned = process::SpawnDetached(resolved.value());
    if (!spawned.ok()) {
        return Status::Failure(FailureKind::Outside, spawned.status().text(), resolved.value().program);
    }
    return std::unique_ptr<EncoderJob>(std::make_unique<EncoderProcess>(spawned.value().pid, spawned.value().logFd));
}

void RealOutside::detectSize(const QString& video, const QString& encoder,
                             std::function<void(const SizeDetection&)> done) {
    OneShot<SizeProbe>(&SizeProbe::finished, std::move(done))->start(video, encoder);
}

void RealOutside::askForm(const QString& encoder, std::function<void(EncoderAnswer)> done) {
    const QString program = EncoderProgram(encoder);
    if (program.isEmpty()) {
        QTimer::singleShot(0, QCoreApplication::instance(),
                           [done = std::move(done)] { done(EncoderAnswer::Unknown); });
        return;
    }
    OneShot<FormProbe>(&FormProbe::answered, std::move(done))->ask(program);
}

void RealOutside::askH264(const QString& encoder, const std::function<void(H264Answer)>& done) {
    const QString program = EncoderProgram(encoder);
    if (program.isEmpty()) {
        QTimer::singleShot(0, QCoreApplication::instance(), [done] { done(H264Answer::Unknown); });
        return;
    }
    OneShot<FormProbe>(&FormProbe::h264Answered, done)->askH264(program);
}

void RealOutside::checkOutput(const QString& output, const QString& encoder, const OutputTarget& target,
                              const SourceFacts& source, std::function<void(const CheckReport&)> done) {
    OneShot<OutputCheck>(&OutputCheck::checked, std::move(done))->start(output, encoder, target, source);
}

// The encoder the box names renders the frame, or the ffmpeg on the search path when it names none.
void RealOutside::renderFrame(const QString& encoder, const QString& source, double seconds,
                              const FrameGeometry& geometry, std::function<void(const RenderedFrame&)> done) {
    if (rendering_ != nullptr) {
        rendering_->cancel();
        rendering_->deleteLater();
    }
    const QString named = EncoderProgram(encoder);
    rendering_ = OneShot<FrameRenderer>(&FrameRenderer::finished, std::move(done));
    rendering_->render(named.isEmpty() ? EncoderProgram(QStringLiteral("ffmpeg")) : named, source, seconds,
                       geometry);
}

} // namespace zvm::media
