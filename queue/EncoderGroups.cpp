#include "queue/EncoderGroups.h"

#include "files/AtomicFile.h"
#include "files/Descriptor.h"

#include <charconv>
#include <fcntl.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using zvm::process::ProcessMark;

namespace {
constexpr std::size_t kMaxBytes = std::size_t{64} * 1024;

bool ReadNumber(std::istream& words, auto& number) {
    std::string word;
    if (!(words >> word)) {
        return false;
    }
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
    return error == std::errc() && end == word.data() + word.size();
}

bool Runs(const ProcessMark& mark) {
    return zvm::process::MarkOf(mark.pid) == mark;
}
} // namespace

EncoderGroups::EncoderGroups(std::filesystem::path file)
    : file_(std::move(file)), self_(zvm::process::MarkOf(getpid()).value_or(ProcessMark{})) {}

std::filesystem::path EncoderGroups::BesideQueue(const std::filesystem::path& queueFile) {
    return queueFile.parent_path() / "encoder-groups.txt";
}

// Opened without blocking and only when it is a regular file, as the queue's own file is.
std::vector<EncoderGroups::Entry> EncoderGroups::read() const {
    std::vector<Entry> entries;
    const zvm::files::Descriptor fd(::open(file_.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd.isOpen() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return entries;
    }
    std::string bytes(kMaxBytes, '\0');
    const ssize_t got = ::read(fd.get(), bytes.data(), bytes.size());
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        Entry entry;
        std::string rest;
        if (ReadNumber(words, entry.owner.pid) && ReadNumber(words, entry.owner.started) &&
            ReadNumber(words, entry.leader.pid) && ReadNumber(words, entry.leader.started) &&
            !(words >> rest) && entry.leader.pid > 1) {
            entries.push_back(entry);
        }
    }
    return entries;
}

std::vector<EncoderGroups::Entry> EncoderGroups::others() const {
    std::vector<Entry> entries = read();
    std::erase_if(entries, [this](const Entry& entry) { return entry.owner == self_; });
    return entries;
}

// Nothing to keep leaves no file. A record that cannot be written costs only the clean-up of what an
// encoder started in turn (the encoders themselves still end with the program): it is kept as the
// status, for the window to say.
void EncoderGroups::write(std::vector<Entry> entries) {
    for (const ProcessMark& leader : mine_) {
        entries.push_back({self_, leader});
    }
    if (entries.empty()) {
        ::unlink(file_.c_str()); // never a folder in its place
        status_ = {};
        return;
    }
    std::ostringstream text;
    for (const Entry& entry : entries) {
        text << entry.owner.pid << ' ' << entry.owner.started << ' ' << entry.leader.pid << ' '
             << entry.leader.started << '\n';
    }
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    status_ = zvm::files::WriteAtomically(file_, text.str());
}

void EncoderGroups::endLeftOvers(std::chrono::milliseconds grace) {
    if (file_.empty()) {
        return;
    }
    std::vector<Entry> kept;
    std::vector<ProcessMark> leftOvers;
    for (const Entry& entry : others()) {
        if (Runs(entry.owner)) {
            kept.push_back(entry);
        } else {
            leftOvers.push_back(entry.leader);
        }
    }
    zvm::process::EndGroups(leftOvers, grace);
    write(kept);
}

void EncoderGroups::started(const ProcessMark& leader) {
    if (!file_.empty()) {
        mine_.push_back(leader);
        write(others());
    }
}

void EncoderGroups::forgetEnded() {
    if (std::erase_if(mine_, [](const ProcessMark& leader) {
            return zvm::process::GroupMembers(leader).empty();
        }) > 0) {
        write(others());
    }
}
