#pragma once

#include "core/Fitting.h"
#include "media/Answers.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class ProcessRun;
struct ProcessResult;

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
