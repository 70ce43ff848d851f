#pragma once

// What a run wrote at a path, told apart from what stood there before it, so that only the run's own
// partial output is ever removed.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zvm::files {

// A file's identity, size and times: any write, truncation or replacement changes it.
using FileStamp = std::array<std::int64_t, 7>;

// The stamp of what stands at path (a link itself, not what it names); nothing when nothing does.
std::optional<FileStamp> StampOf(const std::string& path);

// Removes the plain file at path when it is not the one stamped before the run: a file the run
// created or changed. A file the run never touched, and anything but a plain file, stay. True when
// a file was removed. The path is the system's bytes, so any name can be removed.
bool RemoveWritten(const std::string& path, const std::optional<FileStamp>& before);

} // namespace zvm::files
