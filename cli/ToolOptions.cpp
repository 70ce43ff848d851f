#include "cli/ToolOptions.h"

#include "core/Cut.h"
#include "core/DeviceLimits.h"
#include "core/FileSize.h"
#include "core/NumericText.h"
#include "core/Presets.h"
#include "core/SourceChoices.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>

namespace zvm {

namespace {
std::string Lower(std::string_view text) {
    std::string lower;
    for (const char c : text) {
        lower += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return lower;
}

std::string Targets() {
    std::string list;
    for (std::size_t i = 0; i < TargetPresets().size(); ++i) {
        list += (i == 0                            ? ""
                 : i + 1 == TargetPresets().size() ? " or "
                                                   : ", ") +
                PresetWord(static_cast<int>(i));
    }
    return list + " (or the row 0 to " + std::to_string(TargetPresets().size() - 1) + ")";
}

using Setter = std::function<Status(ToolOptions&, std::string_view)>;

Status BadValue(std::string message, std::string_view value) {
    return Status::Failure(FailureKind::BadInput, std::move(message), std::string(value));
}

Status SetTarget(ToolOptions& o, std::string_view value) {
    const auto preset = PresetFromWord(value);
    if (!preset) {
        return BadValue("invalid target '%1': choose " + Targets(), value);
    }
    o.preset = *preset;
    return {};
}

Status SetMovieType(ToolOptions& o, std::string_view value) {
    const auto type = MovieTypeFromWord(value);
    if (!type || *type == MovieType::None) {
        return BadValue("invalid movie type '%1': choose " +
                            std::string(MovieTypeWord(MovieType::LiveAction)) + " or " +
                            std::string(MovieTypeWord(MovieType::Animation)),
                        value);
    }
    o.movieType = *type;
    return {};
}

Status SetSize(ToolOptions& o, std::string_view value) {
    const std::size_t x = value.find_first_of("xX");
    if (x == std::string_view::npos) {
        return BadValue("invalid size '%1': give it as WIDTHxHEIGHT, for example 1280x720", value);
    }
    o.width = std::string(value.substr(0, x));
    o.height = std::string(value.substr(x + 1));
    return {};
}

Status SetForm(ToolOptions& o, std::string_view value) {
    const auto form = FormFromWord(value);
    if (!form) {
        return BadValue("invalid form '%1': choose auto, modern or classic", value);
    }
    o.form = *form;
    return {};
}

Status SetQuality(ToolOptions& o, std::string_view value) {
    if (value != "best" && value != "designed") {
        return BadValue("invalid quality '%1': choose designed or best", value);
    }
    o.bestQuality = value == "best";
    return {};
}

// "auto", "none", or a file's name ("./auto" for a file called so).
Status SetSubtitles(ToolOptions& o, std::string_view value) {
    if (value.empty()) {
        return BadValue("invalid subtitles '%1': choose auto, none or a subtitle file", value);
    }
    o.subtitles.mode = value == "auto"   ? SubtitleMode::Auto
                       : value == "none" ? SubtitleMode::None
                                         : SubtitleMode::File;
    o.subtitles.file = o.subtitles.mode == SubtitleMode::File ? std::string(value) : std::string();
    return {};
}

Status SetSubtitleSize(ToolOptions& o, std::string_view value) {
    int size = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), size);
    if (error != std::errc() || end != value.data() + value.size() || size < 1 || size > kLargestSubtitleSize) {
        return BadValue("invalid subtitle size '%1': give the font's height in target pixels, 1 to 200", value);
    }
    o.subtitles.size = size;
    return {};
}

Status SetCrop(ToolOptions& o, std::string_view value) {
    const std::optional<CropChoice> crop = ParseCrop(value);
    if (!crop) {
        return BadValue("invalid crop '%1': choose auto, none or WIDTH:HEIGHT:X:Y in the source's pixels", value);
    }
    o.crop = *crop;
    return {};
}

Status SetAudioLanguages(ToolOptions& o, std::string_view value) {
    const auto languages = ParseLanguages(value);
    if (!languages) {
        return BadValue("invalid audio languages '%1': give language codes parted by commas, for example eng,deu",
                        value);
    }
    o.audio = AudioChoice{*languages, -1};
    return {};
}

Status SetAudioTrack(ToolOptions& o, std::string_view value) {
    int track = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), track);
    if (error != std::errc() || end != value.data() + value.size() || track < 0) {
        return BadValue("invalid audio track '%1': give the sound stream's number, counted from 0", value);
    }
    o.audio = AudioChoice{{}, track};
    return {};
}

Status SetDeinterlace(ToolOptions& o, std::string_view value) {
    const std::optional<DeinterlaceMode> mode = DeinterlaceFromWord(value);
    if (!mode) {
        return BadValue("invalid deinterlacing '%1': choose auto, on or off", value);
    }
    o.deinterlace = *mode;
    return {};
}

Setter Time(const char* option, std::optional<double> ToolOptions::*field) {
    return [option, field](ToolOptions& o, std::string_view value) {
        const Result<double> time = ParseCutTime(value);
        if (!time.ok()) {
            return Status::Failure(FailureKind::BadInput, std::string(option) + ": " + time.status().message(),
                                   time.status().detail());
        }
        o.*field = time.value();
        return Status();
    };
}

// A whole number from 1 up, or "auto" for Automatic.
Status SetJobs(ToolOptions& o, std::string_view value) {
    if (value == "auto") {
        o.jobs.reset();
        return {};
    }
    int jobs = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), jobs);
    if (error != std::errc() || end != value.data() + value.size() || jobs < 1) {
        return BadValue("invalid number of jobs '%1': give a whole number from 1 up (1: one video after "
                        "another), or auto",
                        value);
    }
    o.jobs = jobs;
    return {};
}

Status SetFileSize(ToolOptions& o, std::string_view value) {
    const std::optional<double> megabytes = ParseNumber(value);
    if (!megabytes || !(*megabytes > 0) || *megabytes > kLargestFileSizeMB) {
        return BadValue("invalid file size '%1': give megabytes above 0, for example 25 or 4.5", value);
    }
    o.fileSizeMB = megabytes;
    return {};
}

Setter Text(std::string ToolOptions::*field) {
    return [field](ToolOptions& o, std::string_view value) {
        o.*field = std::string(value);
        return Status();
    };
}

// Options that take a value, by every name they answer to.
const std::map<std::string_view, Setter>& ValueOptions() {
    static const std::map<std::string_view, Setter> options{
        {"-t", SetTarget},
        {"--target", SetTarget},
        {"-m", SetMovieType},
        {"--movie-type", SetMovieType},
        {"-s", SetSize},
        {"--size", SetSize},
        {"-o", Text(&ToolOptions::output)},
        {"--output", Text(&ToolOptions::output)},
        {"--video-bitrate", Text(&ToolOptions::videoBitrate)},
        {"--audio-bitrate", Text(&ToolOptions::audioBitrate)},
        {"--sample-rate", Text(&ToolOptions::sampleRate)},
        {"--encoder", Text(&ToolOptions::encoder)},
        {"--form", SetForm},
        {"--subtitles", SetSubtitles},
        {"--subtitle-size", SetSubtitleSize},
        {"--crop", SetCrop},
        {"--audio-lang", SetAudioLanguages},
        {"--audio-track", SetAudioTrack},
        {"--deinterlace", SetDeinterlace},
        {"--start", Time("--start", &ToolOptions::cutStart)},
        {"--end", Time("--end", &ToolOptions::cutEnd)},
        {"-j", SetJobs},
        {"--jobs", SetJobs},
        {"--file-size", SetFileSize},
        {"--quality", SetQuality},
    };
    return options;
}

const std::map<std::string_view, bool ToolOptions::*>& Flags() {
    static const std::map<std::string_view, bool ToolOptions::*> flags{
        {"-n", &ToolOptions::print},    {"--print", &ToolOptions::print},
        {"--json", &ToolOptions::json}, {"--overwrite", &ToolOptions::overwrite},
        {"-q", &ToolOptions::quiet},    {"--quiet", &ToolOptions::quiet},
        {"-v", &ToolOptions::verbose},  {"--verbose", &ToolOptions::verbose},
        {"-h", &ToolOptions::help},     {"--help", &ToolOptions::help},
        {"--list-targets", &ToolOptions::listTargets},
        {"--two-pass", &ToolOptions::twoPass},
    };
    return flags;
}
} // namespace

std::string PresetWord(int preset) {
    const TargetPreset* found = FindPreset(preset);
    return found == nullptr ? std::string() : std::string(found->name);
}

std::optional<int> PresetFromWord(std::string_view word) {
    if (const auto named = PresetByName(Lower(word))) {
        return named;
    }
    for (int i = 0; i < static_cast<int>(TargetPresets().size()); ++i) {
        if (word == std::to_string(i)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string TargetListing(bool json) {
    const auto quoted = [](std::string_view text) {
        std::string q = "\"";
        for (const char c : text) {
            q += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
        }
        return q + "\"";
    };
    std::string out = json ? "[" : "";
    for (const TargetPreset& t : TargetPresets()) {
        if (t.withdrawn) {
            continue;
        }
        const std::string norm(NormWord(t.norm));
        const DeviceLimits* limits = t.user ? nullptr : BuiltInLimits(t.name);
        const std::string_view sources = limits != nullptr ? limits->sources : std::string_view();
        if (json) {
            out += std::string(out.size() > 1 ? ",\n " : "") + "{\"name\": " + quoted(t.name) +
                   ", \"label\": " + quoted(t.displayText) + ", \"width\": " + std::to_string(t.width) +
                   ", \"height\": " + std::to_string(t.height) + ", \"pixelAspect\": " +
                   quoted(AspectText(t.pixelAspect)) + ", \"video\": " + quoted(VideoWord(t.video)) +
                   ", \"container\": " + quoted(ContainerWord(t.container)) +
                   (norm.empty() ? "" : ", \"norm\": " + quoted(norm)) +
                   ", \"maxFrameRate\": " + quoted(RateText(t.maxFrameRate)) +
                   ", \"movieType\": " + (UsesMovieType(t) ? "true" : "false") +
                   (t.family.empty() ? "" : ", \"family\": " + quoted(t.family)) +
                   (sources.empty() ? "" : ", \"sources\": " + quoted(sources)) +
                   (t.user ? ", \"user\": true" : "") + "}";
        } else {
            std::string line = std::string(t.name);
            line.resize(std::max<std::size_t>(line.size() + 2, 18), ' ');
            line += std::string(t.displayText);
            line.resize(std::max<std::size_t>(line.size() + 2, 50), ' ');
            out += line + std::string(VideoWord(t.video)) + " in " + std::string(ContainerWord(t.container)) +
                   (norm.empty() ? "" : " (" + norm + ")") + ", pixel " + AspectText(t.pixelAspect) +
                   (FixedFrameRate(t) ? ", at " : ", at most ") + RateText(t.maxFrameRate) + " fps\n" +
                   (sources.empty() ? std::string() : std::string("    limits from ").append(sources).append("\n"));
        }
    }
    return json ? out + "]\n" : out;
}

Result<ToolOptions> ParseToolArguments(const std::vector<std::string_view>& arguments) {
    ToolOptions o;
    bool onlyVideos = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (onlyVideos || argument.empty() || argument[0] != '-' || argument == "-") {
            o.videos.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            onlyVideos = true;
            continue;
        }
        std::optional<std::string_view> attached; // --target=psp-320x240
        if (const std::size_t equals = argument.find('=');
            argument.starts_with("--") && equals != argument.npos) {
            attached = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
        }
        if (const auto flag = Flags().find(argument); flag != Flags().end() && !attached) {
            o.*(flag->second) = true;
        } else if (const auto option = ValueOptions().find(argument); option != ValueOptions().end()) {
            if (!attached && i + 1 >= arguments.size()) {
                return BadValue("option '%1' requires an argument", argument);
            }
            if (Status set = option->second(o, attached ? *attached : arguments[++i]); !set.ok()) {
                return set;
            }
        } else {
            return BadValue("unrecognized option '%1'", arguments[i]);
        }
    }
    if (o.videos.empty() && !o.help && !o.listTargets) {
        return Status::Failure(FailureKind::BadInput, "no video given");
    }
    ConversionRequest cut;
    cut.cutStart = o.cutStart;
    cut.cutEnd = o.cutEnd;
    if (Status checked = CheckCut(cut, std::nullopt); !checked.ok()) {
        return checked;
    }
    return o;
}

ConversionRequest ToolRequest(const ToolOptions& options, const std::string& video,
                              const std::string& output) {
    ConversionRequest r;
    r.sourceVideo = video;
    r.outputPath = output;
    r.encoderPath = options.encoder;
    r.width = options.width.value_or("");
    r.height = options.height.value_or("");
    r.videoBitrate = options.videoBitrate;
    r.audioBitrate = options.audioBitrate;
    r.sampleRate = options.sampleRate;
    r.preset = options.preset;
    r.movieType = options.movieType;
    r.subtitles = options.subtitles;
    r.cutStart = options.cutStart;
    r.cutEnd = options.cutEnd;
    r.fileSizeMB = options.fileSizeMB;
    r.twoPass = options.twoPass;
    r.bestQuality = options.bestQuality;
    r.crop = options.crop;
    r.audio = options.audio;
    r.deinterlace = options.deinterlace;
    return r;
}

std::string ToolHelp(std::string_view program) {
    return "Usage: " + std::string(program) + R"( [OPTIONS] VIDEO...
Writes the ffmpeg command that fits each VIDEO to a handheld player's screen, without distortion and
padded to its exact size, and runs it, or prints it. Videos run side by side, up to one per core
by default; -j 1 runs them one after another.

  -t, --target NAME        )" +
           Targets() + R"(
  -m, --movie-type TYPE    live | animation   (default live; only the first four targets have one)
  -s, --size WxH           the source's size; default: read from the file
  -o, --output PATH        output file (one VIDEO) or folder (when it exists, ends in /, or for
                           several; made when missing); default: beside each video, named
                           after it (.mp4, or the target's own: .mpg, .avi, .amv, .dpg, or
                           .rgb for raw frames, named with their size, rate and byte order)
      --video-bitrate N    kbit/s, default )" +
           std::string(kDefaultVideoBitrate) + R"(
      --audio-bitrate N    kbit/s, default )" +
           std::string(kDefaultAudioBitrate) + R"(
      --sample-rate N      Hz, default )" +
           std::string(kDefaultSampleRate) + R"(
      --file-size MB       the size each output should reach, in megabytes (10^6 bytes): sets the
                           video bitrate from the duration and the audio bitrate, encodes in two
                           passes, and lands at most 5% over (under only where the picture needs no
                           more); a size too small for a watchable picture is refused, naming the
                           smallest that works. That is a first guess: a size (or a --two-pass
                           bitrate) under what the first pass measures the second can keep to
                           ends the video before the second pass, naming the smallest size and
                           bitrate that work. Not for the VCD, AMV, MJPEG and raw targets (fixed)
      --two-pass           encode in two passes (the default with --file-size), which keeps the
                           video bitrate far more closely than one; the passes' logs are kept in a
                           private folder of the cache and removed afterwards
      --quality designed|best   best: for the first five targets, two passes and the best
                           options their format takes (slower; the PSP rows then write the PSP's
                           own format); the modern form only. Default designed: their commands
                           as designed. The later targets have their best settings already
      --encoder PATH       the ffmpeg to run; default: ffmpeg on the search path
      --form auto|modern|classic   the command form; default auto: the modern form when the
                           encoder rejects the classic options
      --subtitles auto|none|FILE   burn subtitles into the picture: auto takes the file beside
                           the video with its name (.srt, .ass, .ssa, .vtt), else its first
                           subtitle stream, else none; default none (./auto for a file so named)
      --subtitle-size N    their font's height in target pixels; default a twelfth of the
                           target's height, at least 12 (an .ass file keeps its own styles)
      --crop auto|none|W:H:X:Y   cut black bars away before the fit: auto measures them over a
                           dozen frames of the file (even with --size) and crops only where the
                           frames agree, saying why not otherwise; W:H:X:Y keeps that rectangle of
                           the source's stored pixels; default none. The fit is of the kept picture
      --audio-lang L,L     take the first sound stream in one of these languages (eng, deu or ger
                           or de: a language's codes match each other), else the default stream,
                           else the first
      --audio-track N      take sound stream N, counted from 0
      --deinterlace auto|on|off   bwdif, one frame out per frame in: auto deinterlaces an
                           interlaced source on the targets after the first five; on also on those
                           five (not a source read to be progressive); default auto
      --start T            keep the video from T on; T is seconds (90, 12.5) or
                           [[H:]MM:]SS[.mmm] (2:05, 1:02:03.250); cut exactly there
      --end T              keep the video up to T (an end past the video's keeps the rest); an end
                           not after the start (0 too), or a start at or past the video's end,
                           is refused
  -j, --jobs N|auto        run up to N encoders at once; default auto: one per core this process
                           may run on (as nproc counts), at least 1; -j 1: one after another
  -n, --print              print the command(s), one per line, safe for sh, and start nothing
      --json               print the fit and the command as JSON Lines, one object per video and
                           line, and start nothing
      --overwrite          replace existing outputs (default: refuse, and say which); a video
                           of the batch, the subtitle file or the encoder is never overwritten
  -q, --quiet              print nothing but errors
  -v, --verbose            print each command before it runs, and the encoder's last lines on failure
      --list-targets       list the targets (with --json as JSON) and start nothing
  -h, --help               show this help

With --size, --print and --json read no file: they print what the window's Generate would write
(--subtitles auto then finds only a file beside the video). Only psp-480x272, whose file needs
sound, reads its video even then, and gives a silent one a silent track; --crop auto, --audio-lang
and --deinterlace on read it too. Subtitles, crops, sound streams and deinterlacing need the
modern form.
Sizes and outputs are read by the media reader zarnik-video-maker-worker, not by ffmpeg. Each output
is read back once the encoder and all it started have ended: one that is missing, unreadable or
does not fit its target counts as failed. Each result is printed as it ends, and several videos are
summed up in the order given. Each video is written under a hidden partial name beside its output
(.zvm-partial.clip.mp4) and takes the asked name only once it is whole and passed its check; one
that could not be checked is kept as clip.unchecked.mp4. What a failed or stopped run wrote is
removed, and an existing output is replaced only by a finished file. Ctrl+C, SIGTERM and SIGHUP stop every running encoder and everything it
started cleanly, and start no further video; a second one ends them at once.
Exit status: 0 all converted, 1 some failed (or, of several, some were refused and left out while
the others ran), 2 bad usage, a refused request or every video refused (nothing started), 128+N
stopped by signal N (130 Ctrl+C, 143 SIGTERM, 129 SIGHUP).
)";
}

} // namespace zvm
