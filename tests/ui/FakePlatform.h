#pragma once

#include "ui/Platform.h"

#include <QList>
#include <QPair>
#include <QQueue>

#include <functional>
#include <utility>

// Records every call to the desktop and answers from queues, so handlers never block on a dialog.
class FakePlatform final : public Platform {
public:
    struct Message {
        QString prompt;
        QString title;
    };

    void showMessage(QWidget*, const QString& prompt, const QString& title) override {
        messages.append({prompt, title});
        if (whileMessageShows) {
            std::exchange(whileMessageShows, nullptr)(); // what arrives while the modal box is open
        }
    }
    std::function<void()> whileMessageShows;
    // Answers with the next queued choice; with none, or a queued -1 (the box closed), the safe one.
    int askChoice(QWidget*, const QString& prompt, const QString& title, const QStringList& buttons,
                  int safe) override {
        questions.append({prompt, title});
        choiceButtons = buttons;
        safeChoices.append(safe);
        const int choice = choices.isEmpty() ? -1 : choices.dequeue();
        return choice < 0 ? safe : choice;
    }
    QList<int> safeChoices;
    QStringList openFileNames(QWidget*, const FileDialogRequest& request) override {
        dialogs.append(request);
        return manyFiles;
    }
    QString queueFile() override { return queuePath; }
    QString targetsFile() override { return targetsPath; }
    void notify(const QString& title, const QString& text) override { notifications.append(title + ": " + text); }
    void showTaskbarProgress(std::optional<double> fraction) override { taskbar.append(fraction); }
    void endProgram(int code) override { endedWith = code; }
    std::optional<int> endedWith;
    QList<std::optional<double>> taskbar;
    std::optional<QString> openFileName(QWidget*, const FileDialogRequest& request) override {
        dialogs.append(request);
        return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
    }
    void setClipboardText(const QString& text) override { clipboard.append(text); }
    bool openUrl(const QUrl& url) override {
        urls.append(url);
        return desktopOpens;
    }
    bool desktopOpens = true; // false: as a desktop without a program for the address
    void setNextFileName(const QString& name) { fileAnswers.enqueue(name); }
    void setNextCancel() { fileAnswers.enqueue(std::nullopt); }
    QStringList titles() const {
        QStringList t;
        for (const Message& m : messages) {
            t << m.title;
        }
        return t;
    }

    QList<Message> messages;
    QList<FileDialogRequest> dialogs;
    QQueue<std::optional<QString>> fileAnswers;
    QStringList clipboard;
    QList<QUrl> urls;
    QList<Message> questions;
    QStringList choiceButtons;
    QQueue<int> choices;
    QStringList manyFiles;
    QString queuePath;
    QString targetsPath;
    QStringList notifications;
};
