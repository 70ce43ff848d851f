#include "process/ProcessRun.h"

#include <csignal>
#include <unistd.h>

ProcessRun::ProcessRun(int timeoutMilliseconds, QObject* parent) : QObject(parent) {
    timeout_.setSingleShot(true);
    timeout_.setInterval(timeoutMilliseconds);
    // Its own process group, so that what a helper starts ends with it (a hung probe may have left
    // children of its own).
    process_.setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(&timeout_, &QTimer::timeout, this, [this] {
        killGroup();
        ProcessResult result;
        result.started = true;
        result.timedOut = true;
        finish(result);
    });
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            finish({});
        }
    });
    connect(&process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        ProcessResult result;
        result.started = true;
        result.crashed = status != QProcess::NormalExit;
        result.exitCode = exitCode;
        result.out = process_.readAllStandardOutput();
        result.err = process_.readAllStandardError();
        finish(result);
    });
}

ProcessRun::~ProcessRun() {
    cancel();
}

void ProcessRun::start(const QString& program, const QStringList& arguments) {
    process_.start(program, arguments, QIODevice::ReadOnly);
    timeout_.start();
}

void ProcessRun::cancel() {
    finished_ = true;
    timeout_.stop();
    if (process_.state() != QProcess::NotRunning) {
        killGroup();
        process_.waitForFinished(1000);
    }
}

void ProcessRun::killGroup() {
    const qint64 pid = process_.processId();
    if (pid > 0) {
        ::kill(-static_cast<pid_t>(pid), SIGKILL); // while it runs, its pid names its group
    }
    process_.kill();
}

void ProcessRun::finish(const ProcessResult& result) {
    if (finished_) {
        return;
    }
    finished_ = true;
    timeout_.stop();
    emit done(result);
}
