#pragma once

#include "core/CommandForm.h"
#include "core/ConversionRequest.h"
#include "core/Status.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvm {

// What the command-line tool was asked to do. The numeric texts stay texts, as in the window, so that
// the same checks refuse them with the same words.
struct ToolOptions {
    int preset = 0;
    MovieType movieType = MovieType::LiveAction;
    std::optional<std::string> width; // from --size; read from the file when absent
    std::optional<std::string> height;
    std::string output;
    std::string videoBitrate{kDefaultVideoBitrate};
    std::string audioBitrate{kDefaultAudioBitrate};
    std::string sampleRate{kDefaultSampleRate};
    std::string encoder = "ffmpeg"; // a bare name is looked up on the search path
    std::optional<double> fileSizeMB; // sets the video bitrate; implies two passes
    bool twoPass = false;
    bool bestQuality = false; // --quality best
    FormChoice form = FormChoice::Automatic;
    SubtitleChoice subtitles; // --subtitles and --subtitle-size; Auto is resolved for each video
    std::optional<double> cutStart; // --start and --end, in seconds of the source
    std::optional<double> cutEnd;
    CropChoice crop;             // --crop auto|none|W:H:X:Y
    AudioChoice audio;           // --audio-lang and --audio-track
    DeinterlaceMode deinterlace = DeinterlaceMode::Auto; // --deinterlace auto|on|off
    bool print = false;
    bool json = false;
    bool overwrite = false;
    bool quiet = false;
    bool verbose = false;
    bool help = false;
    bool listTargets = false;
    std::vector<std::string> videos;
    // How many encoders run at once; none: Automatic (see process::AutomaticEncoders).
    std::optional<int> jobs;
};

// The options, or what was wrong with the command line in the words Unix tools use (its detail the
// argument at fault).
Result<ToolOptions> ParseToolArguments(const std::vector<std::string_view>& arguments);

std::string ToolHelp(std::string_view program);

// The encoders run at once when -j is not given: one per core this process may run on (its CPU
// affinity, as nproc counts), at least one. The source's decoding fills the cores a small target's
// encoder leaves idle: on the 2-core machine bench/batch_throughput.sh measured 4 clips in 7.0 s with
// -j 2, 7.6 s with -j 3 and 10.3 s with -j 1 (xargs -P 2 over the same commands: 7.8 s).

// The targets' names on command lines: "gba-240x160" and so on, from the target table; a row's
// number is taken too.
std::string PresetWord(int preset);
std::optional<int> PresetFromWord(std::string_view word);

// Every target, one a line (name, label, size, what it writes), or as a JSON array of objects with the
// table's fields.
std::string TargetListing(bool json);

// The request for one video, as the window would hold it with these values.
ConversionRequest ToolRequest(const ToolOptions& options, const std::string& video,
                              const std::string& output);

} // namespace zvm
