#pragma once

#include "CommandLine.h"
#include "ConversionRequest.h"

#include <optional>
#include <string>
#include <vector>

namespace zvm {

// What a finished file must be for its target screen.
struct OutputTarget {
    std::string screen; // "PSP - 368x208"
    int width = 0;
    int height = 0;
    std::string videoCodec;
    double frameRate = 0;
    std::string audioCodec;
    std::optional<double> sampleRate; // nothing when the request's text is not a number
    int channels = 2;
};

// The target that the command Generate writes for this request asks for; nothing for an MP4 row
// without a movie type, for which no command is written.
std::optional<OutputTarget> TargetFor(const ConversionRequest& request, CommandStyle style);

// How a finished file compares with its target; Missing is a failure, however the encoder ended.
enum class CheckVerdict { Fits, Differs, Missing, NotChecked };

// What a file turned out to be, as a probe read it; what it could not read stays empty.
struct ProbedOutput {
    std::optional<int> width;
    std::optional<int> height;
    std::string videoCodec;
    std::optional<double> frameRate;
    std::string audioCodec;
    std::optional<double> sampleRate;
    std::optional<int> channels;
    std::optional<double> duration;
};

// What differs, each in a few words ("height 240, expected 208"); empty when the file fits. The
// duration counts when the source's is known: within a second of it.
std::vector<std::string> Differences(const OutputTarget& target, const ProbedOutput& file,
                                     std::optional<double> sourceDuration);

// The file as it fits: "Fits PSP - 368x208: 368x208, mpeg4, 29.97 fps, AAC 24000 Hz stereo".
std::string FitsLine(const OutputTarget& target, const ProbedOutput& file);

// "29.97", "15", "14.99": two decimals at most.
std::string FrameRateText(double rate);

} // namespace zvm
