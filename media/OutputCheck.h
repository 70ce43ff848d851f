#pragma once

#include "core/OutputTarget.h"
#include "media/Answers.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

// After an encoder ended well, the media worker's reading of the output compared with what the
// command asked for. A missing or empty file, or one that cannot be read, is a failure.
class OutputCheck {
    Q_DECLARE_TR_FUNCTIONS(OutputCheck)

public:
    // The report on a file read as `file`: fits, or the ways it differs from the target.
    static CheckReport Judge(const zvm::ProbedOutput& file, const zvm::OutputTarget& target,
                             const zvm::SourceFacts& source);
    // The report on a file that is missing or empty, nothing for one that can be read.
    static std::optional<CheckReport> Missing(const QString& outputPath);
    // A file that is there but is no video that can be read: it does not fit, whatever was asked.
    static CheckReport Unreadable(const QString& why);
};
