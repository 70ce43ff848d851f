#include "core/FileSize.h"

#include "core/CommandLine.h"
#include "core/Cut.h"
#include "core/NumericText.h"
#include "core/OutputTarget.h"
#include "core/Presets.h"
#include "core/Text.h"

#include <cmath>
#include <string>

namespace zvm {

namespace {
// Bits per pixel of every frame. Below about 0.04, MPEG-4 Part 2 runs into its coarsest quantiser on
// moving scenes and the picture falls apart into blocks; H.264 holds the same picture with about two
// thirds of the bits. Scaling by pixels and frames keeps one floor right for a GBA and for a PSP.
constexpr double kMpeg4BitsPerPixel = 0.04;
constexpr double kH264BitsPerPixel = 0.025;
constexpr double kBitsPerMegabyte = 8e6;
} // namespace

std::optional<double> VideoBitrateFloor(const ConversionRequest& request) {
    const TargetPreset* preset = FindPreset(request.preset);
    if (preset == nullptr || !TakesBitrate(*preset)) {
        return std::nullopt;
    }
    // The designed rows' rate follows the movie type; a later row's is at most its own.
    const double rate = UsesMovieType(*preset)
                            ? FrameRateFor(request.movieType == MovieType::Animation ? MovieType::Animation
                                                                                      : MovieType::LiveAction,
                                           CommandStyle::Modern)
                                  .perSecond
                            : preset->maxFrameRate.Value();
    const bool h264 = preset->video == VideoKind::H264 || preset->video == VideoKind::H264Baseline;
    const double bitsPerPixel = h264 ? kH264BitsPerPixel : kMpeg4BitsPerPixel;
    return preset->width * preset->height * rate * bitsPerPixel / 1000;
}

double VideoBitrateForSize(double megabytes, double seconds, double audioKbps) {
    return std::floor(megabytes * kBitsPerMegabyte * (1 - kContainerReserve) / 1000 / seconds - audioKbps);
}

double SizeForVideoBitrate(double videoKbps, double seconds, double audioKbps) {
    const double megabytes = (videoKbps + audioKbps) * 1000 * seconds / kBitsPerMegabyte / (1 - kContainerReserve);
    return std::ceil(megabytes * 10) / 10;
}

double AudioKbpsOf(const ConversionRequest& request) {
    const TargetPreset* preset = FindPreset(request.preset);
    const std::string& audioText =
        preset == nullptr || preset->audioBitrate.empty() ? request.audioBitrate : std::string(preset->audioBitrate);
    return ParseNumber(audioText).value_or(0);
}

bool UsesTwoPasses(const ConversionRequest& request) {
    return (request.twoPass || request.fileSizeMB || BestQualityApplies(request)) &&
           VideoBitrateFloor(request).has_value();
}

Status ApplyFileSize(ConversionRequest& request, std::optional<double> sourceSeconds) {
    if (!request.fileSizeMB) {
        return {};
    }
    const double megabytes = *request.fileSizeMB;
    if (!(megabytes > 0) || !(megabytes <= kLargestFileSizeMB)) { // so the bitrate below is a whole number
        return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "The file size must be above 0 MB, not %1"),
                               NumberText(megabytes));
    }
    const std::optional<double> floor = VideoBitrateFloor(request);
    const TargetPreset* preset = FindPreset(request.preset);
    if (!floor || preset == nullptr) {
        return Status::Failure(FailureKind::BadInput,
                               ZVM_TEXT("zvm", "A file size cannot be asked for %1: its bitrate is fixed"),
                               preset != nullptr ? std::string(ScreenName(*preset)) : std::string());
    }
    const std::optional<double> seconds = KeptSeconds(request.cutStart, request.cutEnd, sourceSeconds);
    if (!seconds) {
        return Status::Failure(FailureKind::BadInput,
                               ZVM_TEXT("zvm", "A file size needs the video's duration, which is not known: %1"),
                               request.sourceVideo);
    }
    if (!(*seconds > 0)) {
        return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "Nothing of the video is kept: %1 s"),
                               NumberText(*seconds));
    }
    const double audio = AudioKbpsOf(request);
    const double video = VideoBitrateForSize(megabytes, *seconds, audio);
    if (video < *floor) {
        return Status::Failure(
            FailureKind::BadInput,
            ZVM_TEXT("zvm", "This file size leaves too few bits for a watchable picture; the smallest size that works is %1 MB"),
            NumberText(SizeForVideoBitrate(std::ceil(*floor), *seconds, audio)));
    }
    request.videoBitrate = std::to_string(static_cast<long long>(video));
    return {};
}

} // namespace zvm
