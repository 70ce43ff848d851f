#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QWidget;

// What an open-file dialog shows: a fixed title, the pattern in its file-name field, the filters,
// and the folder it opens in (the platform's choice when empty); and whether the answer must be a
// program that can be run.
struct FileDialogRequest {
    QString title;
    QString initialName;
    QStringList filters;
    QString folder;
    bool mustBeProgram = false;
};

// What the windows ask of the desktop: dialogs, the clipboard, the browser, notifications and where
// the queue is kept (programs are started and asked through media's Outside). The real one uses Qt's
// dialogs and services; tests give a recording fake with queued answers, so no handler ever blocks on
// a dialog.
class Platform {
public:
    virtual ~Platform() = default;

    // A modal box with one OK button and no icon.
    virtual void showMessage(QWidget* parent, const QString& prompt, const QString& title) = 0;
    // A modal question: the index of the button chosen. `safe` is the button that loses nothing: it
    // is the default (Enter) and the answer when the box is closed (Esc).
    virtual int askChoice(QWidget* parent, const QString& prompt, const QString& title, const QStringList& buttons,
                          int safe) = 0;
    // The chosen or typed path, or nothing when the user cancelled.
    virtual std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    // Existing files, several at once; none when the user cancelled.
    virtual QStringList openFileNames(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual void setClipboardText(const QString& text) = 0;
    // The address or local file in the desktop's program for it; false when the desktop has none
    // or it would not start.
    [[nodiscard]] virtual bool openUrl(const QUrl& url) = 0;
    // Where the queue is kept between runs; empty to keep it nowhere.
    virtual QString queueFile() = 0;
    // Where the user's own targets are kept; empty for none.
    virtual QString targetsFile() = 0;
    // A desktop notification; nothing happens where no notification service runs.
    virtual void notify(const QString& title, const QString& text) = 0;
    // The queue's overall progress (0 to 1) on the program's task bar entry, or none to hide it;
    // nothing happens where the desktop reads no such thing.
    virtual void showTaskbarProgress(std::optional<double> fraction) = 0;
    // Ends the program's event loop, which then exits with this code.
    virtual void endProgram(int code) = 0;
};

// Opens the address or file; when the desktop does not, says so in a box titled `title`, with the
// address or path to open by hand, rather than doing nothing.
inline void OpenOrSay(Platform& platform, QWidget* parent, const QUrl& url, const QString& title) {
    if (!platform.openUrl(url)) {
        const QString where = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
        platform.showMessage(
            parent,
            QCoreApplication::translate("Platform", "The desktop could not open it. Open it by hand:\n%1").arg(where),
            title);
    }
}
