#pragma once

#include "process/OutputGuard.h"

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace zvm::queue {

// A path as the checks compare it: its normal form, and the file it reached when it was looked at
// (nothing where no file was).
struct NamedFile {
    std::string normal;
    std::optional<process::FileId> file;
};

// Which item reads and which writes which file, kept beside the queue's items so that a check is a
// few look-ups rather than a walk over the queue (and a look at the disk for every other item).
class ConflictIndex {
public:
    struct Entry {
        NamedFile source;
        NamedFile output;
    };

    // What is known of the item, or nothing.
    const Entry* entry(int id) const;
    void put(int id, Entry entry);
    void drop(int id);

    // Whether an item other than `except` reads the file `output` names (by name or as a file).
    bool readByAnother(int except, const NamedFile& output) const;
    // Whether an item other than `except` writes to this normal name.
    bool writtenByAnother(int except, const std::string& normal) const;
    // The items other than `except` that write over `source` (by name or as a file).
    std::vector<int> writersOver(int except, const NamedFile& source) const;

private:
    using ByName = std::unordered_multimap<std::string, int>;
    using ByFile = std::multimap<process::FileId, int>;
    struct Side {
        ByName byName;
        ByFile byFile;
        void insert(int id, const NamedFile& named);
        void erase(int id, const NamedFile& named);
        bool hasOther(int except, const NamedFile& named) const;
        void collect(int except, const NamedFile& named, std::vector<int>& ids) const;
    };
    std::unordered_map<int, Entry> entries_;
    Side sources_;
    Side outputs_;
};

} // namespace zvm::queue
