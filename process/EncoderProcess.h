#pragma once

#include "process/EncoderJob.h"

#include <QTimer>

#include <sys/types.h>

class QSocketNotifier;

// Follows a started encoder: reads its log as it grows, and reaps the process the moment it ends.
// It never ends the encoder by itself: the encoder outlives this object, and the program too unless it
// was started tied to it (SpawnTied), or stop() is asked for.
class EncoderProcess final : public EncoderJob {
    Q_OBJECT

public:
    // Takes ownership of logFd, the reading end of the encoder's log.
    EncoderProcess(pid_t pid, int logFd, QObject* parent = nullptr);
    ~EncoderProcess() override;
    EncoderProcess(const EncoderProcess&) = delete;
    EncoderProcess& operator=(const EncoderProcess&) = delete;

    bool isRunning() const override { return running_; }
    // The encoder leads its own process group: this is its id, which outlives the encoder while
    // anything it started still runs (known even when the encoder ended too soon to be marked).
    pid_t groupId() const { return pid_; }
    // Asks every process of the encoder's group to end; those still there after the grace time, or
    // left behind when the encoder itself ends, are killed.
    void stop() override;
    void kill() override;
    std::optional<zvm::process::ProcessMark> group() const override { return group_; }
    void setStopGrace(int milliseconds) { killTimer_.setInterval(milliseconds); }

    // How often the log is read: often enough for a smooth progress bar, rarely enough to cost next
    // to nothing.
    static constexpr int kPollMilliseconds = 250;
    static constexpr int kStopGraceMilliseconds = 5000;
    // What one read takes at most, and how far behind the reader may fall before it skips to the
    // newest output: a flooding encoder then costs bounded time and memory per read.
    static constexpr qint64 kChunkBytes = qint64{256} * 1024;
    static constexpr qint64 kBacklogBytes = qint64{4} * 1024 * 1024;

private:
    void poll();
    void readNewOutput(qint64 limit);
    void signalGroup(int signal);

    pid_t pid_;
    std::optional<zvm::process::ProcessMark> group_;
    int logFd_;
    int pidFd_ = -1;
    QSocketNotifier* exitNotifier_ = nullptr;
    QTimer timer_;
    QTimer killTimer_;
    bool running_ = true;
    bool stopRequested_ = false;
};
