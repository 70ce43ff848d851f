#include "core/OutputName.h"

#include "core/Presets.h"

namespace zvm {

std::string SuggestOutputName(std::string_view source, int preset, std::string_view folder) {
    const TargetPreset* target = FindPreset(preset);
    if (target == nullptr) {
        return {};
    }
    const std::size_t slash = source.rfind('/');
    const std::string_view file = slash == std::string_view::npos ? source : source.substr(slash + 1);
    const std::size_t dot = file.rfind('.');
    // A leading dot names a hidden file, not an ending.
    const std::string_view base = dot == std::string_view::npos || dot == 0 ? file : file.substr(0, dot);
    std::string name(folder.empty() ? source.substr(0, source.size() - file.size()) : folder);
    if (!name.empty() && name.back() != '/') {
        name += '/';
    }
    name += base;
    // Raw frames carry no size or rate: the name tells them ("clip-160x128-15fps-rgb565be.rgb").
    const std::string tail = RawNameTail(*target);
    const std::string ending = tail.empty() ? std::string(FileEnding(*target)) : tail;
    if (name + ending == source) {
        name += "-converted";
    }
    return name + ending;
}

} // namespace zvm
