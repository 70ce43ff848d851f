#include "ui/PreviewWindow.h"

#include "core/ClockText.h"
#include "core/Cut.h"
#include "ui/FrameView.h"
#include "core/Generate.h"
#include "core/OutputTarget.h"
#include "media/Outside.h"
#include "ui/PickerDialog.h"
#include "ui/Platform.h"
#include "ui/PlainLabel.h"
#include "core/PrepareRun.h"
#include "core/Presets.h"
#include "core/SourceChoices.h"
#include "ui/ProgramIcon.h"
#include "media/SubtitleSource.h"
#include "files/TextCrossing.h"
#include "ui/Translated.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

#include <cmath>
#include <optional>
#include <utility>

// The moment slider, with the part a cut keeps marked along its groove.
class CutSlider : public QSlider {
public:
    explicit CutSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

    // In the slider's steps; nothing for no cut, and an open end for none at that end.
    void setCut(std::optional<std::pair<int, int>> cut) {
        cut_ = cut;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QSlider::paintEvent(event);
        if (!cut_) {
            return;
        }
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        const int span = groove.width() - handle.width();
        const auto x = [&](int value) {
            return groove.left() + handle.width() / 2 +
                   QStyle::sliderPositionFromValue(minimum(), maximum(), value, span, option.upsideDown);
        };
        QColor mark = palette().color(QPalette::Highlight);
        mark.setAlpha(110);
        QPainter painter(this);
        const int height = std::max(4, groove.height() / 2);
        painter.fillRect(QRect(QPoint(x(cut_->first), groove.center().y() - height / 2),
                               QPoint(x(cut_->second), groove.center().y() + height / 2)),
                         mark);
    }

private:
    std::optional<std::pair<int, int>> cut_;
};

namespace {
constexpr int kSliderSteps = 1000;
constexpr int kDefaultMoment = kSliderSteps / 10; // 10% in: past the titles of most videos
using zvm::files::PathToQString;

QString Clock(double seconds) {
    return QString::fromStdString(zvm::ClockText(seconds));
}
} // namespace

PreviewWindow::PreviewWindow(zvm::media::Outside& outside, QWidget* parent, Platform* platform)
    : QWidget(parent, Qt::Window), outside_(outside), platform_(platform) {
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

    slider_ = new CutSlider(this);
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

    subtitleBox_ = new QComboBox(this);
    subtitleBox_->setObjectName(QStringLiteral("subtitles"));
    subtitleBox_->addItems({tr("None"), tr("Automatic"), tr("File...")});
    subtitleBox_->setToolTip(tr("Automatic: a subtitle file beside the video with its name, else the "
                                "video's first subtitle stream"));
    auto* subtitleCaption = new QLabel(tr("S&ubtitles:"), this);
    subtitleCaption->setBuddy(subtitleBox_);
    controls->addWidget(subtitleCaption);
    controls->addWidget(subtitleBox_);
    connect(subtitleBox_, &QComboBox::activated, this, &PreviewWindow::chooseSubtitles);
    subtitleSize_ = new QSpinBox(this);
    subtitleSize_->setObjectName(QStringLiteral("subtitleSize"));
    subtitleSize_->setRange(0, zvm::kLargestSubtitleSize);
    subtitleSize_->setSpecialValueText(tr("Automatic")); // 0: chosen for the target's height
    subtitleSize_->setSuffix(tr(" px"));
    subtitleSize_->setAccessibleName(tr("Height of the subtitles' text in pixels of the target"));
    subtitleSize_->setEnabled(false);
    controls->addWidget(subtitleSize_);
    connect(subtitleSize_, &QSpinBox::valueChanged, this, [this](int size) {
        subtitles_.size = size;
        pause_.start();
    });

    auto* cutControls = new QHBoxLayout;
    const auto button = [&](const QString& caption, const char* name, auto handler) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, handler);
        cutControls->addWidget(b);
        return b;
    };
    button(tr("Set &start"), "setStart", [this] { setCutAt(true); });
    button(tr("Set &end"), "setEnd", [this] { setCutAt(false); });
    clearCut_ = button(tr("C&lear cut"), "clearCut", [this] { clearCut(); });
    cutText_ = PlainLabel("cutText", this, tr("Cut"));
    cutControls->addWidget(cutText_, 1);
    cropBox_ = new QLineEdit(this);
    cropBox_->setObjectName(QStringLiteral("cropRect"));
    cropBox_->setPlaceholderText(tr("none"));
    cropBox_->setToolTip(tr("The picture kept before the fit, in the source's stored pixels: "
                            "width:height:left:top, for example 480:480:80:0. Empty: no crop."));
    auto* cropCaption = new QLabel(tr("C&rop (W:H:X:Y):"), this);
    cropCaption->setBuddy(cropBox_);
    cutControls->addWidget(cropCaption);
    cutControls->addWidget(cropBox_);
    connect(cropBox_, &QLineEdit::editingFinished, this, &PreviewWindow::typeCrop);
    button(tr("Add to &queue"), "addToQueue", [this] { emit addToQueue(); });
    showCut();

    cropBars_ = new QPushButton(this);
    cropBars_->setObjectName(QStringLiteral("cropBars"));
    cropBars_->setVisible(false);
    connect(cropBars_, &QPushButton::clicked, this, [this] { chooseCrop(foundBars_); });

    status_ = PlainLabel("status", this, tr("Status"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(scroll, 1);
    layout->addWidget(note_);
    layout->addLayout(controls);
    layout->addLayout(cutControls);
    layout->addWidget(cropBars_);
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
        if (request.sourceVideo != request_.sourceVideo) {
            foundBars_ = cropChosen_ = {}; // bars belong to their video
            cropBox_->clear();
            pixels_ = {};
            cropBars_->setVisible(false);
            clearCut(); // a cut belongs to its video, and so does a picked subtitle file
            subtitleStreams_.reset();
            if (subtitles_.mode == zvm::SubtitleMode::File) {
                chooseSubtitles(NoSubtitles);
            }
        }
    }
    request_ = request;
    request_.cutStart = cut_.cutStart;
    request_.cutEnd = cut_.cutEnd;
    if (cropChosen_.mode == zvm::CropMode::Rect) {
        request_.crop = cropChosen_;
    }
    const bool vcd = preset->form == zvm::CommandForm::Vcd;
    setWindowTitle(tr("Preview - %1").arg(QString::fromUtf8(preset->displayText)));
    view_->showFit(zvm::FitRequest(request_));
    view_->setTelevisionAspect(vcd);
    const auto target = zvm::TargetFor(request, style);
    const bool modern = style == zvm::CommandStyle::Modern || zvm::NeedsModernForm(*preset);
    modern_ = modern;
    style_ = style;
    cropBox_->setEnabled(modern); // the classic options cannot cut the picture
    offerCrop();
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
                        [self, read](const SizeDetection& found) {
                            if (self == nullptr || read != self->durationReads_) {
                                return;
                            }
                            self->duration_ = found.duration;
                            self->subtitleStreams_ = found.subtitleStreams;
                            self->interlaced_ = found.interlaced;
                            self->pixels_ = found.pixels;
                            if (found.size) {
                                self->lookForBars();
                            }
                            self->showMoment();
                            self->showCut();
                            self->renderFrame();
                        });
}

void PreviewWindow::chooseCrop(const zvm::CropChoice& crop) {
    const bool wasChosen = request_.crop == cropChosen_;
    cropChosen_ = crop;
    if (crop.mode == zvm::CropMode::Rect || wasChosen) { // none leaves the main window's own crop
        request_.crop = crop;
    }
    cropBox_->setText(crop.mode == zvm::CropMode::Rect ? QString::fromStdString(zvm::CropText(crop)) : QString());
    view_->showFit(zvm::FitRequest(request_));
    offerCrop();
    pause_.start();
}

void PreviewWindow::typeCrop() {
    const QString text = cropBox_->text().trimmed();
    if (text.isEmpty()) {
        if (cropChosen_.mode == zvm::CropMode::Rect) {
            chooseCrop({});
        }
        return;
    }
    std::optional<zvm::CropChoice> typed = zvm::ParseCrop(text.toStdString());
    if (!typed || typed->mode != zvm::CropMode::Rect) {
        status_->setText(tr("Type the crop as width:height:left:top, for example 480:480:80:0"));
        return;
    }
    typed->sourceWidth = pixels_.isValid() ? pixels_.width() : 0;
    typed->sourceHeight = pixels_.isValid() ? pixels_.height() : 0;
    if (*typed == cropChosen_) {
        return; // as chosen: nothing to render again
    }
    zvm::ConversionRequest cropped = request_;
    cropped.crop = *typed;
    const zvm::TargetPreset* preset = zvm::FindPreset(request_.preset);
    if (const zvm::Status refused = preset != nullptr ? zvm::CheckSourceChoices(cropped, *preset, style_) : zvm::Status();
        !refused.ok()) {
        status_->setText(Translated(refused.message()));
        return;
    }
    chooseCrop(*typed);
}

void PreviewWindow::lookForBars() {
    const int look = ++looks_;
    QPointer<PreviewWindow> self(this);
    outside_.lookAtPicture(PathToQString(request_.sourceVideo), [self, look](const PictureLook& found) {
        if (self == nullptr || look != self->looks_) {
            return;
        }
        self->foundBars_ = found.crop;
        self->offerCrop();
    });
}

// "Black bars found: 60 px left and right — Crop them", with what the picture gains on the screen;
// in the modern form only, which can cut them, and not once they are cut.
void PreviewWindow::offerCrop() {
    const zvm::CropChoice& b = foundBars_;
    const bool offered = modern_ && b.mode == zvm::CropMode::Rect && request_.crop.mode != zvm::CropMode::Rect;
    cropBars_->setVisible(offered);
    if (!offered) {
        return;
    }
    const int across = b.sourceWidth > 0 ? b.sourceWidth - b.width : 0;
    const int down = b.sourceHeight > 0 ? b.sourceHeight - b.height : 0;
    const QString sides = across > 0 && down > 0 ? tr("%1 px left and right, %2 px above and below").arg(across / 2).arg(down / 2)
                          : across > 0         ? tr("%1 px left and right").arg(across / 2)
                                               : tr("%1 px above and below").arg(down / 2);
    zvm::ConversionRequest cropped = request_;
    cropped.crop = b;
    const auto before = zvm::FitRequest(request_);
    const auto after = zvm::FitRequest(cropped);
    // Before the crop, the bars take their share of the fitted picture too.
    const double kept = b.sourceWidth > 0 && b.sourceHeight > 0
                            ? double(b.width) * b.height / (double(b.sourceWidth) * b.sourceHeight)
                            : 1.0;
    const auto share = [](const std::optional<zvm::FrameGeometry>& g, double part) {
        return g ? qRound(100 * part * zvm::ScreenShare(g->newWidth, g->newHeight, g->targetWidth, g->targetHeight)) : 0;
    };
    cropBars_->setText(tr("Black bars found: %1 — Crop them").arg(sides) + " " +
                       tr("(the picture fills %1% of the screen instead of %2%)").arg(share(after, 1.0)).arg(share(before, kept)));
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
    // The frame keeps the source's time, so its subtitles need no shift for a cut. Automatic is
    // resolved as the queue resolves it when the video starts.
    zvm::ConversionRequest atSourceTime = request_;
    atSourceTime.cutStart.reset();
    atSourceTime.subtitles = subtitles_;
    zvm::RunFacts facts = zvm::media::FilesOf(atSourceTime);
    facts.subtitleStreams = subtitleStreams_.value_or(0);
    atSourceTime.subtitles = zvm::ResolveSubtitles(subtitles_, facts);
    // As the run will: an interlaced source is deinterlaced where its target's commands do it.
    facts.interlaced = interlaced_;
    atSourceTime.deinterlace = zvm::ResolveDeinterlace(request_.deinterlace, request_.preset, facts);
    deinterlaced_ = atSourceTime.deinterlace == zvm::DeinterlaceMode::On;
    outside_.renderFrame(
        {PathToQString(request_.sourceVideo), duration_.value_or(0) * slider_->value() / kSliderSteps,
         zvm::PictureFilter(atSourceTime, *fit)},
        [self](const RenderedFrame& frame) {
            if (self != nullptr) {
                self->showFrame(frame);
            }
        });
}

void PreviewWindow::showFrame(const RenderedFrame& frame) {
    if (!frame.error.ok()) {
        view_->showFrame({});
        status_->setText(tr("No frame: %1").arg(Translated(frame.error)));
        return;
    }
    view_->showFrame(QImage::fromData(frame.png, "PNG"));
    if (!frame.exact) {
        return; // a keyframe's picture, while the frame itself is decoded
    }
    status_->setText(deinterlaced_
                         ? tr("A frame at %1, deinterlaced and rendered through the command's own picture filter")
                               .arg(moment_->text())
                         : tr("A frame at %1, rendered through the command's own picture filter").arg(moment_->text()));
}

void PreviewWindow::setCutAt(bool start) {
    if (!duration_) {
        status_->setText(tr("No cut: the video's duration is not known yet"));
        return;
    }
    zvm::ConversionRequest cut = cut_;
    (start ? cut.cutStart : cut.cutEnd) = *duration_ * slider_->value() / kSliderSteps;
    if (const zvm::Status refused = zvm::CheckCut(cut, duration_); !refused.ok()) {
        status_->setText(Translated(refused));
        return;
    }
    cut_ = cut;
    request_.cutStart = cut_.cutStart;
    request_.cutEnd = cut_.cutEnd;
    showCut();
}

void PreviewWindow::clearCut() {
    cut_ = {};
    request_.cutStart.reset();
    request_.cutEnd.reset();
    showCut();
}

void PreviewWindow::showCut() {
    const bool cut = zvm::HasCut(cut_);
    const auto clock = [](double seconds) { return QString::fromStdString(zvm::CutClockText(seconds)); };
    cutText_->setText(cut ? tr("Cut from %1 to %2")
                                .arg(clock(cut_.cutStart.value_or(0)),
                                     cut_.cutEnd ? clock(*cut_.cutEnd) : tr("the end"))
                          : tr("No cut: the whole video is converted"));
    clearCut_->setEnabled(cut);
    const auto step = [this](double seconds) {
        return static_cast<int>(std::lround(seconds / *duration_ * kSliderSteps));
    };
    slider_->setCut(cut && duration_ && *duration_ > 0
                        ? std::optional(std::pair(step(cut_.cutStart.value_or(0)),
                                                  cut_.cutEnd ? step(*cut_.cutEnd) : kSliderSteps))
                        : std::nullopt);
}

// A file is asked for each time it is chosen; cancelled, the choice stays as it was.
void PreviewWindow::chooseSubtitles(int index) {
    zvm::SubtitleChoice chosen{index == AutomaticSubtitles ? zvm::SubtitleMode::Auto : zvm::SubtitleMode::None, {},
                               -1, subtitles_.size};
    if (index == SubtitleFile) {
        const QString folder = QFileInfo(PathToQString(request_.sourceVideo)).absolutePath();
        const auto picked = platform_ != nullptr
                                ? platform_->openFileName(
                                      this, {tr("Subtitles to burn in"), {}, PickerDialog::SubtitleFilters(), folder})
                                : std::nullopt;
        if (!picked) {
            chosen = subtitles_;
        } else {
            chosen.mode = zvm::SubtitleMode::File;
            chosen.file = zvm::files::PathToStd(*picked);
        }
    }
    subtitles_ = chosen;
    const int shown = subtitles_.mode == zvm::SubtitleMode::File ? SubtitleFile
                      : subtitles_.mode == zvm::SubtitleMode::Auto ? AutomaticSubtitles
                                                                   : NoSubtitles;
    subtitleBox_->setCurrentIndex(shown);
    subtitleSize_->setEnabled(shown != NoSubtitles);
    subtitleBox_->setItemText(SubtitleFile, shown == SubtitleFile
                                                ? QFileInfo(PathToQString(subtitles_.file)).fileName()
                                                : tr("File..."));
    pause_.start();
}

QString PreviewWindow::statusText() const {
    return status_->text();
}
