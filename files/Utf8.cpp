#include "files/Utf8.h"

namespace zvm::files {

std::size_t Utf8SequenceLength(std::string_view bytes) {
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    // The lead byte fixes the length and the range its second byte may take (which rules out
    // overlong forms, surrogates and values past U+10FFFF).
    struct Form {
        unsigned char lowLead, highLead, low, high;
        std::size_t length;
    };
    constexpr Form kForms[] = {{0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3}, {0xE1, 0xEC, 0x80, 0xBF, 3},
                               {0xED, 0xED, 0x80, 0x9F, 3}, {0xEE, 0xEF, 0x80, 0xBF, 3}, {0xF0, 0xF0, 0x90, 0xBF, 4},
                               {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4}};
    for (const Form& f : kForms) {
        if (lead < f.lowLead || lead > f.highLead) {
            continue;
        }
        if (bytes.size() < f.length || byte(1) < f.low || byte(1) > f.high) {
            return 0;
        }
        for (std::size_t i = 2; i < f.length; ++i) {
            if (byte(i) < 0x80 || byte(i) > 0xBF) {
                return 0;
            }
        }
        return f.length;
    }
    return 0;
}

} // namespace zvm::files
