#pragma once

#include "ProgramLookup.h"
#include "Status.h"

#include <string>
#include <sys/types.h>

namespace zvm::process {

struct SpawnedProcess {
    pid_t pid = -1;
    // Reads what the program writes to its standard output and error. The log file behind it has
    // no name left, so nothing remains once both ends are closed, however this program ends.
    int logFd = -1;
};

// A descriptor that becomes readable when the process ends, so its end is seen at once and can be
// waited for with a time limit; -1 where the kernel has none. The caller closes it.
int OpenProcessDescriptor(pid_t pid);

// $TMPDIR when it names a folder, else /tmp.
std::string LogFolder();

// Starts the program as an independent process: its own session and process group (it outlives
// this program and its terminal, and Stop reaches every process it starts), standard input from
// /dev/null, standard output and error into a new private log file in logFolder, and this program's
// working directory. Returns at once; the caller owns logFd. A failure's text is the system's own.
Result<SpawnedProcess> SpawnDetached(const ResolvedCommand& command,
                                     const std::string& logFolder = LogFolder());

} // namespace zvm::process
