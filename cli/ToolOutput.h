#pragma once

#include "core/PrepareRun.h"

#include <string>
#include <vector>

namespace zvm {

// One video's fit and command as a JSON object, for scripts: the source, the output, the ratio as the
// window shows it, the new size, the four pads, the command's text and the argument vector it runs
// as. JSON holds text, file names hold bytes: a name that is not UTF-8 is written with U+FFFD for
// what is not, and its exact bytes follow in base64 ("sourceBytes", "outputBytes",
// "argumentsBytes"), so a script can still reach the file.
std::string FitJson(const PreparedRun& run, const std::vector<std::string>& arguments);

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsUtf8(std::string_view bytes);

} // namespace zvm
