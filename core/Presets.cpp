#include "core/Presets.h"

#include "core/Text.h"
#include "core/Words.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <charconv>

namespace zvm {

namespace {
constexpr Ratio kNtscRate{30000, 1001};
constexpr Ratio kPalRate{25, 1};
// The later VCD rows' audio: the VCD standard's own rate.
constexpr std::string_view kVcdStandardAudio = "224";

constexpr std::array<TargetPreset, 19> kPresets{{
    {"GBA - 240x160 (1.5000 ratio)", 240, 160, CommandForm::Mp4, "gba-240x160", {}, VideoKind::Mpeg4,
     Container::Mp4, Norm::None, kNtscRate, true},
    {"GBA - 240x176 (1.3636 ratio)", 240, 176, CommandForm::Mp4, "gba-240x176", {}, VideoKind::Mpeg4,
     Container::Mp4, Norm::None, kNtscRate, true},
    {"PSP - 320x240 (1.3333 ratio)", 320, 240, CommandForm::Mp4, "psp-320x240", {}, VideoKind::Mpeg4,
     Container::Mp4, Norm::None, kNtscRate, true},
    {"PSP - 368x208 (1.1769 ratio)", 368, 208, CommandForm::Mp4, "psp-368x208", {}, VideoKind::Mpeg4,
     Container::Mp4, Norm::None, kNtscRate, true},
    // A TV shows this row's pixels narrower than square, as the designed fit does not allow for.
    {"VCD - 352x240 (1.4666 ratio)", 352, 240, CommandForm::Vcd, "vcd-352x240", {}, VideoKind::Vcd,
     Container::Mpg, Norm::Ntsc, kNtscRate, true, kVcdAudioBitrate, kVcdSampleRate, {10, 11}, "vcd-tv-352x240"},
    {"PSP - 480x272 (H.264)", 480, 272, CommandForm::Mp4, "psp-480x272", {}, VideoKind::H264, Container::Psp,
     Norm::None, kNtscRate},
    // A 4:3 TV shows 352x288 (PAL) and 352x240 (NTSC) as 4:3 frames: 12:11 and 10:11 pixels.
    {"VCD (PAL) - 352x288", 352, 288, CommandForm::Vcd, "vcd-pal-352x288", {12, 11}, VideoKind::Vcd,
     Container::Mpg, Norm::Pal, kPalRate, false, kVcdStandardAudio, kVcdSampleRate},
    {"VCD for a 4:3 TV - 352x240", 352, 240, CommandForm::Vcd, "vcd-tv-352x240", {10, 11}, VideoKind::Vcd,
     Container::Mpg, Norm::Ntsc, kNtscRate, false, kVcdStandardAudio, kVcdSampleRate},
    // Today's small screens, by family. Their players' limits and sources are in DeviceLimits.cpp.
    {.displayText = "DS - 256x192 (AVI)", .width = 256, .height = 192, .form = CommandForm::Mp4,
     .name = "ds-256x192", .container = Container::Avi, .maxFrameRate = {15, 1}, .family = ZVM_TEXT("zvm", "Nintendo DS")},
    // AMV's audio blocks hold one frame's samples, so its rate divides 22050.
    {.displayText = "AMV player - 160x112", .width = 160, .height = 112, .form = CommandForm::Mp4,
     .name = "amv-160x112", .video = VideoKind::Amv, .container = Container::Amv, .maxFrameRate = {10, 1},
     .family = ZVM_TEXT("zvm", "MP4 players (AMV)")},
    {.displayText = "AMV player - 208x176", .width = 208, .height = 176, .form = CommandForm::Mp4,
     .name = "amv-208x176", .video = VideoKind::Amv, .container = Container::Amv, .maxFrameRate = {10, 1},
     .family = ZVM_TEXT("zvm", "MP4 players (AMV)")},
    // The panels take the high byte first; a reader that copies the file straight to an ST7735 wants
    // that, one that hands frames to a library which swaps the bytes wants them low byte first.
    {.displayText = "ST7735 screen - 160x128 (RGB565)", .width = 160, .height = 128, .form = CommandForm::Mp4,
     .name = "mcu-160x128", .video = VideoKind::Rgb565be, .container = Container::Raw, .maxFrameRate = {15, 1},
     .family = ZVM_TEXT("zvm", "Microcontroller screens")},
    {.displayText = "ST7789 screen - 240x240 (RGB565)", .width = 240, .height = 240, .form = CommandForm::Mp4,
     .name = "mcu-240x240", .video = VideoKind::Rgb565le, .container = Container::Raw, .maxFrameRate = {15, 1},
     .family = ZVM_TEXT("zvm", "Microcontroller screens")},
    {.displayText = "ILI9341 screen - 320x240 (MJPEG)", .width = 320, .height = 240, .form = CommandForm::Mp4,
     .name = "mcu-320x240", .video = VideoKind::Mjpeg, .container = Container::Avi, .maxFrameRate = {15, 1},
     .family = ZVM_TEXT("zvm", "Microcontroller screens")},
    {.displayText = "PS Vita - 960x544 (H.264 baseline)", .width = 960, .height = 544, .form = CommandForm::Mp4,
     .name = "vita-960x544", .video = VideoKind::H264Baseline, .maxFrameRate = kNtscRate,
     .family = ZVM_TEXT("zvm", "Baseline H.264")},
    {.displayText = "iPod - 320x240 (H.264 baseline)", .width = 320, .height = 240, .form = CommandForm::Mp4,
     .name = "ipod-320x240", .video = VideoKind::H264Baseline, .maxFrameRate = kNtscRate,
     .family = ZVM_TEXT("zvm", "Baseline H.264")},
    // Weak processors: the lightest decoders at each size.
    {.displayText = "Retro handheld - 320x240", .width = 320, .height = 240, .form = CommandForm::Mp4,
     .name = "retro-320x240", .video = VideoKind::H264Baseline, .maxFrameRate = kNtscRate,
     .family = ZVM_TEXT("zvm", "Retro handhelds")},
    {.displayText = "Retro handheld - 640x480 (AVI)", .width = 640, .height = 480, .form = CommandForm::Mp4,
     .name = "retro-640x480", .container = Container::Avi, .maxFrameRate = kNtscRate, .family = ZVM_TEXT("zvm", "Retro handhelds")},
    // MoonShell's own file, after the rows above so that theirs keep their places: its sound as the
    // format's descriptions give it.
    {.displayText = "DS - 256x192 (DPG)", .width = 256, .height = 192, .form = CommandForm::Mp4,
     .name = "dpg-256x192", .video = VideoKind::Mpeg1, .container = Container::Dpg, .maxFrameRate = {15, 1},
     .audioBitrate = "128", .sampleRate = "32000", .family = ZVM_TEXT("zvm", "Nintendo DS")},
}};

constexpr bool AllSidesEven() {
    for (const auto& p : kPresets) {
        if (p.width % 2 != 0 || p.height % 2 != 0) {
            return false;
        }
    }
    return true;
}
static_assert(AllSidesEven(), "padding arithmetic needs even target sides");

constexpr Words<VideoKind, 9> kVideoWords{{{VideoKind::Mpeg4, "mpeg4"},
                                           {VideoKind::H264, "h264"},
                                           {VideoKind::Vcd, "vcd"},
                                           {VideoKind::H264Baseline, "h264-baseline"},
                                           {VideoKind::Mjpeg, "mjpeg"},
                                           {VideoKind::Amv, "amv"},
                                           {VideoKind::Rgb565le, "rgb565le"},
                                           {VideoKind::Rgb565be, "rgb565be"},
                                           {VideoKind::Mpeg1, "mpeg1"}}};
constexpr Words<Container, 7> kContainerWords{{{Container::Mp4, "mp4"},
                                               {Container::Psp, "psp"},
                                               {Container::Mpg, "mpg"},
                                               {Container::Avi, "avi"},
                                               {Container::Amv, "amv"},
                                               {Container::Raw, "raw"},
                                               {Container::Dpg, "dpg"}}};
constexpr Words<Norm, 2> kNormWords{{{Norm::Ntsc, "ntsc"}, {Norm::Pal, "pal"}}};

// The pairs a player can take: MPEG-4 Part 2 in MP4 or (Xvid-tagged) AVI, H.264 in MP4 or the PSP's
// MP4, baseline H.264 in MP4, VCD in MPEG-PS, Motion JPEG in AVI, AMV in its own, RGB565 frames bare,
// MPEG-1 in DPG.
constexpr std::array<std::pair<VideoKind, Container>, 11> kPairs{{{VideoKind::Mpeg4, Container::Mp4},
                                                                  {VideoKind::H264, Container::Mp4},
                                                                  {VideoKind::H264, Container::Psp},
                                                                  {VideoKind::Vcd, Container::Mpg},
                                                                  {VideoKind::Mpeg4, Container::Avi},
                                                                  {VideoKind::H264Baseline, Container::Mp4},
                                                                  {VideoKind::Mjpeg, Container::Avi},
                                                                  {VideoKind::Amv, Container::Amv},
                                                                  {VideoKind::Rgb565le, Container::Raw},
                                                                  {VideoKind::Rgb565be, Container::Raw},
                                                                  {VideoKind::Mpeg1, Container::Dpg}}};

constexpr int kAmvSampleRate = 22050;

// A norm's VCD frame: its size and rate.
struct NormFrame {
    Norm norm;
    int width;
    int height;
    Ratio rate;
};
constexpr std::array<NormFrame, 2> kNormFrames{{{Norm::Ntsc, 352, 240, kNtscRate}, {Norm::Pal, 352, 288, kPalRate}}};

// H.264's levels from 2.1: most macroblocks in a frame and per second.
struct Level {
    std::string_view name;
    int tenfold;
    long frameMacroblocks;
    long macroblocksPerSecond;
};
constexpr std::array<Level, 9> kLevels{{{"2.1", 21, 792, 19800},
                                        {"2.2", 22, 1620, 20250},
                                        {"3.0", 30, 1620, 40500},
                                        {"3.1", 31, 3600, 108000},
                                        {"3.2", 32, 5120, 216000},
                                        {"4.0", 40, 8192, 245760},
                                        {"4.2", 42, 8704, 522240},
                                        {"5.0", 50, 22080, 589824},
                                        {"5.1", 51, 36864, 983040}}};

constexpr int kLeastSide = 16;
constexpr int kMostSide = 4096;

constexpr std::size_t kLongestName = 40;
constexpr std::size_t kLongestLabel = 80;

Status Refused(const char* message, const TargetPreset& preset) {
    return Status::Failure(FailureKind::BadInput, message, std::string(preset.name));
}

// The whole table: the built-in rows, then every user's row of this run, each viewing its held texts.
struct Table {
    std::vector<UserTarget> held; // by row after the built-in ones
    std::vector<bool> live;
    std::vector<TargetPreset> rows{kPresets.begin(), kPresets.end()};
};

Table& TheTable() {
    static Table table;
    return table;
}

std::optional<Ratio> RatioFromText(std::string_view text, char separator, bool wholeAlone) {
    const std::size_t split = text.find(separator);
    if (split == std::string_view::npos && !wholeAlone) {
        return std::nullopt;
    }
    const std::string_view first = text.substr(0, split);
    const std::string_view second = split == std::string_view::npos ? "1" : text.substr(split + 1);
    Ratio ratio;
    const auto [endFirst, firstError] = std::from_chars(first.data(), first.data() + first.size(), ratio.across);
    const auto [endSecond, secondError] =
        std::from_chars(second.data(), second.data() + second.size(), ratio.down);
    if (firstError != std::errc() || secondError != std::errc() || endFirst != first.data() + first.size() ||
        endSecond != second.data() + second.size() || ratio.across <= 0 || ratio.down <= 0) {
        return std::nullopt;
    }
    return ratio;
}

// A whole number of digits alone, within bounds; empty is allowed (the request's value is used).
bool WholeWithin(const std::string& text, int least, int most) {
    if (text.empty()) {
        return true;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= least && value <= most;
}
} // namespace

std::span<const TargetPreset> TargetPresets() {
    return TheTable().rows;
}

std::span<const TargetPreset> BuiltInTargets() {
    return kPresets;
}

const TargetPreset* FindBuiltIn(std::string_view name) {
    const auto found = std::find_if(kPresets.begin(), kPresets.end(),
                                    [name](const TargetPreset& row) { return row.name == name; });
    return found == kPresets.end() ? nullptr : &*found;
}

UserTarget CopyOfBuiltIn(const TargetPreset& builtIn) {
    UserTarget copy;
    copy.name = std::string(builtIn.name).append("-copy");
    copy.label = std::string("Copy of ").append(builtIn.displayText);
    copy.width = builtIn.width;
    copy.height = builtIn.height;
    copy.pixelAspect = builtIn.pixelAspect;
    copy.video = builtIn.video;
    copy.container = builtIn.container;
    copy.norm = builtIn.norm;
    copy.maxFrameRate = builtIn.maxFrameRate;
    copy.audioBitrate = std::string(builtIn.audioBitrate);
    copy.sampleRate = std::string(builtIn.sampleRate);
    copy.base = std::string(builtIn.name);
    return copy;
}

TargetPreset RowFor(const UserTarget& target) {
    const bool vcd = target.video == VideoKind::Vcd;
    TargetPreset row{target.label, target.width, target.height, vcd ? CommandForm::Vcd : CommandForm::Mp4,
                     target.name};
    row.pixelAspect = target.pixelAspect;
    row.video = target.video;
    row.container = target.container;
    row.norm = target.norm;
    row.maxFrameRate = target.maxFrameRate;
    // A VCD's audio is the standard's unless the target says otherwise: the request's would not play.
    row.audioBitrate = !target.audioBitrate.empty() ? std::string_view(target.audioBitrate)
                       : vcd                        ? kVcdStandardAudio
                                                    : std::string_view();
    row.sampleRate = !target.sampleRate.empty() ? std::string_view(target.sampleRate)
                     : vcd                      ? kVcdSampleRate
                                                : std::string_view();
    row.user = true;
    return row;
}

void SetUserTargets(const std::vector<UserTarget>& targets) {
    Table& table = TheTable();
    std::fill(table.live.begin(), table.live.end(), false);
    for (const UserTarget& target : targets) {
        const auto same = std::find_if(table.held.begin(), table.held.end(),
                                       [&](const UserTarget& held) { return held.name == target.name; });
        const auto at = static_cast<std::size_t>(same - table.held.begin());
        if (same == table.held.end()) {
            table.held.push_back(target);
            table.live.push_back(true);
        } else {
            *same = target;
            table.live[at] = true;
        }
    }
    table.rows.assign(kPresets.begin(), kPresets.end());
    for (std::size_t i = 0; i < table.held.size(); ++i) {
        table.rows.push_back(RowFor(table.held[i]));
        table.rows.back().withdrawn = !table.live[i];
    }
}

std::vector<UserTarget> UserTargets() {
    const Table& table = TheTable();
    std::vector<UserTarget> live;
    for (std::size_t i = 0; i < table.held.size(); ++i) {
        if (table.live[i]) {
            live.push_back(table.held[i]);
        }
    }
    return live;
}

Status CheckUserTarget(const UserTarget& target) {
    const TargetPreset row = RowFor(target);
    const bool wordly = std::all_of(target.name.begin(), target.name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
    const bool lettered = std::any_of(target.name.begin(), target.name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    if (target.name.empty() || target.name.size() > kLongestName || !wordly || !lettered ||
        target.name.front() == '-') {
        return Status::Failure(FailureKind::BadInput,
                               ZVM_TEXT("zvm", "The target name '%1' is not one the tool can take: use up to 40 "
                                        "lowercase letters, digits and '-', with a letter, not starting with '-'"),
                               target.name);
    }
    for (const TargetPreset& builtIn : kPresets) {
        if (builtIn.name == target.name) {
            return Refused(ZVM_TEXT("zvm", "The target name %1 is a built-in target's"), row);
        }
    }
    if (!target.base.empty() && FindBuiltIn(target.base) == nullptr) {
        return Refused(ZVM_TEXT("zvm", "The target %1 starts from a built-in target that does not exist"), row);
    }
    const bool plain = std::none_of(target.label.begin(), target.label.end(),
                                    [](char c) { return static_cast<unsigned char>(c) < ' '; });
    if (target.label.empty() || target.label.size() > kLongestLabel || !plain) {
        return Refused(ZVM_TEXT("zvm", "The target %1 needs a label of one line, at most 80 characters"), row);
    }
    if (!WholeWithin(target.audioBitrate, 1, 1024) || !WholeWithin(target.sampleRate, 8000, 192000)) {
        return Refused(ZVM_TEXT("zvm", "The target %1 needs an audio bitrate from 1 to 1024 kbit/s and a sample rate "
                                "from 8000 to 192000 Hz, as whole numbers"),
                       row);
    }
    return CheckTarget(row);
}

std::string_view ScreenName(const TargetPreset& preset) {
    return preset.displayText.substr(0, preset.displayText.find(" ("));
}

const TargetPreset* FindPreset(int index) {
    const std::vector<TargetPreset>& rows = TheTable().rows;
    if (index < 0 || index >= static_cast<int>(rows.size())) {
        return nullptr;
    }
    return &rows[static_cast<std::size_t>(index)];
}

std::optional<int> PresetByName(std::string_view name) {
    const std::vector<TargetPreset>& rows = TheTable().rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].name == name && !rows[i].withdrawn) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

bool UsesMovieType(const TargetPreset& preset) {
    return preset.designed && preset.form == CommandForm::Mp4;
}

bool NeedsModernForm(const TargetPreset& preset) {
    return !preset.designed;
}

std::optional<H264Profile> H264ProfileFor(int width, int height, Ratio frameRate, int leastLevel) {
    const long across = (width + 15) / 16;
    const long down = (height + 15) / 16;
    const long frame = across * down;
    const double perSecond = static_cast<double>(frame) * frameRate.Value();
    for (const Level& level : kLevels) {
        if (level.tenfold < leastLevel) {
            continue;
        }
        // Neither side may exceed the square root of eight frames' worth of macroblocks.
        const double side = std::sqrt(8.0 * static_cast<double>(level.frameMacroblocks));
        if (frame <= level.frameMacroblocks && perSecond <= static_cast<double>(level.macroblocksPerSecond) &&
            static_cast<double>(across) <= side && static_cast<double>(down) <= side) {
            return H264Profile{"main", level.name};
        }
    }
    return std::nullopt;
}

Status CheckTarget(const TargetPreset& preset) {
    if (preset.maxFrameRate.across <= 0 || preset.maxFrameRate.down <= 0 || preset.pixelAspect.across <= 0 ||
        preset.pixelAspect.down <= 0) {
        return Refused(ZVM_TEXT("zvm", "The target %1 needs a frame rate and a pixel aspect above 0"), preset);
    }
    bool paired = false;
    for (const auto& [video, container] : kPairs) {
        paired = paired || (video == preset.video && container == preset.container);
    }
    if (!paired) {
        return Refused(ZVM_TEXT("zvm", "The target %1 pairs a video and a container no player takes"), preset);
    }
    if (preset.width < kLeastSide || preset.height < kLeastSide || preset.width > kMostSide ||
        preset.height > kMostSide || preset.width % 2 != 0 || preset.height % 2 != 0) {
        return Refused(ZVM_TEXT("zvm", "The target %1 needs even sides from 16 to 4096 pixels"), preset);
    }
    if ((preset.video == VideoKind::Vcd) != (preset.norm != Norm::None)) {
        return Refused(ZVM_TEXT("zvm", "The target %1 needs a norm exactly when it is a VCD"), preset);
    }
    for (const NormFrame& frame : kNormFrames) {
        if (frame.norm == preset.norm && (frame.width != preset.width || frame.height != preset.height ||
                                          frame.rate != preset.maxFrameRate)) {
            return Refused(ZVM_TEXT("zvm", "The target %1 does not have its norm's size and frame rate"), preset);
        }
    }
    if (preset.video == VideoKind::Amv &&
        (preset.maxFrameRate.down != 1 || kAmvSampleRate % preset.maxFrameRate.across != 0)) {
        return Refused(ZVM_TEXT("zvm", "The target %1 is AMV: its frame rate must divide 22050 evenly (10, 15, 25, 30)"),
                       preset);
    }
    if (preset.container == Container::Raw && preset.maxFrameRate.down != 1) {
        return Refused(ZVM_TEXT("zvm", "The target %1 is raw frames, whose name tells its rate: a whole number of frames a second"),
                       preset);
    }
    const bool h264 = preset.video == VideoKind::H264 || preset.video == VideoKind::H264Baseline;
    if (h264 && !H264ProfileFor(preset.width, preset.height, preset.maxFrameRate)) {
        return Refused(ZVM_TEXT("zvm", "The target %1 is larger than H.264 level 5.1 carries"), preset);
    }
    return {};
}

bool FixedFrameRate(const TargetPreset& preset) {
    return preset.video == VideoKind::Amv || preset.video == VideoKind::Mjpeg || preset.container == Container::Raw ||
           preset.container == Container::Dpg;
}

bool HasSound(const TargetPreset& preset) {
    return preset.container != Container::Raw && preset.video != VideoKind::Mjpeg;
}

bool TakesBitrate(const TargetPreset& preset) {
    return preset.video != VideoKind::Vcd && (preset.container == Container::Dpg || !FixedFrameRate(preset));
}

std::string_view FileEnding(const TargetPreset& preset) {
    switch (preset.container) {
    case Container::Mpg:
        return ".mpg";
    case Container::Avi:
        return ".avi";
    case Container::Amv:
        return ".amv";
    case Container::Raw:
        return ".rgb";
    case Container::Dpg:
        return ".dpg";
    case Container::Mp4:
    case Container::Psp:
        break;
    }
    return preset.form == CommandForm::Vcd ? ".mpg" : ".mp4";
}

std::string RawNameTail(const TargetPreset& preset) {
    if (preset.container != Container::Raw) {
        return {};
    }
    // Appended piece by piece: GCC 12's release build warns falsely of overlap on "-" + a temporary.
    std::string tail = "-";
    tail.append(std::to_string(preset.width)).append("x").append(std::to_string(preset.height));
    tail.append("-").append(RateText(preset.maxFrameRate)).append("fps-").append(VideoWord(preset.video));
    return tail.append(".rgb");
}

RawFrames RawFramesFromName(std::string_view name) {
    // "...-<width>x<height>-<rate>fps-<pixels>.rgb", read from the end.
    if (!name.ends_with(".rgb")) {
        return {};
    }
    name.remove_suffix(4);
    const auto lastPart = [&name]() {
        const std::size_t dash = name.rfind('-');
        if (dash == std::string_view::npos) {
            return std::string_view();
        }
        const std::string_view part = name.substr(dash + 1);
        name = name.substr(0, dash);
        return part;
    };
    const auto whole = [](std::string_view text, int& value) {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc() && end == text.data() + text.size() && value > 0;
    };
    RawFrames frames;
    const std::optional<VideoKind> pixels = VideoFromWord(lastPart());
    std::string_view rate = lastPart();
    const std::string_view size = lastPart();
    const std::size_t by = size.find('x');
    if (!pixels || (*pixels != VideoKind::Rgb565le && *pixels != VideoKind::Rgb565be) || !rate.ends_with("fps") ||
        by == std::string_view::npos) {
        return {};
    }
    rate.remove_suffix(3);
    if (!whole(rate, frames.rate) || !whole(size.substr(0, by), frames.width) ||
        !whole(size.substr(by + 1), frames.height) || frames.width > kMostSide || frames.height > kMostSide) {
        return {};
    }
    frames.pixels = *pixels;
    return frames;
}

std::string_view VideoWord(VideoKind video) {
    return WordFor(kVideoWords, video);
}

std::string_view ContainerWord(Container container) {
    return WordFor(kContainerWords, container);
}

std::string_view NormWord(Norm norm) {
    return WordFor(kNormWords, norm);
}

std::optional<VideoKind> VideoFromWord(std::string_view word) {
    return ValueFor(kVideoWords, word);
}

std::optional<Container> ContainerFromWord(std::string_view word) {
    return ValueFor(kContainerWords, word);
}

std::optional<Norm> NormFromWord(std::string_view word) {
    return ValueFor(kNormWords, word);
}

std::string RateText(Ratio rate) {
    return rate.down == 1 ? std::to_string(rate.across)
                          : std::to_string(rate.across) + "/" + std::to_string(rate.down);
}

std::string AspectText(Ratio aspect) {
    return std::to_string(aspect.across) + ":" + std::to_string(aspect.down);
}

std::optional<Ratio> RateFromText(std::string_view text) {
    return RatioFromText(text, '/', true);
}

std::optional<Ratio> AspectFromText(std::string_view text) {
    return RatioFromText(text, ':', false);
}

} // namespace zvm
