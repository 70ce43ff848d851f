#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zvm::process {

// One word of a command line and where it stands in the line.
struct Word {
    std::string text;
    std::size_t begin = 0; // first character of the word in the line, quotes included
    std::size_t end = 0;   // one past its last character

    bool operator==(const Word&) const = default;
};

// Splits a command line by fixed rules, never through a shell: blanks (space, tab) separate words;
// a double-quoted stretch belongs to the word around it, without its quotes, and two quotes inside
// it stand for one quote of the text (as Windows programs read their command line); every other
// character is ordinary text. An unclosed quote runs to the end of the line.
std::vector<Word> SplitCommandLine(std::string_view line);

} // namespace zvm::process
