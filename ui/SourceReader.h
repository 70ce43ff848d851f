#pragma once

#include "core/ConversionRequest.h"
#include "core/SourceChoices.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace zvm::media {
class Outside;
}
class Platform;
class QComboBox;
class QLineEdit;
class QWidget;
struct SizeDetection;

// What the window reads of its source video: the size, into the size boxes, with what was detected
// in their tooltips; and a name for the output beside the video while the user has named none. The
// outside, the platform and the boxes must outlive it.
class SourceReader : public QObject {
    Q_OBJECT

public:
    struct Boxes {
        QLineEdit* source;
        QLineEdit* width;
        QLineEdit* height;
        QLineEdit* output;
        QLineEdit* encoder;
        QComboBox* target;
    };
    // Messages go over `window`, which owns the reader.
    SourceReader(zvm::media::Outside& outside, Platform& platform, QWidget* window, const Boxes& boxes);

    // A video picked, dropped, typed or named at start: its size is read and, unless the user named
    // the output, the output is named after it.
    void chosen();
    // The source box's text came with its size (from settings.ini): nothing to read until it changes.
    void restored();
    // Fills the size boxes from the video's own size; reportFailure shows why it could not.
    void readSize(bool reportFailure);
    // The source last read had no sound: how long it lasts, for a command that needs a silent track;
    // nothing for another source, one with sound or one not read.
    std::optional<zvm::ConversionRequest::Silent> silence(const QString& source) const;
    // The frame rate of the source last read; nothing for another source or one not read.
    std::optional<double> frameRate(const QString& source) const;
    // Whether the source last read is interlaced, as its stream says; nothing when it does not say,
    // for another source or one not read.
    std::optional<bool> interlaced(const QString& source) const;
    // The sound streams of the source last read, in order; none for another source or one not read.
    std::vector<zvm::AudioStreamFacts> soundStreams(const QString& source) const;

signals:
    // A read of the source found its sound streams (perhaps none).
    void soundStreamsRead();

private:
    void describe(const SizeDetection& found);
    void suggestOutput();

    zvm::media::Outside& outside_;
    Platform& platform_;
    QWidget* window_;
    Boxes boxes_;
    QString widthTip_; // the designed tooltips, shown while nothing detected is in the boxes
    QString heightTip_;
    int reads_ = 0;                   // only the answer to the latest read is used
    std::optional<QSize> detected_;   // the size boxes' detected text, while they still hold it
    QString silentSource_;            // the source last read, when it had no sound
    std::optional<double> silentSeconds_;
    QString streamsOf_;               // the source last read, whose sound streams these are
    std::vector<zvm::AudioStreamFacts> streams_;
    std::optional<double> frameRate_; // of streamsOf_
    std::optional<bool> interlaced_;  // of streamsOf_
    QString chosen_;                  // the source last read, so that leaving the box reads a new one once
    QString suggested_;
};
