#include "process/StoppingSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
int gPipe[2] = {-1, -1};

// Only what is safe in a handler: the signal's number into the pipe, which the event loop reads.
void OnSignal(int signal) {
    const int saved = errno;
    const auto byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
    errno = saved;
}
} // namespace

StoppingSignals::StoppingSignals(QObject* parent) : QObject(parent) {
    if (gPipe[0] < 0 && ::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // the default handlers stay: the program still ends, only less tidily
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESTART;
    for (const int signal : kAll) {
        ::sigaction(signal, &action, &replaced_.emplace_back());
    }
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &StoppingSignals::read);
}

StoppingSignals::~StoppingSignals() {
    for (std::size_t at = 0; at < replaced_.size(); ++at) {
        ::sigaction(kAll[at], &replaced_[at], nullptr);
    }
}

void StoppingSignals::read() {
    char byte = 0;
    while (::read(gPipe[0], &byte, 1) == 1) {
        emit arrived(byte);
    }
}
