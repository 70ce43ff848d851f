#include "process/EncoderProcess.h"

#include "process/Spawn.h"

#include <QSocketNotifier>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QByteArray SkippedNote(qint64 bytes) {
    return "\n[" + QByteArray::number(bytes) + " bytes of output skipped]\n";
}
} // namespace

EncoderProcess::EncoderProcess(pid_t pid, int logFd, QObject* parent)
    : EncoderJob(parent), pid_(pid), group_(zvm::process::MarkOfChild(pid)), logFd_(logFd),
      pidFd_(zvm::process::OpenProcessDescriptor(pid)) {
    if (pidFd_ >= 0) {
        exitNotifier_ = new QSocketNotifier(pidFd_, QSocketNotifier::Read, this);
        connect(exitNotifier_, &QSocketNotifier::activated, this, &EncoderProcess::poll);
    }
    connect(&timer_, &QTimer::timeout, this, &EncoderProcess::poll);
    timer_.start(kPollMilliseconds);
    killTimer_.setSingleShot(true);
    killTimer_.setInterval(kStopGraceMilliseconds);
    connect(&killTimer_, &QTimer::timeout, this, [this] { signalGroup(SIGKILL); });
}

EncoderProcess::~EncoderProcess() {
    delete exitNotifier_;
    for (const int fd : {logFd_, pidFd_}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void EncoderProcess::signalGroup(int signal) {
    ::kill(-pid_, signal); // the encoder leads its own group
}

void EncoderProcess::stop() {
    if (running_ && !stopRequested_) {
        stopRequested_ = true;
        signalGroup(SIGTERM);
        killTimer_.start();
    }
}

void EncoderProcess::kill() {
    if (running_) {
        stopRequested_ = true;
        signalGroup(SIGKILL);
    }
}

void EncoderProcess::readNewOutput(qint64 limit) {
    struct stat info {};
    const off_t at = ::lseek(logFd_, 0, SEEK_CUR);
    if (logFd_ < 0 || at < 0 || ::fstat(logFd_, &info) != 0) {
        return;
    }
    QByteArray bytes;
    off_t from = at;
    if (info.st_size - at > kBacklogBytes) {
        from = info.st_size - kChunkBytes;
        bytes = SkippedNote(from - at);
    }
    const qint64 wanted = std::min<qint64>(limit, info.st_size - from);
    if (wanted <= 0) {
        return;
    }
    const qsizetype prefix = bytes.size();
    bytes.resize(prefix + wanted);
    const ssize_t got = ::pread(logFd_, bytes.data() + prefix, static_cast<size_t>(wanted), from);
    if (got <= 0) {
        return;
    }
    bytes.resize(prefix + got);
    ::lseek(logFd_, from + got, SEEK_SET);
    // What has been read needs no disk space any more; the file has no name, so this is ours alone.
    ::fallocate(logFd_, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, 0, from + got);
    emit outputArrived(bytes);
}

void EncoderProcess::poll() {
    if (!running_) {
        return;
    }
    int status = 0;
    const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
    if (ended != pid_) {
        readNewOutput(kChunkBytes);
        return;
    }
    running_ = false;
    timer_.stop();
    killTimer_.stop();
    if (exitNotifier_ != nullptr) {
        exitNotifier_->setEnabled(false);
    }
    if (stopRequested_) {
        signalGroup(SIGKILL); // what the stopped encoder left running
    }
    readNewOutput(kBacklogBytes); // its last words, read after the wait so that none are missed
    if (WIFSIGNALED(status)) {
        emit finished(-1, WTERMSIG(status));
    } else {
        emit finished(WEXITSTATUS(status), 0);
    }
}
