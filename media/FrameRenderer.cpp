#include "FrameRenderer.h"

#include "CommandLine.h"
#include "ProcessRun.h"
#include "Services.h"

#include <QFileInfo>
#include <QTimer>

namespace {
// The encoder the box names, or the ffmpeg on the search path when it names none.
QString EncoderFor(const QString& encoder) {
    const QString named = FindEncoderProgram(encoder);
    return named.isEmpty() ? FindEncoderProgram(QStringLiteral("ffmpeg")) : named;
}
} // namespace

FrameRenderer::FrameRenderer(QObject* parent) : QObject(parent) {}

QStringList FrameRenderer::Arguments(const QString& source, double seconds,
                                     const zvm::FrameGeometry& geometry) {
    // -ss before -i seeks in the input, which is fast; "-i" keeps a path with a leading dash a file.
    return {"-v",
            "error",
            "-nostdin",
            "-ss",
            QString::number(seconds, 'f', 3),
            "-i",
            source,
            "-frames:v",
            "1",
            "-vf",
            QString::fromStdString(zvm::ScaleAndPadFilter(geometry)),
            "-f",
            "image2pipe",
            "-c:v",
            "png",
            "-"};
}

void FrameRenderer::render(const QString& encoder, const QString& source, double seconds,
                           const zvm::FrameGeometry& geometry) {
    if (run_ != nullptr) {
        run_->cancel(); // a newer request ends the older one, whose result never arrives
        run_->deleteLater();
        run_ = nullptr;
    }
    const QString program = EncoderFor(encoder);
    const QString reason = !QFileInfo(source).isFile() ? tr("the source video %1 was not found").arg(source)
                           : program.isEmpty()         ? tr("no ffmpeg was found to render a frame")
                                                       : QString();
    if (!reason.isEmpty()) {
        QTimer::singleShot(0, this, [this, reason] { emit failed(reason); });
        return;
    }
    run_ = new ProcessRun(kTimeoutMilliseconds, this);
    connect(run_, &ProcessRun::done, this, &FrameRenderer::read);
    run_->start(program, Arguments(source, seconds, geometry));
}

void FrameRenderer::read(const ProcessResult& result) {
    if (result.succeeded() && !result.out.isEmpty()) {
        emit rendered(result.out);
        return;
    }
    const QString why = QString::fromLocal8Bit(result.err).trimmed();
    emit failed(result.timedOut  ? tr("ffmpeg took too long to render the frame")
                : !why.isEmpty() ? why
                                 : tr("ffmpeg rendered no frame at this moment"));
}
