// The settings reader on any bytes never crashes; and whatever a save accepts, the reader gives back:
// a record is either refused (a double quote, or longer than the reader reads) or read back whole.
#include "settings/SettingsFile.h"

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
    record.formChoice = bytes.empty() ? zvm::FormChoice::Automatic : static_cast<zvm::FormChoice>(static_cast<unsigned char>(bytes[0]) % 3);
    // Long values, so that records past the reader's limit are made too.
    const std::size_t copies = bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) % 64 : 0;
    const std::string piece = record.values[OutputPath];
    for (std::size_t i = 0; i < copies; ++i) {
        record.values[OutputPath] += piece;
    }
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
    if (const auto problem = CheckStorable(record)) {
        if (problem->problem != StoreProblem::TooLong || written.size() <= kMaxReadBytes) {
            std::abort();
        }
        return 0;
    }
    const ParsedSettings back = ParseRecord(written);
    if (!back.countsAsSaved() || back.record.values != record.values ||
        back.record.formChoice != record.formChoice) {
        std::abort();
    }
    return 0;
}
