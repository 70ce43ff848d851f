#pragma once

#include "Platform.h"

// The desktop's real dialogs, clipboard, browser and process start.
class QtPlatform final : public Platform {
public:
    void showMessage(QWidget* parent, const QString& prompt, const QString& title) override;
    int askChoice(QWidget* parent, const QString& prompt, const QString& title,
                  const QStringList& buttons) override;
    std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) override;
    QStringList openFileNames(QWidget* parent, const FileDialogRequest& request) override;
    void setClipboardText(const QString& text) override;
    void openUrl(const QUrl& url) override;
    StartOutcome startProgram(const QString& commandLine, const QString& encoder) override;
    void detectVideoSize(const QString& videoPath, const QString& encoderPath,
                         std::function<void(const SizeDetection&)> done) override;
    void askClassicOptions(const QString& encoder, std::function<void(zvm::EncoderAnswer)> done) override;
    void checkOutput(const QString& output, const QString& encoder, const zvm::OutputTarget& target,
                     const zvm::SourceFacts& source, std::function<void(const CheckReport&)> done) override;
    QString queueFile() override;
    void notify(const QString& title, const QString& text) override;
};
