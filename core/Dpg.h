#pragma once

// DPG, the DS player MoonShell's own file: a header, an MP2 sound stream, an MPEG-1 video stream and,
// from its second version on, a list of the video's groups of pictures for seeking. No I/O here: the
// streams' bytes are given, in pieces as they are read.
//
// The layout is as public descriptions of the format give it (dpg4x's "DPG" page, the "DPG" page of
// wiki.cyberleo.net): 32-bit fields, written little endian. One of those pages calls the header big
// endian, but its own numbers say otherwise: it gives the identifier "DPG0" as the number 0x30475044,
// which is those four bytes only when read little endian, another page's byte dump shows the audio
// start 36 as "24 00 00 00", and the same page's script packs the seek list little endian.

#include "core/Status.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zvm::dpg {

// The version written: the second, the first with the seek list (so a player can jump in the video),
// and the last before the thumbnail, which would need a picture of its own.
inline constexpr int kVersion = 2;
inline constexpr std::uint32_t kHeaderBytes = 48;
// The pages name the pixel formats RGB15, RGB18, RGB21 and RGB24 in that order but give no numbers;
// the field holds the format's place in that list counted from 0: RGB24, the decoder's fullest.
inline constexpr std::uint32_t kPixelFormat = 3;
// What the players are described as taking: 256x192 (a lower height too), MPEG-1 at 15 frames a
// second, MP2 at 128 kbit/s and 32000 Hz.
inline constexpr int kSampleRate = 32000;

// One group of pictures: its first picture's number and where it starts in the video stream.
struct Gop {
    std::uint32_t frame = 0;
    std::uint32_t offset = 0;
    bool operator==(const Gop&) const = default;
};

// An MPEG-1 video stream's pictures and groups, counted by their start codes (00 00 01 00 and
// 00 00 01 B8), which the stream's syntax keeps from appearing anywhere else. Fed in any pieces.
class VideoScan {
public:
    void Feed(std::string_view bytes);
    std::uint32_t Frames() const { return frames_; }
    const std::vector<Gop>& Gops() const { return gops_; }
    std::uint64_t Bytes() const { return offset_; }

private:
    std::uint32_t last_ = 0xFFFFFFFF; // the last four bytes, the newest lowest
    std::uint64_t offset_ = 0;
    std::uint32_t frames_ = 0;
    std::vector<Gop> gops_;
};

// The header's fields, in the order they stand.
struct Header {
    int version = kVersion;
    std::uint32_t frames = 0;
    std::uint32_t frameRate = 0; // frames a second times 256
    std::uint32_t sampleRate = 0;
    std::uint32_t channels = 0;  // 0 says MP2
    std::uint32_t audioStart = 0;
    std::uint32_t audioSize = 0;
    std::uint32_t videoStart = 0;
    std::uint32_t videoSize = 0;
    std::uint32_t gopStart = 0;  // versions 2 and up
    std::uint32_t gopSize = 0;
    std::uint32_t pixelFormat = kPixelFormat;
    bool operator==(const Header&) const = default;
    double FramesPerSecond() const { return frameRate / 256.0; }
};

// The header of a file of the written version around streams of these sizes; a stream too large for
// the format's 32-bit sizes is refused.
Result<Header> HeaderFor(const VideoScan& video, double framesPerSecond, int sampleRate, std::uint64_t audioBytes);
// The header's bytes (48 for the written version), and the seek list's: eight bytes a group.
std::string HeaderBytes(const Header& header);
std::string GopListBytes(const std::vector<Gop>& gops);
// The other way, from a file's first bytes and its whole length: the header, or why it is none (a
// short file, another format, a version not known, parts that lie beyond the file's end).
Result<Header> ReadHeader(std::string_view head, std::uint64_t fileBytes);

// The names the two streams are written to beside the file: "clip.dpg" gives "clip.dpg.m1v" and
// "clip.dpg.mp2", which the conversion puts together into the file and then removes.
std::string VideoPartFor(std::string_view output);
std::string AudioPartFor(std::string_view output);

} // namespace zvm::dpg
