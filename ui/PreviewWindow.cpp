#include "PreviewWindow.h"

#include "ClockText.h"
#include "FrameView.h"
#include "Generate.h"
#include "OutputTarget.h"
#include "Outside.h"
#include "PlainLabel.h"
#include "Presets.h"
#include "ProgramIcon.h"
#include "TextCrossing.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

namespace {
constexpr int kSliderSteps = 1000;
constexpr int kDefaultMoment = kSliderSteps / 10; // 10% in: past the titles of most videos
using zvm::files::PathToQString;

QString Clock(double seconds) {
    return QString::fromStdString(zvm::ClockText(seconds));
}
} // namespace

PreviewWindow::PreviewWindow(zvm::media::Outside& outside, QWidget* parent)
    : QWidget(parent, Qt::Window), outside_(outside) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowIcon(ProgramIcon());
    buildLayout();
    pause_.setSingleShot(true);
    pause_.setInterval(kRenderPauseMilliseconds);
    connect(&pause_, &QTimer::timeout, this, &PreviewWindow::renderFrame);
}

void PreviewWindow::buildLayout() {
    caption_ = PlainLabel("caption", this);
    view_ = new FrameView(this);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(view_);
    scroll->setAlignment(Qt::AlignCenter);
    note_ = PlainLabel("note", this);

    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("moment"));
    slider_->setAccessibleName(tr("Moment of the frame"));
    slider_->setRange(0, kSliderSteps);
    slider_->setValue(kDefaultMoment);
    moment_ = PlainLabel("momentText", this);
    connect(slider_, &QSlider::valueChanged, this, [this] {
        showMoment();
        pause_.start();
    });

    auto* zoom = new QButtonGroup(this);
    auto* controls = new QHBoxLayout;
    auto* momentCaption = new QLabel(tr("&Moment:"), this);
    momentCaption->setBuddy(slider_);
    controls->addWidget(momentCaption);
    controls->addWidget(slider_, 1);
    controls->addWidget(moment_);
    for (int factor = 1; factor <= 3; ++factor) {
        auto* option = new QRadioButton(QStringLiteral("&%1x").arg(factor), this);
        option->setObjectName(QStringLiteral("zoom%1").arg(factor));
        option->setAccessibleName(tr("Zoom %1 times").arg(factor));
        option->setChecked(factor == 2);
        zoom->addButton(option, factor);
        controls->addWidget(option);
    }
    connect(zoom, &QButtonGroup::idClicked, view_, &FrameView::setZoom);

    status_ = PlainLabel("status", this, tr("Status"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(scroll, 1);
    layout->addWidget(note_);
    layout->addLayout(controls);
    layout->addWidget(status_);
    resize(900, 680);
}

void PreviewWindow::follow(const zvm::ConversionRequest& request, zvm::CommandStyle style) {
    const zvm::TargetPreset* preset = zvm::FindPreset(request.preset);
    if (preset == nullptr) {
        return; // the window always holds a row of the list
    }
    if (request.sourceVideo != request_.sourceVideo || request.encoderPath != request_.encoderPath) {
        durationWanted_ = true; // read after the pause too, so a typed path is not probed per key
        duration_.reset();
        showMoment();
    }
    request_ = request;
    const bool vcd = preset->form == zvm::CommandForm::Vcd;
    setWindowTitle(tr("Preview - %1").arg(QString::fromUtf8(preset->displayText)));
    view_->showFit(zvm::FitRequest(request));
    view_->setTelevisionAspect(vcd);
    const auto target = zvm::TargetFor(request, style);
    const bool modern = style == zvm::CommandStyle::Modern || zvm::NeedsModernForm(*preset);
    const QString form = modern ? tr("modern") : tr("classic");
    const QString rate = target ? QString::fromStdString(zvm::FrameRateText(target->frameRate)) : QString();
    caption_->setText(!target                   ? tr("No movie type chosen: no command is written for this target")
                      : target->frameRateAtMost ? tr("at most %1 fps, %2 command form").arg(rate, form)
                                                : tr("%1 fps, %2 command form").arg(rate, form));
    QString note = tr("A VCD's pixels are not square: the frame is shown as a 4:3 television displays it.");
    if (target && target->shownNarrowerPercent > 0) {
        note += " " + tr("On a 4:3 TV the picture appears %1% narrower; the target '%2' fits it.")
                          .arg(target->shownNarrowerPercent)
                          .arg(QString::fromStdString(target->fitsShown));
    }
    note_->setText(vcd ? note : QString());
    note_->setVisible(vcd);
    pause_.start();
}

void PreviewWindow::readDuration() {
    duration_.reset();
    const int read = ++durationReads_;
    QPointer<PreviewWindow> self(this);
    outside_.detectSize(PathToQString(request_.sourceVideo),
                        PathToQString(request_.encoderPath),
                        [self, read](const SizeDetection& found) {
                            if (self == nullptr || read != self->durationReads_) {
                                return;
                            }
                            self->duration_ = found.duration;
                            self->showMoment();
                            self->renderFrame();
                        });
}

void PreviewWindow::showMoment() {
    moment_->setText(
        duration_ ? tr("%1 of %2").arg(Clock(*duration_ * slider_->value() / kSliderSteps), Clock(*duration_))
                  : QStringLiteral("0:00"));
}

void PreviewWindow::renderFrame() {
    if (durationWanted_) { // the moment is a share of the duration: that comes first
        durationWanted_ = false;
        readDuration();
        return;
    }
    const auto fit = view_->fit();
    if (!fit) {
        view_->showFrame({});
        status_->setText(tr("No frame: enter the source's width and height"));
        return;
    }
    status_->setText(tr("Rendering a frame..."));
    QPointer<PreviewWindow> self(this);
    // The frame keeps the source's time, so its subtitles need no shift for a cut.
    zvm::ConversionRequest atSourceTime = request_;
    atSourceTime.cutStart.reset();
    outside_.renderFrameThrough(
        PathToQString(request_.encoderPath), PathToQString(request_.sourceVideo),
        duration_.value_or(0) * slider_->value() / kSliderSteps, *fit, zvm::PictureFilter(atSourceTime, *fit),
        [self](const RenderedFrame& frame) {
            if (self != nullptr) {
                self->showFrame(frame);
            }
        });
}

void PreviewWindow::showFrame(const RenderedFrame& frame) {
    if (!frame.error.isEmpty()) {
        view_->showFrame({});
        status_->setText(tr("No frame: %1").arg(frame.error));
        return;
    }
    view_->showFrame(QImage::fromData(frame.png, "PNG"));
    if (!frame.exact) {
        return; // a keyframe's picture, while the frame itself is decoded
    }
    status_->setText(
        tr("A frame at %1, rendered by ffmpeg through the command's numbers").arg(moment_->text()));
}

QString PreviewWindow::statusText() const {
    return status_->text();
}
