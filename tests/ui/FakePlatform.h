#pragma once

#include "Platform.h"

#include <QList>
#include <QPair>
#include <QQueue>

#include <functional>
#include <utility>

// Records every outside operation and answers from queues, so handlers never block on a dialog.
class FakeJob final : public EncoderJob {
    Q_OBJECT

public:
    bool isRunning() const override { return running; }
    void stop() override {
        stopCalls++;
        if (stops != nullptr) {
            ++*stops;
        }
        if (endsOnStop) { // as an encoder that stops when asked
            running = false;
            QMetaObject::invokeMethod(this, [this] { emit finished(255, 0); }, Qt::QueuedConnection);
        }
    }

    void kill() override { stop(); }

    bool running = true;
    bool endsOnStop = false;
    int stopCalls = 0;
    int* stops = nullptr; // counts on after the job is gone
};

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
    int askChoice(QWidget*, const QString& prompt, const QString& title, const QStringList& buttons) override {
        questions.append({prompt, title});
        choiceButtons = buttons;
        return choices.isEmpty() ? -1 : choices.dequeue();
    }
    QStringList openFileNames(QWidget*, const FileDialogRequest& request) override {
        dialogs.append(request);
        return manyFiles;
    }
    QString queueFile() override { return queuePath; }
    void notify(const QString& title, const QString& text) override { notifications.append(title + ": " + text); }
    std::optional<QString> openFileName(QWidget*, const FileDialogRequest& request) override {
        dialogs.append(request);
        return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.dequeue();
    }
    void setClipboardText(const QString& text) override { clipboard.append(text); }
    void openUrl(const QUrl& url) override { urls.append(url); }
    StartOutcome startProgram(const QString& commandLine, const QString&) override {
        started.append(commandLine);
        StartOutcome outcome;
        outcome.program = QStringLiteral("/usr/bin/ffmpeg");
        if (startError.isEmpty()) {
            auto job = std::make_unique<FakeJob>();
            job->endsOnStop = jobsEndOnStop;
            job->stops = &stops;
            lastJob = job.get();
            outcome.job = std::move(job);
        } else {
            outcome.error = startError;
        }
        return outcome;
    }

    void detectVideoSize(const QString& videoPath, const QString&,
                         std::function<void(const SizeDetection&)> done) override {
        detections.append(videoPath);
        pendingDetections.append(std::move(done));
    }

    void askClassicOptions(const QString& encoder, std::function<void(zvm::EncoderAnswer)> done) override {
        formQuestions.append(encoder);
        pendingForms.append(std::move(done));
    }

    void checkOutput(const QString& output, const QString&, const zvm::OutputTarget& target,
                     const zvm::SourceFacts& source, std::function<void(const CheckReport&)> done) override {
        checks.append({output, target.screen, source});
        pendingChecks.append(std::move(done));
    }

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
    QStringList started;
    QString startError;
    FakeJob* lastJob = nullptr;
    bool jobsEndOnStop = false;
    int stops = 0;
    QStringList detections;
    QList<std::function<void(const SizeDetection&)>> pendingDetections;
    struct Check {
        QString output;
        std::string screen;
        zvm::SourceFacts source;
    };
    QList<Check> checks;
    QList<std::function<void(const CheckReport&)>> pendingChecks;
    QList<Message> questions;
    QStringList choiceButtons;
    QQueue<int> choices;
    QStringList manyFiles;
    QString queuePath;
    QStringList notifications;
    QStringList formQuestions;
    QList<std::function<void(zvm::EncoderAnswer)>> pendingForms;
};
