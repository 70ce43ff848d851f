#pragma once

// What the tool prints for a shell: a command line that a POSIX shell runs as exactly the argument
// vector the tool itself would start, whatever the file names hold.

#include <string>
#include <string_view>
#include <vector>

namespace zvm::process {

// The argument vector a command runs as: the encoder's text as its first word when the line begins
// with it (the designed text leaves it unquoted, blanks and all), then the rest split by the same
// rules the program uses to start it (blanks separate, a double-quoted stretch keeps its blanks).
std::vector<std::string> CommandWords(std::string_view command, std::string_view encoder);

// Whether a shell would act on a character of the word (expand, split, redirect, glob...).
bool NeedsShellQuoting(std::string_view word);

// The command's own text when no word needs quoting; otherwise the words joined by blanks, each
// one that needs it single-quoted ('\'' for a quote inside).
std::string ShellLine(std::string_view command, std::string_view encoder);

} // namespace zvm::process
