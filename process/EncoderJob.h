#pragma once

#include "ProcessGroups.h"

#include <QByteArray>
#include <QObject>
#include <QString>

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

signals:
    void outputArrived(const QByteArray& bytes);
    // exitCode is the program's own code, or -1 with the signal's number when a signal ended it.
    void finished(int exitCode, int signal);
};
