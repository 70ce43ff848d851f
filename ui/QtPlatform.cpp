#include "ui/QtPlatform.h"

#include "ui/PickerDialog.h"
#include "settings/TargetsFile.h"
#include "files/TextCrossing.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

// Plain text: a message may quote a path or the encoder's words, which are never markup.
void QtPlatform::showMessage(QWidget* parent, const QString& prompt, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

int QtPlatform::askChoice(QWidget* parent, const QString& prompt, const QString& title, const QStringList& buttons,
                          int safe) {
    QMessageBox box(QMessageBox::Question, title, prompt, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QList<QPushButton*> added;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        added << box.addButton(buttons[i], i == safe ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    }
    if (safe >= 0 && safe < added.size()) {
        box.setDefaultButton(added[safe]);
        box.setEscapeButton(added[safe]);
    }
    box.exec();
    const auto chosen = static_cast<int>(added.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    return chosen < 0 ? safe : chosen;
}

// Several existing videos at once, for the queue.
QStringList QtPlatform::openFileNames(QWidget* parent, const FileDialogRequest& request) {
    PickerDialog dialog(parent, request.title, /*mustBeProgram=*/false);
    dialog.setDirectory(request.folder);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(request.filters);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

// An open-file dialog that accepts names that do not exist yet, asks nothing about overwriting and
// adds no extension. It starts with the pattern in its file-name field, and never changes the
// working directory, where settings.ini lives.
std::optional<QString> QtPlatform::openFileName(QWidget* parent, const FileDialogRequest& request) {
    PickerDialog dialog(parent, request.title, request.mustBeProgram);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustBeProgram ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
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

bool QtPlatform::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

QString QtPlatform::queueFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("queue.sqlite"));
}

QString QtPlatform::targetsFile() {
    return zvm::files::PathToQString(zvm::settings::TargetsFilePath().native());
}

// The freedesktop notification service, over D-Bus, without waiting for it; silently nothing where
// no session bus or no such service runs.
void QtPlatform::notify(const QString& title, const QString& text) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QCoreApplication::applicationName() << 0U << QStringLiteral("zarnik-video-maker") << title << text
         << QStringList() << QVariantMap() << -1;
    QDBusConnection::sessionBus().asyncCall(call);
}

// The launcher entry signal that Plasma, Unity and the common docks read, addressed to the program's
// desktop entry. A signal, not a call: no answer is awaited, and nothing breaks where no one listens.
void QtPlatform::showTaskbarProgress(std::optional<double> fraction) {
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/io/github/zarnik_video_maker/progress"),
                                                     QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                                     QStringLiteral("Update"));
    const QString entry = QGuiApplication::desktopFileName();
    signal << QStringLiteral("application://%1.desktop").arg(entry)
           << QVariantMap{{QStringLiteral("progress"), fraction.value_or(0.0)},
                          {QStringLiteral("progress-visible"), fraction.has_value()}};
    QDBusConnection::sessionBus().send(signal);
}

void QtPlatform::endProgram(int code) {
    QCoreApplication::exit(code);
}
