#include "ui/EncoderWindow.h"

#include "core/ClockText.h"
#include "files/DpgFile.h"
#include "files/TextCrossing.h"
#include "process/EncoderJob.h"
#include "media/Outside.h"
#include "ui/PlainLabel.h"
#include "ui/Platform.h"
#include "ui/Translated.h"
#include "ui/ProgramIcon.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
constexpr int kProgressSteps = 1000;
} // namespace

EncoderWindow::EncoderWindow(Platform& platform, zvm::media::Outside& outside,
                             std::unique_ptr<EncoderJob> job, ConvertedFile file, QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform), outside_(outside), job_(std::move(job)),
      file_(std::move(file)) {
    setObjectName(QStringLiteral("EncoderWindow"));
    setWindowIcon(ProgramIcon());
    setWindowTitle(QFileInfo(file_.output).fileName() + QStringLiteral(" - ffmpeg"));
    buildLayout(file_.command);
    connect(job_.get(), &EncoderJob::outputArrived, this, &EncoderWindow::showOutput);
    connect(job_.get(), &EncoderJob::finished, this, &EncoderWindow::showFinished);
    elapsed_.start();
    connect(&clock_, &QTimer::timeout, this, &EncoderWindow::updateElapsed);
    clock_.start(1000);
    updateElapsed();
}

EncoderWindow::~EncoderWindow() = default;

void EncoderWindow::buildLayout(const QString& command) {
    QLabel* commandLabel = PlainLabel("command", this, tr("Command"));
    commandLabel->setText(command);
    commandLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("output"));
    log_->setAccessibleName(tr("Encoder output"));
    log_->setReadOnly(true);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    log_->setMinimumSize(640, 280);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setAccessibleName(tr("Progress"));
    progress_->setRange(0, 0); // busy until the input's duration is known
    status_ = PlainLabel("status", this, tr("Status"));
    check_ = PlainLabel("check", this, tr("Check of the output"));

    stop_ = new QPushButton(tr("&Stop"), this);
    stop_->setObjectName(QStringLiteral("stop"));
    auto* copy = new QPushButton(tr("Copy &log"), this);
    copy->setObjectName(QStringLiteral("copyLog"));
    auto* close = new QPushButton(tr("Cl&ose"), this);
    close->setObjectName(QStringLiteral("close"));
    connect(stop_, &QPushButton::clicked, this, [this] {
        stopRequested_ = true;
        job_->stop();
    });
    connect(copy, &QPushButton::clicked, this,
            [this] { platform_.setClipboardText(QString::fromLocal8Bit(output_.screen())); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(stop_);
    buttons->addWidget(copy);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(commandLabel);
    layout->addWidget(log_, 1);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addWidget(check_);
    layout->addLayout(buttons);
    resize(760, 460);
}

void EncoderWindow::showOutput(const QByteArray& bytes) {
    output_.append(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    log_->setPlainText(QString::fromLocal8Bit(output_.screen()));
    log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
    updateProgress();
}

void EncoderWindow::updateProgress() {
    const auto duration = output_.duration();
    const auto time = output_.time();
    if (!duration || *duration <= 0 || !time) {
        return;
    }
    progress_->setRange(0, kProgressSteps);
    progress_->setValue(static_cast<int>(std::min(1.0, *time / *duration) * kProgressSteps));
}

QString EncoderWindow::outputStillBeingWritten() const {
    return job_->isRunning() ? file_.output : QString();
}

void EncoderWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (!job_->isRunning()) {
        deleteLater();
    }
}

void EncoderWindow::showFinished(int exitCode, int signal) {
    if (!isVisible()) {
        deleteLater(); // closed while the encoder ran: nothing left to show
        return;
    }
    clock_.stop();
    stop_->setEnabled(false);
    progress_->setRange(0, kProgressSteps);
    if (stopRequested_) {
        result_ = QFileInfo::exists(file_.output)
                      ? tr("Stopped. The partial output was kept: %1").arg(file_.output)
                      : tr("Stopped. No output was written");
    } else if (const zvm::Status joined = joinDpg(exitCode); !joined.ok()) {
        result_ = tr("Failed: the DPG file could not be put together: %1").arg(Translated(joined));
    } else if (exitCode == 0) {
        result_ = tr("Finished");
        progress_->setValue(kProgressSteps);
        checkOutput();
    } else {
        result_ = signal != 0 ? tr("Failed (ended by signal %1)").arg(signal)
                              : tr("Failed (exit code %1)").arg(exitCode);
        if (output_.rejectedAnOption()) {
            result_ += tr(". This encoder needs the modern command: turn on Options > Modern "
                          "ffmpeg command in the main window, then Convert again.");
        } else if (const char* cause = output_.failureCause()) {
            result_ = tr("%1: %2").arg(result_, Translated(cause));
        }
    }
    updateElapsed();
}

// A DPG's streams, written well, become the file; nothing to do for any other run.
zvm::Status EncoderWindow::joinDpg(int exitCode) const {
    if (!file_.dpg || exitCode != 0 || !file_.target) {
        return {};
    }
    return zvm::files::AssembleDpgBeside(zvm::files::PathToStd(file_.output), file_.target->frameRate,
                                         static_cast<int>(file_.target->sampleRate.value_or(32000)));
}

// A clean exit is not yet success: the file must be there, and should be what the command asked for.
void EncoderWindow::checkOutput() {
    if (!file_.target) {
        return;
    }
    check_->setText(tr("Checking the output..."));
    QPointer<EncoderWindow> self(this);
    outside_.checkOutput(file_.output, *file_.target,
                         {output_.duration(), output_.inputHasAudio().value_or(true), std::nullopt},
                         [self](const CheckReport& report) {
                             if (self != nullptr) {
                                 self->showCheck(report);
                             }
                         });
}

void EncoderWindow::showCheck(const CheckReport& report) {
    check_->setText(report.line);
    const bool warn =
        report.verdict == CheckReport::Verdict::Differs || report.verdict == CheckReport::Verdict::Missing;
    check_->setStyleSheet(warn ? QStringLiteral("color: #b00020; font-weight: bold;") : QString());
    if (report.verdict == CheckReport::Verdict::Missing) {
        result_ = tr("Failed: no output file");
        progress_->setValue(0);
        updateElapsed();
    }
}

QString EncoderWindow::checkText() const {
    return check_->text();
}

QString EncoderWindow::elapsedText() const {
    return QString::fromStdString(zvm::ClockText(static_cast<double>(elapsed_.elapsed()) / 1000));
}

void EncoderWindow::updateElapsed() {
    const QString state = result_.isEmpty() ? tr("Running") : result_;
    status_->setText(tr("%1 - %2 elapsed").arg(state, elapsedText()));
    status_->setAccessibleDescription(status_->text());
}

QString EncoderWindow::statusText() const {
    return status_->text();
}
