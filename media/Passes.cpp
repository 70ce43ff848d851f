#include "media/Passes.h"

#include "core/CommandLine.h"
#include "process/ProcessGroups.h"
#include "process/StepJob.h"
#include "core/Text.h"
#include "files/TextCrossing.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <string>
#include <unistd.h>
#include <vector>

namespace zvm::media {

namespace {
constexpr QLatin1StringView kPassFolder("passes-");
constexpr QLatin1StringView kLogPrefix("pass");

// The statistics of the first pass's video (the encoder names its log for the stream's index);
// empty when it wrote none.
std::string PassOneStatistics(const QTemporaryDir& folder) {
    QFile log(folder.filePath(kLogPrefix + QStringLiteral("-0.log")));
    return log.open(QIODevice::ReadOnly) ? log.readAll().toStdString() : std::string();
}
} // namespace

QString PassFolderBase() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

void RemoveStalePassFolders(const QString& folderBase) {
    static const QRegularExpression named(QStringLiteral("^passes-(\\d+)-(\\d+)-\\w+$"));
    const QDir base(folderBase);
    for (const QString& name : base.entryList({QString(kPassFolder) + '*'},
                                                  QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks)) {
        const QRegularExpressionMatch match = named.match(name);
        bool pidRead = false;
        bool startRead = false;
        const process::ProcessMark owner{static_cast<pid_t>(match.captured(1).toInt(&pidRead)),
                                         match.captured(2).toULongLong(&startRead)};
        if (match.hasMatch() && pidRead && startRead && process::MarkOf(owner.pid) != owner) {
            QDir(base.filePath(name)).removeRecursively();
        }
    }
}

Result<std::unique_ptr<EncoderJob>> StartEncoding(Outside& outside, const QString& command, const QString& output,
                                                  bool twoPass, const QString& encoder, process::Lifetime lifetime,
                                                  const QString& folderBase, PassOneCheck check) {
    RemoveStalePassFolders(folderBase);
    if (!twoPass) {
        return outside.startEncoder(command, encoder, lifetime);
    }
    if (!QDir().mkpath(folderBase)) {
        return Status::Failure(FailureKind::Io, ZVM_TEXT("zvm", "The folder for the passes' logs could not be made: %1"),
                               files::PathToStd(folderBase));
    }
    // mkdtemp: a new folder only this user can enter, so no other user can plant or read the logs.
    // Named for this program's mark, so that a later start can tell whether its owner is gone.
    const auto self = process::MarkOf(::getpid());
    const QString owner = self ? QStringLiteral("%1-%2-").arg(self->pid).arg(self->started) : QString();
    auto folder = std::make_shared<QTemporaryDir>(folderBase + '/' + kPassFolder + owner + QStringLiteral("XXXXXX"));
    if (!folder->isValid()) {
        return Status::Failure(FailureKind::Io, ZVM_TEXT("zvm", "The folder for the passes' logs could not be made: %1"),
                               files::PathToStd(folder->errorString()));
    }
    const std::vector<std::string> steps = PassSteps(files::PathToStd(command), files::PathToStd(output), true,
                                                     files::PathToStd(folder->filePath(kLogPrefix)));
    auto job = std::make_unique<StepJob>(
        steps.size(),
        [&outside, steps, encoder, lifetime](std::size_t step) {
            return outside.startEncoder(files::PathToQString(steps[step]), encoder, lifetime);
        },
        [folder] { folder->remove(); });
    if (check) {
        job->checkBefore([folder, check = std::move(check)](std::size_t) { return check(PassOneStatistics(*folder)); });
    }
    if (Status started = job->begin(); !started.ok()) {
        return started;
    }
    return std::unique_ptr<EncoderJob>(std::move(job));
}

} // namespace zvm::media
