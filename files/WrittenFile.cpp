#include "files/WrittenFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include "core/Text.h"

#include <cmath>
#include <sys/stat.h>
#include <sys/statvfs.h>
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
constexpr std::string_view kPartialPrefix = ".zvm-partial.";

std::filesystem::path Resolved(const std::filesystem::path& output) {
    std::error_code error;
    std::filesystem::path path = output;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, error); ++hops) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) {
            break;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

std::filesystem::path Renamed(const std::filesystem::path& path, const std::string& prefix, const std::string& word) {
    return path.parent_path() / (prefix + path.stem().string() + word + path.extension().string());
}
} // namespace

Status RoomToWrite(const std::string& file, double megabytes) {
    std::filesystem::path folder = std::filesystem::path(file).parent_path();
    folder = folder.empty() ? std::filesystem::path(".") : folder;
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return Status::Failure(FailureKind::Refused, ZVM_TEXT("zvm", "the output cannot be written in %1"),
                               folder.string() + " (" + std::strerror(errno) + ")");
    }
    struct statvfs disk {};
    const bool known = ::statvfs(folder.c_str(), &disk) == 0;
    const double freeMegabytes =
        known ? static_cast<double>(disk.f_bavail) * static_cast<double>(disk.f_frsize) / 1e6 : INFINITY;
    if (megabytes > freeMegabytes) {
        return Status::Failure(FailureKind::Refused, ZVM_TEXT("zvm", "too little room for the output in %1"),
                               folder.string() + " (" + std::to_string(std::llround(freeMegabytes)) + " MB free, " +
                                   std::to_string(std::llround(megabytes)) + " MB needed)");
    }
    return {};
}

std::string FileNamedBy(const std::string& output) {
    return Resolved(output).string();
}

std::string PartialPathFor(const std::string& output) {
    const std::filesystem::path file = Resolved(output);
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    // A device or a pipe is written as it is: renaming onto it would replace it.
    const bool plain = !std::filesystem::exists(status) || std::filesystem::is_regular_file(status);
    return plain && file.has_filename() ? Renamed(file, std::string(kPartialPrefix), "").string() : std::string();
}

bool IsPartialPath(const std::string& path) {
    return std::filesystem::path(path).filename().string().starts_with(kPartialPrefix);
}

std::string KeptPathFor(const std::string& output, const std::string& word) {
    return Renamed(Resolved(output), "", "." + word).string();
}

std::string Publish(const std::string& partial, const std::string& destination) {
    return std::rename(partial.c_str(), destination.c_str()) == 0 ? std::string() : std::strerror(errno);
}

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
