#include "Presets.h"

#include "Text.h"
#include "Words.h"

#include <array>
#include <cmath>

namespace zvm {

namespace {
constexpr Ratio kNtscRate{30000, 1001};
constexpr Ratio kPalRate{25, 1};

constexpr std::array<TargetPreset, 8> kPresets{{
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
     Container::Mpg, Norm::Pal, kPalRate, false, "224", "44100"},
    {"VCD for a 4:3 TV - 352x240", 352, 240, CommandForm::Vcd, "vcd-tv-352x240", {10, 11}, VideoKind::Vcd,
     Container::Mpg, Norm::Ntsc, kNtscRate, false, "224", "44100"},
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

constexpr Words<VideoKind, 3> kVideoWords{{{VideoKind::Mpeg4, "mpeg4"}, {VideoKind::H264, "h264"}, {VideoKind::Vcd, "vcd"}}};
constexpr Words<Container, 3> kContainerWords{
    {{Container::Mp4, "mp4"}, {Container::Psp, "psp"}, {Container::Mpg, "mpg"}}};
constexpr Words<Norm, 2> kNormWords{{{Norm::Ntsc, "ntsc"}, {Norm::Pal, "pal"}}};

// The pairs a player can take: MPEG-4 Part 2 in MP4, H.264 in MP4 or the PSP's MP4, VCD in MPEG-PS.
constexpr std::array<std::pair<VideoKind, Container>, 4> kPairs{{{VideoKind::Mpeg4, Container::Mp4},
                                                                 {VideoKind::H264, Container::Mp4},
                                                                 {VideoKind::H264, Container::Psp},
                                                                 {VideoKind::Vcd, Container::Mpg}}};

// A norm's VCD frame: its size and rate.
struct NormFrame {
    Norm norm;
    int width;
    int height;
    Ratio rate;
};
constexpr std::array<NormFrame, 2> kNormFrames{{{Norm::Ntsc, 352, 240, kNtscRate}, {Norm::Pal, 352, 288, kPalRate}}};

// H.264's levels from 3.0: most macroblocks in a frame and per second.
struct Level {
    std::string_view name;
    long frameMacroblocks;
    long macroblocksPerSecond;
};
constexpr std::array<Level, 7> kLevels{{{"3.0", 1620, 40500},
                                        {"3.1", 3600, 108000},
                                        {"3.2", 5120, 216000},
                                        {"4.0", 8192, 245760},
                                        {"4.2", 8704, 522240},
                                        {"5.0", 22080, 589824},
                                        {"5.1", 36864, 983040}}};

constexpr int kLeastSide = 16;
constexpr int kMostSide = 4096;

Status Refused(const char* message, const TargetPreset& preset) {
    return Status::Failure(FailureKind::BadInput, message, std::string(preset.name));
}
} // namespace

std::span<const TargetPreset> TargetPresets() {
    return kPresets;
}

std::string_view ScreenName(const TargetPreset& preset) {
    return preset.displayText.substr(0, preset.displayText.find(" ("));
}

const TargetPreset* FindPreset(int index) {
    if (index < 0 || index >= static_cast<int>(kPresets.size())) {
        return nullptr;
    }
    return &kPresets[static_cast<std::size_t>(index)];
}

std::optional<int> PresetByName(std::string_view name) {
    for (std::size_t i = 0; i < kPresets.size(); ++i) {
        if (kPresets[i].name == name) {
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

std::optional<H264Profile> H264ProfileFor(int width, int height, Ratio frameRate) {
    const long across = (width + 15) / 16;
    const long down = (height + 15) / 16;
    const long frame = across * down;
    const double perSecond = static_cast<double>(frame) * frameRate.Value();
    for (const Level& level : kLevels) {
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
        return Refused(ZVM_TEXT("The target %1 needs a frame rate and a pixel aspect above 0"), preset);
    }
    bool paired = false;
    for (const auto& [video, container] : kPairs) {
        paired = paired || (video == preset.video && container == preset.container);
    }
    if (!paired) {
        return Refused(ZVM_TEXT("The target %1 pairs a video and a container no player takes"), preset);
    }
    if (preset.width < kLeastSide || preset.height < kLeastSide || preset.width > kMostSide ||
        preset.height > kMostSide || preset.width % 2 != 0 || preset.height % 2 != 0) {
        return Refused(ZVM_TEXT("The target %1 needs even sides from 16 to 4096 pixels"), preset);
    }
    if ((preset.video == VideoKind::Vcd) != (preset.norm != Norm::None)) {
        return Refused(ZVM_TEXT("The target %1 needs a norm exactly when it is a VCD"), preset);
    }
    for (const NormFrame& frame : kNormFrames) {
        if (frame.norm == preset.norm && (frame.width != preset.width || frame.height != preset.height ||
                                          frame.rate != preset.maxFrameRate)) {
            return Refused(ZVM_TEXT("The target %1 does not have its norm's size and frame rate"), preset);
        }
    }
    if (preset.video == VideoKind::H264 && !H264ProfileFor(preset.width, preset.height, preset.maxFrameRate)) {
        return Refused(ZVM_TEXT("The target %1 is larger than H.264 level 5.1 carries"), preset);
    }
    return {};
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

std::string RateText(Ratio rate) {
    return rate.down == 1 ? std::to_string(rate.across)
                          : std::to_string(rate.across) + "/" + std::to_string(rate.down);
}

std::string AspectText(Ratio aspect) {
    return std::to_string(aspect.across) + ":" + std::to_string(aspect.down);
}

} // namespace zvm
