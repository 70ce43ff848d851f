#pragma once

#include "core/CommandLine.h"
#include "core/ConversionRequest.h"

#include <QTimer>
#include <QWidget>

namespace zvm::media {
class Outside;
}
class CutSlider;
class Platform;
class QComboBox;
class QSpinBox;
class FrameView;
class QLabel;
class QLineEdit;
class QPushButton;
struct RenderedFrame;

// The fit of the main window's request, drawn to scale, with a real frame of the source rendered
// through the same numbers. It follows the main window and never writes into it. The outside must
// outlive it.
class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    // The platform, when given, asks for a subtitle file to burn in.
    explicit PreviewWindow(zvm::media::Outside& outside, QWidget* parent = nullptr, Platform* platform = nullptr);

    // The geometry is shown at once; a frame is rendered after a short pause, so typing does not
    // start one render per key.
    void follow(const zvm::ConversionRequest& request, zvm::CommandStyle style);

    FrameView* view() const { return view_; }
    QString statusText() const;
    // The part of the source kept, as set here at the slider's moments; cleared with a new source.
    std::optional<double> cutStart() const { return cut_.cutStart; }
    std::optional<double> cutEnd() const { return cut_.cutEnd; }
    // The subtitles chosen here (None unless the user asks), and the source's subtitle stream count
    // from the read of its duration, for Automatic; a picked file is cleared with a new source.
    const zvm::SubtitleChoice& subtitles() const { return subtitles_; }
    std::optional<int> subtitleStreams() const { return subtitleStreams_; }
    // The black bars chosen here to be cropped ("Crop them"); none unless the user asks.
    const zvm::CropChoice& crop() const { return cropChosen_; }

    static constexpr int kRenderPauseMilliseconds = 300;

signals:
    // The user asks for the main window's video to be queued with this cut.
    void addToQueue();

private:
    void buildLayout();
    void readDuration();
    void renderFrame();
    void showFrame(const RenderedFrame& frame);
    void showMoment();
    // Sets the cut's start (or end) at the slider's moment; refused, and said, when it would end
    // before it starts or start past the video's end.
    void setCutAt(bool start);
    void clearCut();
    void showCut();
    void chooseSubtitles(int index);
    // Looks for black bars in the source read, in the modern form, and offers to crop them.
    void lookForBars();
    void offerCrop();
    // The rectangle typed as width:height:left:top in stored pixels (empty: none), checked as
    // Generate checks it; a refused one is said and changes nothing.
    void typeCrop();
    void chooseCrop(const zvm::CropChoice& crop);

    enum SubtitleEntry { NoSubtitles, AutomaticSubtitles, SubtitleFile };

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
    CutSlider* slider_ = nullptr;
    zvm::ConversionRequest cut_; // only its cut is used
    QLabel* cutText_ = nullptr;
    QPushButton* clearCut_ = nullptr;
    Platform* platform_ = nullptr;
    QComboBox* subtitleBox_ = nullptr;
    QSpinBox* subtitleSize_ = nullptr;
    zvm::SubtitleChoice subtitles_;
    std::optional<int> subtitleStreams_;
    std::optional<bool> interlaced_; // from the read of its size; unknown until then
    bool deinterlaced_ = false;      // the frame last asked for goes through a deinterlacing filter
    QPushButton* cropBars_ = nullptr;
    bool modern_ = false;
    int looks_ = 0; // only the answer to the latest look is used
    zvm::CropChoice foundBars_;
    zvm::CropChoice cropChosen_;
    QLineEdit* cropBox_ = nullptr;
    QSize pixels_; // the source as stored, from its read; invalid until then
    zvm::CommandStyle style_ = zvm::CommandStyle::Classic;
};
