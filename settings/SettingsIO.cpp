// Reading and writing the settings file. Saving never leaves a damaged file behind.
#include "SettingsFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zvm::settings {

namespace {
std::string ErrorText(int error) {
    return std::strerror(error);
}

// Closes the descriptor and removes the temporary file unless the save was committed.
class TempFile {
public:
    explicit TempFile(const std::filesystem::path& target)
        : pattern_((target.has_parent_path() ? target.parent_path() / "" : std::filesystem::path()).string() +
                   "." + target.filename().string() + ".XXXXXX") {
        fd_ = mkstemp(pattern_.data());
        created_ = fd_ >= 0;
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        closeFile();
        if (created_ && !committed_) {
            unlink(pattern_.c_str());
        }
    }

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const char* path() const { return pattern_.c_str(); }
    int closeFile() {
        const int result = fd_ >= 0 ? close(fd_) : 0;
        fd_ = -1;
        return result;
    }
    void markCommitted() { committed_ = true; }

private:
    std::string pattern_;
    int fd_ = -1;
    bool created_ = false;
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

// The new file keeps the old one's permissions; a first file gets the usual ones for the user.
mode_t ModeFor(const std::filesystem::path& target) {
    struct stat info {};
    if (stat(target.c_str(), &info) == 0) {
        return info.st_mode & 07777;
    }
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}
} // namespace

std::optional<ParsedSettings> LoadSettings(const std::filesystem::path& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes(kMaxReadBytes, '\0');
    std::size_t filled = 0;
    bool failed = false;
    while (filled < bytes.size()) {
        const ssize_t got = read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            failed = got < 0;
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    close(fd);
    if (failed) {
        return std::nullopt;
    }
    bytes.resize(filled);
    return ParseRecord(bytes);
}

std::optional<std::string> SaveSettings(const std::filesystem::path& path, const SettingsRecord& record,
                                        const std::function<bool()>& beforeCommit) {
    TempFile temp(path);
    if (!temp.isOpen()) {
        return ErrorText(errno);
    }
    if (!WriteAll(temp.fd(), FormatRecord(record)) || fchmod(temp.fd(), ModeFor(path)) != 0 ||
        fsync(temp.fd()) != 0) {
        return ErrorText(errno);
    }
    if (temp.closeFile() != 0) {
        return ErrorText(errno);
    }
    if (beforeCommit && !beforeCommit()) {
        return std::string("the save was interrupted before the file was replaced");
    }
    if (rename(temp.path(), path.c_str()) != 0) {
        return ErrorText(errno);
    }
    temp.markCommitted();
    return std::nullopt;
}

} // namespace zvm::settings
