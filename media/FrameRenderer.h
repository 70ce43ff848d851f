#pragma once

#include "Fitting.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class ProcessRun;
struct ProcessResult;

// One frame of a source, rendered by the encoder through the very scale-and-pad filter the modern
// command carries, as PNG on the encoder's standard output: nothing is written to disk. A newer
// request cancels the one still running.
class FrameRenderer : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimeoutMilliseconds = 15000;

    explicit FrameRenderer(QObject* parent = nullptr);

    // encoder is the encoder box's text; the ffmpeg on the search path stands in when it names no
    // program.
    void render(const QString& encoder, const QString& source, double seconds,
                const zvm::FrameGeometry& geometry);

    // The arguments for one frame at `seconds`, PNG to standard output.
    static QStringList Arguments(const QString& source, double seconds, const zvm::FrameGeometry& geometry);

signals:
    void rendered(const QByteArray& png);
    void failed(const QString& reason);

private:
    void read(const ProcessResult& result);

    ProcessRun* run_ = nullptr;
};
