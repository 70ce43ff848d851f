#pragma once

#include <cstddef>
#include <string_view>

namespace zvm::files {

// The length of the well-formed UTF-8 sequence at the start of bytes (no overlong forms, surrogates
// or values past U+10FFFF), or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view bytes);

} // namespace zvm::files
