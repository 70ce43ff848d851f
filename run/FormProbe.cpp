#include "FormProbe.h"

#include "ProcessRun.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimer>

namespace {
// Options of the classic command that today's encoders no longer know.
const QStringList kQuestion{"-hq",      "-me",       "epzs", "-padtop", "0",        "-padbottom", "0",
                            "-padleft", "0",         "-padright", "0",   "-version"};

QString CacheKey(const QString& program) {
    const QFileInfo file(program);
    return file.canonicalFilePath() + QLatin1Char('\n') + QString::number(file.lastModified().toMSecsSinceEpoch());
}
} // namespace

zvm::EncoderAnswer ReadClassicReply(int exitCode, const QByteArray& output) {
    if (output.contains("Unrecognized option") || output.contains("Option not found")) {
        return zvm::EncoderAnswer::Rejects;
    }
    return exitCode == 0 && output.contains("version") ? zvm::EncoderAnswer::Accepts : zvm::EncoderAnswer::Unknown;
}

FormProbe::FormProbe(QObject* parent, int timeoutMilliseconds) : QObject(parent), timeout_(timeoutMilliseconds) {}

void FormProbe::ask(const QString& program) {
    const QString key = CacheKey(program);
    if (const auto known = known_.constFind(key); known != known_.constEnd()) {
        QTimer::singleShot(0, this, [this, program, answer = *known] { emit answered(program, answer); });
        return;
    }
    auto* run = new ProcessRun(timeout_, this);
    connect(run, &ProcessRun::done, this, [this, run, program, key](const ProcessResult& result) {
        const zvm::EncoderAnswer answer = result.started && !result.timedOut
                                              ? ReadClassicReply(result.exitCode, result.out + result.err)
                                              : zvm::EncoderAnswer::Unknown;
        if (answer != zvm::EncoderAnswer::Unknown) {
            known_.insert(key, answer); // a time-out may pass; it is asked again next time
        }
        run->deleteLater();
        emit answered(program, answer);
    });
    run->start(program, kQuestion);
}
