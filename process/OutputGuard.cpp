#include "process/OutputGuard.h"

#include <sys/stat.h>

namespace zvm::process {

std::optional<FileId> FileIdentity(const std::string& path) {
    struct stat found {};
    if (stat(path.c_str(), &found) != 0) {
        return std::nullopt;
    }
    return FileId{static_cast<std::uint64_t>(found.st_dev), static_cast<std::uint64_t>(found.st_ino)};
}

bool OutputIsSource(const std::string& source, const std::string& output) {
    const auto kept = FileIdentity(source);
    return kept && kept == FileIdentity(output);
}

} // namespace zvm::process
