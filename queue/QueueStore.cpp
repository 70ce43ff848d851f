#include "QueueStore.h"

#include "AtomicFile.h"
#include "CommandForm.h"
#include "Presets.h"
#include "TextCrossing.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using zvm::MovieType;
using zvm::files::PathToQString;
using zvm::files::PathToStd;
using zvm::files::ToQString;
using zvm::files::ToStd;
using zvm::queue::QueueItem;

constexpr int kVersion = 1;

QJsonObject ToJson(const QueueItem& item) {
    const zvm::ConversionRequest& r = item.request;
    QJsonObject o{{"source", PathToQString(r.sourceVideo)},
                  {"output", PathToQString(r.outputPath)},
                  {"encoder", PathToQString(r.encoderPath)},
                  {"width", ToQString(r.width)},
                  {"height", ToQString(r.height)},
                  {"videoBitrate", ToQString(r.videoBitrate)},
                  {"audioBitrate", ToQString(r.audioBitrate)},
                  {"sampleRate", ToQString(r.sampleRate)},
                  {"preset", r.preset},
                  {"movieType", ToQString(zvm::MovieTypeWord(r.movieType))},
                  {"form", ToQString(zvm::StyleWord(item.style))},
                  {"state", ToQString(zvm::queue::StateWord(item.state))},
                  {"reason", ToQString(item.reason)},
                  {"detail", ToQString(item.detail)}};
    if (item.duration) {
        o.insert("duration", *item.duration);
    }
    // Written only when set: a file without them is read as before, and an older version skips them.
    if (r.fileSizeMB) {
        o.insert("fileSizeMB", *r.fileSizeMB);
    }
    if (r.twoPass) {
        o.insert("twoPass", true);
    }
    return o;
}

// An item as kept, or nothing when the object is not one.
std::optional<QueueItem> FromJson(const QJsonObject& o) {
    const auto state = zvm::queue::StateFromWord(ToStd(o.value("state").toString()));
    const int preset = o.value("preset").toInt(-1);
    if (!state || zvm::FindPreset(preset) == nullptr || !o.value("source").isString() ||
        !o.value("output").isString()) {
        return std::nullopt;
    }
    QueueItem item;
    zvm::ConversionRequest& r = item.request;
    r.sourceVideo = PathToStd(o.value("source").toString());
    r.outputPath = PathToStd(o.value("output").toString());
    r.encoderPath = PathToStd(o.value("encoder").toString());
    r.width = ToStd(o.value("width").toString());
    r.height = ToStd(o.value("height").toString());
    r.videoBitrate = ToStd(o.value("videoBitrate").toString());
    r.audioBitrate = ToStd(o.value("audioBitrate").toString());
    r.sampleRate = ToStd(o.value("sampleRate").toString());
    r.preset = preset;
    r.movieType =
        zvm::MovieTypeFromWord(ToStd(o.value("movieType").toString())).value_or(MovieType::LiveAction);
    item.style = zvm::StyleFromWord(ToStd(o.value("form").toString()));
    item.state = *state;
    item.reason = ToStd(o.value("reason").toString());
    item.detail = ToStd(o.value("detail").toString());
    if (o.value("duration").isDouble()) {
        item.duration = o.value("duration").toDouble();
    }
    if (o.value("fileSizeMB").isDouble()) {
        r.fileSizeMB = o.value("fileSizeMB").toDouble();
    }
    r.twoPass = o.value("twoPass").toBool(false);
    return item;
}

LoadedQueue SetAside(const QString& path, const QString& why) {
    const QString stem = path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = stem;
    for (int n = 2; QFile::exists(aside); ++n) {
        aside = stem + QLatin1Char('-') + QString::number(n);
    }
    if (!QFile::rename(path, aside)) {
        return {{},
                QStringLiteral("The saved queue could not be read (%1), and it could not be set aside as %2. "
                               "It is left as it is, and this run keeps no queue.")
                    .arg(why, aside),
                true};
    }
    return {{},
            QStringLiteral("The saved queue could not be read (%1). It was set aside as %2.").arg(why, aside),
            false};
}
} // namespace

zvm::Status SaveQueue(const QString& path, const std::vector<QueueItem>& items) {
    if (items.empty() && !QFile::exists(path)) {
        return {}; // nothing kept, and nothing to write: no folder is made for an empty queue
    }
    QDir().mkpath(QFileInfo(path).absolutePath()); // a folder that cannot be made fails the write
    QJsonArray list;
    for (const QueueItem& item : items) {
        list.append(ToJson(item));
    }
    const QByteArray bytes = QJsonDocument(QJsonObject{{"version", kVersion}, {"items", list}}).toJson();
    return zvm::files::WriteAtomically(
        PathToStd(path), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

LoadedQueue LoadQueue(const QString& path) {
    // Opened without blocking and its type checked before anything is read: a pipe or a device in its
    // place would otherwise hang the window before it shows.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? LoadedQueue{} : SetAside(path, PathToQString(std::strerror(errno)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return SetAside(path, QStringLiteral("it is not a regular file"));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
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
