#include "media/FormQuestion.h"

#include "files/AtomicFile.h"
#include "process/Spawn.h"
#include "core/Words.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zvm::media {

namespace fs = std::filesystem;
using process::OpenProcessDescriptor;
using process::SpawnDetached;

namespace {
fs::path CacheFile(const char* name) {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    const fs::path folder = cache != nullptr && *cache == '/' ? fs::path(cache)
                            : home != nullptr                 ? fs::path(home) / ".cache"
                                                              : fs::path("/tmp");
    return folder / "zarnik-video-maker" / name;
}

// "modification time in nanoseconds, tab, canonical path": what identifies one build of a program.
std::optional<std::string> Identity(const std::string& program) {
    std::error_code error;
    const fs::path canonical = fs::canonical(program, error);
    struct stat info {};
    if (error || stat(canonical.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return std::to_string(info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec) + "\t" +
           canonical.string();
}

const char* Word(EncoderAnswer answer) {
    return answer == EncoderAnswer::Accepts ? "accepts" : "rejects";
}

constexpr Words<H264Answer, 3> kH264Words{
    {{H264Answer::Serves, "serves"}, {H264Answer::NoLibx264, "no-libx264"}, {H264Answer::TooOld, "too-old"}}};
constexpr const char* kH264File = "encoder-h264";

// The word kept for this build of the program in the cache file, if any.
std::optional<std::string> RememberedWord(const char* file, const std::string& program) {
    const auto identity = Identity(program);
    std::ifstream in(CacheFile(file));
    std::string line;
    while (identity && std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        if (tab != line.npos && line.substr(tab + 1) == *identity) {
            return line.substr(0, tab);
        }
    }
    return std::nullopt;
}

// Rewrites the cache file whole with this build's word in place of any older one.
Status RememberWord(const char* file, const std::string& program, std::string_view word) {
    const auto identity = Identity(program);
    if (!identity) {
        return {};
    }
    const fs::path path = CacheFile(file);
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    std::ostringstream kept;
    std::ifstream old(path);
    std::string line;
    while (std::getline(old, line)) {
        if (line.find('\t') != line.npos && line.substr(line.find('\t') + 1) != *identity) {
            kept << line << '\n';
        }
    }
    kept << word << '\t' << *identity << '\n';
    return files::WriteAtomically(path, kept.str()); // a folder that could not be made fails here
}

// Waits for the process to end, at most the time limit; it is killed after that.
std::optional<int> WaitFor(pid_t pid, int timeoutMilliseconds) {
    const int processFd = OpenProcessDescriptor(pid);
    if (processFd >= 0) {
        pollfd ready{processFd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, timeoutMilliseconds);
        ::close(processFd);
        if (polled <= 0) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            return std::nullopt;
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? std::optional(WEXITSTATUS(status)) : std::nullopt;
}
} // namespace

const std::vector<std::string>& ClassicQuestion() {
    static const std::vector<std::string> question{"-hq", "-me",      "epzs", "-padtop",   "0", "-padbottom",
                                                   "0",   "-padleft", "0",    "-padright", "0", "-version"};
    return question;
}

bool NamesUnknownOption(std::string_view output) {
    return output.find("Unrecognized option") != output.npos || output.find("Option not found") != output.npos;
}

EncoderAnswer ReadClassicReply(int exitCode, std::string_view output) {
    if (NamesUnknownOption(output)) {
        return EncoderAnswer::Rejects;
    }
    return exitCode == 0 && output.find("version") != output.npos ? EncoderAnswer::Accepts
                                                                  : EncoderAnswer::Unknown;
}

std::optional<EncoderAnswer> RememberedAnswer(const std::string& program) {
    const auto word = RememberedWord("encoder-forms", program);
    return word ? std::optional(*word == "accepts" ? EncoderAnswer::Accepts : EncoderAnswer::Rejects) : std::nullopt;
}

Status RememberAnswer(const std::string& program, EncoderAnswer answer) {
    return answer == EncoderAnswer::Unknown ? Status() : RememberWord("encoder-forms", program, Word(answer));
}

const std::vector<std::string>& H264Question() {
    static const std::vector<std::string> question{"-hide_banner", "-fpsmax", "1", "-h", "encoder=libx264"};
    return question;
}

H264Answer ReadH264Reply(int exitCode, std::string_view output) {
    if (NamesUnknownOption(output)) {
        return H264Answer::TooOld;
    }
    if (output.find("is not recognized") != output.npos) {
        return H264Answer::NoLibx264;
    }
    return exitCode == 0 && output.find("Encoder libx264") != output.npos ? H264Answer::Serves : H264Answer::Unknown;
}

std::optional<H264Answer> RememberedH264(const std::string& program) {
    const auto word = RememberedWord(kH264File, program);
    return word ? ValueFor(kH264Words, *word) : std::nullopt;
}

Status RememberH264(const std::string& program, H264Answer answer) {
    return answer == H264Answer::Unknown ? Status() : RememberWord(kH264File, program, WordFor(kH264Words, answer));
}

EncoderAnswer AskClassicOptions(const std::string& program, int timeoutMilliseconds) {
    if (const auto known = RememberedAnswer(program)) {
        return *known;
    }
    const auto spawned = SpawnDetached({program, ClassicQuestion()});
    if (!spawned.ok()) {
        return EncoderAnswer::Unknown; // whatever kept it from starting, it gave no answer
    }
    const std::optional<int> exitCode = WaitFor(spawned.value().pid, timeoutMilliseconds);
    std::string output(std::size_t{64} * 1024, '\0');
    const ssize_t got = ::read(spawned.value().logFd, output.data(), output.size());
    ::close(spawned.value().logFd);
    output.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    const EncoderAnswer answer = exitCode ? ReadClassicReply(*exitCode, output) : EncoderAnswer::Unknown;
    RememberAnswer(program, answer).ignore(); // unkept, it is asked again next time: no harm
    return answer;
}

} // namespace zvm::media
