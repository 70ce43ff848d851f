#include "process/Spawn.h"

#include <algorithm>
#include <sched.h>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
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

// Signals this program ignores or handles must reach a started program with their usual effect.
constexpr std::array kDefaultSignals{SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD};

struct LogEnds {
    int writeFd = -1;
    int readFd = -1;
};

// A new private log file (0600: the output may name private files), already without a name before
// the program starts, so that no end of this program leaves it behind.
Result<LogEnds> OpenLog(const std::string& logFolder) {
    std::string logPath = logFolder + "/zarnik-video-maker-XXXXXX";
    const int writeFd = mkostemp(logPath.data(), O_CLOEXEC);
    if (writeFd < 0) {
        return Status::Failure(FailureKind::Io, "the log file could not be created: %1",
                               std::strerror(errno));
    }
    const int readFd = open(logPath.c_str(), O_RDONLY | O_CLOEXEC);
    const int openError = errno;
    unlink(logPath.c_str());
    if (readFd < 0) {
        close(writeFd);
        return Status::Failure(FailureKind::Io, "the log file could not be opened: %1",
                               std::strerror(openError));
    }
    return LogEnds{writeFd, readFd};
}

// What the child of SpawnTied needs, all made before the fork.
struct ChildStart {
    const char* program;
    char** argv;
    char** envp;
    pid_t parent;
    int logFd;
    int reportFd;
    sigset_t noSignals;
};

// Between fork and exec: async-signal-safe calls only.
[[noreturn]] void FailInChild(int reportFd) {
    const int error = errno;
    (void)!write(reportFd, &error, sizeof error); // not a Status: a forked child's write
    _exit(127);
}

[[noreturn]] void StartChild(const ChildStart& start) {
    setpgid(0, 0); // Stop reaches everything it starts, as with a detached start
    // SIGKILL rather than SIGTERM: once the parent is gone nobody reads the output, checks the file
    // or keeps the partial one (a resumed item starts over), so a graceful end buys nothing; and
    // SIGKILL cannot be caught, ignored or delayed, so the encoder stops writing at once and never
    // races a resumed item on the same file.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != start.parent) {
        _exit(127); // the parent ended before the tie was made: nothing would end this one
    }
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction current {};
        const bool listed =
            std::find(kDefaultSignals.begin(), kDefaultSignals.end(), signal) != kDefaultSignals.end();
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_DFL &&
            (listed || current.sa_handler != SIG_IGN)) {
            struct sigaction standard {};
            standard.sa_handler = SIG_DFL;
            sigaction(signal, &standard, nullptr);
        }
    }
    const int input = open("/dev/null", O_RDONLY | O_CLOEXEC); // dup2 clears the flag on 0
    if (input < 0 || dup2(input, STDIN_FILENO) < 0 || dup2(start.logFd, STDOUT_FILENO) < 0 ||
        dup2(start.logFd, STDERR_FILENO) < 0) {
        FailInChild(start.reportFd);
    }
    sigprocmask(SIG_SETMASK, &start.noSignals, nullptr);
    execve(start.program, start.argv, start.envp);
    FailInChild(start.reportFd);
}
} // namespace

int OpenProcessDescriptor(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid; // not a Status: unused without pidfd_open
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
    const auto log = OpenLog(logFolder);
    if (!log.ok()) {
        return log.status();
    }
    const auto [writeFd, readFd] = log.value();
    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, writeFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, writeFd, STDERR_FILENO);
    posix_spawnattr_setflags(&setup.attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&setup.attributes, &signals);
    for (const int signal : kDefaultSignals) {
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

Result<SpawnedProcess> SpawnTied(const ResolvedCommand& command, const std::string& logFolder) {
    const auto log = OpenLog(logFolder);
    if (!log.ok()) {
        return log.status();
    }
    const auto [writeFd, readFd] = log.value();
    // Everything the child uses is made here: it may only make async-signal-safe calls, since another
    // thread may have held a lock (malloc's among them) at the moment of the fork.
    std::vector<std::string> storage;
    std::vector<char*> argv = ArgumentVector(command, storage);
    ChildStart start{command.program.c_str(), argv.data(), environ, getpid(), writeFd, -1, {}};
    int report[2] = {-1, -1}; // the child's errno when it cannot exec; closed unread when it does
    if (pipe2(report, O_CLOEXEC) != 0) {
        const int error = errno;
        close(writeFd);
        close(readFd);
        return Status::Failure(FailureKind::Outside, "%1", std::strerror(error));
    }
    start.reportFd = report[1];
    sigemptyset(&start.noSignals);
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous); // no handler of ours may run in the child
    const pid_t pid = fork();
    if (pid == 0) {
        StartChild(start);
    }
    const int forkError = errno;
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    close(writeFd);
    close(report[1]);
    int childError = 0;
    ssize_t got = 0;
    if (pid > 0) {
        do {
            got = read(report[0], &childError, sizeof childError);
        } while (got < 0 && errno == EINTR);
    }
    close(report[0]);
    if (pid < 0 || got == static_cast<ssize_t>(sizeof childError)) {
        if (pid > 0) {
            waitpid(pid, nullptr, 0); // it has exited already
        }
        close(readFd);
        return Status::Failure(FailureKind::Outside, "%1", std::strerror(pid < 0 ? forkError : childError));
    }
    return SpawnedProcess{pid, readFd};
}

int AutomaticEncoders() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
        return std::max(1, CPU_COUNT(&allowed));
    }
    return static_cast<int>(std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN)));
}

} // namespace zvm::process
