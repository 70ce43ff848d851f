#pragma once

#include "files/TextCrossing.h"
#include "media/Answers.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <optional>

class ProcessRun;
struct ProcessResult;

// ffprobe's ratios, "32:27" or "30000/1001" (or a plain number), as a number; nothing for a missing,
// zero or malformed one ("0:1", "N/A").
std::optional<double> PositiveRatio(const QString& text, QChar separator);

// The display size of the first video stream in ffprobe's JSON output: the stored width times the
// sample aspect ratio, rounded to a whole pixel, and width and height swapped for a rotation of 90
// or 270 degrees; the stored size and aspect it came from; and the container's duration.
SizeDetection ParseProbeOutput(const QByteArray& json);

// ffprobe beside the encoder when there is one, else on the search path; empty when there is none.
QString FindProbe(const QString& encoderPath);

// A file as ffprobe's input: a relative name that would read as an option or a protocol gets "./"
// in front, as in the encoder's command; one Qt cannot pass on is reached through `held`, which
// must live as long as the probe runs.
QString ProbeInput(const QString& path, std::optional<zvm::files::ReachableName>& held);

// Runs ffprobe on one video without blocking the window, and gives up after a few seconds.
class SizeProbe : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimeoutMilliseconds = 5000;

    explicit SizeProbe(QObject* parent = nullptr);
    void start(const QString& videoPath, const QString& encoderPath);

signals:
    void finished(const SizeDetection& result);

private:
    void finishLater(const QString& error);
    void read(const ProcessResult& result);

    ProcessRun* run_;
    std::optional<zvm::files::ReachableName> input_;
};
