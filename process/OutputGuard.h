#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zvm::process {

// Which file a name reaches once the working folder, "." and "..", symbolic and hard links are
// resolved: two names with the same identity write the same bytes.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileId&) const = default;
    bool operator<(const FileId& other) const {
        return device != other.device ? device < other.device : inode < other.inode;
    }
};

// Nothing for a name where no file is (yet).
std::optional<FileId> FileIdentity(const std::string& path);

// Whether writing `output` would overwrite the file `source`: the same file after the working
// folder, "." and "..", symbolic and hard links are resolved. A source that does not exist cannot be
// lost, so it is never the same.
bool OutputIsSource(const std::string& source, const std::string& output);

} // namespace zvm::process
