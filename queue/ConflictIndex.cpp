#include "queue/ConflictIndex.h"

#include <algorithm>

namespace zvm::queue {

namespace {
template <typename Map, typename Key>
void EraseOne(Map& map, const Key& key, int id) {
    const auto [from, to] = map.equal_range(key);
    const auto found = std::find_if(from, to, [id](const auto& kept) { return kept.second == id; });
    if (found != to) {
        map.erase(found);
    }
}

template <typename Map, typename Key>
void Collect(const Map& map, const Key& key, int except, std::vector<int>& ids) {
    const auto [from, to] = map.equal_range(key);
    for (auto at = from; at != to; ++at) {
        if (at->second != except && std::find(ids.begin(), ids.end(), at->second) == ids.end()) {
            ids.push_back(at->second);
        }
    }
}
} // namespace

void ConflictIndex::Side::insert(int id, const NamedFile& named) {
    byName.emplace(named.normal, id);
    if (named.file) {
        byFile.emplace(*named.file, id);
    }
}

void ConflictIndex::Side::erase(int id, const NamedFile& named) {
    EraseOne(byName, named.normal, id);
    if (named.file) {
        EraseOne(byFile, *named.file, id);
    }
}

void ConflictIndex::Side::collect(int except, const NamedFile& named, std::vector<int>& ids) const {
    Collect(byName, named.normal, except, ids);
    if (named.file) {
        Collect(byFile, *named.file, except, ids);
    }
}

bool ConflictIndex::Side::hasOther(int except, const NamedFile& named) const {
    std::vector<int> ids;
    collect(except, named, ids);
    return !ids.empty();
}

const ConflictIndex::Entry* ConflictIndex::entry(int id) const {
    const auto found = entries_.find(id);
    return found != entries_.end() ? &found->second : nullptr;
}

void ConflictIndex::put(int id, Entry entry) {
    drop(id);
    sources_.insert(id, entry.source);
    outputs_.insert(id, entry.output);
    entries_.emplace(id, std::move(entry));
}

void ConflictIndex::drop(int id) {
    const auto found = entries_.find(id);
    if (found == entries_.end()) {
        return;
    }
    sources_.erase(id, found->second.source);
    outputs_.erase(id, found->second.output);
    entries_.erase(found);
}

bool ConflictIndex::readByAnother(int except, const NamedFile& output) const {
    return sources_.hasOther(except, output);
}

bool ConflictIndex::writtenByAnother(int except, const std::string& normal) const {
    return outputs_.hasOther(except, NamedFile{normal, std::nullopt});
}

std::vector<int> ConflictIndex::writersOver(int except, const NamedFile& source) const {
    std::vector<int> ids;
    outputs_.collect(except, source, ids);
    return ids;
}

} // namespace zvm::queue
