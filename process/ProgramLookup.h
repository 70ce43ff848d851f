#pragma once

#include "core/Status.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zvm::process {

// The program to start and the arguments to give it.
struct ResolvedCommand {
    std::string program;
    std::vector<std::string> arguments;
};

// What the machine has: whether a path names an executable file, whether it names any file, and the
// search path for names without a slash. Tests give their own.
struct ProgramFinder {
    std::function<bool(const std::string&)> isExecutable;
    std::function<bool(const std::string&)> exists;
    std::string searchPath;

    static ProgramFinder FromSystem();
};

// The program the encoder box's text names: a bare name on the search path, a path as it is, or
// either as one quoted word. Nothing when it names none.
std::optional<std::string> FindEncoder(std::string_view encoder, const ProgramFinder& finder);

// Finds the program a command line starts, strictly, so that nothing runs that the user did not name:
// - a line that begins with the encoder's exact text, where that text names a program (a bare name
//   on the search path, or a path), runs that program with the rest of the line as its arguments;
// - otherwise the first word alone names it when it is a bare name on the search path; an absolute
//   first word may be joined with the following words and the blanks between them (an unquoted
//   "/opt/My Tools/ffmpeg"), and the longest joined name that is an executable wins. A joined name is
//   never looked up on the search path or in the working folder, and never longer than PATH_MAX.
// A failure says why the line names no program; its detail is the name looked for (cut short when
// it is too long, empty when there was none), for the window's message.
Result<ResolvedCommand> ResolveCommandLine(std::string_view line, std::string_view encoder,
                                           const ProgramFinder& finder);

} // namespace zvm::process
