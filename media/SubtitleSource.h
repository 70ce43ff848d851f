#pragma once

#include "core/ConversionRequest.h"
#include "core/PrepareRun.h"
#include "media/Answers.h"

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

// What is known of the video before its run: its files, and what the media worker read of it (its
// size, duration, streams, field order and, when looked at, its black bars). Every face prepares
// from this, so the window, the queue and the tool agree.
RunFacts FactsOf(const ConversionRequest& request, const std::optional<SizeDetection>& read);

// Whether a read video is also to be looked at frame by frame: for an automatic crop, or for
// deinterlacing its field order does not settle.
bool NeedsLook(const ConversionRequest& request, const SizeDetection& read);

} // namespace zvm::media
