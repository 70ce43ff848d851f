#include "EncoderProcess.h"

#include <csignal>
#include <sys/wait.h>

EncoderProcess::EncoderProcess(pid_t pid, const QString& logPath, QObject* parent)
    : EncoderJob(parent), pid_(pid), log_(logPath) {
    log_.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    connect(&timer_, &QTimer::timeout, this, &EncoderProcess::poll);
    timer_.start(kPollMilliseconds);
}

void EncoderProcess::stop() {
    if (running_) {
        ::kill(pid_, SIGTERM);
    }
}

void EncoderProcess::readNewOutput() {
    if (!log_.isOpen()) {
        return;
    }
    const QByteArray bytes = log_.readAll();
    if (!bytes.isEmpty()) {
        emit outputArrived(bytes);
    }
}

void EncoderProcess::poll() {
    int status = 0;
    const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
    readNewOutput(); // after the wait, so an ended encoder's last words are all read
    if (ended != pid_) {
        return;
    }
    running_ = false;
    timer_.stop();
    log_.remove(); // everything it held has been delivered; the temporary folder keeps no leftovers
    if (WIFSIGNALED(status)) {
        emit finished(-1, WTERMSIG(status));
    } else {
        emit finished(WEXITSTATUS(status), 0);
    }
}
