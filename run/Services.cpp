#include "Services.h"

#include "EncoderProcess.h"
#include "ProgramLookup.h"
#include "Spawn.h"

#include <QCoreApplication>

namespace {
std::string Bytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

// A one-shot helper owned by the application, so that one still running at exit is ended with it.
template <class Helper, class Signal, class Result>
Helper* OneShot(Signal signal, std::function<void(const Result&)> done) {
    auto* helper = new Helper(QCoreApplication::instance());
    QObject::connect(helper, signal, helper, [helper, done = std::move(done)](const Result& result) {
        done(result);
        helper->deleteLater();
    });
    return helper;
}
} // namespace

StartOutcome StartEncoder(const QString& commandLine, const QString& encoder) {
    const auto resolution =
        zvm::run::ResolveCommandLine(Bytes(commandLine), Bytes(encoder), zvm::run::ProgramFinder::FromSystem());
    StartOutcome outcome;
    outcome.program = QString::fromLocal8Bit(resolution.program);
    if (!resolution.command) {
        outcome.error = QString::fromLocal8Bit(resolution.error);
        return outcome;
    }
    const auto spawned = zvm::run::SpawnDetached(*resolution.command);
    if (!spawned.error.empty()) {
        outcome.error = QString::fromLocal8Bit(spawned.error);
        return outcome;
    }
    outcome.job = std::make_unique<EncoderProcess>(spawned.pid, spawned.logFd);
    return outcome;
}

void DetectSize(const QString& video, const QString& encoder, std::function<void(const SizeDetection&)> done) {
    OneShot<SizeProbe>(&SizeProbe::finished, std::move(done))->start(video, encoder);
}

void CheckFile(const QString& output, const QString& encoder, const zvm::OutputTarget& target,
               const zvm::SourceFacts& source, std::function<void(const CheckReport&)> done) {
    OneShot<OutputCheck>(&OutputCheck::checked, std::move(done))->start(output, encoder, target, source);
}
