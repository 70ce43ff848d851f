#pragma once

#include "core/ConversionRequest.h"
#include "core/Fitting.h"
#include "core/Presets.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvm {

// Classic is the designed command; Modern is the form that current encoders accept.
enum class CommandStyle { Classic, Modern };

// Which pair of pads the classic form names; the modern form always states both offsets.
enum class PadSides { LeftRight, TopBottom };

// The frame rate a command asks for: as its -r option writes it, and as a number a file is checked
// against. Animation runs at half the rate of live action; the VCD rows use live action's.
struct FrameRate {
    std::string_view option;
    double perSecond;
};
FrameRate FrameRateFor(MovieType type, CommandStyle style);

// A file name as the encoder must be given it: a relative name that begins with "-" would be read as an
// option, and one that begins with a protocol-like word (a single letter too, or none) and a colon, or with
// "subfile," and a colon later, as a protocol ("S01E01:Pilot.mp4", "a:b.mp4", "pipe:x.mp4"), so such
// a name gets "./" in front. Every other name stays exactly as typed: a drive letter
// ("C:\video\movie.avi", one letter, a colon and a backslash), as the designed commands write it, and
// an address ("http://...") are meant as they are. Every file the program names to the encoder goes
// through it: the source, the output, the subtitle file and the two-pass log.
std::string FileArgument(std::string_view path);

// The modern form's picture: scaled to the new size, padded to the target with the picture at
// (pad left, pad top), with the target's pixel aspect (square unless said). The preview renders its
// frames through the same text.
std::string ScaleAndPadFilter(const FrameGeometry& geometry, Ratio pixelAspect = {});

// Burned-in subtitles' font size in target pixels: the request's own, else one twelfth of the
// target's height and never under 12, which stays legible on a 160-line screen.
int SubtitleFontSize(const SubtitleChoice& subtitles, const FrameGeometry& geometry);

// Text as ffmpeg's filter parser must be given it, which unescapes twice: first the filtergraph
// (where brackets, commas and semicolons part filters), then the filter's options (where colons part
// them). One level's escaping alone lets a file name end the filter and start another.
std::string FilterOptionValue(std::string_view value);
std::string FilterGraphText(std::string_view text);

// The subtitles filter for the request, drawn on the source's own picture before it is scaled, so
// the text is as sharp as the target allows; empty when the request has none (or an unresolved
// Auto). With a cut, input seeking starts the picture's clock at 0, so the filter is given the
// source's time and the clock is set back after it.
std::string SubtitleFilter(const ConversionRequest& request, const FrameGeometry& geometry);

// The modern form's whole picture filter: [the cut's clock], deinterlacing, the crop and the subtitles,
// each when chosen, then scale, pad and the pixel aspect. The same as ScaleAndPadFilter when none is. The preview renders its frames through the same text.
std::string PictureFilter(const ConversionRequest& request, const FrameGeometry& geometry, Ratio pixelAspect = {});

// Plain concatenation of fixed pieces and the request's texts exactly as typed.
// movieType must be LiveAction or Animation.
std::string Mp4Command(const ConversionRequest& request, const FrameGeometry& geometry, MovieType movieType,
                       PadSides sides, CommandStyle style);
std::string VcdCommand(const ConversionRequest& request, const FrameGeometry& geometry, PadSides sides,
                       CommandStyle style);
// A row after the designed five, always in the modern form. A rate-limited MP4, PSP or AVI file keeps
// the source's frame rate up to the target's (-fpsmax) and its bitrate with a buffer of two seconds; a
// VCD gets the encoder's target for its norm and the target's pixel aspect; AMV, Motion JPEG and raw
// frames run at the target's own rate (-r) and a fixed quality; a DPG's two streams go to two files
// beside its output (dpg::VideoPartFor, dpg::AudioPartFor), from which the conversion makes the file.
std::string TargetCommand(const ConversionRequest& request, const TargetPreset& target,
                          const FrameGeometry& geometry);

// Whether the command gives the request's target a silent track: its source has no sound and the
// target's file cannot be written without one (see DeviceLimits.h).
bool GetsSilentTrack(const ConversionRequest& request);

// "Best quality (slower)" was asked for a designed row, the only rows it changes: two passes, the
// best options of its format, and for the PSP rows the PSP's own format (which needs sound).
bool BestQualityApplies(const ConversionRequest& request);
// A film source's own rate (23.976, 24 or 25 frames a second) where the command would write a fixed
// rate of its own and the target's player takes the film's: every VCD row after the designed five,
// and with Best quality the designed VCD row and the designed MP4 rows' live action. Nothing for any
// other source, a rate not read, the row's own rate, or a player that takes only its own (the designed
// PSP rows, a 25 fps source on NTSC). The rows that keep a slower source's rate anyway (-fpsmax) need none.
std::optional<Ratio> KeptFilmRate(const ConversionRequest& request);
// A designed PSP row.
bool IsPspRow(const ConversionRequest& request);

// A command as steps run one after another. Two passes: the first only measures the picture into
// the encoder's log at logPrefix (its file goes to /dev/null), the second encodes with it and
// writes the output. A command that does not end with its output as this program writes it
// stays one step.
std::vector<std::string> PassSteps(const std::string& command, std::string_view outputPath, bool twoPass,
                                   std::string_view logPrefix);

// The command writing to writtenPath in place of its output, as this program writes both; nothing
// when the command does not end with its output so.
std::optional<std::string> WritingTo(const std::string& command, std::string_view outputPath,
                                     std::string_view writtenPath);

// The same for a file the command names as an output before its last one (a DPG's video stream):
// the first place it stands, quoted as this program writes it, between blanks.
std::optional<std::string> WritingPartTo(const std::string& command, std::string_view path,
                                         std::string_view writtenPath);

} // namespace zvm
