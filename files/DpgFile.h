#pragma once

#include "core/Status.h"

#include <string>

namespace zvm::files {

// Puts a DPG file together from the encoder's two streams: the video read through for its pictures
// and groups, the header made from them, then header, sound, video and seek list written whole and
// atomically at destination. The streams are left where they are.
Status AssembleDpg(const std::string& videoPart, const std::string& audioPart, const std::string& destination,
                   double framesPerSecond, int sampleRate);
// The same from the streams a DPG's command writes beside its output (dpg::VideoPartFor and
// AudioPartFor), as a Convert of the window runs it: they go once the file is whole, and stay when
// it could not be made.
Status AssembleDpgBeside(const std::string& output, double framesPerSecond, int sampleRate);

} // namespace zvm::files
