#include "settings/TargetsFile.h"

#include "files/AtomicFile.h"
#include "files/KeptFile.h"
#include "core/Text.h"
#include "files/TextCrossing.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace zvm::settings {

namespace fs = std::filesystem;

namespace {
using files::ToQString;
using files::ToStd;

constexpr std::size_t kMostBytes = std::size_t{1024} * 1024;

constexpr std::array<std::string_view, 12> kFields{"name",         "label",        "width",      "height",
                                                   "pixelAspect",  "video",        "container",  "norm",
                                                   "maxFrameRate", "audioBitrate", "sampleRate", "base"};

Status BadEntry(const char* message, int entry, std::string_view field) {
    return Status::Failure(FailureKind::BadInput, message,
                           "targets[" + std::to_string(entry) + "]." + std::string(field));
}

// One entry's fields, each of its kind; the words looked up. The checks of the whole target follow.
Result<UserTarget> FromJson(const QJsonValue& value, int entry) {
    const QJsonObject o = value.toObject();
    if (!value.isObject()) {
        return BadEntry(ZVM_TEXT("zvm", "%1 is not a target: a target is a JSON object"), entry, "");
    }
    for (auto field = o.begin(); field != o.end(); ++field) {
        if (std::find(kFields.begin(), kFields.end(), ToStd(field.key())) == kFields.end()) {
            return BadEntry(ZVM_TEXT("zvm", "%1 is not a field of a target"), entry, ToStd(field.key()));
        }
    }
    const char* const wrongKind = ZVM_TEXT("zvm", "%1 is missing or not of its kind (a text, or a whole number for sizes and rates)");
    // A target based on a built-in one gives only what differs; the rest is the built-in row's.
    const QJsonValue baseValue = o.value(QLatin1String("base"));
    if (!baseValue.isUndefined() && !baseValue.isString()) {
        return BadEntry(wrongKind, entry, "base");
    }
    const std::string baseName = ToStd(baseValue.toString());
    const TargetPreset* base = baseName.empty() ? nullptr : FindBuiltIn(baseName);
    if (!baseName.empty() && base == nullptr) {
        return BadEntry(ZVM_TEXT("zvm", "%1 names no built-in target"), entry, "base");
    }
    const UserTarget from = base != nullptr ? CopyOfBuiltIn(*base) : UserTarget{};
    const auto text = [&](const char* field, bool needed) -> std::optional<std::string> {
        const QJsonValue v = o.value(QLatin1String(field));
        if (v.isString()) {
            return ToStd(v.toString());
        }
        return v.isUndefined() && !needed ? std::optional(std::string()) : std::nullopt;
    };
    const auto whole = [&](const char* field, bool needed) -> std::optional<std::string> {
        const QJsonValue v = o.value(QLatin1String(field));
        const double number = v.toDouble(-1);
        if (v.isDouble() && number >= 1 && number <= 1e6 && std::floor(number) == number) {
            return std::to_string(static_cast<int>(number));
        }
        return v.isUndefined() && !needed ? std::optional(std::string()) : std::nullopt;
    };
    const char* const kinds[][2] = {{"name", "t"}, {"label", "t"}, {"width", "n"}, {"height", "n"},
                                    {"pixelAspect", "o"}, {"video", "t"}, {"container", "t"}, {"norm", "o"},
                                    {"audioBitrate", "w"}, {"sampleRate", "w"}};
    std::map<std::string, std::string> got;
    for (const auto& [field, kind] : kinds) {
        const bool needed = (kind[0] == 'n' || kind[0] == 't') && (base == nullptr || std::string_view(field) == "name");
        const std::optional<std::string> read = kind[0] == 'n' || kind[0] == 'w' ? whole(field, needed)
                                                                               : text(field, needed);
        if (!read) {
            return BadEntry(wrongKind, entry, field);
        }
        got[field] = *read;
    }
    if (base != nullptr) {
        const auto keep = [&got](const char* field, std::string value) {
            if (got[field].empty()) {
                got[field] = std::move(value);
            }
        };
        keep("label", std::string(base->displayText));
        keep("width", std::to_string(from.width));
        keep("height", std::to_string(from.height));
        keep("pixelAspect", AspectText(from.pixelAspect));
        keep("video", std::string(VideoWord(from.video)));
        keep("container", std::string(ContainerWord(from.container)));
        keep("norm", std::string(NormWord(from.norm)));
        keep("audioBitrate", from.audioBitrate);
        keep("sampleRate", from.sampleRate);
    }
    UserTarget t;
    t.name = got["name"];
    t.label = got["label"];
    t.width = std::stoi(got["width"]);
    t.height = std::stoi(got["height"]);
    t.audioBitrate = got["audioBitrate"];
    t.sampleRate = got["sampleRate"];
    t.base = baseName;
    const char* const unknownWord = ZVM_TEXT("zvm", "%1 is not a word this program knows there");
    const auto video = VideoFromWord(got["video"]);
    const auto container = ContainerFromWord(got["container"]);
    const auto norm = got["norm"].empty() ? std::optional(Norm::None) : NormFromWord(got["norm"]);
    const auto aspect = got["pixelAspect"].empty() ? std::optional(Ratio{}) : AspectFromText(got["pixelAspect"]);
    if (!video || !container || !norm || !aspect) {
        return BadEntry(unknownWord, entry,
                        !video       ? "video"
                        : !container ? "container"
                        : !norm      ? "norm"
                                     : "pixelAspect");
    }
    t.video = *video;
    t.container = *container;
    t.norm = *norm;
    t.pixelAspect = *aspect;
    // The rate as a whole number or a text such as "30000/1001"; a norm's own when none is given.
    const QJsonValue rate = o.value(QLatin1String("maxFrameRate"));
    const std::optional<std::string> rateText = rate.isString() ? text("maxFrameRate", false) : whole("maxFrameRate", false);
    const std::optional<Ratio> parsed =
        !rateText ? std::nullopt
        : rateText->empty() ? std::optional(base != nullptr     ? from.maxFrameRate
                                            : t.norm == Norm::Pal ? Ratio{25, 1}
                                                                  : Ratio{30000, 1001})
                            : RateFromText(*rateText);
    if (!parsed) {
        return BadEntry(wrongKind, entry, "maxFrameRate");
    }
    t.maxFrameRate = *parsed;
    return t;
}

QJsonObject Differences(const UserTarget& t, const TargetPreset& builtIn);

QJsonObject ToJson(const UserTarget& t) {
    if (const TargetPreset* base = t.base.empty() ? nullptr : FindBuiltIn(t.base)) {
        return Differences(t, *base);
    }
    QJsonObject o{{"name", ToQString(t.name)},
                  {"label", ToQString(t.label)},
                  {"width", t.width},
                  {"height", t.height},
                  {"pixelAspect", ToQString(AspectText(t.pixelAspect))},
                  {"video", ToQString(VideoWord(t.video))},
                  {"container", ToQString(ContainerWord(t.container))},
                  {"maxFrameRate", ToQString(RateText(t.maxFrameRate))}};
    if (t.norm != Norm::None) {
        o.insert("norm", ToQString(NormWord(t.norm)));
    }
    if (!t.audioBitrate.empty()) {
        o.insert("audioBitrate", std::stoi(t.audioBitrate));
    }
    if (!t.sampleRate.empty()) {
        o.insert("sampleRate", std::stoi(t.sampleRate));
    }
    return o;
}

// A based target as its file keeps it: its name, its base, and only the fields it changes.
QJsonObject Differences(const UserTarget& t, const TargetPreset& builtIn) {
    const QJsonObject whole = ToJson(UserTarget{t.name, t.label, t.width, t.height, t.pixelAspect, t.video,
                                                t.container, t.norm, t.maxFrameRate, t.audioBitrate, t.sampleRate, {}});
    UserTarget same = CopyOfBuiltIn(builtIn);
    same.name = t.name;
    same.label = std::string(builtIn.displayText);
    same.base.clear();
    const QJsonObject kept = ToJson(same);
    QJsonObject o{{"name", ToQString(t.name)}, {"base", ToQString(t.base)}};
    for (auto field = whole.begin(); field != whole.end(); ++field) {
        if (kept.value(field.key()) != field.value()) {
            o.insert(field.key(), field.value());
        }
    }
    return o;
}

LoadedTargets SetAside(const fs::path& path, Status why) {
    LoadedTargets loaded;
    loaded.problem = std::move(why);
    const auto aside = files::SetAsideDamaged(path, loaded.asideAs);
    loaded.damagedInPlace = !aside;
    return loaded;
}
} // namespace

fs::path TargetsFilePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return files::PathToStd(QDir(folder).filePath(files::PathToQString(kTargetsFileName)));
}

Status CheckUserTargets(const std::vector<UserTarget>& targets) {
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (Status checked = CheckUserTarget(targets[i]); !checked.ok()) {
            return checked;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (targets[j].name == targets[i].name) {
                return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "Two targets are named %1"), targets[i].name);
            }
        }
    }
    return {};
}

LoadedTargets LoadTargets(const fs::path& path) {
    const files::SmallFile file = files::ReadSmallFile(path, kMostBytes);
    if (file.state == files::SmallFile::State::Missing) {
        return {};
    }
    if (file.state == files::SmallFile::State::Damaged) {
        return SetAside(path, Status::Failure(FailureKind::Io, "%1", file.reason));
    }
    QJsonParseError parse{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(file.bytes.data(), qsizetype(file.bytes.size())), &parse);
    if (parse.error != QJsonParseError::NoError) {
        return SetAside(path, Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "it is not JSON: %1"),
                                              ToStd(parse.errorString()) + " at byte " +
                                                  std::to_string(parse.offset)));
    }
    const QJsonValue list = document.object().value(QLatin1String("targets"));
    if (!list.isArray()) {
        return SetAside(path, Status::Failure(FailureKind::BadInput,
                                              ZVM_TEXT("zvm", "it has no list of targets under %1"), "\"targets\""));
    }
    LoadedTargets loaded;
    for (const auto& value : list.toArray()) {
        Result<UserTarget> target = FromJson(value, static_cast<int>(loaded.targets.size()));
        if (!target.ok()) {
            return SetAside(path, target.status());
        }
        loaded.targets.push_back(std::move(target).value());
    }
    if (Status checked = CheckUserTargets(loaded.targets); !checked.ok()) {
        return SetAside(path, checked);
    }
    return loaded;
}

LoadedTargets UseTargetsFile(const fs::path& path) {
    LoadedTargets loaded = LoadTargets(path);
    SetUserTargets(loaded.targets);
    return loaded;
}

Status SaveTargets(const fs::path& path, const std::vector<UserTarget>& targets) {
    if (Status checked = CheckUserTargets(targets); !checked.ok()) {
        return checked;
    }
    QJsonArray list;
    for (const UserTarget& target : targets) {
        list.append(ToJson(target));
    }
    std::error_code ignored; // a folder that cannot be made fails the write
    fs::create_directories(path.parent_path(), ignored);
    const QByteArray bytes = QJsonDocument(QJsonObject{{"targets", list}}).toJson();
    return files::WriteAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace zvm::settings
