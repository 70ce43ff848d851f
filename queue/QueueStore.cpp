#include "queue/QueueStore.h"

#include "files/AtomicFile.h"
#include "core/CommandForm.h"
#include "core/Cut.h"
#include "core/FileSize.h"
#include "core/OutputTarget.h"
#include "files/KeptFile.h"
#include "core/Presets.h"
#include "core/SourceChoices.h"
#include "files/TextCrossing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <utility>


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
    const zvm::TargetPreset* target = zvm::FindPreset(r.preset);
    QJsonObject o{{"source", PathToQString(r.sourceVideo)},
                  {"output", PathToQString(r.outputPath)},
                  {"encoder", PathToQString(r.encoderPath)},
                  {"width", ToQString(r.width)},
                  {"height", ToQString(r.height)},
                  {"videoBitrate", ToQString(r.videoBitrate)},
                  {"audioBitrate", ToQString(r.audioBitrate)},
                  {"sampleRate", ToQString(r.sampleRate)},
                  {"target", ToQString(target != nullptr ? target->name : std::string_view())},
                  {"movieType", ToQString(zvm::MovieTypeWord(r.movieType))},
                  {"form", ToQString(zvm::StyleWord(item.style))},
                  {"state", ToQString(zvm::queue::StateWord(item.state))},
                  {"reason", ToQString(item.reason)},
                  {"detail", ToQString(item.detail)}};
    if (item.duration) {
        o.insert("duration", *item.duration);
    }
    if (item.hasAudio) {
        o.insert("hasAudio", *item.hasAudio);
    }
    // Only when set, so a queue without cuts reads as before; a file without them has no cut.
    if (r.cutStart) {
        o.insert("cutStart", *r.cutStart);
    }
    if (r.cutEnd) {
        o.insert("cutEnd", *r.cutEnd);
    }
    // Written only when set: a file without them is read as before, and an older version skips them.
    if (r.fileSizeMB) {
        o.insert("fileSizeMB", *r.fileSizeMB);
    }
    if (r.bestQuality) {
        o.insert("bestQuality", true);
    }
    if (r.twoPass) {
        o.insert("twoPass", true);
    }
    // Also only when chosen: none, the designed command, is what a file without them means.
    const zvm::SubtitleChoice& s = r.subtitles;
    if (s.mode == zvm::SubtitleMode::Auto || s.mode == zvm::SubtitleMode::File) {
        o.insert("subtitles", s.mode == zvm::SubtitleMode::Auto ? "auto" : "file");
    }
    if (s.mode == zvm::SubtitleMode::File) {
        o.insert("subtitleFile", PathToQString(s.file));
    }
    if (s.size > 0) {
        o.insert("subtitleSize", s.size);
    }
    if (s.mode == zvm::SubtitleMode::Auto && item.subtitleStreams) {
        o.insert("subtitleStreams", *item.subtitleStreams);
    }
    // The source's choices, only when made; a rectangle with the stored picture it was taken from.
    if (r.crop.mode != zvm::CropMode::None) {
        o.insert("crop", ToQString(zvm::CropText(r.crop)));
    }
    if (r.crop.mode == zvm::CropMode::Rect && r.crop.sourceWidth > 0) {
        o.insert("cropFrom", QStringLiteral("%1x%2").arg(r.crop.sourceWidth).arg(r.crop.sourceHeight));
    }
    if (!r.audio.languages.empty()) {
        QJsonArray languages;
        for (const std::string& language : r.audio.languages) {
            languages.append(ToQString(language));
        }
        o.insert("audioLanguages", languages);
    }
    if (r.audio.track >= 0) {
        o.insert("audioTrack", r.audio.track);
    }
    if (!r.audio.language.empty()) {
        o.insert("audioLanguage", ToQString(r.audio.language));
    }
    if (r.deinterlace != zvm::DeinterlaceMode::Auto) {
        o.insert("deinterlace", ToQString(zvm::DeinterlaceWord(r.deinterlace)));
    }
    return o;
}

// A whole number from `least` to `most`, when the field is there; false when it is there but is not.
bool ReadCount(const QJsonObject& o, const char* name, int least, int most, int& into) {
    const QJsonValue value = o.value(QLatin1String(name));
    if (value.isUndefined()) {
        return true;
    }
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number != std::floor(number) || number < least || number > most) {
        return false;
    }
    into = static_cast<int>(number);
    return true;
}

// The item's subtitles as kept; an empty text, or why a value kept for them cannot be read.
QString ReadSubtitles(const QJsonObject& o, QueueItem& item) {
    zvm::SubtitleChoice& s = item.request.subtitles;
    const QJsonValue mode = o.value("subtitles");
    const QString word = mode.toString();
    const QString source = o.value("source").toString();
    if (!mode.isUndefined() && word != "none" && word != "auto" && word != "file") {
        const QByteArray kept = QJsonDocument(QJsonArray{mode}).toJson(QJsonDocument::Compact); // as it stands there
        return QStringLiteral("the subtitles of %1 are kept as %2, which is not none, auto or file")
            .arg(source, QString::fromUtf8(kept.mid(1, kept.size() - 2)));
    }
    s.mode = word == "auto" ? zvm::SubtitleMode::Auto
             : word == "file" ? zvm::SubtitleMode::File
                              : zvm::SubtitleMode::None;
    if (s.mode == zvm::SubtitleMode::File) {
        s.file = PathToStd(o.value("subtitleFile").toString());
        if (s.file.empty()) {
            return QStringLiteral("the subtitle file of %1 is not named").arg(source);
        }
    }
    if (!ReadCount(o, "subtitleSize", 0, zvm::kLargestSubtitleSize, s.size)) {
        return QStringLiteral("the subtitle size of %1 is not a number of pixels from 1 to 200").arg(source);
    }
    int streams = 0;
    if (!ReadCount(o, "subtitleStreams", 0, 1000000, streams)) {
        return QStringLiteral("the subtitle stream count of %1 is not a number").arg(source);
    }
    if (o.contains("subtitleStreams")) {
        item.subtitleStreams = streams;
    }
    return {};
}

// The crop, sound stream and deinterlacing as kept; an empty text, or why a value cannot be read. A
// file from before they were kept has none of them: the designed command's choices.
QString ReadSourceChoices(const QJsonObject& o, zvm::ConversionRequest& r) {
    const QString source = o.value("source").toString();
    if (o.contains("crop")) {
        const auto crop = zvm::ParseCrop(ToStd(o.value("crop").toString()));
        if (!crop) {
            return QStringLiteral("the crop of %1 is not auto, none or W:H:X:Y").arg(source);
        }
        r.crop = *crop;
        const QStringList from = o.value("cropFrom").toString().split('x');
        r.crop.sourceWidth = from.value(0).toInt();
        r.crop.sourceHeight = from.value(1).toInt();
    }
    for (const QJsonValue language : o.value("audioLanguages").toArray()) {
        r.audio.languages.push_back(ToStd(language.toString()));
    }
    r.audio.language = ToStd(o.value("audioLanguage").toString());
    if (!ReadCount(o, "audioTrack", 0, 1000000, r.audio.track)) {
        return QStringLiteral("the sound stream of %1 is not a number").arg(source);
    }
    if (o.contains("deinterlace")) {
        const auto mode = zvm::DeinterlaceFromWord(ToStd(o.value("deinterlace").toString()));
        if (!mode) {
            return QStringLiteral("the deinterlacing of %1 is not auto, on or off").arg(source);
        }
        r.deinterlace = *mode;
    }
    return {};
}

// Why a number kept for the item is one no run can use (not finite, longer than any video, larger
// than any file: a damaged or hand-edited file), or an empty text; before any arithmetic meets it.
QString UnusableNumber(const QJsonObject& o) {
    const auto megabytes = [](double value) { return std::fabs(value) <= zvm::kLargestFileSizeMB; };
    const std::pair<const char*, bool (*)(double)> fields[] = {{"duration", &zvm::UsableSeconds},
                                                               {"cutStart", &zvm::UsableSeconds},
                                                               {"cutEnd", &zvm::UsableSeconds},
                                                               {"fileSizeMB", megabytes}};
    for (const auto& [field, usable] : fields) {
        const QJsonValue value = o.value(QLatin1String(field));
        if (value.isDouble() && !usable(value.toDouble())) {
            return QStringLiteral("the %1 of %2 is kept as %3, which no video can have")
                .arg(QLatin1String(field), o.value("source").toString(),
                     QString::fromStdString(zvm::NumberText(value.toDouble())));
        }
    }
    return {};
}

// The item's target: by name, or by its row in files written before targets had names kept (the
// eight built-in rows of then have the same numbers now; a row after them was a user's).
std::optional<int> TargetOf(const QJsonObject& o) {
    if (o.value("target").isString()) {
        return zvm::PresetByName(ToStd(o.value("target").toString()));
    }
    constexpr int kRowsBeforeNames = 8;
    const int row = o.value("preset").toInt(-1);
    return row >= 0 && row < kRowsBeforeNames ? std::optional(row) : std::nullopt;
}

// An item as kept, or nothing when the object is not one; `damaged` then says why when a value
// kept for it cannot be read.
std::optional<QueueItem> FromJson(const QJsonObject& o, QString& damaged) {
    const auto state = zvm::queue::StateFromWord(ToStd(o.value("state").toString()));
    const std::optional<int> preset = TargetOf(o);
    if (!state || !preset || !o.value("source").isString() || !o.value("output").isString()) {
        return std::nullopt;
    }
    damaged = UnusableNumber(o);
    if (!damaged.isEmpty()) {
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
    r.preset = *preset;
    r.movieType =
        zvm::MovieTypeFromWord(ToStd(o.value("movieType").toString())).value_or(MovieType::LiveAction);
    item.style = zvm::StyleFromWord(ToStd(o.value("form").toString()));
    item.state = *state;
    item.reason = ToStd(o.value("reason").toString());
    item.detail = ToStd(o.value("detail").toString());
    if (o.value("duration").isDouble()) {
        item.duration = o.value("duration").toDouble();
    }
    if (o.value("hasAudio").isBool()) {
        item.hasAudio = o.value("hasAudio").toBool();
    }
    if (o.value("cutStart").isDouble()) {
        r.cutStart = o.value("cutStart").toDouble();
    }
    if (o.value("cutEnd").isDouble()) {
        r.cutEnd = o.value("cutEnd").toDouble();
    }
    if (o.value("fileSizeMB").isDouble()) {
        r.fileSizeMB = o.value("fileSizeMB").toDouble();
    }
    r.twoPass = o.value("twoPass").toBool(false);
    r.bestQuality = o.value("bestQuality").toBool(false);
    damaged = ReadSubtitles(o, item);
    if (damaged.isEmpty()) {
        damaged = ReadSourceChoices(o, r);
    }
    return damaged.isEmpty() ? std::optional(item) : std::nullopt;
}

LoadedQueue SetAside(const QString& path, const QString& why) {
    std::filesystem::path tried;
    const auto aside = zvm::files::SetAsideDamaged(PathToStd(path), tried);
    if (!aside) {
        return {{},
                QStringLiteral("The saved queue could not be read (%1), and it could not be set aside as %2. "
                               "It is left as it is, and this run keeps no queue.")
                    .arg(why, PathToQString(tried.native())),
                true};
    }
    return {{},
            QStringLiteral("The saved queue could not be read (%1). It was set aside as %2.")
                .arg(why, PathToQString(aside->native())),
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
    // Room for a library: 10,000 videos keep about 6 MB, and a queue the program wrote must load again.
    const zvm::files::SmallFile file = zvm::files::ReadSmallFile(PathToStd(path), std::size_t{64} * 1024 * 1024);
    if (file.state != zvm::files::SmallFile::State::Read) {
        return file.state == zvm::files::SmallFile::State::Missing ? LoadedQueue{}
                                                                   : SetAside(path, PathToQString(file.reason));
    }
    QJsonParseError parse{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(file.bytes.data(), qsizetype(file.bytes.size())), &parse);
    const QJsonObject root = document.object();
    if (parse.error != QJsonParseError::NoError || root.value("version").toInt() != kVersion ||
        !root.value("items").isArray()) {
        return SetAside(path, parse.error != QJsonParseError::NoError
                                  ? parse.errorString()
                                  : QStringLiteral("not a queue of this program"));
    }
    LoadedQueue loaded;
    for (const auto& value : root.value("items").toArray()) {
        QString damaged;
        if (const auto item = FromJson(value.toObject(), damaged)) {
            loaded.items.push_back(*item);
        } else {
            return SetAside(path, !damaged.isEmpty()
                                      ? damaged
                                      : QStringLiteral("an item is incomplete, or its target is not known"));
        }
    }
    return loaded;
}

QString QueueOptionsBeside(const QString& queuePath) {
    return QFileInfo(queuePath).dir().filePath(QStringLiteral("queue-options.json"));
}

// Options are a convenience: whatever stands there that is not a small file of them is passed over.
QueueOptions LoadQueueOptions(const QString& path) {
    QueueOptions options;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return options;
    }
    const QJsonObject root = QJsonDocument::fromJson(file.read(4096)).object();
    if (root.value("version").toInt() == kVersion) {
        options.parallel = std::max(0, root.value("parallel").toInt());
    }
    return options;
}

zvm::Status SaveQueueOptions(const QString& path, const QueueOptions& options) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray bytes =
        QJsonDocument(QJsonObject{{"version", kVersion}, {"parallel", options.parallel}}).toJson();
    return zvm::files::WriteAtomically(
        PathToStd(path), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}
