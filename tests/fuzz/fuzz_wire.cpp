// The worker's request reader on any bytes never crashes, reads the same messages whether the bytes
// arrive whole or split anywhere, and every message it reads encodes back to the bytes it came from.
#include "WorkerWire.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using zvm::media::wire::Message;
using zvm::media::wire::Reader;

namespace {
// Every message the reader gives, encoded again, then "!" if the stream broke.
std::string ReadAll(Reader& reader) {
    std::string out;
    while (true) {
        auto next = reader.next();
        if (!next.ok()) {
            return out + "!";
        }
        if (!next.value()) {
            return out;
        }
        out += Encode(*next.value());
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Reader whole(1024);
    whole.append(bytes);
    const std::string read = ReadAll(whole);

    Reader split(1024);
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    split.append(bytes.substr(0, cut));
    std::string pieces = ReadAll(split);
    if (!pieces.ends_with("!")) {
        split.append(bytes.substr(cut));
        pieces += ReadAll(split);
    }
    const std::string_view messages =
        std::string_view(read).substr(0, read.size() - (read.ends_with("!") ? 1 : 0));
    if (pieces != read || bytes.substr(0, messages.size()) != messages) {
        std::abort();
    }
    return 0;
}
