// The command-line splitter on any line never crashes, reports word positions inside the line,
// and joining its words (each quoted, a quote in one doubled) and splitting again gives the same words.
#include "process/CommandSplit.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using zvm::process::SplitCommandLine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const auto words = SplitCommandLine(line);
    std::string joined;
    for (const auto& word : words) {
        if (word.begin >= word.end || word.end > line.size()) {
            std::abort();
        }
        joined += joined.empty() ? "\"" : " \"";
        for (const char c : word.text) {
            joined += c == '"' ? "\"\"" : std::string(1, c);
        }
        joined += '"';
    }
    const auto again = SplitCommandLine(joined);
    if (again.size() != words.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (again[i].text != words[i].text) {
            std::abort();
        }
    }
    return 0;
}
