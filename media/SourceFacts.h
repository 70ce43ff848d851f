#pragma once

// What a run is prepared from: a video's files and what the media worker read of it.

#include "core/ConversionRequest.h"
#include "core/PrepareRun.h"
#include "media/Answers.h"

#include <optional>

namespace zvm::media {

// What the media worker read of a video (its size, duration, streams, field order and, when its
// frames were looked at, its black bars), as a run's facts; its files' facts are not among them.
RunFacts ReadFacts(const SizeDetection& read);
// A look at its frames added to a read.
void AddLook(RunFacts& read, const PictureLook& look);

// Its files' facts and what was read of it: the queue and the tool prepare from this, so they agree.
RunFacts FactsOf(const ConversionRequest& request, const std::optional<SizeDetection>& read);

} // namespace zvm::media
