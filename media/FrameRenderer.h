#pragma once

#include "core/Fitting.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class ProcessRun;
struct ProcessResult;

// One preview frame as PNG, or why there is none.
struct RenderedFrame {
    QByteArray png;
    QString error;     // empty when there is a frame
    bool exact = true; // false for the nearest earlier keyframe's picture, shown until the frame comes
};

// One frame of a source, rendered by the encoder through the very scale-and-pad filter the modern
// command carries, as PNG on the encoder's standard output: nothing is written to disk.
class FrameRenderer : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimeoutMilliseconds = 15000;

    explicit FrameRenderer(QObject* parent = nullptr);

    // program is the encoder to render with, empty when none was found.
    void render(const QString& program, const QString& source, double seconds,
                const zvm::FrameGeometry& geometry);
    // Ends the render at once; its result never arrives.
    void cancel();

    // The arguments for one frame at `seconds`, PNG to standard output.
    static QStringList Arguments(const QString& source, double seconds, const zvm::FrameGeometry& geometry);

signals:
    void finished(const RenderedFrame& frame);

private:
    void read(const ProcessResult& result);

    ProcessRun* run_;
    bool cancelled_ = false;
};
