// Writing a file whole, so that no failure leaves a damaged one behind.
#include "files/AtomicFile.h"

#include "files/Descriptor.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>

namespace zvm::files {

namespace fs = std::filesystem;

namespace {
// The system's own words for what went wrong; the caller says what it was doing.
Status SystemFailure(int error) {
    return Status::Failure(FailureKind::Io, "%1", std::strerror(error));
}

std::string TemporaryPrefix(const fs::path& target) {
    std::string prefix(1, '.');
    prefix += target.filename().string();
    prefix += '.';
    return prefix;
}

fs::path FolderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// Removes the temporary file unless the write was committed.
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

    bool isOpen() const { return fd_.isOpen(); }
    int fd() const { return fd_.get(); }
    int closeFile() { return fd_.close(); }
    const char* path() const { return path_.c_str(); }
    void markCommitted() { committed_ = true; }

private:
    std::string path_;
    Descriptor fd_;
    bool created_ = fd_.isOpen();
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
// can write it: a file such as settings.ini names a program that this one runs.
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

// Where a write must go: through symbolic links to the file they name, so the link stays.
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

// Copies the whole file at `from` to fd, a block at a time.
bool CopyAll(int fd, const fs::path& from) {
    const Descriptor source(open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.isOpen()) {
        return false;
    }
    std::string block(std::size_t{1} << 20, '\0');
    for (;;) {
        const ssize_t got = read(source.get(), block.data(), block.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        if (!WriteAll(fd, std::string_view(block.data(), static_cast<std::size_t>(got)))) {
            return false;
        }
    }
}
} // namespace

Status WriteAtomically(const fs::path& path, std::string_view bytes,
                       const std::function<bool()>& beforeCommit) {
    const Piece whole{bytes, {}};
    return WriteAtomically(path, std::span(&whole, 1), beforeCommit);
}

Status WriteAtomically(const fs::path& path, std::span<const Piece> pieces,
                       const std::function<bool()>& beforeCommit) {
    const fs::path target = ResolveLinks(path);
    RemoveStaleTemporaries(target);
    TempFile temp(target);
    if (!temp.isOpen()) {
        return SystemFailure(errno);
    }
    for (const Piece& piece : pieces) {
        if (!(piece.file.empty() ? WriteAll(temp.fd(), piece.bytes) : CopyAll(temp.fd(), piece.file))) {
            return SystemFailure(errno);
        }
    }
    if (fchmod(temp.fd(), ModeFor(target)) != 0 || fsync(temp.fd()) != 0) {
        return SystemFailure(errno);
    }
    if (temp.closeFile() != 0) {
        return SystemFailure(errno);
    }
    if (beforeCommit && !beforeCommit()) {
        return Status::Failure(FailureKind::Io, "the save was interrupted before the file was replaced");
    }
    if (rename(temp.path(), target.c_str()) != 0) {
        return SystemFailure(errno);
    }
    temp.markCommitted();
    return {};
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

} // namespace zvm::files
