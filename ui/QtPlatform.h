#pragma once

#include "ui/Platform.h"

// The desktop's real dialogs, clipboard, browser and notifications.
class QtPlatform final : public Platform {
public:
    void showMessage(QWidget* parent, const QString& prompt, const QString& title) override;
    int askChoice(QWidget* parent, const QString& prompt, const QString& title, const QStringList& buttons,
                  int safe) override;
    std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) override;
    QStringList openFileNames(QWidget* parent, const FileDialogRequest& request) override;
    void setClipboardText(const QString& text) override;
    bool openUrl(const QUrl& url) override;
    QString queueFile() override;
    QString targetsFile() override;
    void notify(const QString& title, const QString& text) override;
    void showTaskbarProgress(std::optional<double> fraction) override;
    void endProgram(int code) override;
};
