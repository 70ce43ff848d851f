#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvm {

// Which frame rate the MP4 form uses. None only arises after a VCD build clears both options.
enum class MovieType { None, LiveAction, Animation };

// Stable words for the movie types, in files and on command lines: "none", "live", "animation".
std::string_view MovieTypeWord(MovieType type);
std::optional<MovieType> MovieTypeFromWord(std::string_view word);

// The encoding numbers a new request starts with, in the window's boxes and on command lines.
inline constexpr std::string_view kDefaultVideoBitrate = "256"; // kbit/s
inline constexpr std::string_view kDefaultAudioBitrate = "32";  // kbit/s
inline constexpr std::string_view kDefaultSampleRate = "24000"; // Hz

// Burned-in subtitles. None is the designed command; Auto is resolved (file beside the video, else
// its first subtitle stream, else none) before a command is built, so the builder sees File, Stream
// or None.
enum class SubtitleMode { None, Auto, File, Stream };
struct SubtitleChoice {
    SubtitleMode mode = SubtitleMode::None;
    std::string file; // File: the subtitle file
    int stream = -1;  // Stream: which of the source's subtitle streams, counted from 0
    int size = 0;     // font size in target pixels; 0: chosen for the target's height
    bool operator==(const SubtitleChoice&) const = default;
};
// The largest subtitle text, in target pixels, that any face accepts: already most of a small screen.
inline constexpr int kLargestSubtitleSize = 200;

// Black bars cut away before the fit. None is the designed command; Auto is resolved from what the
// media worker measured before a command is built, so the builder sees Rect or None. The rectangle is
// in the source's stored pixels: its size, then where its top left corner stands.
enum class CropMode { None, Auto, Rect };
struct CropChoice {
    CropMode mode = CropMode::None;
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
    // The stored picture the rectangle is taken from; 0 when not known, then taken to be the
    // request's own size. The fit stretches the rectangle as the source's pixels are stretched.
    int sourceWidth = 0;
    int sourceHeight = 0;
    bool operator==(const CropChoice&) const = default;
};

// Which sound stream the output takes. Neither set is the designed command (the encoder's own
// choice); a list of languages is resolved against the source's streams before a command is built,
// into the stream's number among the source's sound streams, counted from 0.
struct AudioChoice {
    std::vector<std::string> languages = {}; // first match wins
    int track = -1;                     // chosen by number; below 0: none
    // The language of the stream a list chose, once resolved: the after-check holds the file to it.
    std::string language = {};
    bool operator==(const AudioChoice&) const = default;
};

// Deinterlacing. Auto: for an interlaced source on the targets after the designed rows; the designed
// rows only when asked (On). Resolved before a command is built, so the builder sees On or Off.
enum class DeinterlaceMode { Auto, On, Off };

// Every input of the main window as one record. The eight texts are kept exactly as typed:
// nothing here trims or reformats them, because they enter the command line unchanged.
struct ConversionRequest {
    std::string sourceVideo;
    std::string outputPath;
    std::string encoderPath;
    std::string width;
    std::string height;
    std::string videoBitrate;
    std::string audioBitrate;
    std::string sampleRate;
    int preset = 0;
    MovieType movieType = MovieType::LiveAction;

    // Beyond the main window's boxes, set by the queue, the preview and the tool; the defaults give
    // the designed command. The part kept, in seconds of the source: none means from its start, or to
    // its end.
    std::optional<double> cutStart;
    std::optional<double> cutEnd;
    SubtitleChoice subtitles;
    // A size the output should reach, in megabytes (10^6 bytes); none keeps the bitrates as given.
    std::optional<double> fileSizeMB;
    bool twoPass = false;
    // "Best quality (slower)" for a designed row: two passes and the best options its format takes
    // (the modern form only; the later targets have theirs already).
    bool bestQuality = false;
    // The source was read to have no sound. A target whose file cannot be written without it gets a
    // silent track as long as the part kept (its seconds, when known).
    struct Silent {
        std::optional<double> keptSeconds;
        bool operator==(const Silent&) const = default;
    };
    std::optional<Silent> silentSource;
    // The source's frame rate as read (frames a second); unknown when not read. A film's rate is kept
    // where the target's player takes it (see KeptFilmRate).
    std::optional<double> sourceFrameRate;
    CropChoice crop = {};
    AudioChoice audio = {};
    DeinterlaceMode deinterlace = DeinterlaceMode::Auto;

    bool operator==(const ConversionRequest&) const = default;
};

} // namespace zvm
