#include "Services.h"

#include "EncoderProcess.h"
#include "FormProbe.h"
#include "ProgramLookup.h"
#include "Spawn.h"
#include "TextCrossing.h"

#include <QCoreApplication>
#include <QTimer>

namespace {
using zvm::files::PathToQString;
using zvm::files::PathToStd;

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

QString FindEncoderProgram(const QString& encoder) {
    const auto program =
        zvm::process::FindEncoder(PathToStd(encoder), zvm::process::ProgramFinder::FromSystem());
    return program ? PathToQString(*program) : QString();
}

StartOutcome StartEncoder(const QString& commandLine, const QString& encoder) {
    const auto resolution = zvm::process::ResolveCommandLine(PathToStd(commandLine), PathToStd(encoder),
                                                             zvm::process::ProgramFinder::FromSystem());
    StartOutcome outcome;
    outcome.program = PathToQString(resolution.program);
    if (!resolution.command) {
        outcome.error = QString::fromLocal8Bit(resolution.error);
        return outcome;
    }
    const auto spawned = zvm::process::SpawnDetached(*resolution.command);
    if (!spawned.error.empty()) {
        outcome.error = QString::fromLocal8Bit(spawned.error);
        return outcome;
    }
    outcome.job = std::make_unique<EncoderProcess>(spawned.pid, spawned.logFd);
    return outcome;
}

void DetectSize(const QString& video, const QString& encoder,
                std::function<void(const SizeDetection&)> done) {
    OneShot<SizeProbe>(&SizeProbe::finished, std::move(done))->start(video, encoder);
}

void AskForm(const QString& encoder, std::function<void(zvm::EncoderAnswer)> done) {
    const QString program = FindEncoderProgram(encoder);
    if (program.isEmpty()) {
        QTimer::singleShot(0, QCoreApplication::instance(),
                           [done = std::move(done)] { done(zvm::EncoderAnswer::Unknown); });
        return;
    }
    OneShot<FormProbe>(&FormProbe::answered, std::move(done))->ask(program);
}

void CheckFile(const QString& output, const QString& encoder, const zvm::OutputTarget& target,
               const zvm::SourceFacts& source, std::function<void(const CheckReport&)> done) {
    OneShot<OutputCheck>(&OutputCheck::checked, std::move(done))->start(output, encoder, target, source);
}
