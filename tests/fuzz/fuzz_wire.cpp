// The worker's request reader on any bytes never crashes, reads the same messages whether the bytes
// arrive whole or split anywhere, and every message it reads encodes back to the bytes it came from.
#include "media/WorkerWire.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using zvm::media::wire::Message;
using zvm::media::wire::Reader;

namespace {
// Every message the reader gives, encoded again, and whether the stream broke (kept apart from the
// text: a message may itself end in any byte).
struct Read {
    std::string messages;
    bool broke = false;
};

Read ReadAll(Reader& reader, Read read = {}) {
    while (true) {
        auto next = reader.next();
        if (!next.ok()) {
            read.broke = true;
            return read;
        }
        if (!next.value()) {
            return read;
        }
        read.messages += Encode(*next.value());
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Reader whole(1024);
    whole.append(bytes);
    const Read read = ReadAll(whole);

    Reader split(1024);
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    split.append(bytes.substr(0, cut));
    Read pieces = ReadAll(split);
    if (!pieces.broke) {
        split.append(bytes.substr(cut));
        pieces = ReadAll(split, std::move(pieces));
    }
    if (pieces.messages != read.messages || pieces.broke != read.broke ||
        bytes.substr(0, read.messages.size()) != read.messages) {
        std::abort();
    }
    return 0;
}
