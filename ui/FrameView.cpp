#include "ui/FrameView.h"

#include <QPainter>

namespace {
constexpr int kMargin = 56; // room around the screen for the band labels

void Label(QPainter& painter, const QRect& area, const QString& text) {
    painter.drawText(area, Qt::AlignCenter, text);
}
} // namespace

FrameView::FrameView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frameView"));
    setAccessibleName(tr("Fit preview"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void FrameView::showFit(const std::optional<zvm::FrameGeometry>& fit) {
    if (fit_ != fit) {
        fit_ = fit;
        relabel();
    }
}

void FrameView::showFrame(const QImage& frame) {
    frame_ = frame;
    update();
}

void FrameView::setZoom(int zoom) {
    zoom_ = zoom;
    relabel();
}

void FrameView::setTelevisionAspect(bool television) {
    if (television_ != television) {
        television_ = television;
        relabel();
    }
}

void FrameView::relabel() {
    setAccessibleDescription(description());
    updateGeometry();
    adjustSize();
    update();
}

QString FrameView::description() const {
    if (!fit_) {
        return tr("No fit: the source's width and height are needed");
    }
    const zvm::FrameGeometry& g = *fit_;
    return tr("Screen %1 x %2, picture %3 x %4, pads top %5, bottom %6, left %7, right %8")
        .arg(g.targetWidth)
        .arg(g.targetHeight)
        .arg(g.newWidth)
        .arg(g.newHeight)
        .arg(g.padTop)
        .arg(g.padBottom)
        .arg(g.padLeft)
        .arg(g.padRight);
}

int FrameView::drawnWidth(int pixels) const {
    // 4:3 over the target's own shape, for a television's wide pixels.
    const double aspect = television_ && fit_ ? (4.0 / 3.0) * fit_->targetHeight / fit_->targetWidth : 1.0;
    return qRound(pixels * aspect * zoom_);
}

QRect FrameView::screenRect() const {
    if (!fit_) {
        return {kMargin, kMargin, 240 * zoom_, 160 * zoom_};
    }
    return {kMargin, kMargin, drawnWidth(fit_->targetWidth), fit_->targetHeight * zoom_};
}

QSize FrameView::sizeHint() const {
    return screenRect().size() + QSize(2 * kMargin, 2 * kMargin);
}

void FrameView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRect screen = screenRect();
    painter.fillRect(screen, Qt::black);
    if (!fit_) {
        painter.setPen(Qt::white);
        Label(painter, screen, description());
        return;
    }
    const zvm::FrameGeometry& g = *fit_;
    const QRect picture(screen.left() + drawnWidth(g.padLeft), screen.top() + g.padTop * zoom_,
                        drawnWidth(g.newWidth), g.newHeight * zoom_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false); // nearest neighbour
    if (!frame_.isNull()) {
        // The rendered frame is the whole screen, bands included, exactly as the encoder pads it.
        painter.drawImage(screen, frame_);
    } else {
        painter.fillRect(picture, QColor(0x5f, 0x87, 0xaf));
    }
    painter.setPen(QPen(QColor(0xff, 0xc0, 0x40), 1, Qt::DashLine));
    painter.drawRect(picture.adjusted(0, 0, -1, -1));

    const QString size = tr("picture %1 x %2").arg(g.newWidth).arg(g.newHeight);
    const QRect tag = painter.fontMetrics().boundingRect(size).adjusted(-4, -2, 4, 2);
    const QRect tagAt(picture.center() - tag.center(), tag.size());
    painter.fillRect(tagAt, QColor(0, 0, 0, 160));
    painter.setPen(Qt::white);
    Label(painter, tagAt, size);

    painter.setPen(palette().windowText().color());
    Label(painter, QRect(screen.left(), screen.top() - kMargin, screen.width(), kMargin / 2),
          tr("screen %1 x %2").arg(g.targetWidth).arg(g.targetHeight));
    Label(painter, QRect(screen.left(), screen.top() - kMargin / 2, screen.width(), kMargin / 2),
          tr("top %1").arg(g.padTop));
    Label(painter, QRect(screen.left(), screen.bottom() + 1, screen.width(), kMargin / 2),
          tr("bottom %1").arg(g.padBottom));
    Label(painter, QRect(0, screen.top(), kMargin, screen.height()), tr("left\n%1").arg(g.padLeft));
    Label(painter, QRect(screen.right() + 1, screen.top(), kMargin, screen.height()),
          tr("right\n%1").arg(g.padRight));
}
