#pragma once

#include "core/OutputTarget.h"
#include "core/SourceChoices.h"
#include "core/Status.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>
#include <string>
#include <vector>

// What the outside answers: the answer types of Outside's questions.

// What a look at a dozen frames of a video found: the black bars its frames agree on (a Rect in
// stored pixels), else why there is none; and whether most frames were decoded as interlaced.
struct PictureLook {
    zvm::CropChoice crop = {};
    std::string cropWhy = {};
    std::optional<bool> interlaced = {};
    zvm::Status error = {}; // ok when the frames were read
};

// A video's display size and duration, or why they could not be read. Beside the display size, what
// it was made of: the size as stored and the shape of one stored pixel, which is what a file manager
// shows and what explains a display size that differs from it.
struct SizeDetection {
    std::optional<QSize> size;      // as shown: stored width times the pixel aspect, turned as rotated
    zvm::Status error;              // why there is no size; ok when there is one
    std::optional<double> duration; // seconds, when the container says
    QSize pixels = {};              // as stored, before aspect and rotation; invalid when not detected
    QSize pixelAspect = {1, 1};     // one pixel's width:height in lowest terms; 1:1 when square or unknown
    int subtitleStreams = 0;        // as the media worker counts them
    bool hasAudio = true;           // whether it has a sound stream
    std::vector<zvm::AudioStreamFacts> audioStreams = {}; // every sound stream, in order
    std::optional<bool> interlaced = {}; // from the stream's field order; unknown when it does not say
    std::optional<double> frameRate = {}; // frames a second, as the stream says; unknown when it does not
    std::optional<PictureLook> look = {}; // when its frames were looked at too
};


// One frame as PNG, or why there is none.
struct RenderedFrame {
    QByteArray png;
    zvm::Status error; // ok when there is a frame
    bool exact = true; // false for the nearest earlier keyframe's picture, shown until the frame comes
};

// The outcome of checking a finished file against its target.
struct CheckReport {
    using Verdict = zvm::CheckVerdict;
    Verdict verdict = Verdict::NotChecked;
    QString line; // one line for the user
};
