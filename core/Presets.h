#pragma once

#include "Status.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zvm {

// The file's family: the designed MP4 form's (also every later MP4 or PSP file), or a VCD.
enum class CommandForm { Mp4, Vcd };

enum class VideoKind { Mpeg4, H264, Vcd };
enum class Container { Mp4, Psp, Mpg };
enum class Norm { None, Ntsc, Pal };

// A ratio of two whole numbers: one pixel's width to its height as the device shows it, or a frame rate.
struct Ratio {
    int across = 1;
    int down = 1;

    constexpr double Value() const { return static_cast<double>(across) / down; }
    constexpr bool Square() const { return across == down; }
    bool operator==(const Ratio&) const = default;
};

struct TargetPreset {
    std::string_view displayText; // the list's text, the label
    int width;
    int height;
    CommandForm form;
    std::string_view name;        // the tool's word
    Ratio pixelAspect = {};       // the fit allows for it; the designed rows fit square pixels
    VideoKind video = VideoKind::Mpeg4;
    Container container = Container::Mp4;
    Norm norm = Norm::None;       // VCD only; it fixes the frame rate
    Ratio maxFrameRate = {30000, 1001}; // a slower source keeps its own rate
    bool designed = false;        // rows 0 to 4: their commands, rates and texts are fixed
    std::string_view audioBitrate = {}; // a VCD's own audio values, written over the request's
    std::string_view sampleRate = {};
    Ratio shownPixelAspect = {};  // how a TV shows a designed row fitted as if its pixels were square
    std::string_view fitsShown = {}; // the name of the target that allows for that
};

// The designed VCD row's audio values; the encoder's VCD target needs them.
inline constexpr std::string_view kVcdAudioBitrate = "192";
inline constexpr std::string_view kVcdSampleRate = "44100";

// Every target screen, in list order: the five designed rows first, then the later ones.
std::span<const TargetPreset> TargetPresets();

// The display text without its ratio: "PSP - 368x208".
std::string_view ScreenName(const TargetPreset& preset);

// The row at `index`, or null for an index the list does not have.
const TargetPreset* FindPreset(int index);
// The row with this name (the tool's word), or nothing.
std::optional<int> PresetByName(std::string_view name);

// Only the designed MP4 rows choose their frame rate by the movie type.
bool UsesMovieType(const TargetPreset& preset);
// Rows after the designed five are written in the modern form only: the classic options cannot say them.
bool NeedsModernForm(const TargetPreset& preset);

// The H.264 profile and level a size and rate need: the least level from 3.0 up (the lowest level
// handhelds list) whose frame size and macroblock rate carry them; nothing beyond the largest.
struct H264Profile {
    std::string_view profile;
    std::string_view level;
};
std::optional<H264Profile> H264ProfileFor(int width, int height, Ratio frameRate);

// Whether a target can be written: an allowed video and container pair, a norm exactly for VCD (whose
// frame rate and size it fixes), even sides from 16 to 4096, a size H.264 can carry.
Status CheckTarget(const TargetPreset& preset);

// Stable words, in files and listings: "mpeg4", "h264", "vcd"; "mp4", "psp", "mpg"; "ntsc", "pal".
std::string_view VideoWord(VideoKind video);
std::string_view ContainerWord(Container container);
std::string_view NormWord(Norm norm);
// "30000/1001", "25", "10:11" as the encoder takes a rate and a pixel aspect is written.
std::string RateText(Ratio rate);
std::string AspectText(Ratio aspect);

} // namespace zvm
