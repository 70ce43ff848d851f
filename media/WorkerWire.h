#pragma once

// The media worker's wire: how the program and zarnik-video-maker-worker talk over the worker's
// standard input and output. Plain C++ on both sides, so the worker needs no Qt.
//
// A message is a header line and its fields, each field a name line and exactly that many bytes:
//
//     zvm <field count>\n
//     <name> <byte count>\n<bytes>          (repeated <field count> times)
//
// Names are lower-case letters and '_'; values are any bytes (a path, a filter text, a PNG), so
// nothing needs escaping. The first field of a request is "request" with its verb; the first of an
// answer is "answer", "ok" or "error" (then "reason" says why). Requests are answered in order,
// one at a time:
//
//   request=probe path=<file>
//       ok: width height (stored pixels), sar ("32:27", "0:1" when unknown), rotation (degrees),
//       display_width display_height (width times SAR, sides swapped for a quarter turn),
//       duration (seconds, absent when unknown), frame_rate ("30000/1001"), video_codec,
//       audio_codec, sample_rate, channels (empty when there is no such stream), streams
//       ("video,audio": the type of every stream in order). A file without a video stream is still
//       answered; its display fields are absent. The after-check reads the same answer, and the
//       tool counts the "subtitle" streams for --subtitles auto. field_order ("progressive", "tt",
//       "bb", "tb", "bt", "unknown") and audio_streams (one line per sound stream: language,
//       channels, default flag 1 or 0, title, parted by tabs) when there are such streams.
//       reference_frames (what an H.264 stream's sequence parameter set declares) and boxes (an
//       MP4's top-level boxes in order: "ftyp,moov,mdat") where the file has them.
//   request=probe path=<file> whole=1
//       the same, read through every packet as well: peak_video_bitrate (bit/s in the video's fullest
//       second) and b_frames ("1" when a picture is shown before one decoded earlier, else "0").
//   request=look path=<file>
//       ok: frames interlaced_frames progressive_frames (of the frames looked at, spread over the
//       file), crop ("W:H:X:Y" in stored pixels) and crop_agree ("10 of 10") where the frames agree
//       on black bars, else crop_why (why there is no crop).
//   request=frame path=<file> seconds=<decimal> filter=<the modern command's -vf text> [first=1]
//       ok: png (the frame at or after `seconds`, through the source's rotation and the filter, as
//       the encoder would write it), exact=1. With first=1 an answer with the nearest earlier
//       keyframe's picture comes before it, with exact=0 and more=1.
//
// A request the worker cannot parse ends it: the stream has lost its place.
#include "core/Status.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zvm::media::wire {

struct Message {
    std::vector<std::pair<std::string, std::string>> fields;

    // The field's value, or empty when there is none.
    std::string get(std::string_view name) const;
    bool has(std::string_view name) const;
    Message& add(std::string name, std::string value);
};

std::string Encode(const Message& message);

// Collects bytes as they arrive and hands out whole messages. Once it reports a malformed stream it
// stays failed: the bytes after a broken header cannot be trusted to start a message.
class Reader {
public:
    static constexpr std::size_t kMaxFields = 32;
    static constexpr std::size_t kMaxName = 32;

    explicit Reader(std::size_t maxMessageBytes) : maxBytes_(maxMessageBytes) {}

    void append(std::string_view bytes) { buffer_.append(bytes); }
    // The next whole message; nothing while more bytes are needed.
    Result<std::optional<Message>> next();

private:
    std::size_t maxBytes_;
    std::string buffer_;
    Status failed_;
};

} // namespace zvm::media::wire
