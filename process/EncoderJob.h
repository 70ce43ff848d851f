#pragma once

#include "process/ProcessGroups.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstddef>
#include <optional>

// A running encoder as the encoder window sees it: output as it arrives, the end, and a way to ask
// it to stop. The real one follows a started process; tests drive a fake.
class EncoderJob : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool isRunning() const = 0;
    // Asks the encoder to stop, so it can still close its output file properly.
    virtual void stop() = 0;
    // Ends it at once, with everything it started.
    virtual void kill() = 0;
    // The process group the encoder leads, named by its leader's mark; none for one that is no process.
    virtual std::optional<zvm::process::ProcessMark> group() const { return std::nullopt; }
    // How many steps (passes) run one after another, each reporting the encoder's time from 0.
    virtual std::size_t stepCount() const { return 1; }

signals:
    void outputArrived(const QByteArray& bytes);
    // A job of several steps began step `step` (from 1; the first is begun before anyone can listen)
    // of `steps`: a new process group, and the encoder's time counting from 0 again.
    void stepStarted(std::size_t step, std::size_t steps);
    // exitCode is the program's own code, or -1 with the signal's number when a signal ended it.
    void finished(int exitCode, int signal);
};
