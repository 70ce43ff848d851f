#include "SizeProbe.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cmath>

namespace {
// "32:27" to 32/27; nothing for a missing, zero or malformed ratio ("0:1", "N/A").
std::optional<double> AspectRatio(const QString& text) {
    const QStringList parts = text.split(':');
    bool numOk = false;
    bool denOk = false;
    const double num = parts.size() == 2 ? parts[0].toDouble(&numOk) : 0;
    const double den = parts.size() == 2 ? parts[1].toDouble(&denOk) : 0;
    if (!numOk || !denOk || num <= 0 || den <= 0) {
        return std::nullopt;
    }
    return num / den;
}

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
} // namespace

SizeDetection ParseProbeOutput(const QByteArray& json) {
    const QJsonArray streams = QJsonDocument::fromJson(json).object().value("streams").toArray();
    if (streams.isEmpty()) {
        return {std::nullopt, QStringLiteral("the file has no video stream")};
    }
    const QJsonObject stream = streams.first().toObject();
    const int width = stream.value("width").toInt();
    const int height = stream.value("height").toInt();
    if (width <= 0 || height <= 0) {
        return {std::nullopt, QStringLiteral("the video stream has no size")};
    }
    const double sar = AspectRatio(stream.value("sample_aspect_ratio").toString()).value_or(1.0);
    QSize size(static_cast<int>(std::lround(width * sar)), height);
    const int quarterTurns = ((Rotation(stream) % 360) + 360) % 360;
    if (quarterTurns == 90 || quarterTurns == 270) {
        size.transpose();
    }
    return {size, {}};
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

SizeProbe::SizeProbe(QObject* parent) : QObject(parent) {
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, [this] {
        process_.kill();
        finish({std::nullopt,
                QStringLiteral("ffprobe did not answer within %1 seconds").arg(kTimeoutMilliseconds / 1000)});
    });
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            finish({std::nullopt, QStringLiteral("ffprobe could not be started")});
        }
    });
    connect(&process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || exitCode != 0) {
            const QString why = QString::fromLocal8Bit(process_.readAllStandardError()).trimmed();
            finish({std::nullopt, why.isEmpty() ? QStringLiteral("ffprobe could not read the file") : why});
            return;
        }
        finish(ParseProbeOutput(process_.readAllStandardOutput()));
    });
}

void SizeProbe::start(const QString& videoPath, const QString& encoderPath) {
    if (videoPath.isEmpty()) {
        QTimer::singleShot(0, this, [this] { finish({std::nullopt, QStringLiteral("no video is named")}); });
        return;
    }
    const QString probe = FindProbe(encoderPath);
    if (probe.isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            finish({std::nullopt, QStringLiteral("ffprobe was not found")});
        });
        return;
    }
    // "-i" makes a path that begins with a dash an input, not an option. No shell is involved.
    process_.start(probe,
                   {"-v", "error", "-select_streams", "v:0", "-show_entries",
                    "stream=width,height,sample_aspect_ratio:stream_tags=rotate:stream_side_data=rotation",
                    "-of", "json", "-i", videoPath});
    timeout_.start(kTimeoutMilliseconds);
}

void SizeProbe::finish(const SizeDetection& result) {
    if (done_) {
        return;
    }
    done_ = true;
    timeout_.stop();
    emit finished(result);
}
