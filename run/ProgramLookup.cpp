#include "ProgramLookup.h"

#include "CommandSplit.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace zvm::run {

namespace {
bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The full path of an executable file named by `name`, or nothing.
std::optional<std::string> Locate(const std::string& name, const ProgramFinder& finder) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string::npos) {
        return finder.isExecutable(name) ? std::optional(name) : std::nullopt;
    }
    std::string_view dirs = finder.searchPath;
    while (true) {
        const std::size_t colon = dirs.find(':');
        std::string dir(dirs.substr(0, colon));
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

Resolution Failure(const std::string& program, const ProgramFinder& finder) {
    const bool present = program.find('/') != std::string::npos && finder.exists(program);
    return {std::nullopt, present ? "it is not an executable program" : "no such program was found", program};
}
} // namespace

ProgramFinder ProgramFinder::FromSystem() {
    const char* path = std::getenv("PATH");
    return {[](const std::string& p) { return IsRegularFile(p) && access(p.c_str(), X_OK) == 0; },
            [](const std::string& p) { return access(p.c_str(), F_OK) == 0; },
            path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin"};
}

Resolution ResolveCommandLine(std::string_view line, const ProgramFinder& finder) {
    const std::vector<Word> words = SplitCommandLine(line);
    if (words.empty()) {
        return {std::nullopt, "the command is empty", {}};
    }
    std::string name = words[0].text;
    for (std::size_t last = 0; last < words.size(); ++last) {
        if (last > 0) {
            name += line.substr(words[last - 1].end, words[last].begin - words[last - 1].end);
            name += words[last].text;
        }
        if (const auto program = Locate(name, finder)) {
            ResolvedCommand command{*program, {}};
            for (std::size_t i = last + 1; i < words.size(); ++i) {
                command.arguments.push_back(words[i].text);
            }
            return {std::move(command), {}, name};
        }
    }
    return Failure(words[0].text, finder);
}

} // namespace zvm::run
