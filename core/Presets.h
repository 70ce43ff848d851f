#pragma once

#include "core/Status.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zvm {

// The file's family: the designed MP4 form's (also every later MP4 or PSP file), or a VCD.
enum class CommandForm { Mp4, Vcd };

// Mjpeg and Amv are Motion JPEG (the second with its fixed tables); the two RGB565 kinds are raw
// frames, two bytes a pixel, low or high byte first as the screen's reader takes them. Mpeg1 is a
// bare MPEG-1 stream with no VCD norm, as a DPG file holds it.
enum class VideoKind { Mpeg4, H264, Vcd, H264Baseline, Mjpeg, Amv, Rgb565le, Rgb565be, Mpeg1 };
enum class Container { Mp4, Psp, Mpg, Avi, Amv, Raw, Dpg };
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
    bool user = false;            // one of the user's own, after the built-in rows
    bool withdrawn = false;       // a user's row removed in this run: kept so that rows keep their meaning
    std::string_view family = {}; // the heading a built-in row after the first eight is listed under
};

// A target of the user's own: the fields of a row, its texts held here (a row only views them).
struct UserTarget {
    std::string name;
    std::string label;
    int width = 0;
    int height = 0;
    Ratio pixelAspect = {};
    VideoKind video = VideoKind::Mpeg4;
    Container container = Container::Mp4;
    Norm norm = Norm::None;
    Ratio maxFrameRate = {30000, 1001};
    std::string audioBitrate; // empty: the request's
    std::string sampleRate;
    std::string base; // the built-in target it started from, whose fields it keeps unless it says others

    bool operator==(const UserTarget&) const = default;
};

// A user's target with every field of a built-in row, named after it as "<name>-copy", labelled
// "Copy of <label>", and based on it.
UserTarget CopyOfBuiltIn(const TargetPreset& builtIn);
// The built-in row with this name (not a user's), or null.
const TargetPreset* FindBuiltIn(std::string_view name);

// The designed VCD row's audio values; the encoder's VCD target needs them.
inline constexpr std::string_view kVcdAudioBitrate = "192";
inline constexpr std::string_view kVcdSampleRate = "44100";

// Every target screen, in list order: the five designed rows first, then the built-in additions, then
// the user's own (withdrawn ones included, so a row number means the same target all through a run).
std::span<const TargetPreset> TargetPresets();
// The rows this program brings, without the user's.
std::span<const TargetPreset> BuiltInTargets();

// Replaces the user's targets (each checked with CheckUserTarget first). A name already in the table
// keeps its row, new names are added at the end, and rows whose name is gone are withdrawn: listed
// nowhere, but still found by their row. Not for use while another thread reads the table.
void SetUserTargets(const std::vector<UserTarget>& targets);
// The user's targets as last set, in their order.
std::vector<UserTarget> UserTargets();

// Whether a user's target can be taken: a name the tool can take (lowercase letters, digits and '-',
// starting with a letter or digit, at most 40) that no built-in row has, a label, bitrates that are
// numbers, and CheckTarget's rules.
Status CheckUserTarget(const UserTarget& target);
// The row a user's target stands for, viewing its texts.
TargetPreset RowFor(const UserTarget& target);

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
// handhelds list), or from leastLevel (times ten) for a player known to take less, whose frame size
// and macroblock rate carry them; nothing beyond the largest.
struct H264Profile {
    std::string_view profile;
    std::string_view level;
};
std::optional<H264Profile> H264ProfileFor(int width, int height, Ratio frameRate, int leastLevel = 30);

// Whether a target can be written: an allowed video and container pair, a norm exactly for VCD (whose
// frame rate and size it fixes), even sides from 16 to 4096, a size H.264 can carry.
Status CheckTarget(const TargetPreset& preset);

// Frames at a fixed rate (-r), since the file or its reader has no clock of its own: AMV, whose
// audio blocks hold one frame's samples, Motion JPEG, raw frames and DPG, whose header gives one rate.
bool FixedFrameRate(const TargetPreset& preset);
// Whether the file carries sound: raw frames and the Motion JPEG screens have none.
bool HasSound(const TargetPreset& preset);
// Whether the request's video bitrate is what the encoder is held to: Motion JPEG and AMV keep a
// fixed quality, raw frames have no bitrate (a DPG's MPEG-1, at its fixed rate, takes one).
bool TakesBitrate(const TargetPreset& preset);
// The file's ending: ".mp4", ".mpg", ".avi", ".amv", ".rgb", ".dpg".
std::string_view FileEnding(const TargetPreset& preset);
// A raw target's file name tail, which tells its reader (and the after-check) what the frames are:
// "-160x128-15fps-rgb565be.rgb"; empty for every other target.
std::string RawNameTail(const TargetPreset& preset);
// The other way, from a whole name: its frames' size, rate and byte order; none (Named() false) for
// a name without such a tail. A plain value: GCC's release build misreads an optional copied of it.
struct RawFrames {
    int width = 0;
    int height = 0;
    int rate = 0;
    VideoKind pixels = VideoKind::Rgb565le;
    bool Named() const { return width > 0; }
    long FrameBytes() const { return 2L * width * height; }
};
RawFrames RawFramesFromName(std::string_view name);

// Stable words, in files and listings: "mpeg4", "h264", "vcd", "h264-baseline", "mjpeg", "amv",
// "rgb565le", "rgb565be", "mpeg1"; "mp4", "psp", "mpg", "avi", "amv", "raw", "dpg"; "ntsc", "pal".
std::string_view VideoWord(VideoKind video);
std::string_view ContainerWord(Container container);
std::string_view NormWord(Norm norm);
std::optional<VideoKind> VideoFromWord(std::string_view word);
std::optional<Container> ContainerFromWord(std::string_view word);
std::optional<Norm> NormFromWord(std::string_view word);
// "30000/1001", "25", "10:11" as the encoder takes a rate and a pixel aspect is written.
std::string RateText(Ratio rate);
std::string AspectText(Ratio aspect);
// The other way: "25", "30000/1001" (rates), "10:11" (aspects); whole numbers above 0 only.
std::optional<Ratio> RateFromText(std::string_view text);
std::optional<Ratio> AspectFromText(std::string_view text);

} // namespace zvm
