#pragma once

#include "core/Fitting.h"

#include <QImage>
#include <QWidget>

// The target screen drawn to scale: the picture area, a frame of the source in it when there is one,
// and the padding bands, each labelled with its size in pixels. Pixels are magnified by whole steps
// without smoothing, so each one of the small screen can be seen.
class FrameView : public QWidget {
    Q_OBJECT

public:
    explicit FrameView(QWidget* parent = nullptr);

    void showFit(const std::optional<zvm::FrameGeometry>& fit);
    void showFrame(const QImage& frame);
    void setZoom(int zoom);
    // A VCD's pixels are not square: its frame is drawn as wide as a 4:3 television shows it.
    void setTelevisionAspect(bool television);

    const std::optional<zvm::FrameGeometry>& fit() const { return fit_; }
    // What the drawing says, in words, for screen readers and tests.
    QString description() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect screenRect() const;
    int drawnWidth(int pixels) const;
    void relabel();

    std::optional<zvm::FrameGeometry> fit_;
    QImage frame_;
    int zoom_ = 2;
    bool television_ = false;
};
