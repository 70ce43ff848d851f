#pragma once

// ffprobe's and ffmpeg's own readings, against which the media worker's answers are checked: what
// the worker reads of a file must be what those programs read of it.
#include "core/CommandLine.h"
#include "core/OutputTarget.h"
#include "media/Answers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace oracle {

// ffprobe's arguments for the size a file manager's probe reads of its first video stream.
inline QStringList SizeArguments(const QString& file) {
    return {"-v", "error", "-select_streams", "v:0", "-show_entries",
            "stream=width,height,sample_aspect_ratio:stream_tags=rotate:stream_side_data=rotation:format=duration",
            "-of", "json", "-i", file};
}

// ffmpeg's arguments for one frame at `seconds` through a filter, PNG on its standard output.
inline QStringList FrameArguments(const QString& file, double seconds, const std::string& filter) {
    return {"-v", "error", "-nostdin", "-ss", QString::number(seconds, 'f', 3), "-i", file, "-frames:v", "1",
            "-vf", QString::fromStdString(filter), "-f", "image2pipe", "-c:v", "png", "-"};
}

// "32:27", "30000/1001" or a plain number; nothing for a missing, zero or malformed one.
inline std::optional<double> PositiveRatio(const QString& text, QChar separator) {
    const QStringList parts = text.split(separator);
    bool numOk = false;
    bool denOk = parts.size() == 1;
    const double num = parts.value(0).toDouble(&numOk);
    const double den = parts.size() == 2 ? parts[1].toDouble(&denOk) : 1.0;
    return numOk && denOk && num > 0 && den > 0 ? std::optional(num / den) : std::nullopt;
}

// The display size of SizeArguments' answer: the stored width times the sample aspect, turned for a
// quarter rotation; the stored size and aspect; the container's duration.
inline SizeDetection ParseProbeOutput(const QByteArray& json) {
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    const QJsonArray streams = root.value("streams").toArray();
    const QJsonObject stream = streams.first().toObject();
    const int width = stream.value("width").toInt();
    const int height = stream.value("height").toInt();
    if (streams.isEmpty() || width <= 0 || height <= 0) {
        return {std::nullopt, zvm::Status::Failure(zvm::FailureKind::BadInput, "no size"), {}};
    }
    const QStringList sar = stream.value("sample_aspect_ratio").toString().split(':');
    int num = sar.value(0).toInt();
    int den = sar.value(1).toInt();
    if (num <= 0 || den <= 0) {
        num = den = 1;
    }
    const QSize aspect(num / std::gcd(num, den), den / std::gcd(num, den));
    QSize size(static_cast<int>(std::lround(double(width) * aspect.width() / aspect.height())), height);
    int rotation = stream.value("tags").toObject().value("rotate").toString().toInt();
    for (const auto& data : stream.value("side_data_list").toArray()) {
        if (data.toObject().value("rotation").isDouble()) {
            rotation = static_cast<int>(std::lround(data.toObject().value("rotation").toDouble()));
        }
    }
    if (const int turns = ((rotation % 360) + 360) % 360; turns == 90 || turns == 270) {
        size.transpose();
    }
    bool known = false;
    const double duration = root.value("format").toObject().value("duration").toString().toDouble(&known);
    return {size, {}, known && duration > 0 ? std::optional(duration) : std::nullopt, QSize(width, height), aspect};
}

// What ffprobe's JSON says of a file's first video and audio streams and its container.
inline zvm::ProbedOutput ParseOutputProbe(const QByteArray& json) {
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    QJsonObject video;
    QJsonObject audio;
    for (const auto& stream : root.value("streams").toArray()) {
        QJsonObject& kind = stream.toObject().value("codec_type").toString() == "video" ? video : audio;
        if (kind.isEmpty()) {
            kind = stream.toObject();
        }
    }
    const auto number = [](const QJsonValue& value) {
        bool ok = false;
        const double n = value.isDouble() ? value.toDouble() : value.toString().toDouble(&ok);
        return value.isDouble() || ok ? std::optional(n) : std::nullopt;
    };
    const auto whole = [](const QJsonValue& value) {
        return value.isDouble() ? std::optional(value.toInt()) : std::nullopt;
    };
    zvm::ProbedOutput file;
    file.width = whole(video.value("width"));
    file.height = whole(video.value("height"));
    file.videoCodec = video.value("codec_name").toString().toStdString();
    file.frameRate = PositiveRatio(video.value("r_frame_rate").toString(), '/');
    file.audioCodec = audio.value("codec_name").toString().toStdString();
    file.sampleRate = number(audio.value("sample_rate"));
    file.channels = whole(audio.value("channels"));
    file.duration = number(root.value("format").toObject().value("duration"));
    return file;
}

// ffprobe's arguments for the first video stream's time base and packets.
inline QStringList PacketArguments(const QString& file) {
    return {"-v", "error", "-select_streams", "v:0", "-show_entries", "stream=time_base:packet=pts,dts,size",
            "-of", "json", "-i", file};
}

// From ffprobe's packets: the kbit of the video's fullest second (each second that ends at a packet's
// decoding time) and whether a packet is shown before one decoded earlier: "1849.46 kbit, B-frames 0".
inline QString PacketFacts(const QByteArray& json) {
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    const QStringList base = root["streams"].toArray().first().toObject()["time_base"].toString().split('/');
    const qint64 second = base.value(1).toLongLong() / std::max<qint64>(1, base.value(0).toLongLong());
    QList<std::pair<qint64, qint64>> packets; // decoding time, bytes
    qint64 latestShown = std::numeric_limits<qint64>::min();
    bool reordered = false;
    for (const auto& value : root["packets"].toArray()) {
        const QJsonObject packet = value.toObject();
        packets.append({packet["dts"].toInteger(), packet["size"].toString().toLongLong()});
        reordered = reordered || packet["pts"].toInteger() < latestShown;
        latestShown = std::max(latestShown, packet["pts"].toInteger());
    }
    qint64 fullest = 0;
    for (const auto& [end, bytes] : packets) {
        qint64 sum = 0;
        for (const auto& [time, size] : packets) {
            sum += time > end - second && time <= end ? size : 0;
        }
        fullest = std::max(fullest, sum);
    }
    return QString("%1 kbit, B-frames %2").arg(static_cast<double>(fullest) * 8 / 1000).arg(int(reordered));
}

} // namespace oracle
