#include "process/CommandSplit.h"

namespace zvm::process {

std::vector<Word> SplitCommandLine(std::string_view line) {
    std::vector<Word> words;
    Word current;
    bool inWord = false;
    bool inQuotes = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (!inQuotes && (c == ' ' || c == '\t')) {
            if (inWord) {
                current.end = i;
                words.push_back(std::move(current));
                current = Word{};
                inWord = false;
            }
            continue;
        }
        if (!inWord) {
            current.begin = i;
            inWord = true;
        }
        if (c == '"' && inQuotes && i + 1 < line.size() && line[i + 1] == '"') {
            current.text += c; // two quotes inside a quoted stretch are one quote of the text
            ++i;
        } else if (c == '"') {
            inQuotes = !inQuotes; // "" makes an empty word of its own
        } else {
            current.text += c;
        }
    }
    if (inWord) {
        current.end = line.size();
        words.push_back(std::move(current));
    }
    return words;
}

} // namespace zvm::process
