#pragma once

#include "EncoderJob.h"

#include <QFile>
#include <QTimer>

#include <sys/types.h>

// Follows a started encoder: reads its log file as it grows, reaps the process when it ends and then
// removes the log. It never ends the encoder itself: the encoder outlives this object and the program.
class EncoderProcess final : public EncoderJob {
    Q_OBJECT

public:
    EncoderProcess(pid_t pid, const QString& logPath, QObject* parent = nullptr);

    bool isRunning() const override { return running_; }
    void stop() override;

    // How often the log and the process are looked at: often enough for a smooth progress bar,
    // rarely enough to cost next to nothing.
    static constexpr int kPollMilliseconds = 250;

private:
    void poll();
    void readNewOutput();

    pid_t pid_;
    QFile log_;
    QTimer timer_;
    bool running_ = true;
};
