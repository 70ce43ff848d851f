#pragma once

#include <string>

namespace zvm {

// Which frame rate the MP4 form uses. None only arises after a VCD build clears both options.
enum class MovieType { None, LiveAction, Animation };

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
