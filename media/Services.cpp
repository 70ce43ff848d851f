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
using zvm::files::ToQString;

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

// The outcome's error is a fixed text the window translates, or the system's own words.
StartOutcome StartEncoder(const QString& commandLine, const QString& encoder) {
    const auto resolved = zvm::process::ResolveCommandLine(PathToStd(commandLine), PathToStd(encoder),
                                                           zvm::process::ProgramFinder::FromSystem());
    StartOutcome outcome;
    if (!resolved.ok()) {
        outcome.error = ToQString(resolved.status().message());
        outcome.program = PathToQString(resolved.status().detail());
        return outcome;
    }
    outcome.program = PathToQString(resolved.value().program);
    const auto spawned = zvm::process::SpawnDetached(resolved.value());
    if (!spawned.ok()) {
        outcome.error = PathToQString(spawned.status().text());
        return outcome;
    }
    outcome.job = std::make_unique<EncoderProcess>(spawned.value().pid, spawned.value().logFd);
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
