#pragma once

#include "core/ConversionRequest.h"
#include "core/Status.h"

#include <optional>

namespace zvm {

// A file size asked for becomes a video bitrate: what the size holds over the part that is kept,
// less the audio and a reserve for the container. The reserve is 3% of the size: the MP4 and PSP
// containers' own index and headers, and two passes' small strays either way, fit into it (checked
// with libx264 and mpeg4 on clips of a few seconds, whose files came out 0 to 5% under the size).
inline constexpr double kContainerReserve = 0.03;

// The largest file size, in megabytes, that any face takes: a terabyte, more than any handheld holds.
inline constexpr double kLargestFileSizeMB = 1e6;

// The least video bitrate, in kbit/s, that still gives a watchable picture on the request's target:
// bits per pixel of every frame at the target's size and frame rate, fewer for H.264, which needs
// about two thirds of MPEG-4's bits for the same picture. Nothing for a target whose bitrate is its
// own (VCD) or a row the list lacks. A first guess, before anything runs: what a video really needs
// is known once its first pass has measured it (see TwoPassFloor.h).
std::optional<double> VideoBitrateFloor(const ConversionRequest& request);

// The video bitrate, in whole kbit/s, that a file of `megabytes` (10^6 bytes) leaves over `seconds`
// with audio at `audioKbps`; not clamped, so it can be below 0.
double VideoBitrateForSize(double megabytes, double seconds, double audioKbps);
// The least size, in megabytes rounded up to a tenth, whose video bitrate reaches `videoKbps`.
double SizeForVideoBitrate(double videoKbps, double seconds, double audioKbps);

// The audio bitrate, in kbit/s, a file size leaves room for: the target's own, or the request's as
// Generate leaves it; 0 when it is not a number.
double AudioKbpsOf(const ConversionRequest& request);

// With a file size asked for, writes the bitrate it needs into the request's video bitrate; without
// one, changes nothing. Refused, before anything starts, for a target whose bitrate is fixed, an
// unknown or empty kept part, and a size whose bitrate falls below the floor (its detail then the
// smallest size that works). Reads the audio bitrate as Generate leaves it.
Status ApplyFileSize(ConversionRequest& request, std::optional<double> sourceSeconds);

// Whether the queue and the tool run the request's command as two passes: when asked, and by default
// with a file size, which one pass misses by far on busy pictures. Never for a target whose bitrate
// is its own (VCD).
bool UsesTwoPasses(const ConversionRequest& request);

} // namespace zvm
