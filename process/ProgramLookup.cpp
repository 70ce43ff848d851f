#include "process/ProgramLookup.h"

#include "core/Text.h"

#include "process/CommandSplit.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace zvm::process {

namespace {
constexpr std::size_t kMaxName = PATH_MAX;

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool HasSlash(std::string_view name) {
    return name.find('/') != std::string_view::npos;
}

std::optional<std::string> OnSearchPath(const std::string& name, const ProgramFinder& finder) {
    std::string_view dirs = finder.searchPath;
    while (true) {
        const std::size_t colon = dirs.find(':');
        const std::string dir(dirs.substr(0, colon));
        const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (finder.isExecutable(candidate)) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        dirs.remove_prefix(colon + 1);
    }
}

// A bare name is looked up on the search path; a path is taken as it is.
std::optional<std::string> Locate(const std::string& name, const ProgramFinder& finder) {
    if (name.empty() || name.size() > kMaxName) {
        return std::nullopt;
    }
    if (HasSlash(name)) {
        return finder.isExecutable(name) ? std::optional(name) : std::nullopt;
    }
    return OnSearchPath(name, finder);
}

std::vector<std::string> Texts(const std::vector<Word>& words, std::size_t from) {
    std::vector<std::string> texts;
    for (std::size_t i = from; i < words.size(); ++i) {
        texts.push_back(words[i].text);
    }
    return texts;
}

bool BeginsWithWord(std::string_view line, std::string_view word) {
    return line.substr(0, word.size()) == word &&
           (line.size() == word.size() || line[word.size()] == ' ' || line[word.size()] == '\t');
}

Status Failure(const std::string& looked, const ProgramFinder& finder) {
    if (looked.size() > kMaxName) {
        return Status::Failure(FailureKind::BadInput,
                               ZVM_TEXT("zvm", "the program's name is longer than the system allows"),
                               looked.substr(0, 64) + "...");
    }
    if (!HasSlash(looked)) {
        return Status::Failure(FailureKind::NotFound,
                               ZVM_TEXT("zvm", "no program of that name was found on the search path"), looked);
    }
    if (finder.exists(looked)) {
        return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "it is not an executable program"), looked);
    }
    return Status::Failure(FailureKind::NotFound, ZVM_TEXT("zvm", "no such program was found"), looked);
}

// The longest absolute name, made of the first words and the blanks between them, that names an
// executable; the index of its last word, or nothing.
std::optional<std::size_t> LongestAbsoluteName(std::string_view line, const std::vector<Word>& words,
                                               const ProgramFinder& finder, std::string& name) {
    std::optional<std::size_t> last;
    std::string joined = words[0].text;
    for (std::size_t i = 0; i < words.size() && joined.size() <= kMaxName; ++i) {
        if (i > 0) {
            joined.append(line.substr(words[i - 1].end, words[i].begin - words[i - 1].end));
            joined.append(words[i].text);
        }
        if (joined.size() <= kMaxName && finder.isExecutable(joined)) {
            last = i;
            name = joined;
        }
    }
    return last;
}
} // namespace

ProgramFinder ProgramFinder::FromSystem() {
    const char* path = std::getenv("PATH");
    return {[](const std::string& p) { return IsRegularFile(p) && access(p.c_str(), X_OK) == 0; },
            [](const std::string& p) { return access(p.c_str(), F_OK) == 0; },
            path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin"};
}

std::optional<std::string> FindEncoder(std::string_view encoder, const ProgramFinder& finder) {
    if (auto program = Locate(std::string(encoder), finder)) {
        return program;
    }
    const std::vector<Word> words = SplitCommandLine(encoder);
    if (words.size() == 1 && encoder.find('"') != std::string_view::npos) {
        return Locate(words[0].text, finder);
    }
    return std::nullopt;
}

Result<ResolvedCommand> ResolveCommandLine(std::string_view line, std::string_view encoder,
                                           const ProgramFinder& finder) {
    if (!encoder.empty() && BeginsWithWord(line, encoder)) {
        if (const auto program = FindEncoder(encoder, finder)) {
            return ResolvedCommand{*program, Texts(SplitCommandLine(line.substr(encoder.size())), 0)};
        }
        return Failure(std::string(encoder), finder); // never a shorter or longer name than the one given
    }
    const std::vector<Word> words = SplitCommandLine(line);
    if (words.empty()) {
        return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "the command is empty"));
    }
    if (encoder.empty() && (line.front() == ' ' || line.front() == '\t')) {
        return Status::Failure(FailureKind::BadInput,
                               ZVM_TEXT("zvm", "no encoder is named: the box for its location is empty"));
    }
    const std::string& first = words[0].text;
    if (!first.empty() && !HasSlash(first)) {
        if (const auto program = Locate(first, finder)) {
            return ResolvedCommand{*program, Texts(words, 1)};
        }
    } else if (!first.empty() && first.front() == '/') {
        std::string name;
        if (const auto last = LongestAbsoluteName(line, words, finder, name)) {
            return ResolvedCommand{name, Texts(words, *last + 1)};
        }
    }
    return Failure(first, finder);
}

} // namespace zvm::process
