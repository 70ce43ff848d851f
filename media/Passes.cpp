#include "Passes.h"

#include "CommandLine.h"
#include "StepJob.h"
#include "Text.h"
#include "TextCrossing.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace zvm::media {

QString PassFolderBase() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

Result<std::unique_ptr<EncoderJob>> StartEncoding(Outside& outside, const QString& command, const QString& output,
                                                  bool twoPass, const QString& encoder, process::Lifetime lifetime,
                                                  const QString& folderBase) {
    if (!twoPass) {
        return outside.startEncoder(command, encoder, lifetime);
    }
    if (!QDir().mkpath(folderBase)) {
        return Status::Failure(FailureKind::Io, ZVM_TEXT("The folder for the passes' logs could not be made: %1"),
                               files::PathToStd(folderBase));
    }
    // mkdtemp: a new folder only this user can enter, so no other user can plant or read the logs.
    auto folder = std::make_shared<QTemporaryDir>(folderBase + QStringLiteral("/passes-XXXXXX"));
    if (!folder->isValid()) {
        return Status::Failure(FailureKind::Io, ZVM_TEXT("The folder for the passes' logs could not be made: %1"),
                               files::PathToStd(folder->errorString()));
    }
    const std::vector<std::string> steps = PassSteps(files::PathToStd(command), files::PathToStd(output), true,
                                                     files::PathToStd(folder->filePath(QStringLiteral("pass"))));
    auto job = std::make_unique<StepJob>(
        steps.size(),
        [&outside, steps, encoder, lifetime](std::size_t step) {
            return outside.startEncoder(files::PathToQString(steps[step]), encoder, lifetime);
        },
        [folder] { folder->remove(); });
    if (Status started = job->begin(); !started.ok()) {
        return started;
    }
    return std::unique_ptr<EncoderJob>(std::move(job));
}

} // namespace zvm::media
