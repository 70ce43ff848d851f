#pragma once

#include "ProgramLookup.h"

#include <string>
#include <sys/types.h>

namespace zvm::run {

struct SpawnResult {
    pid_t pid = -1;
    std::string logPath;
    std::string error; // empty when started
};

// Starts the program as an independent process: its own session (it outlives this program and
// its terminal), standard input from /dev/null, standard output and error into a new log file in
// logFolder, and this program's working directory. Returns at once.
SpawnResult SpawnDetached(const ResolvedCommand& command, const std::string& logFolder);

} // namespace zvm::run
