#include "core/Dpg.h"

#include "core/Text.h"

#include <cmath>
#include <limits>

namespace zvm::dpg {

namespace {
constexpr std::uint32_t kPictureCode = 0x00000100;
constexpr std::uint32_t kGopCode = 0x000001B8;
constexpr std::uint32_t kFirstHeaderBytes = 36; // versions 0 and 1
constexpr std::uint64_t kMostBytes = std::numeric_limits<std::uint32_t>::max();

void Put(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

std::uint32_t Get(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

Status NotDpg(const char* why, std::string detail = {}) {
    return Status::Failure(FailureKind::BadInput, why, std::move(detail));
}

// Whether a part of `size` bytes from `start` lies within the file, after the header.
bool Within(std::uint64_t start, std::uint64_t size, std::uint32_t headerBytes, std::uint64_t fileBytes) {
    return start >= headerBytes && start + size <= fileBytes;
}
} // namespace

void VideoScan::Feed(std::string_view bytes) {
    for (const char c : bytes) {
        last_ = (last_ << 8) | static_cast<unsigned char>(c);
        ++offset_;
        if (last_ == kPictureCode) {
            ++frames_;
        } else if (last_ == kGopCode) {
            gops_.push_back({frames_, static_cast<std::uint32_t>(offset_ - 4)});
        }
    }
}

Result<Header> HeaderFor(const VideoScan& video, double framesPerSecond, int sampleRate, std::uint64_t audioBytes) {
    const std::uint64_t gopBytes = 8 * static_cast<std::uint64_t>(video.Gops().size());
    if (kHeaderBytes + audioBytes + video.Bytes() + gopBytes > kMostBytes) {
        return NotDpg(ZVM_TEXT("zvm", "the DPG file would pass the 4 GB the format can hold: %1 bytes"),
                      std::to_string(kHeaderBytes + audioBytes + video.Bytes() + gopBytes));
    }
    Header header;
    header.frames = video.Frames();
    header.frameRate = static_cast<std::uint32_t>(std::lround(framesPerSecond * 256));
    header.sampleRate = static_cast<std::uint32_t>(sampleRate);
    header.audioStart = kHeaderBytes;
    header.audioSize = static_cast<std::uint32_t>(audioBytes);
    header.videoStart = header.audioStart + header.audioSize;
    header.videoSize = static_cast<std::uint32_t>(video.Bytes());
    header.gopStart = header.videoStart + header.videoSize;
    header.gopSize = static_cast<std::uint32_t>(gopBytes);
    return header;
}

std::string HeaderBytes(const Header& h) {
    std::string out = "DPG";
    out += static_cast<char>('0' + h.version);
    for (const std::uint32_t field : {h.frames, h.frameRate, h.sampleRate, h.channels, h.audioStart, h.audioSize,
                                      h.videoStart, h.videoSize}) {
        Put(out, field);
    }
    if (h.version == 1) {
        Put(out, h.pixelFormat);
    } else if (h.version >= 2) {
        Put(out, h.gopStart);
        Put(out, h.gopSize);
        Put(out, h.pixelFormat);
    }
    return out;
}

std::string GopListBytes(const std::vector<Gop>& gops) {
    std::string out;
    out.reserve(8 * gops.size());
    for (const Gop& gop : gops) {
        Put(out, gop.frame);
        Put(out, gop.offset);
    }
    return out;
}

Result<Header> ReadHeader(std::string_view head, std::uint64_t fileBytes) {
    if (head.size() < 4 || head.substr(0, 3) != "DPG") {
        return NotDpg(ZVM_TEXT("zvm", "the file is no DPG file: its first bytes are not a DPG header"));
    }
    Header h;
    h.version = head[3] - '0';
    if (h.version < 0 || h.version > 4) {
        return NotDpg(ZVM_TEXT("zvm", "the file is a DPG of a version not known: %1"), std::string(head.substr(0, 4)));
    }
    // The first version's pixel format follows the 36 bytes of the version before it.
    const std::uint32_t headerBytes = h.version >= 2 ? kHeaderBytes : kFirstHeaderBytes + (h.version == 1 ? 4 : 0);
    if (head.size() < headerBytes) {
        return NotDpg(ZVM_TEXT("zvm", "the DPG file ends within its header, after %1 bytes"),
                      std::to_string(head.size()));
    }
    h.frames = Get(head, 4);
    h.frameRate = Get(head, 8);
    h.sampleRate = Get(head, 12);
    h.channels = Get(head, 16);
    h.audioStart = Get(head, 20);
    h.audioSize = Get(head, 24);
    h.videoStart = Get(head, 28);
    h.videoSize = Get(head, 32);
    if (h.version == 1) {
        h.pixelFormat = Get(head, 36);
    } else if (h.version >= 2) {
        h.gopStart = Get(head, 36);
        h.gopSize = Get(head, 40);
        h.pixelFormat = Get(head, 44);
    }
    const bool gopsFit = h.version < 2 || Within(h.gopStart, h.gopSize, headerBytes, fileBytes);
    if (!Within(h.audioStart, h.audioSize, headerBytes, fileBytes) ||
        !Within(h.videoStart, h.videoSize, headerBytes, fileBytes) || !gopsFit) {
        return NotDpg(ZVM_TEXT("zvm", "the DPG file is damaged: its header names parts beyond its %1 bytes"),
                      std::to_string(fileBytes));
    }
    if (h.frameRate == 0 || h.videoSize == 0) {
        return NotDpg(ZVM_TEXT("zvm", "the DPG file is damaged: its header gives no video or no frame rate"));
    }
    return h;
}

std::string VideoPartFor(std::string_view output) {
    return std::string(output) + ".m1v";
}

std::string AudioPartFor(std::string_view output) {
    return std::string(output) + ".mp2";
}

} // namespace zvm::dpg
