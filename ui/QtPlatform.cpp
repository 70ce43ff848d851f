#include "QtPlatform.h"

#include "EncoderProcess.h"
#include "FormProbe.h"
#include "ProgramLookup.h"
#include "Spawn.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

// Plain text: a message may quote a path or the encoder's words, which are never markup.
void QtPlatform::showMessage(QWidget* parent, const QString& prompt, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// An open-file dialog that accepts names that do not exist yet, asks nothing about overwriting and
// adds no extension. It starts with the pattern in its file-name field, and never changes the
// working directory, where settings.ini lives.
std::optional<QString> QtPlatform::openFileName(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(request.filters);
    if (!request.folder.isEmpty()) {
        dialog.setDirectory(request.folder);
    }
    dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

void QtPlatform::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void QtPlatform::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

StartOutcome QtPlatform::startProgram(const QString& commandLine, const QString& encoder) {
    const QByteArray line = commandLine.toLocal8Bit();
    const QByteArray encoderBytes = encoder.toLocal8Bit();
    const auto resolution =
        zvm::run::ResolveCommandLine(std::string_view(line.constData(), std::size_t(line.size())),
                                     std::string_view(encoderBytes.constData(), std::size_t(encoderBytes.size())),
                                     zvm::run::ProgramFinder::FromSystem());
    StartOutcome outcome;
    outcome.program = QString::fromLocal8Bit(resolution.program);
    if (!resolution.command) {
        outcome.error = QString::fromLocal8Bit(resolution.error);
        return outcome;
    }
    const auto spawned = zvm::run::SpawnDetached(*resolution.command);
    if (!spawned.error.empty()) {
        outcome.error = QString::fromLocal8Bit(spawned.error);
        return outcome;
    }
    outcome.job = std::make_unique<EncoderProcess>(spawned.pid, spawned.logFd);
    return outcome;
}

namespace {
// A one-shot helper owned by the application, so that one still running at exit is ended with it.
template <class Helper, class Signal, class Result>
Helper* OneShot(Signal signal, std::function<void(const Result&)> done) {
    auto* helper = new Helper(QCoreApplication::instance());
    QObject::connect(helper, signal, helper, [helper, done = std::move(done)](const Result& result) {
        done(result);
        helper->deleteLater();
    });
    return helper;
}
} // namespace

void QtPlatform::detectVideoSize(const QString& videoPath, const QString& encoderPath,
                                 std::function<void(const SizeDetection&)> done) {
    OneShot<SizeProbe>(&SizeProbe::finished, std::move(done))->start(videoPath, encoderPath);
}

void QtPlatform::checkOutput(const QString& output, const QString& encoder, const zvm::OutputTarget& target,
                             std::optional<double> sourceDuration, std::function<void(const CheckReport&)> done) {
    OneShot<OutputCheck>(&OutputCheck::checked, std::move(done))->start(output, encoder, target, sourceDuration);
}

void QtPlatform::askClassicOptions(const QString& encoder, std::function<void(zvm::EncoderAnswer)> done) {
    static auto* const probe = new FormProbe(QCoreApplication::instance()); // one cache for the program's life
    const QByteArray text = encoder.toLocal8Bit();
    const auto program = zvm::run::FindEncoder(std::string_view(text.constData(), std::size_t(text.size())),
                                               zvm::run::ProgramFinder::FromSystem());
    if (!program) {
        QTimer::singleShot(0, probe, [done = std::move(done)] { done(zvm::EncoderAnswer::Unknown); });
        return;
    }
    const QString path = QString::fromLocal8Bit(*program);
    auto* receiver = new QObject(probe);
    QObject::connect(probe, &FormProbe::answered, receiver,
                     [receiver, path, done = std::move(done)](const QString& asked, zvm::EncoderAnswer answer) {
                         if (asked == path) {
                             done(answer);
                             receiver->deleteLater();
                         }
                     });
    probe->ask(path);
}
