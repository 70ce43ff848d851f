#include "Presets.h"

#include <array>

namespace zvm {

namespace {
constexpr std::array<TargetPreset, 5> kPresets{{
    {"GBA - 240x160 (1.5000 ratio)", 240, 160, CommandForm::Mp4},
    {"GBA - 240x176 (1.3636 ratio)", 240, 176, CommandForm::Mp4},
    {"PSP - 320x240 (1.3333 ratio)", 320, 240, CommandForm::Mp4},
    {"PSP - 368x208 (1.1769 ratio)", 368, 208, CommandForm::Mp4},
    {"VCD - 352x240 (1.4666 ratio)", 352, 240, CommandForm::Vcd},
}};

constexpr bool AllSidesEven() {
    for (const auto& p : kPresets) {
        if (p.width % 2 != 0 || p.height % 2 != 0) {
            return false;
        }
    }
    return true;
}
static_assert(AllSidesEven(), "padding arithmetic needs even target sides");
} // namespace

std::span<const TargetPreset> TargetPresets() {
    return kPresets;
}

std::string_view ScreenName(const TargetPreset& preset) {
    return preset.displayText.substr(0, preset.displayText.find(" ("));
}

const TargetPreset* FindPreset(int index) {
    if (index < 0 || index >= static_cast<int>(kPresets.size())) {
        return nullptr;
    }
    return &kPresets[static_cast<std::size_t>(index)];
}

} // namespace zvm
