#pragma once

#include "core/ConversionRequest.h"
#include "core/Status.h"

#include <optional>
#include <string_view>

namespace zvm {

// The least average video bitrate, in kbit/s, that the encoder's second pass can plan for from the
// statistics its first pass wrote: the bits every frame still needs at the coarsest quantiser the
// rate control may choose. Below it libavcodec's own encoders (mpeg4, mpeg1video) end pass 2 with
// "bitrate too low for this video" and abort; libx264 refuses to start below the bits it cannot
// scale (headers and motion). Reads either's log; framesPerSecond is the output's rate (libx264's
// log names its own, which wins). Nothing for text that holds no frame.
std::optional<double> SecondPassFloorKbps(std::string_view statistics, double framesPerSecond);

// The refusal of a two-pass run whose first pass found its video bitrate under floorKbps (with a
// margin): FailureKind::Refused naming the smallest bitrate that works or, for a file size asked,
// the smallest size, over the seconds kept. Nothing when the bitrate is enough or not a number.
Status CheckSecondPass(const ConversionRequest& request, std::optional<double> keptSeconds, double floorKbps);

} // namespace zvm
