#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace zvm::files {

// A small file of ours read whole at start-up, such as the kept queue or the user's targets.
struct SmallFile {
    enum class State { Read, Missing, Damaged };
    State state = State::Missing;
    std::string bytes;  // Read: the content
    std::string reason; // Damaged: why it could not be read, in the system's words or ours
};

// Opened without blocking and its type checked before anything is read: a pipe or a device in its
// place would otherwise hang the start. A file larger than `limit` counts as damaged.
SmallFile ReadSmallFile(const std::filesystem::path& path, std::size_t limit);

// Renames a file that cannot be read as ours beside itself as "<name>.damaged-<yyyyMMdd-hhmmss>" (with
// "-2", "-3"... when that is taken), never over another file and never deleting it. The new name, or
// nothing when the system refused; `tried` then holds the name it refused.
std::optional<std::filesystem::path> SetAsideDamaged(const std::filesystem::path& path, std::filesystem::path& tried);

} // namespace zvm::files
