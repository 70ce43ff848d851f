#pragma once

#include "cli/ToolOptions.h"
#include "media/Outside.h"

#include <iosfwd>

// The command-line tool's work once its options are read.
namespace zvm::cli {

// A stopping signal ends the tool with 128 + its number (130 for Ctrl+C, 143 for SIGTERM, 129 for SIGHUP).
enum ExitCode { kConverted = 0, kSomeFailed = 1, kRefused = 2 };

// --print or --json with the size and the form given: what the window's Generate would write, one line (a
// command, or a JSON object: JSON Lines) per video. Reads no file, asks no encoder, needs no Qt application.
bool PrintsWithoutFiles(const ToolOptions& options);
int PrintKnown(const ToolOptions& options, std::ostream& out, std::ostream& err);

// Everything else, through the outside: the encoder asked its form, sizes read, then printed, or the
// videos converted side by side (up to options.jobs at once), with progress on standard error. Needs a
// QCoreApplication.
int Run(const ToolOptions& options, media::Outside& outside, std::ostream& out, std::ostream& err);

} // namespace zvm::cli
