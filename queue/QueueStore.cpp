#include "QueueStore.h"

#include "CommandForm.h"
#include "Presets.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {
using zvm::MovieType;
using zvm::queue::QueueItem;

constexpr int kVersion = 1;

QString Text(std::string_view text) {
    return QString::fromUtf8(text);
}

QJsonObject ToJson(const QueueItem& item) {
    const zvm::ConversionRequest& r = item.request;
    QJsonObject o{{"source", Text(r.sourceVideo)},
                  {"output", Text(r.outputPath)},
                  {"encoder", Text(r.encoderPath)},
                  {"width", Text(r.width)},
                  {"height", Text(r.height)},
                  {"videoBitrate", Text(r.videoBitrate)},
                  {"audioBitrate", Text(r.audioBitrate)},
                  {"sampleRate", Text(r.sampleRate)},
                  {"preset", r.preset},
                  {"movieType", Text(zvm::MovieTypeWord(r.movieType))},
                  {"form", Text(zvm::StyleWord(item.style))},
                  {"state", Text(zvm::queue::StateWord(item.state))},
                  {"reason", Text(item.reason)},
                  {"detail", Text(item.detail)}};
    if (item.duration) {
        o.insert("duration", *item.duration);
    }
    return o;
}

// An item as kept, or nothing when the object is not one.
std::optional<QueueItem> FromJson(const QJsonObject& o) {
    const auto state = zvm::queue::StateFromWord(o.value("state").toString().toStdString());
    const int preset = o.value("preset").toInt(-1);
    const int presets = static_cast<int>(zvm::TargetPresets().size());
    if (!state || preset < 0 || preset >= presets || !o.value("source").isString() ||
        !o.value("output").isString()) {
        return std::nullopt;
    }
    QueueItem item;
    zvm::ConversionRequest& r = item.request;
    r.sourceVideo = o.value("source").toString().toStdString();
    r.outputPath = o.value("output").toString().toStdString();
    r.encoderPath = o.value("encoder").toString().toStdString();
    r.width = o.value("width").toString().toStdString();
    r.height = o.value("height").toString().toStdString();
    r.videoBitrate = o.value("videoBitrate").toString().toStdString();
    r.audioBitrate = o.value("audioBitrate").toString().toStdString();
    r.sampleRate = o.value("sampleRate").toString().toStdString();
    r.preset = preset;
    r.movieType =
        zvm::MovieTypeFromWord(o.value("movieType").toString().toStdString()).value_or(MovieType::LiveAction);
    item.style = zvm::StyleFromWord(o.value("form").toString().toStdString());
    item.state = *state;
    item.reason = o.value("reason").toString().toStdString();
    item.detail = o.value("detail").toString().toStdString();
    if (o.value("duration").isDouble()) {
        item.duration = o.value("duration").toDouble();
    }
    return item;
}

LoadedQueue SetAside(const QString& path, const QString& why) {
    const QString stem = path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = stem;
    for (int n = 2; QFile::exists(aside); ++n) {
        aside = stem + QLatin1Char('-') + QString::number(n);
    }
    QFile::rename(path, aside);
    return {
        {},
        QStringLiteral("The saved queue could not be read (%1). It was set aside as %2.").arg(why, aside)};
}
} // namespace

bool SaveQueue(const QString& path, const std::vector<QueueItem>& items, QString* error) {
    if (items.empty() && !QFile::exists(path)) {
        return true; // nothing kept, and nothing to write: no folder is made for an empty queue
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QJsonArray list;
    for (const QueueItem& item : items) {
        list.append(ToJson(item));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(QJsonObject{{"version", kVersion}, {"items", list}}).toJson()) < 0 ||
        !file.commit()) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

LoadedQueue LoadQueue(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return SetAside(path, file.errorString());
    }
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(file.read(qint64{4} * 1024 * 1024), &parse);
    file.close();
    const QJsonObject root = document.object();
    if (parse.error != QJsonParseError::NoError || root.value("version").toInt() != kVersion ||
        !root.value("items").isArray()) {
        return SetAside(path, parse.error != QJsonParseError::NoError
                                  ? parse.errorString()
                                  : QStringLiteral("not a queue of this program"));
    }
    LoadedQueue loaded;
    for (const auto& value : root.value("items").toArray()) {
        if (const auto item = FromJson(value.toObject())) {
            loaded.items.push_back(*item);
        } else {
            return SetAside(path, QStringLiteral("an item is incomplete"));
        }
    }
    return loaded;
}
