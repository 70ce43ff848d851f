#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvm::run {

// The program to start and the arguments to give it.
struct ResolvedCommand {
    std::string program;
    std::vector<std::string> arguments;
};

// Either a command ready to start, or why the line names no program.
struct Resolution {
    std::optional<ResolvedCommand> command;
    std::string error;
    std::string program; // the name looked for, for the message
};

// What the machine has: whether a path names an executable file, whether it names any file, and the
// search path for names without a slash. Tests give their own.
struct ProgramFinder {
    std::function<bool(const std::string&)> isExecutable;
    std::function<bool(const std::string&)> exists;
    std::string searchPath;

    static ProgramFinder FromSystem();
};

// The first word names the program, looked up on the search path when it has no slash. When that
// names no executable file, it is joined with the following words and the blanks between them until
// the result does, so an unquoted "/opt/My Tools/ffmpeg" works.
Resolution ResolveCommandLine(std::string_view line, const ProgramFinder& finder);

} // namespace zvm::run
