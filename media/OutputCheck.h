#pragma once

#include "core/OutputTarget.h"
#include "files/TextCrossing.h"
#include "media/Answers.h"

#include <QObject>
#include <QString>

#include <optional>

class ProcessRun;
struct ProcessResult;

// What ffprobe's JSON says of a file: the first video and audio streams and the container.
zvm::ProbedOutput ParseOutputProbe(const QByteArray& json);

// After an encoder ended well: reads the output with ffprobe and compares it with what the command
// asked for. A missing or empty file, or one ffprobe cannot read, is a failure; without ffprobe (or
// when it does not answer) the line says no check was made.
class OutputCheck : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimeoutMilliseconds = 10000;

    explicit OutputCheck(QObject* parent = nullptr);
    void start(const QString& outputPath, const QString& encoderPath, const zvm::OutputTarget& target,
               const zvm::SourceFacts& source);

    // The report on a file read as `file`: fits, or the ways it differs from the target.
    static CheckReport Judge(const zvm::ProbedOutput& file, const zvm::OutputTarget& target,
                             const zvm::SourceFacts& source);
    // The report on a file that is missing or empty, nothing for one that can be read.
    static std::optional<CheckReport> Missing(const QString& outputPath);
    // A file that is there but is no video that can be read: it does not fit, whatever was asked.
    static CheckReport Unreadable(const QString& why);

signals:
    void checked(const CheckReport& report);

private:
    void finishLater(const CheckReport& report);
    void read(const ProcessResult& result);

    ProcessRun* run_;
    std::optional<zvm::files::ReachableName> input_;
    zvm::OutputTarget target_;
    zvm::SourceFacts source_;
};
