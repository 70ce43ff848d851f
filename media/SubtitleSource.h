#pragma once

#include "core/ConversionRequest.h"
#include "core/PrepareRun.h"

#include <string>
#include <string_view>

namespace zvm::media {

// The subtitle file beside a video with the video's name: "movie.srt" (or .ass, .ssa, .vtt, in that
// order, the extension in lower or upper case) for "movie.mkv"; empty when there is none.
std::string SubtitleBeside(const std::string& video);

// How many subtitle streams a probe answer's "streams" field ("video,audio,subtitle") lists.
int SubtitleStreams(std::string_view streams);

// What preparing the request's run needs to know of its files (see PrepareRun): the subtitle file
// beside its video, whether the subtitle file it names is there, and whether its output is its
// source, the subtitle file it draws or its encoder (by any name or link).
RunFacts FilesOf(const ConversionRequest& request);

} // namespace zvm::media
