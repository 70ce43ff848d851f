#pragma once

#include "Generate.h"

#include <string>
#include <string_view>

namespace zvm {

// One video's fit and command as a JSON object, for scripts: the source, the output, the ratio as the
// window shows it, the new size, the four pads and the command.
std::string FitJson(const GenerateResult& result);

// A JSON string literal, quotes included.
std::string JsonString(std::string_view text);

} // namespace zvm
