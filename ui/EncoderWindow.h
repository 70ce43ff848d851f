#pragma once

#include "EncoderOutput.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <memory>

class EncoderJob;
class Platform;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// One window per Convert: the command, the encoder's output as it arrives, its progress and its
// result. Closing it leaves the encoder running; the window then stays hidden until the encoder
// ends, so the finished process is still reaped.
class EncoderWindow : public QWidget {
    Q_OBJECT

public:
    EncoderWindow(Platform& platform, std::unique_ptr<EncoderJob> job, const QString& command,
                  const QString& outputPath, QWidget* parent = nullptr);
    ~EncoderWindow() override;

    QString statusText() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout(const QString& command);
    void showOutput(const QByteArray& bytes);
    void showFinished(int exitCode, int signal);
    void updateProgress();
    void updateElapsed();
    QString elapsedText() const;

    Platform& platform_;
    std::unique_ptr<EncoderJob> job_;
    QString outputPath_;
    zvm::run::EncoderOutput output_;
    QElapsedTimer elapsed_;
    QTimer clock_;
    bool stopRequested_ = false;
    QString result_;

    QLabel* status_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* stop_ = nullptr;
};
