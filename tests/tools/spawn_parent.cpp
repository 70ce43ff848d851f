// A program that starts another and waits to be killed, so tests can see what outlives it. Usage:
// spawn_parent tied|independent LOG_FOLDER PROGRAM [ARGUMENT...]; prints the started program's mark
// ("pid start") and waits, two minutes at most.
#include "process/ProcessGroups.h"
#include "process/Spawn.h"

#include <cstdio>
#include <string>
#include <unistd.h>

int main(int argc, char* argv[]) {
    if (argc < 4) {
        return 2;
    }
    zvm::process::ResolvedCommand command{argv[3], {argv + 4, argv + argc}};
    const auto spawned = std::string(argv[1]) == "tied" ? zvm::process::SpawnTied(command, argv[2])
                                                        : zvm::process::SpawnDetached(command, argv[2]);
    const auto mark = spawned.ok() ? zvm::process::MarkOf(spawned.value().pid) : std::nullopt;
    if (!mark) {
        return 1;
    }
    std::printf("%d %llu\n", mark->pid, mark->started);
    std::fflush(stdout);
    alarm(120);
    for (;;) {
        pause();
    }
}
