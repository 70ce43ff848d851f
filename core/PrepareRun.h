#pragma once

#include "core/CommandLine.h"
#include "core/ConversionRequest.h"
#include "core/Fitting.h"
#include "core/OutputTarget.h"
#include "core/SourceChoices.h"
#include "core/Status.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvm {

// What is known of a source before its run. Core reads no file: the caller gathers these (see
// media/SubtitleSource.h) from what the media worker read and what lies beside the video.
struct RunFacts {
    // The size read from the video, for a request that leaves its size to be read.
    std::optional<int> width;
    std::optional<int> height;
    std::optional<double> duration;
    std::optional<bool> hasAudio;  // whether the video has sound; unknown: as the request says
    int subtitleStreams = 0;
    std::string subtitleBeside;    // the subtitle file beside the video with its name; empty for none
    bool subtitleFileFound = true; // whether the subtitle file the request names is there
    bool outputIsSource = false;   // the output names the source's own file (by name or by a link)
    // The same for the other files the command reads: the subtitle file it draws (the named one or
    // the one beside the video) and the encoder program itself. Refused even where an existing
    // output may be replaced: the encoder empties its output before it reads them.
    bool outputIsSubtitleFile = false;
    bool outputIsEncoder = false;
    // The picture as stored, which a crop rectangle is measured in; 0 when not read.
    int pixelWidth = 0;
    int pixelHeight = 0;
    // The sound streams in order; empty when not read (or none).
    std::vector<AudioStreamFacts> audioStreams = {};
    bool audioStreamsRead = false;
    // The black bars measured: a rectangle (CropMode::Rect) where the frames agreed, else none with
    // why in cropWhy. Not measured: none and cropWhy empty.
    CropChoice foundCrop = {};
    std::string cropWhy = {};
    // Whether the picture is interlaced (field order, else a look at its frames); unknown when not read.
    std::optional<bool> interlaced = {};
    // Frames a second, as the video stream says; unknown when not read.
    std::optional<double> frameRate = {};
    // Whether its frames were looked at (foundCrop and cropWhy say what they showed).
    bool pictureLooked = false;
};

// The facts of a read of the video (size, duration, streams, field order, a look at its frames)
// added to those of its files.
void AddRead(RunFacts& facts, const RunFacts& read);

// Whether a read video is also to be looked at frame by frame, and was not: for an automatic crop,
// or for deinterlacing its field order does not settle.
bool NeedsLook(const ConversionRequest& request, const RunFacts& read);

// How much is checked. The window's Convert starts what its designed checks let pass, the encoder's
// own window showing what it cannot use; the queue and the tool start encoders unattended, so they
// also refuse what no encoder can use (CheckEncodable) and a cut the source's duration rules out, and
// take a file name with a double quote, which their commands carry doubled (NameQuotes::Taken).
enum class RunChecks { Designed, Unattended };

// Everything a run needs, prepared once for every face.
struct PreparedRun {
    // The request as prepared: its size filled in from the facts, its subtitles resolved, its video
    // bitrate what a file size made of it, and the changes Generate makes (the VCD row's audio).
    ConversionRequest request;
    FrameGeometry geometry;
    std::string command;
    bool twoPasses = false;
    // What the finished file must be, for the after-check; nothing where no target applies.
    std::optional<OutputTarget> target;
    // What the command does beyond what was asked, for the face to say beside it (see RunReasons.h);
    // empty when nothing.
    std::string note;
    // Why an automatic crop was not made (the media worker's words); empty when it was or none was asked.
    std::string cropWhy = {};
};

// Automatic subtitles resolved from the facts: the file beside the video, else its first subtitle
// stream, else none. Other choices come back as they are; the size is kept.
SubtitleChoice ResolveSubtitles(const SubtitleChoice& choice, const RunFacts& facts);

// Automatic choices of the source's picture and sound resolved from the facts: the crop found (none
// when the frames disagreed), the sound stream of the language list (see ChooseAudioStream), and
// deinterlacing: Auto deinterlaces an interlaced source on the targets after the designed rows, On
// any source not read to be progressive, Off none.
CropChoice ResolveCrop(const CropChoice& choice, const RunFacts& facts);
DeinterlaceMode ResolveDeinterlace(DeinterlaceMode mode, int preset, const RunFacts& facts);

// Resolves the subtitles, applies the file size (ApplyFileSize), generates (Generate), and refuses
// what must not run: Generate's refusals, no command (kNoMovieType), a missing subtitle file
// (kSubtitleMissing), an output that is the source (kOutputIsSource), the subtitle file
// (kOutputIsSubtitleFile) or the encoder (kOutputIsEncoder), and unattended, what no encoder
// can use and a cut past the source's end. Every refusal is a Status whose text a window translates.
Result<PreparedRun> PrepareRun(const ConversionRequest& request, CommandStyle style, const RunFacts& facts,
                               RunChecks checks = RunChecks::Unattended);

// The prepared command as the steps that run it: itself, or its two passes with their log at logPrefix.
std::vector<std::string> PassCommands(const PreparedRun& run, std::string_view logPrefix);

} // namespace zvm
