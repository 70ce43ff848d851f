#include "media/FrameRenderer.h"

#include "core/CommandLine.h"
#include "process/ProcessRun.h"

#include <QFileInfo>
#include <QTimer>

FrameRenderer::FrameRenderer(QObject* parent)
    : QObject(parent), run_(new ProcessRun(kTimeoutMilliseconds, this)) {
    connect(run_, &ProcessRun::done, this, &FrameRenderer::read);
}

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

void FrameRenderer::render(const QString& program, const QString& source, double seconds,
                           const zvm::FrameGeometry& geometry) {
    const QString reason = !QFileInfo(source).isFile() ? tr("the source video %1 was not found").arg(source)
                           : program.isEmpty()         ? tr("no ffmpeg was found to render a frame")
                                                       : QString();
    if (!reason.isEmpty()) {
        QTimer::singleShot(0, this, [this, reason] {
            if (!cancelled_) {
                emit finished({{}, reason});
            }
        });
        return;
    }
    run_->start(program, Arguments(source, seconds, geometry));
}

void FrameRenderer::cancel() {
    cancelled_ = true;
    run_->cancel();
}

void FrameRenderer::read(const ProcessResult& result) {
    if (result.succeeded() && !result.out.isEmpty()) {
        emit finished({result.out, {}});
        return;
    }
    const QString why = QString::fromLocal8Bit(result.err).trimmed();
    emit finished({{},
                   result.timedOut  ? tr("ffmpeg took too long to render the frame")
                   : !why.isEmpty() ? why
                                    : tr("ffmpeg rendered no frame at this moment")});
}
