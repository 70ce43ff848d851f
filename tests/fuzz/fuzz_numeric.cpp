// The numeric test on any text: it never crashes, accepts only finite values, and ignores blanks
// around the text.
#include "core/NumericText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto value = zvm::ParseNumber(text);
    if (value && !std::isfinite(*value)) {
        std::abort();
    }
    const auto padded = zvm::ParseNumber(" \t" + text + "\t ");
    if (padded.has_value() != value.has_value() || (value && *padded != *value)) {
        std::abort();
    }
    return 0;
}
