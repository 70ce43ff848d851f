#pragma once

#include "CommandForm.h"
#include "EncoderJob.h"
#include "OutputCheck.h"
#include "SizeProbe.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Either the started encoder, followed as a job, or why it could not be started, and what program
// was looked for.
struct StartOutcome {
    std::unique_ptr<EncoderJob> job;
    QString error;
    QString program;
};

// The program the encoder box's text names (see FindEncoder), or an empty text.
QString FindEncoderProgram(const QString& encoder);

// The outside work that a conversion needs, as this program does it for real: starting the encoder
// without a shell, reading a video's size, asking the encoder which command form it takes (Unknown
// when the text names no program), checking a finished file. The window reaches them through
// its platform, the queue through its services, so tests can stand in for each.
StartOutcome StartEncoder(const QString& commandLine, const QString& encoder);
void DetectSize(const QString& video, const QString& encoder, std::function<void(const SizeDetection&)> done);
void AskForm(const QString& encoder, std::function<void(zvm::EncoderAnswer)> done);
void CheckFile(const QString& output, const QString& encoder, const zvm::OutputTarget& target,
               const zvm::SourceFacts& source, std::function<void(const CheckReport&)> done);
