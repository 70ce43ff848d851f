#include "core/OutputTarget.h"

#include "core/Cut.h"
#include "core/NumericText.h"
#include "core/Presets.h"
#include "core/SourceChoices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zvm {

namespace {
constexpr double kFrameRateTolerance = 0.01; // 29.971 (classic) and 30000/1001 (modern) both fit
constexpr double kDurationTolerance = 1.0;
// MPEG-1 stores a pixel aspect as one of fourteen codes: 10:11 comes back as 200:219, 0.5% off.
constexpr double kPixelAspectTolerance = 0.01;
constexpr double kBitrateTolerance = 0.15;
constexpr double kSizeOverTolerance = 0.05;
constexpr double kSizeUnderTolerance = 0.10;

// Adds what differs when the two do not match.
template <class T, class Same>
void Compare(std::vector<Difference>& out, const char* what, const std::optional<T>& found, T expected,
             const std::string& unit, Same same) {
    if (!found || !same(*found, expected)) {
        out.push_back({what, found ? NumberText(double(*found)) + unit : std::string(),
                       NumberText(double(expected)) + unit});
    }
}

void CompareText(std::vector<Difference>& out, const char* what, const std::string& found,
                 const std::string& expected) {
    if (found != expected) {
        out.push_back({what, found, expected});
    }
}
} // namespace

std::string_view CodecName(VideoKind video) {
    switch (video) {
    case VideoKind::Vcd:
    case VideoKind::Mpeg1:
        return "mpeg1video";
    case VideoKind::H264:
    case VideoKind::H264Baseline:
        return "h264";
    case VideoKind::Mjpeg:
        return "mjpeg";
    case VideoKind::Amv:
        return "amv";
    case VideoKind::Rgb565le:
    case VideoKind::Rgb565be:
        return "rawvideo";
    case VideoKind::Mpeg4:
        break;
    }
    return "mpeg4";
}

std::optional<OutputTarget> TargetFor(const ConversionRequest& request, CommandStyle style) {
    const TargetPreset* preset = FindPreset(request.preset);
    const bool vcd = preset != nullptr && preset->form == CommandForm::Vcd;
    if (preset == nullptr || (UsesMovieType(*preset) && request.movieType == MovieType::None)) {
        return std::nullopt;
    }
    OutputTarget target;
    target.screen = std::string(ScreenName(*preset));
    target.width = preset->width;
    target.height = preset->height;
    target.videoCodec = CodecName(preset->video);
    if (preset->video == VideoKind::H264Baseline) {
        target.videoProfile = "Baseline";
    }
    if (preset->designed) {
        target.frameRate = FrameRateFor(vcd ? MovieType::LiveAction : request.movieType, style).perSecond;
    } else {
        target.frameRate = preset->maxFrameRate.Value();
        target.frameRateAtMost = !vcd && !FixedFrameRate(*preset); // a VCD's norm fixes its rate
    }
    if (const std::optional<Ratio> film = KeptFilmRate(request)) {
        target.frameRate = film->Value();
    }
    const bool amv = preset->video == VideoKind::Amv;
    target.audioCodec = !HasSound(*preset)                    ? ""
                        : vcd || preset->container == Container::Dpg ? "mp2"
                        : amv                                 ? "adpcm_ima_amv"
                        : preset->container == Container::Avi ? "mp3"
                                                              : "aac";
    target.sampleRate = amv ? std::optional(22050.0)
                            : ParseNumber(preset->sampleRate.empty() ? request.sampleRate
                                                                     : std::string(preset->sampleRate));
    target.channels = amv ? 1 : 2;
    target.pixelAspect = preset->pixelAspect.Value();
    if (TakesBitrate(*preset)) {
        target.videoBitrate = ParseNumber(request.videoBitrate);
    }
    if (HasSound(*preset) && !amv) { // AMV's ADPCM has no bitrate to ask
        target.audioBitrate =
            ParseNumber(preset->audioBitrate.empty() ? request.audioBitrate : std::string(preset->audioBitrate));
    }
    target.fileSizeMB = request.fileSizeMB;
    target.keepsLanguage = !vcd;
    if (!request.audio.languages.empty()) {
        target.audioLanguage = request.audio.language;
    }
    if (!preset->shownPixelAspect.Square()) {
        target.shownNarrowerPercent =
            static_cast<int>(std::lround(100 * (1 - preset->shownPixelAspect.Value() / preset->pixelAspect.Value())));
        const std::optional<int> fits = PresetByName(preset->fitsShown);
        const std::string_view label = fits ? FindPreset(*fits)->displayText : std::string_view();
        target.fitsShown = std::string(label.substr(0, label.find(" - ")));
    }
    target.cutStart = request.cutStart;
    target.cutEnd = request.cutEnd;
    target.limits = LimitsFor(*preset);
    return target;
}

std::optional<int> VideoBitrateOver(const OutputTarget& target, const ProbedOutput& file) {
    if (!target.videoBitrate || !file.videoBitrate || !(*target.videoBitrate > 0)) {
        return std::nullopt;
    }
    const double over = *file.videoBitrate / *target.videoBitrate - 1;
    return over > kBitrateTolerance ? std::optional(static_cast<int>(std::lround(100 * over))) : std::nullopt;
}

std::optional<SizeOff> FileSizeOff(const OutputTarget& target, const ProbedOutput& file) {
    if (!target.fileSizeMB || !file.bytes || !(*target.fileSizeMB > 0)) {
        return std::nullopt;
    }
    const double off = *file.bytes / (*target.fileSizeMB * 1e6) - 1;
    if (off > kSizeOverTolerance) {
        return SizeOff{SizeOff::Way::Over, static_cast<int>(std::lround(100 * off))};
    }
    if (-off > kSizeUnderTolerance) {
        return SizeOff{SizeOff::Way::Under, static_cast<int>(std::lround(-100 * off))};
    }
    return std::nullopt;
}

std::vector<Difference> Differences(const OutputTarget& target, const ProbedOutput& file,
                                    const SourceFacts& source) {
    std::vector<Difference> out;
    const auto equal = [](auto a, auto b) { return a == b; };
    Compare(out, "width", file.width, target.width, "", equal);
    Compare(out, "height", file.height, target.height, "", equal);
    CompareText(out, "video codec", file.videoCodec, target.videoCodec);
    if (!target.videoProfile.empty() && file.videoProfile != "Constrained " + target.videoProfile) {
        CompareText(out, "profile", file.videoProfile, target.videoProfile);
    }
    const auto nearRate = [](double a, double b) { return std::fabs(a - b) <= kFrameRateTolerance; };
    if (!target.frameRateAtMost) {
        Compare(out, "frame rate", file.frameRate, target.frameRate, " fps", nearRate);
    } else if (source.frameRate) {
        Compare(out, "frame rate", file.frameRate, std::min(*source.frameRate, target.frameRate), " fps", nearRate);
    } else {
        // The source's rate is unknown: any rate up to the target's is its own.
        Compare(out, "frame rate", file.frameRate, target.frameRate, " fps",
                [](double a, double b) { return a <= b + kFrameRateTolerance; });
    }
    // A file that does not say is shown with square pixels.
    Compare(out, "pixel aspect", std::optional(file.pixelAspect.value_or(1.0)), target.pixelAspect, "",
            [](double a, double b) { return std::fabs(a / b - 1) <= kPixelAspectTolerance; });
    if (source.hasAudio && !target.audioCodec.empty()) {
        CompareText(out, "audio codec", file.audioCodec, target.audioCodec);
        if (target.sampleRate) {
            Compare(out, "sample rate", file.sampleRate, *target.sampleRate, " Hz", equal);
        }
        Compare(out, "channels", file.channels, target.channels, "", equal);
        if (!target.audioLanguage.empty() && target.keepsLanguage && !SameLanguage(file.audioLanguage, target.audioLanguage)) {
            out.push_back({"sound language", file.audioLanguage, target.audioLanguage});
        }
    }
    if (const auto kept = KeptSeconds(target.cutStart, target.cutEnd, source.duration)) {
        const double tolerance = DurationTolerance(target, file, source);
        Compare(out, "duration", file.duration, *kept, " s",
                [tolerance](double a, double b) { return std::fabs(a - b) <= tolerance; });
    }
    return out;
}

double DurationTolerance(const OutputTarget& target, const ProbedOutput& file, const SourceFacts& source) {
    return ExactCut(target.cutEnd, source.duration)
               ? CutTolerance(std::fmin(file.frameRate.value_or(target.frameRate), target.frameRate))
               : kDurationTolerance;
}

std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string FrameRateText(double rate) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", rate);
    std::string result = text;
    while (result.back() == '0') {
        result.pop_back();
    }
    if (result.back() == '.') {
        result.pop_back();
    }
    return result;
}

} // namespace zvm
