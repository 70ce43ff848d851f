#include "core/CommandLine.h"

#include "core/Cut.h"
#include "core/DeviceLimits.h"
#include "core/Dpg.h"
#include "core/NumericText.h"
#include "core/OutputTarget.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

namespace zvm {

namespace {
// Text in double quotes, each quote inside doubled, as the program's command lines are split. Only
// the queue and the tool take such a name; the window's checks refuse it, so its texts never hold one.
std::string InQuotes(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
    }
    return quoted + "\"";
}

// Appends pieces without temporaries; each piece is either text or a whole number.
class CommandText {
public:
    CommandText() { text_.reserve(256); }

    CommandText& operator<<(std::string_view piece) {
        text_.append(piece);
        return *this;
    }
    CommandText& operator<<(int number) {
        text_.append(std::to_string(number));
        return *this;
    }
    CommandText& Quoted(std::string_view path) { return *this << InQuotes(FileArgument(path)); }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

// The numeric test allows blanks around a number; the modern options glue a unit to it ("256k"), where
// a blank would split the value into a stray output file name.
std::string WithoutBlanks(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (c != ' ' && c != '\t') {
            kept += c;
        }
    }
    return kept;
}

// The -vf value: bare as designed, in double quotes when subtitles put a file name (which may hold
// blanks) into it.
std::string VideoFilter(const ConversionRequest& r, const FrameGeometry& g, Ratio pixelAspect = {}) {
    const std::string filter = PictureFilter(r, g, pixelAspect);
    return SubtitleFilter(r, g).empty() ? filter : InQuotes(filter);
}

// Seconds with at most three decimals and a point whatever the locale, for an expression.
std::string SecondsText(double seconds) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed, 3).ptr;
    std::string_view kept(text, static_cast<std::size_t>(end - text));
    while (kept.ends_with('0')) {
        kept.remove_suffix(1);
    }
    if (kept.ends_with('.')) {
        kept.remove_suffix(1);
    }
    return std::string(kept);
}

// Backslash before each of `special`.
std::string Escaped(std::string_view text, std::string_view special) {
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        if (special.find(c) != std::string_view::npos) {
            out += '\\';
        }
        out += c;
    }
    return out;
}

CommandText Head(const ConversionRequest& r) {
    CommandText c;
    c << r.encoderPath << " -y " << CutOptions(r) << "-i ";
    c.Quoted(r.sourceVideo);
    return c;
}

// The modern forms' head with the chosen sound stream mapped: the encoder's own choice is the
// stream it finds best, not the one asked for.
CommandText ModernHead(const ConversionRequest& r) {
    CommandText c = Head(r);
    if (r.audio.track >= 0 && !GetsSilentTrack(r)) {
        c << " -map 0:v:0 -map 0:a:" << r.audio.track;
    }
    return c;
}

void ClassicPads(CommandText& c, const FrameGeometry& g, PadSides sides, std::string_view lead) {
    if (sides == PadSides::LeftRight) {
        c << lead << "-padright " << g.padRight << " -padleft " << g.padLeft;
    } else {
        c << lead << "-padtop " << g.padTop << " -padbottom " << g.padBottom;
    }
}

std::string ClassicMp4(const ConversionRequest& r, const FrameGeometry& g, MovieType type, PadSides sides) {
    CommandText c = Head(r);
    c << " -r " << FrameRateFor(type, CommandStyle::Classic).option << " -s " << g.newWidth << "x"
      << g.newHeight << " -bitexact -strict 3 -me epzs -hq -vcodec mpeg4 -b " << r.videoBitrate
      << " -acodec aac -ac 2 -ar " << r.sampleRate << " -ab " << r.audioBitrate;
    ClassicPads(c, g, sides, " -f mp4 ");
    c << " ";
    return c.Quoted(r.outputPath).Take();
}

// Twice the bitrate, in the request's unit; the checks have made it a number.
std::string BufferText(const std::string& bitrate) {
    return NumberText(2 * ParseNumber(bitrate).value_or(0));
}

void SilentTrack(CommandText& c, const ConversionRequest& r, std::string_view rate, std::string_view layout);

// MPEG-4 Simple Profile as the PSP plays it (no B-frames), with a key frame every ten seconds and
// rate-distortion decisions: about 1 to 2.7 dB more at the same size than the encoder's defaults.
constexpr std::string_view kBestMpeg4 = " -g 300 -mbd rd -trellis 1 -cmp 2 -subcmp 2 -flags +mv4";
// MPEG-1 keeping the VCD's structure (its rate, buffer and packs come from -target), in closed
// GOPs, which a player can start at or jump to without the pictures before: mpeg1video closes them
// only when it never starts one early at a scene change.
constexpr std::string_view kBestMpeg1 =
    " -mbd rd -trellis 1 -cmp 2 -subcmp 2 -bf 2 -flags +cgop -sc_threshold 1000000000";

std::string ModernMp4(const ConversionRequest& r, const FrameGeometry& g, MovieType type) {
    const bool best = BestQualityApplies(r);
    CommandText c = ModernHead(r);
    if (best && GetsSilentTrack(r)) {
        SilentTrack(c, r, WithoutBlanks(r.sampleRate), "stereo");
    }
    const std::optional<Ratio> film = KeptFilmRate(r);
    c << " -r " << (film ? RateText(*film) : std::string(FrameRateFor(type, CommandStyle::Modern).option))
      << " -vf " << VideoFilter(r, g);
    const std::string video = WithoutBlanks(r.videoBitrate);
    c << " -c:v mpeg4" << (best ? kBestMpeg4 : "") << " -b:v " << video << "k";
    // One second can carry the full buffer and a second's rate: the two together are held to the
    // player's limit for any one second, the rate at least half of it and never under the rate asked
    // (a ceiling at the asked rate itself makes mpeg4's two-pass rate control abort on detailed
    // pictures), the buffer at least a quarter of it (a rate asked near the limit may then pass it).
    const TargetPreset* preset = FindPreset(r.preset);
    const std::optional<DeviceLimits> limits = preset != nullptr ? LimitsFor(*preset) : std::nullopt;
    if (best && limits && limits->mostPeakVideoKbit) {
        const double peak = *limits->mostPeakVideoKbit;
        const double ceiling = std::max(peak / 2, ParseNumber(video).value_or(0));
        c << " -maxrate " << NumberText(ceiling) << "k -bufsize " << NumberText(std::max(peak - ceiling, peak / 4)) << "k";
    }
    c << " -c:a aac -ac 2 -ar " << WithoutBlanks(r.sampleRate) << " -b:a " << WithoutBlanks(r.audioBitrate) << "k";
    // The PSP's own format (its brand and Sony's box), which older firmware wants, index first.
    c << (best && IsPspRow(r) ? " -movflags +faststart -f psp " : best ? " -movflags +faststart -f mp4 " : " -f mp4 ");
    return c.Quoted(r.outputPath).Take();
}

std::string ClassicVcd(const ConversionRequest& r, const FrameGeometry& g, PadSides sides) {
    CommandText c = Head(r);
    c << " -target vcd -r " << FrameRateFor(MovieType::LiveAction, CommandStyle::Classic).option << " -ar "
      << r.sampleRate << " -ab " << r.audioBitrate << " -s " << g.newWidth << "x" << g.newHeight;
    ClassicPads(c, g, sides, " ");
    c << " ";
    return c.Quoted(r.outputPath).Take();
}

std::string ModernVcd(const ConversionRequest& r, const FrameGeometry& g, Norm norm = Norm::Ntsc,
                      Ratio pixelAspect = {}) {
    CommandText c = ModernHead(r);
    // The rows after the designed ones take the best options always, the designed row when asked.
    const TargetPreset* preset = FindPreset(r.preset);
    const bool best = BestQualityApplies(r) || (preset != nullptr && !preset->designed);
    c << " -target " << NormWord(norm) << "-vcd";
    if (const std::optional<Ratio> film = KeptFilmRate(r)) {
        c << " -r " << RateText(*film); // after the target, whose own rate it replaces
    }
    c << (best ? kBestMpeg1 : "") << " -ar "
      << WithoutBlanks(r.sampleRate) << " -b:a " << WithoutBlanks(r.audioBitrate) << "k -vf "
      << VideoFilter(r, g, pixelAspect) << " ";
    return c.Quoted(r.outputPath).Take();
}

// A second input of silence for a source without sound, as long as the part kept: -shortest would
// leave the sound a frame of audio longer than the picture. Only a length that is not known ends it
// with the picture.
void SilentTrack(CommandText& c, const ConversionRequest& r, std::string_view rate, std::string_view layout) {
    // A length below 0 is none (a plain value: GCC's release build misreads an optional copied here).
    const double seconds = r.silentSource ? r.silentSource->keptSeconds.value_or(-1.0) : -1.0;
    c << " -f lavfi ";
    if (seconds >= 0) {
        c << "-t " << CutSecondsText(seconds) << " ";
    }
    c << "-i anullsrc=r=" << rate << ":cl=" << layout << " -map 0:v:0 -map 1:a:0";
    if (seconds < 0) {
        c << " -shortest";
    }
}

std::string RateLimited(const ConversionRequest& r, const TargetPreset& t, const FrameGeometry& g) {
    CommandText c = ModernHead(r);
    if (GetsSilentTrack(r)) {
        SilentTrack(c, r, WithoutBlanks(r.sampleRate), "stereo");
    }
    c << " -fpsmax " << RateText(t.maxFrameRate) << " -vf " << VideoFilter(r, g, t.pixelAspect);
    if (t.video == VideoKind::H264 || t.video == VideoKind::H264Baseline) {
        // A player known to take a lower level or fewer reference frames gets them: x264's
        // B-pyramid would declare more references than -refs alone (4 for -refs 2).
        const std::optional<DeviceLimits> limits = LimitsFor(t);
        const int least = limits && limits->mostLevel ? std::min(30, *limits->mostLevel) : 30;
        const std::optional<H264Profile> profile = H264ProfileFor(t.width, t.height, t.maxFrameRate, least);
        const std::string_view named = t.video == VideoKind::H264Baseline ? "baseline"
                                       : profile                          ? profile->profile
                                                                          : "main";
        c << " -c:v libx264 -profile:v " << named << " -level:v "
          << (profile ? profile->level : "5.1");
        if (limits && limits->mostReferenceFrames) {
            c << " -refs " << *limits->mostReferenceFrames << " -x264-params b-pyramid=none";
        }
        c << " -pix_fmt yuv420p";
    } else {
        // The DS players look for Xvid's tag in an AVI.
        c << (t.container == Container::Avi ? " -c:v mpeg4 -vtag XVID" : " -c:v mpeg4");
    }
    const std::string video = WithoutBlanks(r.videoBitrate);
    c << " -b:v " << video << "k -maxrate " << video << "k -bufsize " << BufferText(video) << "k -c:a "
      << (t.container == Container::Avi ? "libmp3lame" : "aac") << " -ac 2 -ar " << WithoutBlanks(r.sampleRate)
      << " -b:a " << WithoutBlanks(r.audioBitrate) << "k ";
    if (t.container == Container::Avi) {
        c << "-f avi ";
    } else {
        c << "-movflags +faststart -f " << ContainerWord(t.container) << " "; // the index first, for slow cards
    }
    return c.Quoted(r.outputPath).Take();
}

// The frame-by-frame formats, at a fixed rate: AMV (always with its one mono 22050 Hz track, in
// blocks of one frame's samples), Motion JPEG in AVI and raw RGB565 frames, both without sound. The
// JPEG kinds keep a fixed quality, as their players' decoders are timed for, not a bitrate.
std::string FrameByFrame(const ConversionRequest& r, const TargetPreset& t, const FrameGeometry& g) {
    CommandText c = Head(r);
    const bool amv = t.video == VideoKind::Amv;
    if (amv && GetsSilentTrack(r)) {
        SilentTrack(c, r, "22050", "mono");
    }
    c << " -r " << RateText(t.maxFrameRate) << " -vf " << VideoFilter(r, g, t.pixelAspect);
    if (amv) {
        c << " -c:v amv -pix_fmt yuvj420p -q:v 3";
        if (t.height % 16 != 0) {
            c << " -strict -1"; // the encoder takes other heights only when told to
        }
        c << " -c:a adpcm_ima_amv -ar 22050 -ac 1 -block_size " << 22050 / std::max(1, t.maxFrameRate.across);
        if (r.cutEnd) {
            // The muxer keeps picture and sound in step by repeating frames: held to the part kept,
            // a cut's few extra samples do not become extra frames.
            c << " -t " << CutSecondsText(*r.cutEnd - r.cutStart.value_or(0));
        }
        c << " -f amv ";
    } else if (t.video == VideoKind::Mjpeg) {
        c << " -c:v mjpeg -pix_fmt yuvj420p -q:v 3 -an -f avi ";
    } else {
        c << " -pix_fmt " << VideoWord(t.video) << " -an -f rawvideo ";
    }
    return c.Quoted(r.outputPath).Take();
}
// MoonShell's DPG holds the two streams bare: the encoder writes each to a file of its own beside the
// output, which the conversion then puts together behind the header. MPEG-1 has no 15 fps among its
// official rates, so the encoder is told to write it as an unofficial one, as the DPG guides' encoder
// settings do; the sound needs its own map, as each output takes the maps before it.
std::string DpgStreams(const ConversionRequest& r, const TargetPreset& t, const FrameGeometry& g) {
    CommandText c = Head(r);
    const bool silent = GetsSilentTrack(r);
    const double seconds = silent ? r.silentSource->keptSeconds.value_or(-1.0) : -1.0;
    if (seconds >= 0) { // a length not known would never end: the sound output then finds no stream
        c << " -f lavfi -t " << CutSecondsText(seconds) << " -i anullsrc=r=" << WithoutBlanks(r.sampleRate)
          << ":cl=stereo";
    }
    const std::string video = WithoutBlanks(r.videoBitrate);
    c << " -map 0:v:0 -r " << RateText(t.maxFrameRate) << " -vf " << VideoFilter(r, g, t.pixelAspect)
      << " -c:v mpeg1video -strict -1 -b:v " << video << "k -maxrate " << video << "k -bufsize " << BufferText(video)
      << "k -an -f mpeg1video ";
    c.Quoted(dpg::VideoPartFor(r.outputPath));
    if (seconds >= 0) {
        c << " -map 1:a:0";
    } else if (r.audio.track >= 0 && !silent) {
        c << " -map 0:a:" << r.audio.track;
    }
    c << " -vn -c:a mp2 -ac 2 -ar " << WithoutBlanks(r.sampleRate) << " -b:a " << WithoutBlanks(r.audioBitrate)
      << "k -f mp2 ";
    return c.Quoted(dpg::AudioPartFor(r.outputPath)).Take();
}
} // namespace

bool GetsSilentTrack(const ConversionRequest& request) {
    const TargetPreset* preset = FindPreset(request.preset);
    if (!request.silentSource || preset == nullptr) {
        return false;
    }
    // A designed row writes plain MP4 or MPEG-PS, which need no sound, unless its best quality writes
    // the PSP's own format.
    return preset->designed ? IsPspRow(request) && BestQualityApplies(request)
                            : NeedsModernForm(*preset) && NeedsAudio(*preset);
}

bool BestQualityApplies(const ConversionRequest& request) {
    const TargetPreset* preset = FindPreset(request.preset);
    return request.bestQuality && preset != nullptr && preset->designed;
}

namespace {
constexpr std::array<Ratio, 3> kFilmRates{{{24000, 1001}, {24, 1}, {25, 1}}};

// The film rate a source runs at, as the encoder is given it; nothing for any other rate.
std::optional<Ratio> FilmRateOf(std::optional<double> perSecond) {
    for (const Ratio rate : kFilmRates) {
        if (perSecond && std::fabs(rate.Value() - *perSecond) < 0.005) {
            return rate;
        }
    }
    return std::nullopt;
}

// Whether the target's player takes the rate. A VCD's norm names its rates, a user's VCD row too; a
// player whose limits nobody has written down (the GBA-sized rows) is held to none.
bool PlayerTakes(const TargetPreset& preset, Ratio rate) {
    const DeviceLimits* norm = preset.form != CommandForm::Vcd ? nullptr
                               : preset.norm == Norm::Pal     ? BuiltInLimits("vcd-pal-352x288")
                                                              : BuiltInLimits("vcd-352x240");
    const std::optional<DeviceLimits> limits = norm != nullptr ? std::optional(*norm) : LimitsFor(preset);
    if (!limits) {
        return true;
    }
    if (!limits->frameRates.empty()) {
        return std::ranges::find(limits->frameRates, rate) != limits->frameRates.end();
    }
    return !limits->mostFrameRate || rate.Value() <= *limits->mostFrameRate;
}
} // namespace

std::optional<Ratio> KeptFilmRate(const ConversionRequest& request) {
    const TargetPreset* preset = FindPreset(request.preset);
    const std::optional<Ratio> film = FilmRateOf(request.sourceFrameRate);
    // A film at the row's own rate (25 fps on PAL) needs nothing.
    if (preset == nullptr || !film || *film == preset->maxFrameRate || !PlayerTakes(*preset, *film)) {
        return std::nullopt;
    }
    const bool vcd = preset->form == CommandForm::Vcd;
    const bool kept = preset->designed ? BestQualityApplies(request) && (vcd || request.movieType == MovieType::LiveAction)
                                       : vcd;
    return kept ? film : std::nullopt;
}

bool IsPspRow(const ConversionRequest& request) {
    const TargetPreset* preset = FindPreset(request.preset);
    return preset != nullptr && preset->designed && preset->name.starts_with("psp-");
}

std::vector<std::string> PassSteps(const std::string& command, std::string_view outputPath, bool twoPass,
                                   std::string_view logPrefix) {
    const std::string output = CommandText().Quoted(outputPath).Take();
    if (!twoPass || !command.ends_with(" " + output)) {
        return {command};
    }
    // The first pass writes the command's own container, sound and all, into nothing: the null
    // muxer passes frames at the source's rate where a container repeats them up to its constant
    // rate (the second pass then finds more frames than the log holds), and the PSP container will
    // not start without its sound.
    const std::string_view head = std::string_view(command).substr(0, command.size() - output.size());
    CommandText log;
    log << "-passlogfile ";
    const std::string logOption = log.Quoted(logPrefix).Take() + " ";
    return {std::string(head) + "-pass 1 " + logOption + "\"/dev/null\"",
            std::string(head) + "-pass 2 " + logOption + output};
}

std::optional<std::string> WritingTo(const std::string& command, std::string_view outputPath,
                                     std::string_view writtenPath) {
    // Not " " + the quoted name: GCC 12's release build misreads that insert as an overlapping copy.
    const std::string output = CommandText().Quoted(outputPath).Take();
    const std::size_t at = command.size() - std::min(command.size(), output.size());
    if (at == 0 || command[at - 1] != ' ' || !command.ends_with(output)) {
        return std::nullopt;
    }
    return command.substr(0, at) + CommandText().Quoted(writtenPath).Take();
}

std::optional<std::string> WritingPartTo(const std::string& command, std::string_view path,
                                         std::string_view writtenPath) {
    // Spaces appended, not " " + the quoted name: GCC 12's release build misreads that insert as an
    // overlapping copy (as in WritingTo).
    const auto spaced = [](std::string_view name) {
        std::string text(1, ' ');
        text += CommandText().Quoted(name).Take();
        text += ' ';
        return text;
    };
    const std::string named = spaced(path);
    const std::size_t at = command.find(named);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    std::string written = command;
    written.replace(at, named.size(), spaced(writtenPath));
    return written;
}

std::string FileArgument(std::string_view path) {
    // The characters the encoder allows in a protocol's name; one of them before a colon is enough,
    // and a colon first is read as a protocol without a name.
    const std::size_t word = path.find_first_not_of(
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-.");
    const bool colonAfterWord = word != std::string_view::npos && path[word] == ':';
    const std::string_view rest = path.substr(word == std::string_view::npos ? path.size() : word);
    const bool address = rest.starts_with("://");
    const bool driveLetter = word == 1 && rest.starts_with(":\\");
    // The one protocol whose name ends with a comma: "subfile,,start,0,end,0,,:other.mp4" reads other.mp4.
    const bool subfile = path.starts_with("subfile,") && path.find(':') != std::string_view::npos;
    const bool looksLikeProtocol = (colonAfterWord && !address && !driveLetter) || subfile;
    const bool looksLikeOption = path.starts_with('-');
    return looksLikeOption || looksLikeProtocol ? "./" + std::string(path) : std::string(path);
}

FrameRate FrameRateFor(MovieType type, CommandStyle style) {
    const bool animation = type == MovieType::Animation;
    if (style == CommandStyle::Modern) {
        return animation ? FrameRate{"15000/1001", 15000.0 / 1001} : FrameRate{"30000/1001", 30000.0 / 1001};
    }
    return animation ? FrameRate{"14.985", 14.985} : FrameRate{"29.971", 29.971};
}

std::string ScaleAndPadFilter(const FrameGeometry& g, Ratio pixelAspect) {
    // A filter's options are parted by colons, so the aspect is written as a fraction.
    const std::string aspect = pixelAspect.Square() ? "1"
                                                    : std::to_string(pixelAspect.across) + "/" +
                                                          std::to_string(pixelAspect.down);
    return "scale=" + std::to_string(g.newWidth) + ":" + std::to_string(g.newHeight) +
           ",pad=" + std::to_string(g.targetWidth) + ":" + std::to_string(g.targetHeight) + ":" +
           std::to_string(g.padLeft) + ":" + std::to_string(g.padTop) + ",setsar=" + aspect;
}

int SubtitleFontSize(const SubtitleChoice& subtitles, const FrameGeometry& geometry) {
    return subtitles.size > 0 ? subtitles.size : std::max(12, (geometry.targetHeight + 6) / 12);
}

std::string FilterOptionValue(std::string_view value) {
    // Quoted, everything inside is literal; a quote itself ends the quotes, is escaped and reopens them.
    std::string out = "'";
    for (const char c : value) {
        out += c == '\'' ? std::string_view("'\\''") : std::string_view(&c, 1);
    }
    return out + "'";
}

std::string FilterGraphText(std::string_view text) {
    return Escaped(text, "\\'[],;");
}

namespace {
// The subtitles filter alone, without the clock set for a cut; empty when there are none.
std::string SubtitlesAlone(const ConversionRequest& r, const FrameGeometry& g) {
    const SubtitleChoice& s = r.subtitles;
    const bool file = s.mode == SubtitleMode::File && !s.file.empty();
    const bool stream = s.mode == SubtitleMode::Stream && s.stream >= 0;
    if (!(file || stream) || g.newHeight <= 0) {
        return {};
    }
    std::string options = "filename=" + FilterOptionValue(FileArgument(file ? s.file : r.sourceVideo));
    if (stream) {
        options += ":si=" + std::to_string(s.stream);
    }
    // An ASS script brings its own styles, kept unless a size is asked for.
    const auto ends = [&](std::string_view suffix) {
        return s.file.size() >= suffix.size() &&
               std::equal(suffix.rbegin(), suffix.rend(), s.file.rbegin(),
                          [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b); });
    };
    if (s.size > 0 || !(file && (ends(".ass") || ends(".ssa")))) {
        // libass sizes fonts in lines of the script's height, 288 for converted text subtitles, and
        // draws them on the source's picture, which is then scaled to the new height: so a size in
        // target pixels is that many 288ths of the new height.
        const long scriptSize = std::lround(SubtitleFontSize(s, g) * 288.0 / g.newHeight);
        options += ":force_style=" + FilterOptionValue("Fontsize=" + std::to_string(scriptSize));
    }
    return "subtitles=" + FilterGraphText(options);
}

// With a cut, input seeking starts the picture's clock at 0: the subtitles are given the source's
// time, and the clock is set back after them.
std::string CutClockFrom(const ConversionRequest& r) {
    return r.cutStart && *r.cutStart > 0 ? "setpts=PTS+" + SecondsText(*r.cutStart) + "/TB" : std::string();
}

// What comes before the scaling of the modern form: [clock] deinterlace, crop, subtitles [clock back].
// Deinterlacing sees whole frames as decoded, and the subtitles are placed in the kept picture.
std::string BeforeScale(const ConversionRequest& r, const FrameGeometry& g) {
    const std::string subtitles = SubtitlesAlone(r, g);
    std::vector<std::string> parts;
    if (!subtitles.empty() && !CutClockFrom(r).empty()) {
        parts.push_back(CutClockFrom(r));
    }
    if (r.deinterlace == DeinterlaceMode::On) {
        parts.emplace_back("bwdif=mode=send_frame"); // one frame out per frame in, at the source's rate
    }
    if (r.crop.mode == CropMode::Rect) {
        parts.push_back("crop=" + std::to_string(r.crop.width) + ":" + std::to_string(r.crop.height) + ":" +
                        std::to_string(r.crop.x) + ":" + std::to_string(r.crop.y));
    }
    if (!subtitles.empty()) {
        parts.push_back(subtitles);
        if (!CutClockFrom(r).empty()) {
            parts.emplace_back("setpts=PTS-STARTPTS");
        }
    }
    std::string text;
    for (const std::string& part : parts) {
        text += part;
        text += ',';
    }
    return text;
}
} // namespace

std::string SubtitleFilter(const ConversionRequest& r, const FrameGeometry& g) {
    std::string subtitles = SubtitlesAlone(r, g);
    if (subtitles.empty() || CutClockFrom(r).empty()) {
        return subtitles;
    }
    return CutClockFrom(r) + "," + subtitles + ",setpts=PTS-STARTPTS";
}

std::string PictureFilter(const ConversionRequest& request, const FrameGeometry& geometry, Ratio pixelAspect) {
    return BeforeScale(request, geometry) + ScaleAndPadFilter(geometry, pixelAspect);
}

std::string Mp4Command(const ConversionRequest& request, const FrameGeometry& geometry, MovieType movieType,
                       PadSides sides, CommandStyle style) {
    return style == CommandStyle::Modern ? ModernMp4(request, geometry, movieType)
                                         : ClassicMp4(request, geometry, movieType, sides);
}

std::string VcdCommand(const ConversionRequest& request, const FrameGeometry& geometry, PadSides sides,
                       CommandStyle style) {
    return style == CommandStyle::Modern ? ModernVcd(request, geometry)
                                         : ClassicVcd(request, geometry, sides);
}

std::string TargetCommand(const ConversionRequest& request, const TargetPreset& target,
                          const FrameGeometry& geometry) {
    if (target.video == VideoKind::Vcd) {
        return ModernVcd(request, geometry, target.norm, target.pixelAspect);
    }
    if (target.container == Container::Dpg) {
        return DpgStreams(request, target, geometry);
    }
    return FixedFrameRate(target) ? FrameByFrame(request, target, geometry) : RateLimited(request, target, geometry);
}

} // namespace zvm
