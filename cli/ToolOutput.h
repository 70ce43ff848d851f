#pragma once

#include "Generate.h"

#include <string>

namespace zvm {

// One video's fit and command as a JSON object, for scripts: the source, the output, the ratio as the
// window shows it, the new size, the four pads and the command.
std::string FitJson(const GenerateResult& result);

} // namespace zvm
