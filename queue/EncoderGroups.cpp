#include "queue/EncoderGroups.h"

#include "files/AtomicFile.h"
#include "files/Descriptor.h"
#include "files/WrittenFile.h"

#include <array>
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

// Hexadecimal bytes: any name, blanks and line ends included, is one word of the file.
std::string Hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const unsigned char c : bytes) {
        text += kDigits[c >> 4];
        text += kDigits[c & 15];
    }
    return text;
}

bool FromHex(const std::string& text, std::string& bytes) {
    bytes.clear();
    for (std::size_t at = 0; at + 1 < text.size(); at += 2) {
        unsigned int byte = 0;
        const auto [end, error] = std::from_chars(text.data() + at, text.data() + at + 2, byte, 16);
        if (error != std::errc() || end != text.data() + at + 2) {
            return false;
        }
        bytes += static_cast<char>(byte);
    }
    return text.size() % 2 == 0;
}

std::string MachineName() {
    std::array<char, 256> name{};
    return ::gethostname(name.data(), name.size() - 1) == 0 ? std::string(name.data()) : std::string();
}
} // namespace

EncoderGroups::EncoderGroups(std::filesystem::path file)
    : file_(std::move(file)), self_(zvm::process::MarkOf(getpid()).value_or(ProcessMark{})),
      machine_(MachineName()) {}

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
        std::string partial;
        std::string machine;
        std::string rest;
        const bool marks = ReadNumber(words, entry.owner.pid) && ReadNumber(words, entry.owner.started) &&
                           ReadNumber(words, entry.leader.pid) && ReadNumber(words, entry.leader.started);
        const bool named = !(words >> partial) ||
                           (words >> machine && FromHex(partial, entry.partial) && FromHex(machine, entry.machine));
        if (marks && named && !(words >> rest) && entry.leader.pid > 1) {
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
    entries.insert(entries.end(), mine_.begin(), mine_.end());
    if (entries.empty()) {
        ::unlink(file_.c_str()); // never a folder in its place
        status_ = {};
        return;
    }
    std::ostringstream text;
    for (const Entry& entry : entries) {
        text << entry.owner.pid << ' ' << entry.owner.started << ' ' << entry.leader.pid << ' '
             << entry.leader.started;
        if (!entry.partial.empty()) {
            text << ' ' << Hex(entry.partial) << ' ' << Hex(entry.machine);
        }
        text << '\n';
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
    std::vector<std::string> partials;
    for (const Entry& entry : others()) {
        const bool mine = entry.partial.empty() || entry.machine == machine_;
        if (!mine || Runs(entry.owner)) {
            kept.push_back(entry);
            continue;
        }
        leftOvers.push_back(entry.leader);
        if (zvm::files::IsPartialPath(entry.partial)) { // never any other name a damaged file might hold
            partials.push_back(entry.partial);
        }
    }
    zvm::process::EndGroups(leftOvers, grace);
    for (const std::string& partial : partials) {
        zvm::files::RemoveWritten(partial, std::nullopt);
    }
    write(kept);
}

void EncoderGroups::started(const ProcessMark& leader, const std::string& partial) {
    if (!file_.empty()) {
        mine_.push_back({self_, leader, partial, partial.empty() ? std::string() : machine_});
        write(others());
    }
}

void EncoderGroups::forgetEnded() {
    if (std::erase_if(mine_, [](const Entry& entry) {
            return zvm::process::GroupMembers(entry.leader).empty();
        }) > 0) {
        write(others());
    }
}
