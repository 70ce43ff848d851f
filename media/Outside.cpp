#include "media/Outside.h"

#include "core/CommandLine.h"
#include "process/EncoderProcess.h"
#include "media/FormProbe.h"
#include "media/OutputCheck.h"
#include "media/MediaWorker.h"
#include "process/ProgramLookup.h"
#include "process/Spawn.h"
#include "files/TextCrossing.h"
#include "core/Text.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <filesystem>

namespace zvm::media {

namespace {
// The program the encoder box's text names (see FindEncoder), or an empty text.
QString EncoderProgram(const QString& encoder) {
    const auto program = process::FindEncoder(files::PathToStd(encoder), process::ProgramFinder::FromSystem());
    return program ? files::PathToQString(*program) : QString();
}

constexpr int kProbeMilliseconds = 10000;
constexpr int kFrameMilliseconds = 15000;

// The shared media reader may have been started in another current folder than the one a relative
// name is meant in: it is always given the name made absolute here.
// Joined as bytes: a name that is not UTF-8 must reach the reader as it is.
std::string ReaderPath(const QString& path) {
    std::string name = files::PathToStd(path);
    std::error_code failed;
    const std::filesystem::path here = name.empty() || name.front() == '/' ? std::filesystem::path()
                                                                          : std::filesystem::current_path(failed);
    return here.empty() || failed ? name : (here / name).string();
}

wire::Message Probe(const QString& path) {
    return wire::Message().add("request", "probe").add("path", ReaderPath(path));
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

wire::Message FrameRequest(const QString& file, double seconds, const std::string& filter) {
    wire::Message request;
    request.add("request", "frame").add("path", ReaderPath(file));
    request.add("seconds", QString::number(seconds, 'f', 3).toStdString()).add("filter", filter);
    return request;
}

RenderedFrame Rendered(const Result<wire::Message>& answer) {
    return answer.ok() ? RenderedFrame{QByteArray::fromStdString(answer.value().get("png")), {},
                                       answer.value().get("exact") != "0"}
                       : RenderedFrame{{}, answer.status()};
}
} // namespace

Result<std::unique_ptr<EncoderJob>>
RealOutside::startEncoder(const QString& commandLine, const QString& encoder, process::Lifetime lifetime) {
    const auto resolved = process::ResolveCommandLine(
        files::PathToStd(commandLine), files::PathToStd(encoder), process::ProgramFinder::FromSystem());
    if (!resolved.ok()) {
        return resolved.status(); // the looked-for program is its detail
    }
    const auto spawned = lifetime == process::Lifetime::Tied ? process::SpawnTied(resolved.value())
                                                             : process::SpawnDetached(resolved.value());
    if (!spawned.ok()) {
        return Status::Failure(FailureKind::Outside, spawned.status().text(), resolved.value().program);
    }
    return std::unique_ptr<EncoderJob>(
        std::make_unique<EncoderProcess>(spawned.value().pid, spawned.value().logFd));
}

void RealOutside::detectSize(const QString& video, std::function<void(const SizeDetection&)> done) {
    if (video.isEmpty()) {
        QTimer::singleShot(0, QCoreApplication::instance(), [done = std::move(done)] {
            done({std::nullopt, Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "no video is named")), {}});
        });
        return;
    }
    MediaWorker::Shared().ask(
        Probe(video), kProbeMilliseconds,
        [done = std::move(done)](const Result<wire::Message>& answer) { done(ReadSize(answer)); });
}

void RealOutside::lookAtPicture(const QString& video, std::function<void(const PictureLook&)> done) {
    wire::Message request;
    request.add("request", "look").add("path", ReaderPath(video));
    // A dozen seeks and decodes: longer than a probe.
    MediaWorker::Shared().ask(std::move(request), 3 * kProbeMilliseconds,
                              [done = std::move(done)](const Result<wire::Message>& answer) { done(ReadLook(answer)); });
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

void RealOutside::askH264(const QString& encoder, std::function<void(H264Answer)> done) {
    const QString program = EncoderProgram(encoder);
    if (program.isEmpty()) {
        QTimer::singleShot(0, QCoreApplication::instance(),
                           [done = std::move(done)] { done(H264Answer::Unknown); });
        return;
    }
    OneShot<FormProbe>(&FormProbe::h264Answered, std::move(done))->askH264(program);
}

void RealOutside::expectReads() {
    MediaWorker::Shared().startEarly();
}

void RealOutside::checkOutput(const QString& output, const OutputTarget& target, const SourceFacts& source,
                              std::function<void(const CheckReport&)> done) {
    if (const auto missing = OutputCheck::Missing(output)) {
        QTimer::singleShot(0, QCoreApplication::instance(),
                           [done = std::move(done), report = *missing] { done(report); });
        return;
    }
    // Read through every packet, for the fullest second and the B-frames: longer than a probe.
    MediaWorker::Shared().ask(
        Probe(output).add("whole", "1"), 3 * kProbeMilliseconds,
        [done = std::move(done), target, source, output](const Result<wire::Message>& answer) {
            if (answer.ok()) {
                ProbedOutput file = ReadOutput(answer.value());
                std::error_code unknown;
                const auto bytes = std::filesystem::file_size(files::PathToStd(output), unknown);
                file.bytes = unknown ? std::nullopt : std::optional(static_cast<double>(bytes));
                return done(OutputCheck::Judge(file, target, source));
            }
            // The worker read the file and found no video in it; anything else kept it from looking.
            done(answer.status().kind() == FailureKind::BadInput
                     ? OutputCheck::Unreadable(StatusText(answer.status()))
                     : CheckReport{CheckReport::Verdict::NotChecked,
                                   OutputCheck::tr("The output could not be checked: %1")
                                       .arg(StatusText(answer.status()))});
        });
}

// Read by the media worker through the given filter text, whatever encoder the box names. Only a
// replaceable request ends the one before it, and only it gets the keyframe's picture first.
void RealOutside::renderFrame(const FrameAsk& ask, std::function<void(const RenderedFrame&)> done) {
    MediaWorker& worker = MediaWorker::Shared();
    if (ask.replacesEarlier) {
        worker.cancel(rendering_);
        rendering_ = 0;
    }
    if (!QFileInfo(ask.file).isFile()) {
        QTimer::singleShot(0, QCoreApplication::instance(), [done = std::move(done), file = ask.file] {
            done({{}, Status::Failure(FailureKind::NotFound, ZVM_TEXT("zvm", "the source video %1 was not found"), files::PathToStd(file))});
        });
        return;
    }
    wire::Message request = FrameRequest(ask.file, ask.seconds, ask.filter);
    if (ask.replacesEarlier) {
        request.add("first", "1");
    }
    const quint64 id = worker.ask(std::move(request), kFrameMilliseconds,
                                  [done = std::move(done)](const Result<wire::Message>& answer) { done(Rendered(answer)); });
    if (ask.replacesEarlier) {
        rendering_ = id;
    }
}

} // namespace zvm::media
