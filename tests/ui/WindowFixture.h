#pragma once

#include "FakePlatform.h"
#include "frmZCM.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A window started in a fresh working directory, with the fake platform behind it.
struct WindowFixture {
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    FakePlatform platform;
    std::unique_ptr<frmZCM> window;

    static QByteArray SavedFile() {
        return R"("640","480","256","32","24000","/videos/clip.avi","/videos/clip.mp4","/usr/bin/ffmpeg","Saved")"
               "\r\n";
    }

    WindowFixture() { QDir::setCurrent(dir.path()); }
    ~WindowFixture() {
        window.reset();
        QDir::setCurrent(previousDir);
    }
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    void writeSettings(const QByteArray& bytes) const {
        QFile file(dir.filePath("settings.ini"));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    QByteArray settingsBytes() const {
        QFile file(dir.filePath("settings.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Start-up with the given settings file (none when empty), then the window on screen.
    frmZCM& start(const QByteArray& settings = SavedFile()) {
        if (!settings.isEmpty()) {
            writeSettings(settings);
        }
        window = std::make_unique<frmZCM>(platform);
        window->Form_Load();
        window->show();
        window->activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window.get());
        return *window;
    }
};
