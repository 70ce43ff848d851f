#include "media/SizeProbe.h"

#include "core/CommandLine.h"
#include "process/ProcessRun.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTimer>

#include <cmath>
#include <numeric>

namespace {

// Degrees of rotation from the display matrix side data, or from the older "rotate" tag.
int Rotation(const QJsonObject& stream) {
    const QJsonArray sideData = stream.value("side_data_list").toArray();
    for (const auto& data : sideData) {
        const QJsonValue rotation = data.toObject().value("rotation");
        if (rotation.isDouble()) {
            return static_cast<int>(std::lround(rotation.toDouble()));
        }
    }
    return stream.value("tags").toObject().value("rotate").toString().toInt();
}

// "8:9" as whole numbers in lowest terms; 1:1 for a missing, zero or malformed ratio.
QSize PixelAspect(const QString& text) {
    const QStringList parts = text.split(':');
    bool numOk = false;
    bool denOk = false;
    const int num = parts.value(0).toInt(&numOk);
    const int den = parts.value(1).toInt(&denOk);
    if (parts.size() != 2 || !numOk || !denOk || num <= 0 || den <= 0) {
        return {1, 1};
    }
    const int common = std::gcd(num, den);
    return {num / common, den / common};
}
} // namespace

std::optional<double> PositiveRatio(const QString& text, QChar separator) {
    const QStringList parts = text.split(separator);
    bool numOk = false;
    bool denOk = parts.size() == 1;
    const double num = parts.value(0).toDouble(&numOk);
    const double den = parts.size() == 2 ? parts[1].toDouble(&denOk) : 1.0;
    return numOk && denOk && num > 0 && den > 0 ? std::optional(num / den) : std::nullopt;
}

SizeDetection ParseProbeOutput(const QByteArray& json) {
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    const QJsonArray streams = root.value("streams").toArray();
    if (streams.isEmpty()) {
        return {std::nullopt, SizeProbe::tr("the file has no video stream"), {}};
    }
    const QJsonObject stream = streams.first().toObject();
    const int width = stream.value("width").toInt();
    const int height = stream.value("height").toInt();
    if (width <= 0 || height <= 0) {
        return {std::nullopt, SizeProbe::tr("the video stream has no size"), {}};
    }
    const QSize aspect = PixelAspect(stream.value("sample_aspect_ratio").toString());
    QSize size(static_cast<int>(std::lround(double(width) * aspect.width() / aspect.height())), height);
    const int quarterTurns = ((Rotation(stream) % 360) + 360) % 360;
    if (quarterTurns == 90 || quarterTurns == 270) {
        size.transpose();
    }
    bool known = false;
    const double duration = root.value("format").toObject().value("duration").toString().toDouble(&known);
    return {size, {}, known && duration > 0 ? std::optional(duration) : std::nullopt, QSize(width, height),
            aspect};
}

QString FindProbe(const QString& encoderPath) {
    if (encoderPath.contains('/')) {
        const QFileInfo encoder(encoderPath);
        const QString suffix = encoder.fileName().endsWith(".exe", Qt::CaseInsensitive) ? ".exe" : "";
        const QFileInfo beside(encoder.dir(), QStringLiteral("ffprobe") + suffix);
        if (beside.isFile() && beside.isExecutable()) {
            return beside.filePath();
        }
    }
    return QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
}

QString ProbeInput(const QString& path, std::optional<zvm::files::ReachableName>& held) {
    using zvm::files::PathToQString;
    using zvm::files::PathToStd;
    held.emplace(PathToQString(zvm::FileArgument(PathToStd(path))));
    return held->name();
}

SizeProbe::SizeProbe(QObject* parent) : QObject(parent), run_(new ProcessRun(kTimeoutMilliseconds, this)) {
    connect(run_, &ProcessRun::done, this, &SizeProbe::read);
}

void SizeProbe::finishLater(const QString& error) {
    QTimer::singleShot(0, this, [this, error] { emit finished({std::nullopt, error, {}}); });
}

void SizeProbe::start(const QString& videoPath, const QString& encoderPath) {
    if (videoPath.isEmpty()) {
        finishLater(tr("no video is named"));
        return;
    }
    const QString probe = FindProbe(encoderPath);
    if (probe.isEmpty()) {
        finishLater(tr("ffprobe was not found"));
        return;
    }
    // No shell is involved.
    run_->start(probe, {"-v", "error", "-select_streams", "v:0", "-show_entries",
                        QStringLiteral("stream=width,height,sample_aspect_ratio:stream_tags=rotate:"
                                       "stream_side_data=rotation:format=duration"),
                        "-of", "json", "-i", ProbeInput(videoPath, input_)});
}

void SizeProbe::read(const ProcessResult& result) {
    if (result.timedOut) {
        emit finished({std::nullopt,
                       tr("ffprobe did not answer within %1 seconds").arg(kTimeoutMilliseconds / 1000),
                       {}});
    } else if (!result.started) {
        emit finished({std::nullopt, tr("ffprobe could not be started"), {}});
    } else if (!result.succeeded()) {
        const QString why = QString::fromLocal8Bit(result.err).trimmed();
        emit finished({std::nullopt, why.isEmpty() ? tr("ffprobe could not read the file") : why, {}});
    } else {
        emit finished(ParseProbeOutput(result.out));
    }
}
