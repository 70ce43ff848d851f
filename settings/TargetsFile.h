#pragma once

#include "core/Presets.h"
#include "core/Status.h"

#include <filesystem>
#include <string_view>
#include <vector>

// The user's own targets, kept as targets.json in the per-user configuration folder:
// {"targets": [{"name": "...", "label": "...", "width": 480, "height": 272, "pixelAspect": "1:1",
//   "video": "h264", "container": "mp4", "maxFrameRate": "30000/1001"}, ...]}
// with, where they apply, "norm" ("ntsc", "pal"), "audioBitrate" (kbit/s) and "sampleRate" (Hz).
// Built only with Qt (its JSON reader).
namespace zvm::settings {

inline constexpr std::string_view kTargetsFileName = "targets.json";

struct LoadedTargets {
    std::vector<UserTarget> targets;
    Status problem;               // why the file could not be taken: nothing of it is used then
    std::filesystem::path asideAs; // where the damaged file now is, or the name the system refused
    // The damaged file could not be set aside and stands where targets are kept: this run must not
    // write over it.
    bool damagedInPlace = false;
};

// targets.json in the per-user configuration folder (the one --user-settings keeps settings.ini in).
std::filesystem::path TargetsFilePath();

// Nothing for a missing file. A file that cannot be read, is not JSON, or has an entry that is not a
// target (a field missing or of the wrong kind, an unknown word, a name twice, a target CheckUserTarget
// refuses) is renamed beside itself, never deleted, and said so.
LoadedTargets LoadTargets(const std::filesystem::path& path);

// Loads the file and makes its targets the table's user rows.
LoadedTargets UseTargetsFile(const std::filesystem::path& path);

// The same checks as loading, then the whole file written atomically.
Status SaveTargets(const std::filesystem::path& path, const std::vector<UserTarget>& targets);

// Every target checked, and no name twice.
Status CheckUserTargets(const std::vector<UserTarget>& targets);

} // namespace zvm::settings
