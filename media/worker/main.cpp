// zarnik-video-maker-worker: reads the files the program is given (sizes, the after-check, preview
// frames) in a process of its own, so that a file that crashes or hangs FFmpeg's libraries costs a
// restart of this worker, never the window or the queue. Its wire is described in WorkerWire.h.
#include "media/worker/MediaReader.h"
#include "media/WorkerWire.h"

extern "C" {
#include <libavutil/log.h>
}

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZVM_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZVM_UNDER_ASAN 1
#endif

namespace {
using zvm::media::wire::Message;

// Decoding a 4K picture with a few threads needs a few hundred megabytes; a hostile file asking for
// more is stopped by the system, which the program sees as a worker that ended. AddressSanitizer
// reserves terabytes of address space for its shadow memory, so under it the bound is left out:
// the asan build relies on the client's time limit alone.
void BoundMemory() {
#ifndef ZVM_UNDER_ASAN
    constexpr rlim_t kAddressSpace = rlim_t{2048} * 1024 * 1024;
    const rlimit limit{kAddressSpace, kAddressSpace};
    setrlimit(RLIMIT_AS, &limit);
#endif
}

// Each probe opens a decoder that fills a pool of frames and frees it again; by default the C library
// hands those megabytes back to the system after every probe and the next one takes them again, page
// by page, which cost more than the probe's own reading. Kept, they are reused at once. The memory
// bound above still holds: this only keeps what was already allowed.
void KeepFreedMemory() {
    constexpr int kOwnMappingFrom = 32 * 1024 * 1024; // larger blocks still get a mapping of their own
    constexpr int kKeptFree = 128 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kOwnMappingFrom);
    mallopt(M_TRIM_THRESHOLD, kKeptFree);
}

bool WriteAll(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

Message Failed(const zvm::Status& why) {
    return Message()
        .add("answer", "error")
        .add("reason", why.text())
        .add("message", why.message())
        .add("detail", why.detail());
}

Message Refused(const char* message, std::string detail) {
    return Failed(zvm::Status::Failure(zvm::FailureKind::BadInput, message, std::move(detail)));
}

// Requests that make the worker fail on purpose, so the tests can show that the program survives a
// crash, a hang and a garbled answer; they exist only when ZVM_WORKER_FAULTS=1 is in the worker's environment.
bool FaultsAllowed() {
    const char* faults = std::getenv("ZVM_WORKER_FAULTS");
    return faults != nullptr && std::string(faults) == "1";
}

bool Answer(const Message& request) {
    const std::string verb = request.get("request");
    if (verb == "probe") {
        const auto facts = zvm::media::ProbeMedia(request.get("path"), request.get("whole") == "1");
        return WriteAll(Encode(facts.ok() ? facts.value() : Failed(facts.status())));
    }
    if (verb == "look") {
        const auto look = zvm::media::LookAtPicture(request.get("path"));
        return WriteAll(Encode(look.ok() ? look.value() : Failed(look.status())));
    }
    if (verb == "frame") {
        bool written = true;
        std::function<void(const std::string&)> keyframe;
        if (request.get("first") == "1") {
            keyframe = [&written](const std::string& png) {
                written =
                    written &&
                    WriteAll(Encode(
                        Message().add("answer", "ok").add("png", png).add("exact", "0").add("more", "1")));
            };
        }
        const std::string seconds = request.get("seconds");
        char* end = nullptr;
        const double at = std::strtod(seconds.c_str(), &end);
        if (seconds.empty() || end != seconds.c_str() + seconds.size() || !(at >= 0)) {
            return WriteAll(Encode(Refused("the media reader was asked for a bad moment: %1", seconds)));
        }
        const auto png = zvm::media::RenderFrame(request.get("path"), at, request.get("filter"), keyframe);
        return written &&
               WriteAll(Encode(png.ok()
                                   ? Message().add("answer", "ok").add("png", png.value()).add("exact", "1")
                                   : Failed(png.status())));
    }
    if (verb == "crash" && FaultsAllowed()) {
        std::abort();
    }
    if (verb == "garble" && FaultsAllowed()) {
        return WriteAll("no message\n");
    }
    if (verb == "hang" && FaultsAllowed()) {
        while (true) {
            pause();
        }
    }
    return WriteAll(Encode(Refused("the media reader was given an unknown request: %1", verb)));
}
} // namespace

int main() {
    BoundMemory();
    KeepFreedMemory();
    std::signal(SIGPIPE, SIG_IGN); // a program that went away is seen as a failed write
    av_log_set_level(AV_LOG_QUIET);
    zvm::media::wire::Reader reader(std::size_t{1024} * 1024);
    char buffer[1 << 16];
    while (true) {
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return 0; // the program closed the pipe: it ended or no longer needs us
        }
        reader.append(std::string_view(buffer, static_cast<std::size_t>(n)));
        while (true) {
            auto request = reader.next();
            if (!request.ok()) {
                WriteAll(Encode(Failed(request.status())));
                return 2;
            }
            if (!request.value()) {
                break;
            }
            if (!Answer(*request.value())) {
                return 0;
            }
        }
    }
}
