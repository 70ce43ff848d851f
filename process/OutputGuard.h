#pragma once

#include <string>

namespace zvm::process {

// Whether writing `output` would overwrite the file `source`: the same file after the working
// folder, "." and "..", symbolic and hard links are resolved. A source that does not exist cannot be
// lost, so it is never the same.
bool OutputIsSource(const std::string& source, const std::string& output);

} // namespace zvm::process
