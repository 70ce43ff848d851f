#pragma once

#include <optional>
#include <string>
#include <string_view>

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

    bool operator==(const ConversionRequest&) const = default;
};

} // namespace zvm
