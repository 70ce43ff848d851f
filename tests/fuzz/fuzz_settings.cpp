// The settings reader on any bytes never crashes; and whatever the writer writes, the reader gives
// back, for every value without a double quote.
#include "SettingsFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace zvm::settings;

namespace {
// Eight values cut from the input at 0xFF bytes, with double quotes taken out.
SettingsRecord RecordFrom(const std::string& bytes) {
    SettingsRecord record;
    std::size_t field = 0;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) == 0xFF) {
            if (++field == FieldCount) {
                break;
            }
        } else if (c != '"') {
            record.values[field] += c;
        }
    }
    record.modernCommand = !bytes.empty() && (bytes[0] & 1) != 0;
    return record;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ParsedSettings any = ParseRecord(bytes);
    if (any.fieldsRead > FieldCount + 1) {
        std::abort();
    }
    const SettingsRecord record = RecordFrom(bytes);
    const std::string written = FormatRecord(record);
    if (written.size() > kMaxReadBytes) {
        return 0;
    }
    const ParsedSettings back = ParseRecord(written);
    if (!back.countsAsSaved() || back.record.values != record.values ||
        back.record.modernCommand != record.modernCommand) {
        std::abort();
    }
    return 0;
}
