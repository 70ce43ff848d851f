#pragma once

#include "tests/FakeOutside.h"
#include "tests/ui/FakePlatform.h"
#include "tests/ui/WindowControls.h"
#include "ui/frmZCM.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A window started in a fresh working directory, with the fake platform and outside behind it.
struct WindowFixture {
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    FakePlatform platform;
    FakeOutside outside;
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

    // The seven result labels in their designed order.
    static QStringList LabelTexts(const frmZCM& w) {
        QStringList texts;
        const Ui ui(w);
        for (const QLabel* l : {ui.lblRatio, ui.lblNewWidth, ui.lblNewHeight, ui.lblPadTop, ui.lblPadBottom,
                                ui.lblPadLeft, ui.lblPadRight}) {
            texts << l->text();
        }
        return texts;
    }

    // Drags a local file over the window and drops it on the centre of `onto`; returns whether the
    // window accepted the drag.
    static bool dropFile(frmZCM& w, QWidget* onto, const QString& path) {
        const QPoint at = onto->mapTo(&w, onto->rect().center());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&w, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&w, &drop);
        return enter.isAccepted();
    }

    // Whether what waits for the encoder's form answer has run: the fake answers from the event loop,
    // as a real encoder answers later, and the window shows a busy cursor until then.
    static bool formAnswered(const frmZCM& w) {
        return QTest::qWaitFor([&w] { return w.cursor().shape() != Qt::BusyCursor; }, kFormAnswerMs);
    }
    static constexpr int kFormAnswerMs = 5000;

    // Start-up with the given settings file (none when empty), then the window on screen.
    frmZCM& start(const QByteArray& settings = SavedFile()) {
        if (!settings.isEmpty()) {
            writeSettings(settings);
        }
        window = std::make_unique<frmZCM>(platform, outside);
        window->Form_Load();
        window->show();
        window->activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window.get());
        window->startUpShown({});
        return *window;
    }
};
