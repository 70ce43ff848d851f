#include "process/ShellText.h"

#include "process/CommandSplit.h"

#include <algorithm>

namespace zvm::process {

std::vector<std::string> CommandWords(std::string_view command, std::string_view encoder) {
    std::vector<std::string> words;
    if (!encoder.empty() && command.starts_with(encoder)) {
        words.emplace_back(encoder);
        command.remove_prefix(encoder.size());
    }
    for (Word& word : SplitCommandLine(command)) {
        words.push_back(std::move(word.text));
    }
    return words;
}

bool NeedsShellQuoting(std::string_view word) {
    constexpr std::string_view kPlain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                                        "_@%+=:,./-";
    return word.empty() || word.find_first_not_of(kPlain) != std::string_view::npos;
}

std::string ShellLine(std::string_view command, std::string_view encoder) {
    const std::vector<std::string> words = CommandWords(command, encoder);
    if (std::none_of(words.begin(), words.end(), [](const std::string& w) { return NeedsShellQuoting(w); })) {
        return std::string(command);
    }
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) {
            line += ' ';
        }
        if (!NeedsShellQuoting(word)) {
            line += word;
            continue;
        }
        line += '\'';
        for (const char c : word) {
            line += c == '\'' ? std::string_view("'\\''") : std::string_view(&c, 1);
        }
        line += '\'';
    }
    return line;
}

} // namespace zvm::process
