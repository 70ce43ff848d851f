// A request as most tests ask it: a 640x480 source, the designed numbers of the handheld rows, the
// encoder found on the path; each test changes what it is about.
#pragma once

#include "core/ConversionRequest.h"

#include <string>

inline zvm::ConversionRequest ReadyRequest(std::string source, std::string output) {
    zvm::ConversionRequest r;
    r.encoderPath = "ffmpeg";
    r.sourceVideo = std::move(source);
    r.outputPath = std::move(output);
    r.width = "640";
    r.height = "480";
    r.videoBitrate = "256";
    r.audioBitrate = "32";
    r.sampleRate = "24000";
    return r;
}
