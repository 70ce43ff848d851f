#include "ui/SourceReader.h"

#include "ui/Translated.h"

#include "core/OutputName.h"
#include "files/TextCrossing.h"
#include "media/Outside.h"
#include "ui/Platform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

namespace {
QString SizeText(QSize size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}
} // namespace

SourceReader::SourceReader(zvm::media::Outside& outside, Platform& platform, QWidget* window, const Boxes& boxes)
    : QObject(window), outside_(outside), platform_(platform), window_(window), boxes_(boxes),
      widthTip_(boxes.width->toolTip()), heightTip_(boxes.height->toolTip()) {
    // A typed source is read as a picked one is, once the user leaves the box with a changed text.
    connect(boxes_.source, &QLineEdit::editingFinished, this, [this] {
        if (boxes_.source->text() != chosen_) {
            chosen();
        }
    });
    connect(boxes_.target, &QComboBox::currentIndexChanged, this, &SourceReader::suggestOutput);
    for (QLineEdit* box : {boxes_.width, boxes_.height}) {
        connect(box, &QLineEdit::textChanged, this, [this] {
            if (detected_ && QSize(boxes_.width->text().toInt(), boxes_.height->text().toInt()) != *detected_) {
                describe({});
            }
        });
    }
}

void SourceReader::chosen() {
    chosen_ = boxes_.source->text();
    readSize(false);
    suggestOutput();
}

void SourceReader::restored() {
    chosen_ = boxes_.source->text();
}

void SourceReader::readSize(bool reportFailure) {
    const int read = ++reads_;
    QPointer<SourceReader> self(this);
    outside_.detectSize(boxes_.source->text(),
                        [self, read, reportFailure](const SizeDetection& r) {
                            if (self == nullptr || read != self->reads_) {
                                return; // the window is gone, or a newer read has been asked for
                            }
                            if (r.size) {
                                self->silentSource_ = r.hasAudio ? QString() : self->boxes_.source->text();
                                self->silentSeconds_ = r.duration;
                                self->streamsOf_ = self->boxes_.source->text();
                                self->streams_ = r.audioStreams;
                                self->frameRate_ = r.frameRate;
                                self->interlaced_ = r.interlaced;
                                self->boxes_.width->setText(QString::number(r.size->width()));
                                self->boxes_.height->setText(QString::number(r.size->height()));
                                self->describe(r);
                                emit self->soundStreamsRead();
                            } else if (reportFailure) {
                                self->platform_.showMessage(self->window_,
                                                            tr("The size could not be detected: %1.").arg(Translated(r.error)),
                                                            tr("Detect size from video"));
                            }
                        });
}

std::optional<zvm::ConversionRequest::Silent> SourceReader::silence(const QString& source) const {
    return !silentSource_.isEmpty() && source == silentSource_
               ? std::optional(zvm::ConversionRequest::Silent{silentSeconds_})
               : std::nullopt;
}

std::optional<double> SourceReader::frameRate(const QString& source) const {
    return source == streamsOf_ ? frameRate_ : std::nullopt;
}

std::optional<bool> SourceReader::interlaced(const QString& source) const {
    return source == streamsOf_ ? interlaced_ : std::nullopt;
}

std::vector<zvm::AudioStreamFacts> SourceReader::soundStreams(const QString& source) const {
    return source == streamsOf_ ? streams_ : std::vector<zvm::AudioStreamFacts>();
}

// The size boxes' tooltips say what was detected, since the size shown can differ from the stored
// pixels a file manager reports (a DVD's 720x480 is shown 655 wide). Typing over either box, or a
// detection without that detail, brings back the designed tips.
void SourceReader::describe(const SizeDetection& found) {
    QString what;
    if (found.size && found.pixels.isValid()) {
        detected_ = found.size;
        what = found.pixels == *found.size ? tr("%1 pixels").arg(SizeText(found.pixels))
                                           : tr("%1 pixels, shown as %2").arg(SizeText(found.pixels),
                                                                              SizeText(*found.size));
        if (found.pixelAspect != QSize(1, 1)) {
            what = tr("%1 (pixel aspect %2:%3)")
                       .arg(what)
                       .arg(found.pixelAspect.width())
                       .arg(found.pixelAspect.height());
        }
    } else {
        detected_.reset();
    }
    boxes_.width->setToolTip(what.isEmpty() ? widthTip_ : tr("Width of original video: %1").arg(what));
    boxes_.height->setToolTip(what.isEmpty() ? heightTip_ : tr("Height of original video: %1").arg(what));
}

// Fills the output box only while it is empty or still holds the previous suggestion: a name the user
// typed, picked or restored from settings.ini is never replaced.
void SourceReader::suggestOutput() {
    const QString output = boxes_.output->text();
    if (boxes_.source->text().isEmpty() || (!output.isEmpty() && output != suggested_)) {
        return;
    }
    suggested_ = zvm::files::PathToQString(zvm::SuggestOutputName(
        zvm::files::PathToStd(boxes_.source->text()), std::max(0, boxes_.target->currentIndex())));
    // Generate refuses a name with a double quote: none is suggested, and the last one goes.
    if (suggested_.contains(QLatin1Char('"'))) {
        suggested_.clear();
    }
    boxes_.output->setText(suggested_);
}
