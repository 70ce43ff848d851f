#pragma once

#include "core/ConversionRequest.h"

// What a user typically asks for: a 16:9 holiday clip for a handheld screen.
inline zvm::ConversionRequest TypicalRequest(const std::string& encoder, int preset = 0) {
    zvm::ConversionRequest r;
    r.encoderPath = encoder;
    r.sourceVideo = "/home/user/Videos/holiday clip.avi";
    r.outputPath = "/home/user/Videos/holiday clip.mp4";
    r.width = "1280";
    r.height = "720";
    r.videoBitrate = "256";
    r.audioBitrate = "32";
    r.sampleRate = "24000";
    r.preset = preset;
    return r;
}
