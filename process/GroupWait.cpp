#include "process/GroupWait.h"

#include <cerrno>
#include <csignal>
#include <sys/wait.h>

namespace zvm::process {

GroupWait::GroupWait(pid_t group, int graceMilliseconds, QObject* parent)
    : QObject(parent), group_(group), grace_(graceMilliseconds) {
    poll_.setInterval(kPollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, &GroupWait::look);
}

void GroupWait::start() {
    clock_.start();
    poll_.start();
    look();
}

void GroupWait::hurry() {
    hurried_ = true;
    if (poll_.isActive()) {
        look();
    }
}

void GroupWait::look() {
    while (::waitpid(-group_, nullptr, WNOHANG) > 0) {
    }
    bool empty = group_ < 2 || (::kill(-group_, 0) != 0 && errno == ESRCH);
    if (!empty && !killed_ && (hurried_ || clock_.elapsed() > grace_)) {
        ::kill(-group_, SIGKILL);
        killed_ = true;
        clock_.restart();
    }
    empty = empty || (killed_ && clock_.elapsed() > kKilledGraceMilliseconds);
    if (empty && poll_.isActive()) {
        poll_.stop();
        emit gone();
    }
}

} // namespace zvm::process
