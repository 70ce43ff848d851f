#pragma once

#include "EncoderJob.h"

#include <QFile>
#include <QTimer>

#include <sys/types.h>

// Follows a started encoder: reads its log file as it grows and reaps the process when it ends.
// It never ends the encoder itself: the encoder outlives this object and the program.
class EncoderProcess final : public EncoderJob {
    Q_OBJECT

public:
    EncoderProcess(pid_t pid, QString program, const QString& logPath, QObject* parent = nullptr);

    QString program() const override { return program_; }
    QString logPath() const override { return log_.fileName(); }
    bool isRunning() const override { return running_; }
    void stop() override;

    // How often the log and the process are looked at: often enough for a smooth progress bar,
    // rarely enough to cost next to nothing.
    static constexpr int kPollMilliseconds = 250;

private:
    void poll();
    void readNewOutput();

    pid_t pid_;
    QString program_;
    QFile log_;
    QTimer timer_;
    bool running_ = true;
};
