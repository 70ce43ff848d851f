#pragma once

#include <span>
#include <string_view>

namespace zvm {

enum class CommandForm { Mp4, Vcd };

struct TargetPreset {
    std::string_view displayText;
    int width;
    int height;
    CommandForm form;
};

// The VCD row forces these audio values; the encoder's VCD target needs them.
inline constexpr std::string_view kVcdAudioBitrate = "192";
inline constexpr std::string_view kVcdSampleRate = "44100";

// The fixed table of target screens, in list order. Every side is even: the padding relies on it.
std::span<const TargetPreset> TargetPresets();

// The display text without its ratio: "PSP - 368x208".
std::string_view ScreenName(const TargetPreset& preset);

// The row at `index`, or null for an index the list does not have.
const TargetPreset* FindPreset(int index);

} // namespace zvm
