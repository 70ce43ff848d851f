#include "files/KeptFile.h"

#include "files/Descriptor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace zvm::files {

namespace fs = std::filesystem;

SmallFile ReadSmallFile(const fs::path& path, std::size_t limit) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.isOpen()) {
        const int error = errno;
        return error == ENOENT ? SmallFile{} : SmallFile{SmallFile::State::Damaged, {}, std::strerror(error)};
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return {SmallFile::State::Damaged, {}, std::strerror(errno)};
    }
    if (!S_ISREG(info.st_mode)) {
        return {SmallFile::State::Damaged, {}, "it is not a regular file"};
    }
    std::string bytes(limit + 1, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return {SmallFile::State::Damaged, {}, std::strerror(errno)};
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    if (filled > limit) {
        return {SmallFile::State::Damaged, {}, "it is larger than this program writes"};
    }
    bytes.resize(filled);
    return {SmallFile::State::Read, std::move(bytes), {}};
}

std::optional<fs::path> SetAsideDamaged(const fs::path& path, fs::path& tried) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char stamp[32] = {};
    if (localtime_r(&now, &local) == nullptr || std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local) == 0) {
        std::strcpy(stamp, "unknown-time");
    }
    const std::string stem = path.native() + ".damaged-" + stamp;
    tried = stem;
    std::error_code ignored;
    // A name the system cannot even look up (too long) ends the search: the rename then says why.
    for (int n = 2; fs::exists(fs::symlink_status(tried, ignored)) && n < 1000; ++n) {
        tried = stem + "-" + std::to_string(n);
    }
    // Never over a file that appeared meanwhile; a file system without that promise gets the plain rename.
    int renamed = ::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, tried.c_str(), RENAME_NOREPLACE);
    if (renamed != 0 && (errno == EINVAL || errno == ENOSYS)) {
        renamed = ::rename(path.c_str(), tried.c_str());
    }
    if (renamed != 0) {
        return std::nullopt;
    }
    return tried;
}

} // namespace zvm::files
