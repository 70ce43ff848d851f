// Reading and writing the settings file. Saving never leaves a damaged file behind.
#include "SettingsFile.h"
#include "Text.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zvm::settings {

namespace fs = std::filesystem;

namespace {
std::string ErrorText(int error) {
    return std::strerror(error);
}

// Owns a descriptor for the length of one load or save.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { close(); }

    int get() const { return fd_; }
    int close() {
        const int result = fd_ >= 0 ? ::close(fd_) : 0;
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

std::string TemporaryPrefix(const fs::path& target) {
    std::string prefix(1, '.');
    prefix += target.filename().string();
    prefix += '.';
    return prefix;
}

fs::path FolderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// Removes the temporary file unless the save was committed.
class TempFile {
public:
    explicit TempFile(const fs::path& target)
        : path_((FolderOf(target) / TemporaryPrefix(target)).string() + "XXXXXX"),
          fd_(mkostemp(path_.data(), O_CLOEXEC)) {}
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        fd_.close();
        if (created_ && !committed_) {
            unlink(path_.c_str());
        }
    }

    bool isOpen() const { return fd_.get() >= 0; }
    int fd() const { return fd_.get(); }
    int closeFile() { return fd_.close(); }
    const char* path() const { return path_.c_str(); }
    void markCommitted() { committed_ = true; }

private:
    std::string path_;
    Descriptor fd_;
    bool created_ = fd_.get() >= 0;
    bool committed_ = false;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file's permissions carry over, but the owner can always read and write it and nobody else
// can write it: field 8 names the program that Convert runs.
mode_t ModeFor(const fs::path& target) {
    struct stat info {};
    mode_t mode = 0;
    if (stat(target.c_str(), &info) == 0) {
        mode = info.st_mode;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    return (mode & 0644) | 0600;
}

// Where a save must write: through symbolic links to the file they name, so the link stays.
fs::path ResolveLinks(fs::path path) {
    constexpr int kMaxHops = 40; // as the system itself allows
    for (int hop = 0; hop < kMaxHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) {
            return path;
        }
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            return path;
        }
        path = target.is_absolute() ? target : FolderOf(path) / target;
    }
    return path;
}

// Reads at most `limit` + 1 bytes, so a file that grew past the limit is noticed.
std::optional<std::string> ReadUpTo(int fd, std::size_t limit) {
    std::string bytes(limit + 1, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

LoadResult NotLoaded(FileState state, std::string reason) {
    return {state, {}, std::move(reason)};
}

constexpr const char* kTooLarge = ZVM_TEXT("it is larger than 64 KiB");
static_assert(kMaxReadBytes == std::size_t{64} * 1024, "the message names the limit");
} // namespace

LoadResult LoadSettings(const fs::path& path) {
    // Non-blocking, so that a FIFO in the file's place cannot hang the start.
    Descriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        return error == ENOENT ? NotLoaded(FileState::Missing, {})
                               : NotLoaded(FileState::Unreadable, ErrorText(error));
    }
    struct stat info {};
    if (fstat(fd.get(), &info) != 0) {
        return NotLoaded(FileState::Unreadable, ErrorText(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return NotLoaded(FileState::NotAFile, ZVM_TEXT("it is not a regular file"));
    }
    const std::optional<std::string> bytes = ReadUpTo(fd.get(), kMaxReadBytes);
    if (!bytes) {
        return NotLoaded(FileState::Unreadable, ErrorText(errno));
    }
    if (bytes->size() > kMaxReadBytes) {
        return NotLoaded(FileState::TooLarge, kTooLarge);
    }
    return {FileState::Loaded, ParseRecord(*bytes), {}};
}

std::optional<std::string> SaveSettings(const fs::path& path, const SettingsRecord& record,
                                        const std::function<bool()>& beforeCommit) {
    const fs::path target = ResolveLinks(path);
    RemoveStaleTemporaries(target);
    TempFile temp(target);
    if (!temp.isOpen()) {
        return ErrorText(errno);
    }
    if (!WriteAll(temp.fd(), FormatRecord(record)) || fchmod(temp.fd(), ModeFor(target)) != 0 ||
        fsync(temp.fd()) != 0) {
        return ErrorText(errno);
    }
    if (temp.closeFile() != 0) {
        return ErrorText(errno);
    }
    if (beforeCommit && !beforeCommit()) {
        return std::string("the save was interrupted before the file was replaced");
    }
    if (rename(temp.path(), target.c_str()) != 0) {
        return ErrorText(errno);
    }
    temp.markCommitted();
    return std::nullopt;
}

void RemoveStaleTemporaries(const fs::path& target) {
    const fs::path folder = FolderOf(target);
    const std::string prefix = TemporaryPrefix(target);
    const std::size_t length = prefix.size() + 6; // mkstemp's six letters
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        struct stat info {};
        if (name.size() != length || name.substr(0, prefix.size()) != prefix ||
            fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (S_ISREG(info.st_mode) && info.st_uid == geteuid() && now - info.st_mtime > 60) {
            unlinkat(dirfd(dir), entry->d_name, 0);
        }
    }
    closedir(dir);
}

} // namespace zvm::settings
