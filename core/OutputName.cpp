#include "core/OutputName.h"

#include "core/Presets.h"

namespace zvm {

namespace {
std::string_view EndingOf(CommandForm form) {
    return form == CommandForm::Vcd ? ".mpg" : ".mp4";
}
} // namespace

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
    const std::string_view ending = EndingOf(target->form);
    if (name + std::string(ending) == source) {
        name += "-converted";
    }
    return name + std::string(ending);
}

} // namespace zvm
