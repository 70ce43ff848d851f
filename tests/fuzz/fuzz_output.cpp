// The encoder-output follower on any bytes never crashes, finds only finite, non-negative times,
// and sees the same whether the bytes arrive whole or split anywhere.
#include "media/EncoderOutput.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using zvm::media::EncoderOutput;

namespace {
void CheckTime(const std::optional<double>& t) {
    if (t && (!std::isfinite(*t) || *t < 0)) {
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    EncoderOutput whole;
    whole.append(bytes);
    CheckTime(whole.duration());
    CheckTime(whole.time());

    EncoderOutput split;
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    split.append(bytes.substr(0, cut));
    split.append(bytes.substr(cut));
    if (split.screen() != whole.screen() || split.duration() != whole.duration() || split.time() != whole.time()) {
        std::abort();
    }
    return 0;
}
