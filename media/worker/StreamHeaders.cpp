#include "media/worker/StreamHeaders.h"

#include <algorithm>
#include <array>
#include <vector>

namespace zvm::media {

namespace {
constexpr std::size_t kMostSpsBytes = 1024; // far more than any real one, small enough to copy
constexpr int kNalTypeSps = 7;

// The payload without the bytes an encoder inserts so that no 00 00 0x appears inside a NAL unit.
std::vector<std::uint8_t> Unescaped(std::span<const std::uint8_t> nal) {
    std::vector<std::uint8_t> rbsp;
    rbsp.reserve(std::min(nal.size(), kMostSpsBytes));
    int zeros = 0;
    for (const std::uint8_t byte : nal.first(std::min(nal.size(), kMostSpsBytes))) {
        if (zeros >= 2 && byte == 3) {
            zeros = 0;
            continue;
        }
        zeros = byte == 0 ? zeros + 1 : 0;
        rbsp.push_back(byte);
    }
    return rbsp;
}

// Reads bits most significant first; a read past the end marks it failed and gives 0.
class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    unsigned Bits(int count) {
        unsigned value = 0;
        for (int i = 0; i < count; ++i) {
            if (position_ >= bytes_.size() * 8) {
                failed_ = true;
                return 0;
            }
            const unsigned bit = (bytes_[position_ / 8] >> (7 - position_ % 8)) & 1U;
            value = (value << 1) | bit;
            ++position_;
        }
        return value;
    }
    // Exp-Golomb, as the sequence parameter set codes its numbers; longer than 31 bits is no number.
    unsigned Unsigned() {
        int zeros = 0;
        while (Bits(1) == 0 && !failed_) {
            if (++zeros > 31) {
                failed_ = true;
                return 0;
            }
        }
        return ((1U << zeros) - 1) + Bits(zeros);
    }
    std::int64_t Signed() {
        const std::int64_t code = Unsigned();
        return code % 2 == 1 ? (code + 1) / 2 : -(code / 2);
    }
    bool Failed() const { return failed_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

// The profiles whose sequence parameter set carries the chroma format, bit depths and scaling lists.
bool HasChromaFields(unsigned profile) {
    constexpr std::array<unsigned, 13> kProfiles{100, 110, 122, 244, 44, 83, 86, 118, 128, 138, 139, 134, 135};
    return std::find(kProfiles.begin(), kProfiles.end(), profile) != kProfiles.end();
}

// False for a step outside the -128 to 127 that scaling lists code.
bool SkipScalingList(BitReader& bits, int size) {
    constexpr std::int64_t kMostStep = 128;
    std::int64_t last = 8;
    std::int64_t next = 8;
    for (int j = 0; j < size && !bits.Failed(); ++j) {
        if (next != 0) {
            const std::int64_t step = bits.Signed();
            if (step < -kMostStep || step >= kMostStep) {
                return false;
            }
            next = (last + step + 256) % 256;
        }
        last = next == 0 ? last : next;
    }
    return !bits.Failed();
}

// The chroma format, bit depths and scaling lists of the higher profiles; false for values no
// encoder writes.
bool SkipChromaFields(BitReader& bits) {
    const unsigned chromaFormat = bits.Unsigned();
    if (chromaFormat > 3) {
        return false;
    }
    if (chromaFormat == 3) {
        bits.Bits(1); // separate colour planes
    }
    if (bits.Unsigned() > 6 || bits.Unsigned() > 6) { // luma and chroma bit depth beyond 8
        return false;
    }
    bits.Bits(1); // transform bypass
    if (bits.Bits(1) == 1) {
        const int lists = chromaFormat == 3 ? 12 : 8;
        for (int i = 0; i < lists && !bits.Failed(); ++i) {
            if (bits.Bits(1) == 1 && !SkipScalingList(bits, i < 6 ? 16 : 64)) {
                return false;
            }
        }
    }
    return !bits.Failed();
}

// How pictures are ordered: three ways, the second with its own table of offsets.
bool SkipPictureOrder(BitReader& bits) {
    constexpr unsigned kMostCycle = 255;
    constexpr unsigned kMostLog2Extra = 12;
    const unsigned type = bits.Unsigned();
    if (type == 0) {
        return bits.Unsigned() <= kMostLog2Extra;
    }
    if (type == 1) {
        bits.Bits(1); // delta_pic_order_always_zero
        bits.Signed(); // offset for non-reference pictures
        bits.Signed(); // offset from top to bottom field
        const unsigned cycle = bits.Unsigned();
        if (cycle > kMostCycle) {
            return false;
        }
        for (unsigned i = 0; i < cycle && !bits.Failed(); ++i) {
            bits.Signed();
        }
        return true;
    }
    return type == 2;
}

std::optional<int> ReferenceFramesOfRbsp(std::span<const std::uint8_t> rbsp) {
    constexpr unsigned kMostReferenceFrames = 16;
    constexpr unsigned kMostSpsId = 31;
    constexpr unsigned kMostLog2Extra = 12;
    BitReader bits(rbsp);
    const unsigned profile = bits.Bits(8);
    bits.Bits(16); // constraint flags and level
    if (bits.Unsigned() > kMostSpsId || (HasChromaFields(profile) && !SkipChromaFields(bits))) {
        return std::nullopt;
    }
    if (bits.Unsigned() > kMostLog2Extra || !SkipPictureOrder(bits)) { // log2 of the frame numbers' range
        return std::nullopt;
    }
    const unsigned references = bits.Unsigned();
    if (bits.Failed() || references > kMostReferenceFrames) {
        return std::nullopt;
    }
    return static_cast<int>(references);
}

// One sequence parameter set NAL unit, its header byte first.
std::optional<int> SpsReferenceFrames(std::span<const std::uint8_t> nal) {
    if (nal.size() < 2 || (nal[0] & 0x1FU) != kNalTypeSps) {
        return std::nullopt;
    }
    return ReferenceFramesOfRbsp(Unescaped(nal.subspan(1)));
}

// The first SPS in Annex B bytes: NAL units after 00 00 01 start codes.
std::optional<int> FromAnnexB(std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i + 3 < bytes.size(); ++i) {
        if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1 && (bytes[i + 3] & 0x1FU) == kNalTypeSps) {
            return SpsReferenceFrames(bytes.subspan(i + 3));
        }
    }
    return std::nullopt;
}
} // namespace

// avcC: version 1, profile, compatibility, level, the length size, then the count of SPS in the low
// five bits and each SPS after its 16-bit length.
std::optional<int> DeclaredReferenceFrames(std::span<const std::uint8_t> extradata) {
    constexpr std::size_t kFirstSps = 6;
    if (extradata.size() > 3 && extradata[0] == 0 && extradata[1] == 0) {
        return FromAnnexB(extradata);
    }
    if (!extradata.empty() && (extradata[0] & 0x1FU) == kNalTypeSps) {
        return SpsReferenceFrames(extradata);
    }
    if (extradata.size() < kFirstSps + 2 || extradata[0] != 1 || (extradata[5] & 0x1FU) == 0) {
        return std::nullopt;
    }
    const std::size_t length = (std::size_t{extradata[6]} << 8) | extradata[7];
    if (length > extradata.size() - kFirstSps - 2) {
        return std::nullopt;
    }
    return SpsReferenceFrames(extradata.subspan(kFirstSps + 2, length));
}

// A box: a 32-bit size and four letters; size 1 has a 64-bit size after them, 0 runs to the end.
std::optional<BoxHeader> ReadBoxHeader(std::span<const std::uint8_t> bytes, std::uint64_t left) {
    constexpr unsigned kLargeHeader = 16;
    if (bytes.size() < 8) {
        return std::nullopt;
    }
    const auto big = [&bytes](std::size_t from, std::size_t count) {
        std::uint64_t value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            value = (value << 8) | bytes[i];
        }
        return value;
    };
    BoxHeader header;
    header.size = big(0, 4);
    for (std::size_t i = 4; i < 8; ++i) {
        const char letter = static_cast<char>(bytes[i]);
        header.type += letter >= ' ' && letter <= '~' ? letter : '?';
    }
    if (header.size == 1) {
        if (bytes.size() < kLargeHeader) {
            return std::nullopt;
        }
        header.size = big(8, 8);
        header.headerSize = kLargeHeader;
    } else if (header.size == 0) {
        header.size = left;
    }
    if (header.size < header.headerSize || header.size > left) {
        return std::nullopt;
    }
    return header;
}

} // namespace zvm::media
