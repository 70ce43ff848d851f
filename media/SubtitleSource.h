#pragma once

#include "core/ConversionRequest.h"

#include <string>
#include <string_view>

namespace zvm::media {

// The subtitle file beside a video with the video's name: "movie.srt" (or .ass, .ssa, .vtt, in that
// order, the extension in lower or upper case) for "movie.mkv"; empty when there is none.
std::string SubtitleBeside(const std::string& video);

// How many subtitle streams a probe answer's "streams" field ("video,audio,subtitle") lists.
int SubtitleStreams(std::string_view streams);

// The choice with Auto resolved: the file beside the video, else its first subtitle stream, else
// none. Other choices come back as they are; the size is kept.
SubtitleChoice ResolveSubtitles(const SubtitleChoice& choice, const std::string& video, int subtitleStreams);

} // namespace zvm::media
