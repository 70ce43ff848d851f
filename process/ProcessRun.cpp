#include "ProcessRun.h"

ProcessRun::ProcessRun(int timeoutMilliseconds, QObject* parent) : QObject(parent) {
    timeout_.setSingleShot(true);
    timeout_.setInterval(timeoutMilliseconds);
    connect(&timeout_, &QTimer::timeout, this, [this] {
        process_.kill();
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
        process_.kill();
        process_.waitForFinished(1000);
    }
}

void ProcessRun::finish(const ProcessResult& result) {
    if (finished_) {
        return;
    }
    finished_ = true;
    timeout_.stop();
    emit done(result);
}
