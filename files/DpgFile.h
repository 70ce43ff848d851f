#pragma once

#include "core/Presets.h"
#include "core/Status.h"

#include <string>

namespace zvm::files {

// Puts a DPG file together from the encoder's two streams: the video read through for its pictures
// and groups, the header made from them, then header, sound, video and seek list written whole and
// atomically at destination. The streams are left where they are.
Status AssembleDpg(const std::string& videoPart, const std::string& audioPart, const std::string& destination,
                   Ratio frameRate, int sampleRate);

} // namespace zvm::files
