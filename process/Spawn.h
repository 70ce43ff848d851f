#pragma once

#include "process/ProgramLookup.h"
#include "core/Status.h"

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

// Starts the program as SpawnDetached does (same log, same arguments, standard input from /dev/null),
// but in its own process group within this program's session, and tied to the calling thread: the
// kernel kills it when that thread ends, however this program ends (SIGKILL included). Call it from
// a thread that lives as long as the program's owner of the process (the GUI thread): the tie
// follows the thread that forks, not the process. What the program starts in turn is not tied;
// its process group names those.
Result<SpawnedProcess> SpawnTied(const ResolvedCommand& command, const std::string& logFolder = LogFolder());

// Whether a started program outlives the one that started it.
enum class Lifetime { Independent, Tied };

// How many encoders run at once unless the user says: one per core this process may run on (as
// nproc counts them), at least 1. A small target's encoder barely fills one core, so this keeps
// every core busy without making each encoder wait on the others.
int AutomaticEncoders();

} // namespace zvm::process
