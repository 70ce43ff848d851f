#include "CommandLine.h"

#include "NumericText.h"
#include "OutputTarget.h"

#include <string_view>

namespace zvm {

namespace {
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
    CommandText& Quoted(std::string_view path) { return *this << "\"" << FileArgument(path) << "\""; }
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

CommandText Head(const ConversionRequest& r) {
    CommandText c;
    c << r.encoderPath << " -y -i ";
    c.Quoted(r.sourceVideo);
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

std::string ModernMp4(const ConversionRequest& r, const FrameGeometry& g, MovieType type) {
    CommandText c = Head(r);
    c << " -r " << FrameRateFor(type, CommandStyle::Modern).option << " -vf " << ScaleAndPadFilter(g);
    c << " -c:v mpeg4 -b:v " << WithoutBlanks(r.videoBitrate) << "k -c:a aac -ac 2 -ar "
      << WithoutBlanks(r.sampleRate) << " -b:a " << WithoutBlanks(r.audioBitrate) << "k -f mp4 ";
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
    CommandText c = Head(r);
    c << " -target " << NormWord(norm) << "-vcd -ar " << WithoutBlanks(r.sampleRate) << " -b:a "
      << WithoutBlanks(r.audioBitrate) << "k -vf " << ScaleAndPadFilter(g, pixelAspect) << " ";
    return c.Quoted(r.outputPath).Take();
}

// Twice the bitrate, in the request's unit; the checks have made it a number.
std::string BufferText(const std::string& bitrate) {
    return NumberText(2 * ParseNumber(bitrate).value_or(0));
}

std::string RateLimited(const ConversionRequest& r, const TargetPreset& t, const FrameGeometry& g) {
    CommandText c = Head(r);
    c << " -fpsmax " << RateText(t.maxFrameRate) << " -vf " << ScaleAndPadFilter(g, t.pixelAspect);
    if (t.video == VideoKind::H264) {
        const std::optional<H264Profile> profile = H264ProfileFor(t.width, t.height, t.maxFrameRate);
        c << " -c:v libx264 -profile:v " << (profile ? profile->profile : "main") << " -level:v "
          << (profile ? profile->level : "5.1") << " -pix_fmt yuv420p";
    } else {
        c << " -c:v mpeg4";
    }
    const std::string video = WithoutBlanks(r.videoBitrate);
    c << " -b:v " << video << "k -maxrate " << video << "k -bufsize " << BufferText(video) << "k -c:a aac -ac 2 -ar "
      << WithoutBlanks(r.sampleRate) << " -b:a " << WithoutBlanks(r.audioBitrate) << "k -f "
      << ContainerWord(t.container) << " ";
    return c.Quoted(r.outputPath).Take();
}
} // namespace

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
    log << "-passlogfile \"" << logPrefix << "\" ";
    const std::string logOption = log.Take();
    return {std::string(head) + "-pass 1 " + logOption + "\"/dev/null\"",
            std::string(head) + "-pass 2 " + logOption + output};
}

std::string FileArgument(std::string_view path) {
    // The characters the encoder allows in a protocol's name.
    const std::size_t word = path.find_first_not_of(
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-.");
    const bool colonAfterWord = word != std::string_view::npos && word >= 2 && path[word] == ':';
    const bool address = path.substr(word == std::string_view::npos ? path.size() : word).starts_with("://");
    const bool looksLikeProtocol = colonAfterWord && !address;
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
    return target.video == VideoKind::Vcd ? ModernVcd(request, geometry, target.norm, target.pixelAspect)
                                          : RateLimited(request, target, geometry);
}

} // namespace zvm
