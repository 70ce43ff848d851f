#include "Spawn.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

extern char** environ;

namespace zvm::process {

namespace {
// Releases what posix_spawn needs, whichever way the start ends.
struct SpawnSetup {
    posix_spawn_file_actions_t actions{};
    posix_spawnattr_t attributes{};

    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
};

std::vector<char*> ArgumentVector(const ResolvedCommand& command, std::vector<std::string>& storage) {
    storage.clear();
    storage.push_back(command.program);
    storage.insert(storage.end(), command.arguments.begin(), command.arguments.end());
    std::vector<char*> argv;
    argv.reserve(storage.size() + 1);
    for (std::string& s : storage) {
        argv.push_back(s.data());
    }
    argv.push_back(nullptr);
    return argv;
}
} // namespace

int OpenProcessDescriptor(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

std::string LogFolder() {
    const char* folder = std::getenv("TMPDIR");
    struct stat info {};
    if (folder != nullptr && *folder != '\0' && stat(folder, &info) == 0 && S_ISDIR(info.st_mode)) {
        return folder;
    }
    return "/tmp";
}

Result<SpawnedProcess> SpawnDetached(const ResolvedCommand& command, const std::string& logFolder) {
    std::string logPath = logFolder + "/zarnik-video-maker-XXXXXX";
    const int writeFd = mkostemp(logPath.data(), O_CLOEXEC); // 0600: the output may name private files
    if (writeFd < 0) {
        return Status::Failure(FailureKind::Io, "the log file could not be created: %1",
                               std::strerror(errno));
    }
    const int readFd = open(logPath.c_str(), O_RDONLY | O_CLOEXEC);
    const int openError = errno;
    unlink(logPath.c_str()); // before the encoder starts, so no end of this program leaves it behind
    if (readFd < 0) {
        close(writeFd);
        return Status::Failure(FailureKind::Io, "the log file could not be opened: %1",
                               std::strerror(openError));
    }
    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, writeFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, writeFd, STDERR_FILENO);
    posix_spawnattr_setflags(&setup.attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&setup.attributes, &signals);
    // Signals this program ignores or handles must reach the encoder with their usual effect.
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD}) {
        sigaddset(&signals, signal);
    }
    posix_spawnattr_setsigdefault(&setup.attributes, &signals);

    std::vector<std::string> storage;
    std::vector<char*> argv = ArgumentVector(command, storage);
    pid_t pid = -1;
    const int error =
        posix_spawn(&pid, command.program.c_str(), &setup.actions, &setup.attributes, argv.data(), environ);
    close(writeFd);
    if (error != 0) {
        close(readFd);
        return Status::Failure(FailureKind::Outside, "%1", std::strerror(error));
    }
    return SpawnedProcess{pid, readFd};
}

} // namespace zvm::process
