#include "core/DeviceLimits.h"

#include "core/Text.h"

#include "core/OutputTarget.h"

#include <array>
#include <cmath>

namespace zvm {

namespace {
// Sources, as their pages title themselves:
//   [yogarine]  "Encoding PSP compatible MP4 video on Linux with ffmpeg", blog.yogarine.com, 2006-11
//               (updated 2008-08 "with the latest PSP restrictions")
//   [junkchest] junkchest.blogspot.com, 2006-02, what a PSP-playable MPEG-4 file is
//   [tips]      "The Basics of Video Playing in PSP", sony-psp-tips-tricks.blogspot.com, 2008-01
//   [pspnuts]   pspnuts.theyard.org, watching videos from the Memory Stick
//   [rob]       "PSP video guide", rob.opendot.cl (an earlier copy is on blog.csdn.net)
//   [fnord]     fnord.phfactor.net, 2007-04-15, 480x272 from firmware 3.30
//   [ruben]     rubenlaguna.com, 2007-03, which folder plays which PSP file
//   [icdia]     "MPEG1 Requirements", icdia.co.uk cdprosupport
//   [telecom]   "VCD - Video CD", en.telecomabc.nl
//   [muxer]     ffmpeg's psp muxer, which refuses to start: "PSP mode need one video and one audio stream"
//   [amvwiki]   "AMV video format", bookrags.com/wiki (and its copies on the-uncensored-wiki.com, owiki.org)
//   [amvmux]    ffmpeg 5.1's amv muxer, measured: exactly one video and one audio stream, mono 22050 Hz
//   [dpgwiki]   "nDs-mPeG", the-uncensored-wiki.com and en-academic.com: DS video at 15 fps, 256x192
//   [dpg4x]     "Dpg4x DPG", dpg4x.sourceforge.net/dpg.html: DPG's versions, header, streams and sizes
//   [cyberleo]  "DPG", wiki.cyberleo.net: the header's fields, the file's parts in order, the seek list
//   [apple]     Apple's iPod video limits as quoted on forums.macnn.com (from ilounge.com), 2005
//   [ipodlc]    "640x480 iPod Baseline Low Complexity Profile", ffmpeg-devel, 2006-09-20
//   [st7735]    "ST7735-VideoPlayback-STM32" (cmd05): RGB565, the high byte first
//   [espvideo]  "Creating a videoplayer for ESP32", jpralves.net, 2020-05: raw RGB565 frames, no header
//   [clouder]   blog.clouder.jp/2005/12/05/psprsshack: firmware 2.60's RSS channel plays an enclosure (MP3,
//               MP4) without saving it, fetching it in ranges as it plays
//   [faststart] "Fast-Start Progressive Downloads", developer.apple.com QuickTime tutorial: a movie plays
//               before it has all arrived only with its index (moov) first
//
// A guide's one video bitrate is also held over any one second: a player decodes as it plays, so a
// burst the file's average hides is still more than it takes.

constexpr std::array<Ratio, 2> kPspMpeg4Rates{{{30000, 1001}, {15000, 1001}}}; // [yogarine] [junkchest]
constexpr std::array<int, 1> kPspMpeg4SampleRates{24000}; // [yogarine] "must be 24kHz", [junkchest]
// [icdia]: 29.97, 30, or 23.976 for film; [telecom]: 29.97 or 23.976.
constexpr std::array<Ratio, 3> kNtscVcdRates{{{30000, 1001}, {30, 1}, {24000, 1001}}};
constexpr std::array<Ratio, 2> kPalVcdRates{{{25, 1}, {24, 1}}}; // [icdia]: 25, or 24 for film
constexpr std::array<int, 1> kVcdSampleRates{44100};           // [icdia] [telecom]
// [icdia]: VCD 1.1 takes 224 kbit/s only, VCD 2.0 also 128, 192 and 384; [telecom] names 224 alone.
// The designed VCD row writes 192, so the table holds VCD 2.0's.
constexpr std::array<int, 4> kVcdAudioKbit{128, 192, 224, 384};
// [icdia]'s constant 1,151,929 bit/s into its 40,960-byte buffer: the pictures decoded in one second
// take at most what arrived in it and what the full buffer held before.
constexpr double kVcdPeakKbit = 1151.929 + 40960 * 8 / 1000.0;

constexpr DeviceLimits kPspMpeg4{
    .device = "PSP",
    .videoCodec = "mpeg4",            // [yogarine]
    .profile = "Simple Profile",      // [pspnuts]
    .bFrames = false,                 // Simple Profile has none
    .mostVideoKbit = 768,             // [tips]; [junkchest] holds video and sound together to it
    .mostPeakVideoKbit = 768,         // [tips]
    .sidesOf16 = true,                // [yogarine]
    .mostPixels = 76800,              // [yogarine]
    .frameRates = kPspMpeg4Rates,
    .audioCodec = "aac",              // [yogarine]
    .sampleRates = kPspMpeg4SampleRates,
    .channels = 2,                    // [junkchest] "stereo AAC"
    .container = "mp4",
    .indexLeads = true,               // [clouder] [faststart]
    .note = "Older firmware plays only the PSP's own MP4 (brand MSNV) from MP_ROOT/100MNV01, named "
            "M4Vnnnnn.MP4 [junkchest] [tips] [yogarine]; later firmware plays plain MP4 from VIDEO [ruben]. "
            "One stored note (Chen Rushan, 2009) gives the sample rate as at most 24 kHz rather than exactly. "
            "The index comes first for the RSS channel, which plays a file as it arrives [clouder]; no source "
            "says the Memory Stick needs it.",
    .firmwareBrand = "MSNV",
    .firmwareWithBrand = ZVM_TEXT("zvm", "in the PSP's own format, which older firmware plays too, from "
                                         "MP_ROOT/100MNV01 as M4Vnnnnn.MP4"),
    .firmwareWithoutBrand = ZVM_TEXT("zvm", "plain MP4, which later firmware plays from VIDEO; older firmware "
                                            "wants the PSP's own format, which Best quality writes"),
    .sources = "\"Encoding PSP compatible MP4 video on Linux with ffmpeg\" (blog.yogarine.com); "
               "junkchest.blogspot.com; "
               "\"The Basics of Video Playing in PSP\" (sony-psp-tips-tricks.blogspot.com); "
               "pspnuts.theyard.org; rubenlaguna.com; blog.clouder.jp; "
               "\"Fast-Start Progressive Downloads\" (developer.apple.com)",
};

constexpr DeviceLimits kPspH264{
    .device = "PSP",
    .videoCodec = "h264",
    .profile = "Main",                // [rob]
    .mostLevel = 21,                  // [rob], [fnord] "-level 21"; the command writes 3.0
    .mostReferenceFrames = 2,         // [rob]
    .bFrames = true,                  // [fnord] and [rob] encode with "-bf 1"
    .mostVideoKbit = 768,             // [rob]
    .mostPeakVideoKbit = 768,         // [rob]
    .mostFrameRate = 30,              // [rob]
    .audioCodec = "aac",              // [rob] "LC AAC 2-channel audio up to 48kHz"
    .mostSampleRate = 48000,
    .channels = 2,
    .container = "psp",
    .brand = "MSNV",                  // what [muxer] writes, with Sony's uuid box
    .audioRequired = true,            // [muxer]
    .indexLeads = true,               // [clouder] [faststart]
    .note = "One slice per frame [rob]. 480x272 from firmware 3.30 [fnord]; [rob] later allows up to "
            "640x480 from 5.00, its earlier copy only 320x240 or 368x208. The index comes first for the RSS "
            "channel [clouder].",
    .firmwareWithBrand = ZVM_TEXT("zvm", "480x272, which firmware 3.30 and later play"),
    .sources = "\"PSP video guide\" (rob.opendot.cl); fnord.phfactor.net; ffmpeg's psp muxer; blog.clouder.jp; "
               "\"Fast-Start Progressive Downloads\" (developer.apple.com)",
};

constexpr DeviceLimits kNtscVcd{
    .device = "VCD",
    .videoCodec = "mpeg1video",       // [icdia] [telecom]
    .mostVideoKbit = 1151.929,        // [icdia] VCD 1.1; VCD 2.0 allows 1183.2
    .mostPeakVideoKbit = kVcdPeakKbit,
    .frameRates = kNtscVcdRates,
    .audioCodec = "mp2",              // [telecom] MPEG-1 Audio Layer II
    .sampleRates = kVcdSampleRates,
    .channels = 2,                    // [icdia]: no mono on VCD 1.1
    .audioKbit = kVcdAudioKbit,
    .container = "vcd",
    .note = "A video buffer of 40,960 bytes and a mux rate of 1,411,200 bit/s [icdia], which the encoder's "
            "VCD target sets.",
    .sources = R"("MPEG1 Requirements" (icdia.co.uk); "VCD - Video CD" (en.telecomabc.nl))",
};

constexpr DeviceLimits kPalVcd{
    .device = "VCD",
    .videoCodec = "mpeg1video",
    .mostVideoKbit = 1151.929,
    .mostPeakVideoKbit = kVcdPeakKbit,
    .frameRates = kPalVcdRates,
    .audioCodec = "mp2",
    .sampleRates = kVcdSampleRates,
    .channels = 2,
    .audioKbit = kVcdAudioKbit,
    .container = "vcd",
    .note = kNtscVcd.note,
    .sources = R"("MPEG1 Requirements" (icdia.co.uk); "VCD - Video CD" (en.telecomabc.nl))",
};

constexpr DeviceLimits kGba{
    .device = "GBA",
    .note = "No player that reads these MP4 files directly is known; the known GBA video tools convert "
            "from AVI into their own formats. So no limit is held to.",
};

constexpr std::array<Ratio, 3> kAmvRates{{{10, 1}, {12, 1}, {16, 1}}}; // [amvwiki]; [amvmux] refuses 12 and 16
constexpr std::array<int, 1> kAmvSampleRates{22050};                  // [amvwiki] "all known AMV files"

constexpr DeviceLimits kAmv{
    .device = "AMV players",
    .videoCodec = "amv",              // [amvwiki] Motion JPEG with fixed tables
    .mostPixels = 208 * 176,          // [amvwiki] "96x96 up to 208x176"
    .frameRates = kAmvRates,
    .audioCodec = "adpcm_ima_amv",    // [amvwiki] a variant of IMA ADPCM
    .sampleRates = kAmvSampleRates,
    .channels = 1,                    // [amvwiki] "mono sound"
    .container = "amv",
    .audioRequired = true,            // [amvmux]
    .note = "The encoder takes only rates that divide 22050 (10, 15, 25, 30 ...), so of the player's 10, 12 "
            "and 16 only 10 can be written [amvmux]. A later kind for ALi's chips is not written.",
    .sources = "\"AMV video format\" (bookrags.com/wiki); ffmpeg 5.1's amv muxer, measured",
};

constexpr DeviceLimits kDs{
    .device = "DS",
    .note = "The DS players' AVI limits are not in stored public material; [dpg4x] gives 256x192 at 15 fps "
            "for MoonShell's own DPG (the row dpg-256x192). So no limit is held to.",
    .sources = "\"nDs-mPeG\" (the-uncensored-wiki.com, en-academic.com)",
};

constexpr DeviceLimits kDpg{
    .device = "MoonShell",
    .videoCodec = "mpeg1video",       // [dpg4x] [cyberleo]
    .mostPixels = 256 * 192,          // [dpg4x] 256 wide, 192 high or lower
    .audioCodec = "mp2",              // [dpg4x] (GSM and Ogg too, not written here)
    .container = "dpg",
    .audioRequired = true,            // [cyberleo] the header always places a sound stream
    .note = "15 frames a second, 128 kbit/s and 32000 Hz are what [dpg4x] names as usual, not the player's "
            "limits. The header's layout is from both pages, little endian by their own byte dumps.",
    .sources = R"("Dpg4x DPG" (dpg4x.sourceforge.net); "DPG" (wiki.cyberleo.net))",
};

constexpr DeviceLimits kIpod{
    .device = "iPod",
    .videoCodec = "h264",             // [apple]
    .profile = "Baseline",            // [ipodlc]; "Constrained Baseline" is taken as the same
    .mostLevel = 30,                  // [ipodlc] "No higher than Level 30"
    .mostReferenceFrames = 1,         // [ipodlc]
    .bFrames = false,                 // baseline has none
    .mostVideoKbit = 768,             // [apple] at 320x240; [ipodlc] 1.5 Mbit/s at 640x480 from 2006's firmware
    .mostPeakVideoKbit = 768,         // [apple]
    .mostPixels = 76800,              // [apple] 320x240
    .mostFrameRate = 30,              // [apple]
    .audioCodec = "aac",              // [ipodlc] AAC-LC up to 160 kbit/s, 48 kHz, stereo
    .mostSampleRate = 48000,
    .channels = 2,
    .container = "mp4",
    .sources = "Apple's iPod video limits (forums.macnn.com, from ilounge.com); "
               "\"640x480 iPod Baseline Low Complexity Profile\" (ffmpeg-devel, 2006-09-20)",
};

constexpr DeviceLimits kRawScreen{ // named by its target's screen
    .videoCodec = "rawvideo",         // [espvideo] [st7735]
    .note = "Frames follow each other with no header [espvideo]; [st7735]'s own player adds a small header "
            "and marks each frame, so its reader must be told to skip neither. Rates are the reader's own.",
    .sources = R"("Creating a videoplayer for ESP32" (jpralves.net); "ST7735-VideoPlayback-STM32" (cmd05))",
};

constexpr DeviceLimits kMjpegScreen{
    .note = "No stored public material gives an MJPEG screen player's limits. So no limit is held to.",
};

constexpr DeviceLimits kUnsourced{
    .note = "No stored public material gives this player's limits. So no limit is held to.",
};

struct Named {
    std::string_view name;
    const DeviceLimits* limits;
};
constexpr std::array<Named, 19> kTable{{
    {"gba-240x160", &kGba},
    {"gba-240x176", &kGba},
    {"psp-320x240", &kPspMpeg4},
    {"psp-368x208", &kPspMpeg4},
    {"vcd-352x240", &kNtscVcd},
    {"psp-480x272", &kPspH264},
    {"vcd-pal-352x288", &kPalVcd},
    {"vcd-tv-352x240", &kNtscVcd},
    {"ds-256x192", &kDs},
    {"amv-160x112", &kAmv},
    {"amv-208x176", &kAmv},
    {"mcu-160x128", &kRawScreen},
    {"mcu-240x240", &kRawScreen},
    {"mcu-320x240", &kMjpegScreen},
    {"vita-960x544", &kUnsourced},
    {"ipod-320x240", &kIpod},
    {"retro-320x240", &kUnsourced},
    {"retro-640x480", &kUnsourced},
    {"dpg-256x192", &kDpg},
}};

// What a user's PSP-format or AMV target needs whoever plays it.
constexpr DeviceLimits kPspContainer{.container = "psp", .brand = "MSNV", .audioRequired = true}; // [muxer]
constexpr DeviceLimits kAmvContainer{.container = "amv", .audioRequired = true};                  // [amvmux]
constexpr DeviceLimits kDpgContainer{.container = "dpg", .audioRequired = true};                  // [cyberleo]

constexpr double kRateTolerance = 0.01; // 29.971 (the classic form) is 30000/1001

bool Known(const DeviceLimits& limits) {
    return !limits.videoCodec.empty() || limits.audioRequired;
}
} // namespace

const DeviceLimits* BuiltInLimits(std::string_view name) {
    for (const Named& row : kTable) {
        if (row.name == name) {
            return row.limits;
        }
    }
    return nullptr;
}

std::optional<DeviceLimits> LimitsFor(const TargetPreset& preset) {
    if (preset.user) {
        return preset.container == Container::Psp   ? std::optional(kPspContainer)
               : preset.container == Container::Amv ? std::optional(kAmvContainer)
               : preset.container == Container::Dpg ? std::optional(kDpgContainer)
                                                    : std::nullopt;
    }
    const DeviceLimits* limits = BuiltInLimits(preset.name);
    return limits != nullptr && Known(*limits) ? std::optional(*limits) : std::nullopt;
}

bool NeedsAudio(const TargetPreset& preset) {
    const std::optional<DeviceLimits> limits = LimitsFor(preset);
    return limits && limits->audioRequired;
}

namespace {
// Counts a limit that both the table and the reading have, and keeps it when it is not held.
class Tally {
public:
    explicit Tally(LimitVerdict& verdict) : verdict_(verdict) {}
    void operator()(bool held, std::string what, std::string found, std::string allowed, LimitMiss::Kind kind) {
        ++verdict_.checked;
        if (!held) {
            verdict_.missed.push_back({std::move(what), std::move(found), std::move(allowed), kind});
        }
    }

private:
    LimitVerdict& verdict_;
};

template <class T> std::string Listed(std::span<const T> values, const char* unit) {
    std::string text;
    for (const T& value : values) {
        if (!text.empty()) {
            text += ", ";
        }
        if constexpr (std::is_same_v<T, Ratio>) {
            text += FrameRateText(value.Value());
        } else {
            text += std::to_string(value);
        }
    }
    return text + unit;
}

std::string LevelText(int level) {
    return std::to_string(level / 10) + "." + std::to_string(level % 10);
}

std::string KbitText(double kbit) {
    return NumberText(std::round(kbit)) + " kbit/s";
}

// What the worker reads over the video's packets and headers: the references declared, B-frames,
// the fullest second.
void CheckStream(const DeviceLimits& limits, const ProbedOutput& file, Tally& tally) {
    using Kind = LimitMiss::Kind;
    if (limits.mostReferenceFrames && file.referenceFrames) {
        tally(*file.referenceFrames <= *limits.mostReferenceFrames, "reference frames",
              std::to_string(*file.referenceFrames), std::to_string(*limits.mostReferenceFrames), Kind::AtMost);
    }
    if (limits.bFrames == false && file.bFrames) {
        tally(!*file.bFrames, "B-frames", {}, {}, Kind::Unwanted);
    }
    if (limits.mostPeakVideoKbit && file.peakVideoBitrate) {
        tally(*file.peakVideoBitrate <= *limits.mostPeakVideoKbit, "video bitrate in its fullest second",
              KbitText(*file.peakVideoBitrate), KbitText(*limits.mostPeakVideoKbit), Kind::AtMost);
    }
}
} // namespace

std::string_view FirmwareSays(const DeviceLimits& limits, std::string_view fileBrand) {
    if (limits.firmwareBrand.empty() || fileBrand == limits.firmwareBrand) {
        return limits.firmwareWithBrand;
    }
    return fileBrand.empty() ? std::string_view() : limits.firmwareWithoutBrand;
}

LimitVerdict CheckLimits(const DeviceLimits& limits, const ProbedOutput& file) {
    using Kind = LimitMiss::Kind;
    LimitVerdict verdict;
    Tally tally(verdict);
    if (!limits.videoCodec.empty() && !file.videoCodec.empty()) {
        tally(file.videoCodec == limits.videoCodec, "video codec", file.videoCodec, std::string(limits.videoCodec),
              Kind::OneOf);
    }
    if (!limits.profile.empty() && !file.videoProfile.empty()) {
        // Constrained Baseline is Baseline without the parts no baseline player uses.
        const bool same = file.videoProfile == limits.profile ||
                          (limits.profile == "Baseline" && file.videoProfile == "Constrained Baseline");
        tally(same, "profile", file.videoProfile, std::string(limits.profile),
              Kind::OneOf);
    }
    if (limits.mostLevel && file.videoLevel) {
        tally(*file.videoLevel <= *limits.mostLevel, "level", LevelText(*file.videoLevel), LevelText(*limits.mostLevel),
              Kind::AtMost);
    }
    if (limits.mostVideoKbit && file.videoBitrate) {
        tally(*file.videoBitrate <= *limits.mostVideoKbit, "video bitrate", NumberText(std::round(*file.videoBitrate)) + " kbit/s",
              NumberText(*limits.mostVideoKbit) + " kbit/s", Kind::AtMost);
    }
    CheckStream(limits, file, tally);
    if (file.width && file.height) {
        const std::string size = std::to_string(*file.width) + "x" + std::to_string(*file.height);
        if (limits.sidesOf16) {
            tally(*file.width % 16 == 0 && *file.height % 16 == 0, "picture size", size, {}, Kind::MultipleOf16);
        }
        if (limits.mostPixels) {
            tally(static_cast<long>(*file.width) * *file.height <= *limits.mostPixels, "pixels per frame",
                  std::to_string(static_cast<long>(*file.width) * *file.height), std::to_string(*limits.mostPixels),
                  Kind::AtMost);
        }
    }
    if (file.frameRate && (!limits.frameRates.empty() || limits.mostFrameRate)) {
        const double rate = *file.frameRate;
        const std::string found = FrameRateText(rate) + " fps";
        if (!limits.frameRates.empty()) {
            bool listed = false;
            for (const Ratio allowed : limits.frameRates) {
                listed = listed || std::fabs(allowed.Value() - rate) <= kRateTolerance;
            }
            tally(listed, "frame rate", found, Listed(limits.frameRates, " fps"), Kind::OneOf);
        } else {
            tally(rate <= *limits.mostFrameRate + kRateTolerance, "frame rate", found,
                  FrameRateText(*limits.mostFrameRate) + " fps", Kind::AtMost);
        }
    }
    if (!limits.audioCodec.empty() && !file.audioCodec.empty()) {
        tally(file.audioCodec == limits.audioCodec, "audio codec", file.audioCodec, std::string(limits.audioCodec),
              Kind::OneOf);
    }
    if (file.sampleRate && !limits.sampleRates.empty()) {
        bool listed = false;
        for (const int allowed : limits.sampleRates) {
            listed = listed || *file.sampleRate == allowed;
        }
        tally(listed, "sample rate", NumberText(*file.sampleRate) + " Hz", Listed(limits.sampleRates, " Hz"),
              Kind::OneOf);
    } else if (file.sampleRate && limits.mostSampleRate) {
        tally(*file.sampleRate <= *limits.mostSampleRate, "sample rate", NumberText(*file.sampleRate) + " Hz",
              std::to_string(*limits.mostSampleRate) + " Hz", Kind::AtMost);
    }
    if (limits.channels && file.channels) {
        tally(*file.channels == *limits.channels, "channels", std::to_string(*file.channels),
              std::to_string(*limits.channels), Kind::OneOf);
    }
    if (!limits.audioKbit.empty() && file.audioBitrate) {
        const long kbit = std::lround(*file.audioBitrate);
        bool listed = false;
        for (const int allowed : limits.audioKbit) {
            listed = listed || kbit == allowed;
        }
        tally(listed, "audio bitrate", std::to_string(kbit) + " kbit/s", Listed(limits.audioKbit, " kbit/s"),
              Kind::OneOf);
    }
    if (!limits.brand.empty() && !file.brand.empty()) {
        tally(file.brand == limits.brand, "brand", file.brand, std::string(limits.brand), Kind::OneOf);
    }
    if (limits.audioRequired) {
        tally(!file.audioCodec.empty(), "sound stream", {}, {}, Kind::Missing);
    }
    if (limits.indexLeads && file.indexFirst) {
        tally(*file.indexFirst, "index before the data", {}, {}, Kind::Missing);
    }
    return verdict;
}

} // namespace zvm
