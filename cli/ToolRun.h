#pragma once

#include "core/CommandLine.h"
#include "core/ConversionRequest.h"
#include "media/Outside.h"
#include "cli/ToolOptions.h"

#include <iosfwd>
#include <optional>
#include <vector>

namespace zvm::cli {

// Converts the videos side by side through the queue's runner, headless (no queue file), up to
// options.jobs encoders at once (Automatic when unset), each to a file that passed its after-check or
// to nothing: the size is read when unknown, the encoder started and followed, its whole process group
// waited for (what it left behind may still be writing), the output read back, and what a failed or
// stopped run wrote is removed (never a file it had not yet replaced). The encoders' groups are
// recorded where the queue records its own, so a later start ends what a killed run left. Each result
// is said as it ends, and several are summed up in the order given. SIGINT, SIGTERM and SIGHUP stop
// every running encoder (a second one kills them), start no further video and end the run with 128 +
// the signal's number; otherwise the result is 0 when every video was converted and 1 when some were
// not. Progress and results go to err. Needs a QCoreApplication. `read` holds what was read of a video
// before (by its index), so it is not read again.
int ConvertAll(const ToolOptions& options, const std::vector<ConversionRequest>& requests, CommandStyle style,
               media::Outside& outside, std::ostream& err,
               const std::vector<std::optional<SizeDetection>>& read = {});

} // namespace zvm::cli
