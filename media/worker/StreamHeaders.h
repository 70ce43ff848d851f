#pragma once

// Headers the media worker reads itself where FFmpeg's libraries do not say what a player needs:
// an H.264 stream's declared reference frames and an MP4's top-level boxes. Plain C++ on bytes
// that come from an untrusted file: every read is bounded, and bytes that are not what they should
// be give nothing rather than a guess.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zvm::media {

// max_num_ref_frames of the first sequence parameter set in a stream's extradata: an avcC record
// (as MP4 keeps it), Annex B start codes, or the NAL unit alone. Nothing when no complete,
// plausible one is found.
std::optional<int> DeclaredReferenceFrames(std::span<const std::uint8_t> extradata);

// One top-level box's header: its type and its whole size (header included); nothing when the bytes
// cannot start a box. `left` is how many bytes the file has from the box's start on, for a box whose
// size says "to the end".
struct BoxHeader {
    std::string type;
    std::uint64_t size = 0;
    unsigned headerSize = 8;
};
std::optional<BoxHeader> ReadBoxHeader(std::span<const std::uint8_t> bytes, std::uint64_t left);

} // namespace zvm::media
