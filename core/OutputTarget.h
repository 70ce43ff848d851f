#pragma once

#include "core/CommandLine.h"
#include "core/ConversionRequest.h"
#include "core/DeviceLimits.h"

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
    std::string videoProfile; // "Baseline" (Constrained Baseline fits it); empty: any
    double frameRate = 0;
    bool frameRateAtMost = false; // a slower source keeps its own rate
    std::string audioCodec; // empty: the file has no sound
    std::optional<double> sampleRate; // nothing when the request's text is not a number
    int channels = 2;
    double pixelAspect = 1;
    std::optional<double> videoBitrate; // kbit/s asked for; nothing where the target sets its own
    std::optional<double> audioBitrate;
    // A designed row whose pixels a TV shows narrower than the fit allowed for: how much narrower the
    // picture looks, in whole percent, and the label of the target that fits it; 0 and empty otherwise.
    int shownNarrowerPercent = 0;
    std::string fitsShown;
    // The request's cut: the file is held to the part kept.
    std::optional<double> cutStart;
    std::optional<double> cutEnd;
    std::optional<double> fileSizeMB; // the size asked for, in megabytes (10^6 bytes)
    std::optional<DeviceLimits> limits; // its player's, where known: the after-check says which held
    // The chosen sound stream's language, which the file must carry where its container keeps one
    // (MP4 and the PSP's do, an MPEG stream does not); empty when no stream was chosen by its language.
    std::string audioLanguage = {};
    bool keepsLanguage = true;
};

// The codec the media worker names a target's video by: "mpeg4", "h264", "amv", "rawvideo".
std::string_view CodecName(VideoKind video);

// The target that the command Generate writes for this request asks for; nothing for an MP4 row
// without a movie type, or a row the list lacks, for which no command is written.
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
    std::optional<double> pixelAspect; // nothing when the file does not say
    std::optional<double> videoBitrate; // kbit/s
    std::optional<double> audioBitrate;
    std::optional<double> bytes; // the file's size
    std::string videoProfile;        // as libavcodec names it: "Main", "Simple Profile"
    std::optional<int> videoLevel;   // H.264's times ten: 30 for 3.0
    std::string brand;               // the container's major brand: "MSNV", "isom"
    std::optional<int> referenceFrames = {};   // as an H.264 stream's sequence parameter set declares them
    std::optional<bool> bFrames = {};          // whether any picture is shown before one decoded earlier
    std::optional<double> peakVideoBitrate = {}; // kbit in the video's fullest second
    std::optional<bool> indexFirst = {};       // an MP4's index (moov) before its data (mdat)
    std::string audioLanguage = {};  // the first sound stream's language tag
};

// One way a file differs from its target: what ("height"), what was found (empty when nothing was),
// and what was expected, values with their units.
struct Difference {
    std::string what;
    std::string found;
    std::string expected;
};

// What is known of the source when its file is checked: how long it is, and whether it has sound (a
// silent source cannot give a file with sound, and that is no fault).
struct SourceFacts {
    std::optional<double> duration;
    bool hasAudio = true;
    std::optional<double> frameRate;
};

// How far the measured video bitrate is over the one asked, in whole percent, when it is more than
// the 15% a one-pass encoder may stray; nothing otherwise or when either is unknown.
std::optional<int> VideoBitrateOver(const OutputTarget& target, const ProbedOutput& file);

// How a file's size compares with the size asked, in whole percent: over by more than the 5% two
// passes may stray (Over), or under by more than 10%, which two passes only leave where the encoder
// reached its best quality with fewer bits (Under); nothing otherwise or when either is unknown.
struct SizeOff {
    enum class Way { Over, Under };
    Way way;
    int percent;
};
std::optional<SizeOff> FileSizeOff(const OutputTarget& target, const ProbedOutput& file);

// Empty when the file fits. The duration counts when the source's is known: within a second of it;
// with a cut, the kept part's, within CutTolerance when the cut's end lies within the source.
std::vector<Difference> Differences(const OutputTarget& target, const ProbedOutput& file,
                                    const SourceFacts& source);

// How far the file's duration may stray from the part kept, in seconds.
double DurationTolerance(const OutputTarget& target, const ProbedOutput& file, const SourceFacts& source);

// "29.97", "15", "14.99": two decimals at most.
std::string FrameRateText(double rate);
// A number as a person writes it: "24000", "1.5", "10.4".
std::string NumberText(double value);

} // namespace zvm
