#pragma once

#include "media/EncoderOutput.h"
#include "core/OutputTarget.h"
#include "core/Status.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace zvm::media {
class Outside;
}
class EncoderJob;
class Platform;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
struct CheckReport;

// What a Convert started: the command, the file it writes, the encoder box's text, and what the file
// must be for its target (nothing when that is not known).
struct ConvertedFile {
    QString command;
    QString output;
    QString encoder;
    std::optional<zvm::OutputTarget> target;
    // The command writes a DPG's two streams beside the output, which the window then puts together.
    bool dpg = false;
};

// One window per Convert: the command, the encoder's output as it arrives, its progress and its
// result, and whether the finished file fits its target. Closing it leaves the encoder running; the
// window then stays hidden until the encoder ends, so the finished process is still reaped.
class EncoderWindow : public QWidget {
    Q_OBJECT

public:
    EncoderWindow(Platform& platform, zvm::media::Outside& outside, std::unique_ptr<EncoderJob> job,
                  ConvertedFile file, QWidget* parent = nullptr);
    ~EncoderWindow() override;

    QString statusText() const;
    QString checkText() const;
    // The output of an encoder still running, which goes on when the program ends; empty otherwise.
    QString outputStillBeingWritten() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout(const QString& command);
    void showOutput(const QByteArray& bytes);
    void showFinished(int exitCode, int signal);
    zvm::Status joinDpg(int exitCode) const;
    void checkOutput();
    void showCheck(const CheckReport& report);
    void updateProgress();
    void updateElapsed();
    QString elapsedText() const;

    Platform& platform_;
    zvm::media::Outside& outside_;
    std::unique_ptr<EncoderJob> job_;
    ConvertedFile file_;
    zvm::media::EncoderOutput output_;
    QElapsedTimer elapsed_;
    QTimer clock_;
    bool stopRequested_ = false;
    QString result_;

    QLabel* status_ = nullptr;
    QLabel* check_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* stop_ = nullptr;
};
