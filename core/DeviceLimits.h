#pragma once

#include "core/Presets.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zvm {

struct ProbedOutput;

// What a target's player is known to take, beside the target table. Every limit comes from public
// material named where the table is filled in (DeviceLimits.cpp); a limit nobody has written down is
// left empty, not guessed. Codec and profile names are the media worker's (libavcodec's).
struct DeviceLimits {
    std::string_view device = {};        // as the after-check names the player: "PSP", "VCD"
    std::string_view videoCodec = {};    // "mpeg4", "h264", "mpeg1video"; empty: unknown
    std::string_view profile = {};       // "Simple Profile", "Main"
    std::optional<int> mostLevel = {};   // H.264 level times ten: 21 for 2.1
    std::optional<int> mostReferenceFrames = {};
    std::optional<bool> bFrames = {};    // whether the player takes B-frames; nothing: not known
    std::optional<double> mostVideoKbit = {}; // average video bitrate
    std::optional<double> mostPeakVideoKbit = {}; // video kbit in any one second of the file
    bool sidesOf16 = false;         // width and height multiples of 16
    std::optional<long> mostPixels = {}; // width times height
    std::span<const Ratio> frameRates = {}; // the rates it plays; empty: any up to mostFrameRate
    std::optional<double> mostFrameRate = {};
    std::string_view audioCodec = {};
    std::span<const int> sampleRates = {}; // Hz; empty: any up to mostSampleRate
    std::optional<int> mostSampleRate = {};
    std::optional<int> channels = {};
    std::span<const int> audioKbit = {}; // the audio bitrates it takes; empty: not limited
    std::string_view container = {};     // "psp", "mp4", "vcd" (the encoder's format names)
    std::string_view brand = {};         // the file's major brand: "MSNV"
    bool audioRequired = false;     // the container cannot be written without a sound stream
    bool indexLeads = false;        // an MP4 whose index (moov) must come before its data (mdat)
    std::string_view note = {};          // what a reader of the table should know, in the developer's words
    // Where the firmware decides what plays, what the after-check tells a user of the file: the
    // first text for a file with firmwareBrand as its brand (or any file, with none named), the
    // second for one without it. Texts for the window's language (ZVM_TEXT).
    std::string_view firmwareBrand = {};
    std::string_view firmwareWithBrand = {};
    std::string_view firmwareWithoutBrand = {};
    std::string_view sources = {};       // the public material the limits come from, as listings name it
};

// What the firmware note says of this file; empty where the firmware does not decide.
std::string_view FirmwareSays(const DeviceLimits& limits, std::string_view fileBrand);

// The limits of a target's player: a built-in row's from the table, a user's row what its container
// itself needs; nothing for a row whose player's limits nobody has written down (the GBA-sized rows).
std::optional<DeviceLimits> LimitsFor(const TargetPreset& preset);
// The GBA-sized rows' note, and every other built-in row's limits, by the tool's word.
const DeviceLimits* BuiltInLimits(std::string_view name);

// Whether the target's file needs a sound stream, which a silent source then gets made up.
bool NeedsAudio(const TargetPreset& preset);

// One limit a file did not keep: which ("video bitrate"), what the file has, and what the player
// takes, in the way `kind` says (Missing: the file has none of it; Unwanted: it has what the player
// does not take).
struct LimitMiss {
    enum class Kind { AtMost, OneOf, MultipleOf16, Missing, Unwanted };
    std::string what;
    std::string found;
    std::string allowed;
    Kind kind = Kind::AtMost;
};

// How a file compares with its player's limits: how many could be checked from what was read, and
// the ones not held (held = checked - missed.size()).
struct LimitVerdict {
    int checked = 0;
    std::vector<LimitMiss> missed;
};
LimitVerdict CheckLimits(const DeviceLimits& limits, const ProbedOutput& file);

} // namespace zvm
