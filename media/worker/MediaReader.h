#pragma once

// What the media worker does with a file, through FFmpeg's libraries: only the worker links them.
#include "core/Status.h"
#include "media/WorkerWire.h"

#include <functional>
#include <string>

namespace zvm::media {

// Reads a file's streams and answers a probe request (see WorkerWire.h for the fields); readThrough
// reads every packet too, for the after-check's per-second and B-frame facts.
Result<wire::Message> ProbeMedia(const std::string& path, bool readThrough = false);

// The video frame at or after `seconds` through the source's rotation and `filter` (the modern
// command's -vf text), as PNG. keyframe, when given, first receives the nearest earlier keyframe's
// picture through the same filter, unless that is already the frame asked for.
// Looks at a dozen frames spread over the file, its first and last seconds skipped: the black bars
// they agree on (crop "W:H:X:Y" in the stored pixels of width by height, even, with crop_agree "N of M"; else crop_why),
// and how many frames the decoder found interlaced (interlaced_frames, progressive_frames) and how
// many show the comb of fields from two moments (combed_frames), for a file that does not say.
Result<wire::Message> LookAtPicture(const std::string& path);

Result<std::string> RenderFrame(const std::string& path, double seconds, const std::string& filter,
                                const std::function<void(const std::string& png)>& keyframe);

} // namespace zvm::media
