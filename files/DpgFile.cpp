#include "files/DpgFile.h"

#include "core/Dpg.h"
#include "core/Text.h"
#include "files/AtomicFile.h"
#include "files/Descriptor.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zvm::files {

namespace {
Status PartFailure(const std::string& part) {
    return Status::Failure(FailureKind::Io, ZVM_TEXT("zvm", "a stream of the DPG file could not be read: %1"),
                           part + " (" + std::strerror(errno) + ")");
}

// The video's pictures and groups, read a block at a time.
Result<dpg::VideoScan> Scanned(const std::string& videoPart) {
    const Descriptor video(open(videoPart.c_str(), O_RDONLY | O_CLOEXEC));
    if (!video.isOpen()) {
        return PartFailure(videoPart);
    }
    dpg::VideoScan scan;
    std::array<char, 1 << 16> block{};
    for (;;) {
        const ssize_t got = read(video.get(), block.data(), block.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return PartFailure(videoPart);
        }
        if (got == 0) {
            return scan;
        }
        scan.Feed(std::string_view(block.data(), static_cast<std::size_t>(got)));
    }
}
} // namespace

Status AssembleDpg(const std::string& videoPart, const std::string& audioPart, const std::string& destination,
                   double framesPerSecond, int sampleRate) {
    const Result<dpg::VideoScan> video = Scanned(videoPart);
    if (!video.ok()) {
        return video.status();
    }
    struct stat audio {};
    if (stat(audioPart.c_str(), &audio) != 0) {
        return PartFailure(audioPart);
    }
    if (video.value().Frames() == 0) {
        return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "the DPG file's video stream holds no picture: %1"),
                               videoPart);
    }
    const Result<dpg::Header> header =
        dpg::HeaderFor(video.value(), framesPerSecond, sampleRate, static_cast<std::uint64_t>(audio.st_size));
    if (!header.ok()) {
        return header.status();
    }
    const std::string head = dpg::HeaderBytes(header.value());
    const std::string gops = dpg::GopListBytes(video.value().Gops());
    const std::array<Piece, 4> pieces{{{head, {}}, {{}, audioPart}, {{}, videoPart}, {gops, {}}}};
    return WriteAtomically(destination, pieces);
}

Status AssembleDpgBeside(const std::string& output, double framesPerSecond, int sampleRate) {
    const std::string video = dpg::VideoPartFor(output);
    const std::string audio = dpg::AudioPartFor(output);
    Status made = AssembleDpg(video, audio, output, framesPerSecond, sampleRate);
    if (made.ok()) {
        ::unlink(video.c_str());
        ::unlink(audio.c_str());
    }
    return made;
}

} // namespace zvm::files
