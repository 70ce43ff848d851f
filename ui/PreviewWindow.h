#pragma once

#include "CommandLine.h"
#include "ConversionRequest.h"

#include <QTimer>
#include <QWidget>

namespace zvm::media {
class Outside;
}
class FrameView;
class QLabel;
class QSlider;
struct RenderedFrame;

// The fit of the main window's request, drawn to scale, with a real frame of the source rendered
// through the same numbers. It follows the main window and never writes into it. The outside must
// outlive it.
class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    explicit PreviewWindow(zvm::media::Outside& outside, QWidget* parent = nullptr);

    // The geometry is shown at once; a frame is rendered after a short pause, so typing does not
    // start one render per key.
    void follow(const zvm::ConversionRequest& request, zvm::CommandStyle style);

    FrameView* view() const { return view_; }
    QString statusText() const;

    static constexpr int kRenderPauseMilliseconds = 300;

private:
    void buildLayout();
    void readDuration();
    void renderFrame();
    void showFrame(const RenderedFrame& frame);
    void showMoment();

    zvm::media::Outside& outside_;
    zvm::ConversionRequest request_;
    std::optional<double> duration_;
    bool durationWanted_ = true;
    int durationReads_ = 0; // only the answer to the latest read is used
    FrameView* view_ = nullptr;
    QTimer pause_;
    QLabel* caption_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* moment_ = nullptr;
    QLabel* status_ = nullptr;
    QSlider* slider_ = nullptr;
};
