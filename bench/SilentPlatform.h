#pragma once

#include "ui/Platform.h"

#include <cstdio>

// A desktop that shows nothing, for benchmarks: every question gets `answer` (the safe button when
// it is negative), and messages go to the error output, where a failing run shows why.
class SilentPlatform final : public Platform {
public:
    explicit SilentPlatform(int answer = -1) : answer_(answer) {}
    void showMessage(QWidget*, const QString& prompt, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(prompt));
    }
    int askChoice(QWidget*, const QString&, const QString&, const QStringList&, int safe) override {
        return answer_ < 0 ? safe : answer_;
    }
    std::optional<QString> openFileName(QWidget*, const FileDialogRequest&) override { return {}; }
    QStringList openFileNames(QWidget*, const FileDialogRequest&) override { return {}; }
    void setClipboardText(const QString&) override {}
    bool openUrl(const QUrl&) override { return true; }
    QString queueFile() override { return {}; }
    QString targetsFile() override { return {}; }
    void notify(const QString&, const QString&) override {}
    void showTaskbarProgress(std::optional<double>) override {}
    void endProgram(int) override {}

private:
    int answer_;
};
