#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QTimer>

// What one run of a helper program gave: its exit and its two outputs, or that it could not start
// or did not end in time (then it was killed).
struct ProcessResult {
    bool started = false;
    bool timedOut = false;
    bool crashed = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    bool succeeded() const { return started && !timedOut && !crashed && exitCode == 0; }
};

// Runs a helper (the encoder asked a question) without a shell and without blocking,
// with a time limit. The result arrives once; a cancelled or destroyed run gives none. A helper that
// runs out of time, or whose run is cancelled or destroyed, is ended with its whole process group.
class ProcessRun : public QObject {
    Q_OBJECT

public:
    explicit ProcessRun(int timeoutMilliseconds, QObject* parent = nullptr);
    ~ProcessRun() override;

    void start(const QString& program, const QStringList& arguments);
    void cancel();

signals:
    void done(const ProcessResult& result);

private:
    void finish(const ProcessResult& result);
    void killGroup();

    QProcess process_;
    QTimer timeout_;
    bool finished_ = false;
};

Q_DECLARE_METATYPE(ProcessResult)
