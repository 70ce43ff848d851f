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
#include "process/OutputGuard.h"

#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

#include <atomic>
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
    if (item.frameRate) {
        o.insert("frameRate", *item.frameRate);
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
    if (o.value("frameRate").isDouble()) {
        item.frameRate = o.value("frameRate").toDouble();
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

// The file is a queue of this program ("ZVMQ"), in this layout.
constexpr int kApplicationId = 0x5A564D51;
constexpr int kLayout = 1;
// Another reader of the file (a second window merging, the user's sqlite3) holds it this long at most.
constexpr int kBusyMilliseconds = 1000;

QString NewConnectionName() {
    static std::atomic<int> made{0};
    return QStringLiteral("zvm-queue-%1").arg(++made);
}

zvm::Status SqlFailure(zvm::FailureKind kind, const QSqlError& error) {
    return zvm::Status::Failure(kind, "%1", ToStd(error.text()));
}

// Runs a prepared statement with these values in its places.
zvm::Status Run(QSqlQuery& query, const QVariantList& values) {
    for (int at = 0; at < values.size(); ++at) {
        query.bindValue(at, values[at]);
    }
    return query.exec() ? zvm::Status() : SqlFailure(zvm::FailureKind::Io, query.lastError());
}

QByteArray ItemText(const QueueItem& item) {
    return QJsonDocument(ToJson(item)).toJson(QJsonDocument::Compact);
}

zvm::Status Put(QSqlQuery& insert, const QueueItem& item, qint64 position) {
    return Run(insert, {item.id, position, ItemText(item)});
}

// Every kept item's place, in the queue's order.
zvm::Status Reposition(QSqlDatabase& db, const zvm::queue::Queue& queue) {
    QSqlQuery place(db);
    place.prepare(QStringLiteral("UPDATE items SET position = ? WHERE id = ?"));
    qint64 position = 0;
    for (const QueueItem& item : queue.items()) {
        if (zvm::Status row = Run(place, {position++, item.id}); !row.ok()) {
            return row;
        }
    }
    return {};
}

// A first read that fails on a file that is not a database says so here; a new, empty file is made a
// queue. BadInput: the file is not a queue of this program (or not of this layout).
zvm::Status MakeOrCheck(QSqlDatabase& db) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA application_id")) || !q.next()) {
        return SqlFailure(q.lastError().nativeErrorCode() == QLatin1String("5") ? zvm::FailureKind::Refused
                                                                               : zvm::FailureKind::BadInput,
                          q.lastError());
    }
    const int application = q.value(0).toInt();
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next()) {
        return SqlFailure(zvm::FailureKind::BadInput, q.lastError());
    }
    const bool empty = application == 0 && q.value(0).toInt() == 0;
    if (!empty) {
        const int layout = q.exec(QStringLiteral("PRAGMA user_version")) && q.next() ? q.value(0).toInt() : -1;
        if (application != kApplicationId || layout != kLayout) {
            return zvm::Status::Failure(zvm::FailureKind::BadInput, "not a queue of this program");
        }
    }
    // The log of changes rather than a journal of the old pages: one write per change, and readers
    // never wait for the writer. A kill loses no committed change.
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))) {
        return SqlFailure(zvm::FailureKind::Io, q.lastError());
    }
    if (empty) {
        for (const QString& make :
             {QStringLiteral("CREATE TABLE items (id INTEGER PRIMARY KEY, position INTEGER NOT NULL, item TEXT NOT NULL)"),
              QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId), QStringLiteral("PRAGMA user_version=%1").arg(kLayout)}) {
            if (!q.exec(make)) {
                return SqlFailure(zvm::FailureKind::Io, q.lastError());
            }
        }
    }
    return {};
}

// A file that could not be opened for a reason that may pass (held by another program, no room, no
// permission) is never set aside: it is left as it is, and this run keeps no queue.
LoadedQueue InUse(const zvm::Status& why) {
    return {{},
            QCoreApplication::translate("zvm", "The saved queue could not be read (%1). It is left as it is, and this run keeps no queue.")
                .arg(ToQString(why.text())),
            true};
}

LoadedQueue SetAside(const QString& path, const QString& why) {
    std::filesystem::path tried;
    const auto aside = zvm::files::SetAsideDamaged(PathToStd(path), tried);
    if (!aside) {
        return {{},
                QCoreApplication::translate("zvm", "The saved queue could not be read (%1), and it could not be set aside as %2. "
                                           "It is left as it is, and this run keeps no queue.")
                    .arg(why, PathToQString(tried.native())),
                true};
    }
    // SQLite's log of the last changes belongs to the file and goes with it, or it would be read into
    // the next queue made under the same name.
    for (const char* side : {"-wal", "-shm"}) {
        QFile::rename(path + QLatin1String(side), PathToQString(aside->native()) + QLatin1String(side));
    }
    return {{},
            QCoreApplication::translate("zvm", "The saved queue could not be read (%1). It was set aside as %2.")
                .arg(why, PathToQString(aside->native())),
            false};
}
} // namespace

QueueStore::QueueStore(QString path) : path_(std::move(path)), connection_(NewConnectionName()) {}

QueueStore::~QueueStore() {
    close();
}

void QueueStore::close() {
    opened_.reset();
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

QSqlDatabase QueueStore::database() const {
    return QSqlDatabase::database(connection_, false);
}

// The file this store opened, as it stands now: another program (or the user) may have removed it or
// put another in its place, and a write to the old one would then keep nothing.
bool QueueStore::stillOpen() const {
    return opened_ && zvm::process::FileIdentity(PathToStd(path_)) == opened_;
}

zvm::Status QueueStore::open() {
    if (stillOpen()) {
        return {};
    }
    close();
    // SQLite would wait forever on a pipe in the file's place, and cannot open a folder.
    const QFileInfo file(path_);
    if (file.exists() && !file.isFile()) {
        return zvm::Status::Failure(zvm::FailureKind::BadInput, "%1 is not a regular file", ToStd(path_));
    }
    QDir().mkpath(file.absolutePath()); // a folder that cannot be made fails the opening
    zvm::Status made;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(path_);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMilliseconds));
        made = db.open() ? MakeOrCheck(db) : SqlFailure(zvm::FailureKind::Io, db.lastError());
    }
    if (!made.ok()) {
        close();
        return made;
    }
    opened_ = zvm::process::FileIdentity(PathToStd(path_));
    return {};
}

LoadedQueue QueueStore::load() {
    if (!QFileInfo::exists(path_) && !QFileInfo(path_).isSymLink()) {
        return {};
    }
    const zvm::Status opened = open();
    if (!opened.ok()) {
        return opened.kind() == zvm::FailureKind::BadInput ? SetAside(path_, ToQString(opened.text()))
                                                           : InUse(opened);
    }
    std::vector<QByteArray> texts;
    QString unread;
    {
        QSqlQuery rows(database());
        rows.setForwardOnly(true);
        if (!rows.exec(QStringLiteral("SELECT item FROM items ORDER BY position, id"))) {
            unread = rows.lastError().text();
        }
        while (rows.next()) {
            texts.push_back(rows.value(0).toByteArray());
        }
    }
    LoadedQueue loaded;
    for (const QByteArray& text : texts) {
        QJsonParseError parse{};
        const QJsonObject o = QJsonDocument::fromJson(text, &parse).object();
        QString damaged;
        if (const auto item = parse.error == QJsonParseError::NoError ? FromJson(o, damaged) : std::nullopt) {
            loaded.items.push_back(*item);
        } else if (unread.isEmpty()) {
            unread = !damaged.isEmpty() ? damaged : QStringLiteral("an item is incomplete, or its target is not known");
        }
    }
    if (!unread.isEmpty()) {
        close();
        return SetAside(path_, unread);
    }
    return loaded;
}

zvm::Status QueueStore::replace(const std::vector<QueueItem>& items) {
    if (items.empty() && !QFileInfo::exists(path_)) {
        return {}; // nothing kept, and nothing to write: no folder is made for an empty queue
    }
    zvm::Status written = write([&](QSqlDatabase& db) {
        QSqlQuery clear(db);
        if (!clear.exec(QStringLiteral("DELETE FROM items"))) {
            return SqlFailure(zvm::FailureKind::Io, clear.lastError());
        }
        QSqlQuery put(db);
        put.prepare(QStringLiteral("INSERT INTO items (id, position, item) VALUES (?, ?, ?)"));
        for (std::size_t at = 0; at < items.size(); ++at) {
            if (zvm::Status row = Put(put, items[at], qint64(at)); !row.ok()) {
                return row;
            }
        }
        nextPosition_ = qint64(items.size());
        return zvm::Status();
    });
    if (written.ok()) { // the whole queue's pages leave the log now, not in the first small change after
        QSqlQuery(database()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    return written;
}

// Each changed item is written again, added after the others, or removed once it is finished or gone;
// a new order rewrites every row's place.
zvm::Status QueueStore::keep(const zvm::queue::Queue& queue, const zvm::queue::QueueChanges& changes) {
    if (!stillOpen()) { // never kept, or the file was replaced: only the whole is sure to be there
        return replace(queue.unfinished());
    }
    return write([&](QSqlDatabase& db) {
        QSqlQuery update(db);
        update.prepare(QStringLiteral("UPDATE items SET item = ? WHERE id = ?"));
        QSqlQuery put(db);
        put.prepare(QStringLiteral("INSERT INTO items (id, position, item) VALUES (?, ?, ?)"));
        QSqlQuery drop(db);
        drop.prepare(QStringLiteral("DELETE FROM items WHERE id = ?"));
        const auto keepRow = [&](const QueueItem& item) {
            zvm::Status row = Run(update, {ItemText(item), item.id});
            return row.ok() && update.numRowsAffected() == 0 ? Put(put, item, nextPosition_++) : row;
        };
        for (const int id : changes.items) {
            const QueueItem* item = queue.find(id);
            zvm::Status row = item != nullptr && zvm::queue::Unfinished(item->state) ? keepRow(*item)
                                                                                    : Run(drop, {id});
            if (!row.ok()) {
                return row;
            }
        }
        return changes.order ? Reposition(db, queue) : zvm::Status();
    });
}

zvm::Status QueueStore::write(const std::function<zvm::Status(QSqlDatabase&)>& rows) {
    if (zvm::Status opened = open(); !opened.ok()) {
        return opened;
    }
    zvm::Status written;
    {
        QSqlDatabase db = database();
        written = db.transaction() ? rows(db) : SqlFailure(zvm::FailureKind::Io, db.lastError());
        if (written.ok() && !db.commit()) {
            written = SqlFailure(zvm::FailureKind::Io, db.lastError());
        }
        if (!written.ok()) {
            db.rollback();
        }
    }
    if (!written.ok()) {
        close(); // opened again, and written whole, the next time
    }
    return written;
}

zvm::Status SaveQueue(const QString& path, std::vector<QueueItem> items) {
    int id = 0;
    for (QueueItem& item : items) {
        item.id = ++id; // a list, not a live queue: its ids need not be set
    }
    return QueueStore(path).replace(items);
}

LoadedQueue LoadQueue(const QString& path) {
    return QueueStore(path).load();
}

LoadedQueue LoadQueueFile(const QString& path) {
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
