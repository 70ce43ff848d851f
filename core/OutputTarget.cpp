#include "OutputTarget.h"

#include "NumericText.h"
#include "Presets.h"

#include <cmath>
#include <cstdio>

namespace zvm {

namespace {
constexpr double kFrameRateTolerance = 0.01; // 29.971 (classic) and 30000/1001 (modern) both fit
constexpr double kDurationTolerance = 1.0;

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

std::optional<OutputTarget> TargetFor(const ConversionRequest& request, CommandStyle style) {
    const TargetPreset* preset = FindPreset(request.preset);
    const bool vcd = preset != nullptr && preset->form == CommandForm::Vcd;
    if (preset == nullptr || (!vcd && request.movieType == MovieType::None)) {
        return std::nullopt;
    }
    OutputTarget target;
    target.screen = std::string(ScreenName(*preset));
    target.width = preset->width;
    target.height = preset->height;
    target.videoCodec = vcd ? "mpeg1video" : "mpeg4";
    target.frameRate = FrameRateFor(vcd ? MovieType::LiveAction : request.movieType, style).perSecond;
    target.audioCodec = vcd ? "mp2" : "aac";
    target.sampleRate = ParseNumber(vcd ? std::string(kVcdSampleRate) : request.sampleRate);
    return target;
}

std::vector<Difference> Differences(const OutputTarget& target, const ProbedOutput& file,
                                    const SourceFacts& source) {
    std::vector<Difference> out;
    const auto equal = [](auto a, auto b) { return a == b; };
    Compare(out, "width", file.width, target.width, "", equal);
    Compare(out, "height", file.height, target.height, "", equal);
    CompareText(out, "video codec", file.videoCodec, target.videoCodec);
    Compare(out, "frame rate", file.frameRate, target.frameRate, " fps",
            [](double a, double b) { return std::fabs(a - b) <= kFrameRateTolerance; });
    if (source.hasAudio) {
        CompareText(out, "audio codec", file.audioCodec, target.audioCodec);
        if (target.sampleRate) {
            Compare(out, "sample rate", file.sampleRate, *target.sampleRate, " Hz", equal);
        }
        Compare(out, "channels", file.channels, target.channels, "", equal);
    }
    if (source.duration) {
        Compare(out, "duration", file.duration, *source.duration, " s",
                [](double a, double b) { return std::fabs(a - b) <= kDurationTolerance; });
    }
    return out;
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
