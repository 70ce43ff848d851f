// The worker's reading of a file on any bytes: probing (read through) and rendering a frame of a
// damaged file end with an answer or a reason, never a crash; the same bytes as H.264 extradata and
// as a box header give a reading or nothing, and as a DPG header a reading whose parts lie within
// the file, or a reason. Seeded with small broken media files (scripts/fuzz.sh).
#include "core/Dpg.h"
#include "media/worker/MediaReader.h"
#include "media/worker/StreamHeaders.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    if (zvm::media::DeclaredReferenceFrames(bytes).value_or(0) > 16 ||
        zvm::media::ReadBoxHeader(bytes, size).value_or(zvm::media::BoxHeader{}).size > size) {
        __builtin_trap(); // a reading no parse may give
    }
    const auto dpg = zvm::dpg::ReadHeader(std::string_view(reinterpret_cast<const char*>(data), size), size);
    if (dpg.ok() && (std::uint64_t{dpg.value().videoStart} + dpg.value().videoSize > size ||
                     std::uint64_t{dpg.value().audioStart} + dpg.value().audioSize > size)) {
        __builtin_trap();
    }
    // A DPG's header read goes on to its streams, read as DPG by the name's ending.
    static const std::string plain = "/tmp/zvm-fuzz-probe-" + std::to_string(getpid());
    static const std::string named = plain + ".dpg";
    const std::string& path = dpg.ok() ? named : plain;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    const auto probed = zvm::media::ProbeMedia(path, true);
    if (probed.ok() && probed.value().has("display_width")) {
        zvm::media::RenderFrame(path, 0.1, "scale=32:24,pad=32:32:0:4,setsar=1", [](const std::string&) {})
            .status()
            .ignore();
    }
    return 0;
}
