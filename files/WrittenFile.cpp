#include "files/WrittenFile.h"

#include <sys/stat.h>
#include <unistd.h>

namespace zvm::files {

namespace {
std::optional<FileStamp> Stamp(const std::string& path, struct stat& info) {
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileStamp{static_cast<std::int64_t>(info.st_dev), static_cast<std::int64_t>(info.st_ino),
                     info.st_size,
                     info.st_mtim.tv_sec,
                     info.st_mtim.tv_nsec,
                     info.st_ctim.tv_sec,
                     info.st_ctim.tv_nsec};
}
} // namespace

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat info {};
    return Stamp(path, info);
}

bool RemoveWritten(const std::string& path, const std::optional<FileStamp>& before) {
    struct stat info {};
    const std::optional<FileStamp> now = Stamp(path, info);
    return now && S_ISREG(info.st_mode) && now != before && ::unlink(path.c_str()) == 0;
}

} // namespace zvm::files
