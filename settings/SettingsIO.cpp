// Reading and writing the settings file. Saving never leaves a damaged file behind.
#include "settings/SettingsFile.h"

#include "files/AtomicFile.h"
#include "files/Descriptor.h"
#include "core/Text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zvm::settings {

namespace fs = std::filesystem;

namespace {
using files::Descriptor;

std::string ErrorText(int error) {
    return std::strerror(error);
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

constexpr const char* kTooLarge = ZVM_TEXT("zvm", "it is larger than 64 KiB");
static_assert(kMaxReadBytes == std::size_t{64} * 1024, "the message names the limit");
} // namespace

LoadResult LoadSettings(const fs::path& path) {
    // Non-blocking, so that a FIFO in the file's place cannot hang the start.
    Descriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.isOpen()) {
        const int error = errno;
        return error == ENOENT ? NotLoaded(FileState::Missing, {})
                               : NotLoaded(FileState::Unreadable, ErrorText(error));
    }
    struct stat info {};
    if (fstat(fd.get(), &info) != 0) {
        return NotLoaded(FileState::Unreadable, ErrorText(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return NotLoaded(FileState::NotAFile, ZVM_TEXT("zvm", "it is not a regular file"));
    }
    const std::optional<std::string> bytes = ReadUpTo(fd.get(), kMaxReadBytes);
    if (!bytes) {
        return NotLoaded(FileState::Unreadable, ErrorText(errno));
    }
    if (bytes->size() > kMaxReadBytes) {
        return NotLoaded(FileState::TooLarge, kTooLarge);
    }
    if (!IsSettingsRecord(*bytes)) {
        return NotLoaded(FileState::NotARecord, ZVM_TEXT("zvm", "it does not hold this program's settings"));
    }
    return {FileState::Loaded, ParseRecord(*bytes), {}};
}

Status SaveSettings(const fs::path& path, const SettingsRecord& record,
                    const std::function<bool()>& beforeCommit) {
    return files::WriteAtomically(path, FormatRecord(record), beforeCommit);
}

} // namespace zvm::settings
