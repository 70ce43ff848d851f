#include "core/Fitting.h"

#include <array>
#include <charconv>
#include <cmath>

namespace zvm {

namespace {
// floor() of a single-precision value already known to lie within [0, a target side].
int FloorToInt(float value) {
    return static_cast<int>(std::floor(value));
}

// Splits an even difference into two even pads, the larger first.
void SplitEven(int difference, int& first, int& second) {
    first = difference / 2;
    if (first % 2 != 0) {
        ++first;
    }
    second = difference - first;
}
} // namespace

float ComputeRatio(double width, double height) {
    return static_cast<float>(width / height);
}

void FitFrame(FrameGeometry& g) {
    // Float operands keep each product and quotient rounded to single precision.
    const float p = static_cast<float>(g.targetHeight) * g.ratio;
    if (p > static_cast<float>(g.targetWidth)) {
        const float q1 = static_cast<float>(g.targetWidth) / g.ratio;
        g.newWidth = g.targetWidth;
        g.newHeight = FloorToInt(q1);
    } else {
        g.newHeight = g.targetHeight;
        g.newWidth = FloorToInt(p);
    }
}

void RoundToEven(FrameGeometry& g) {
    if (g.newWidth % 2 != 0) {
        ++g.newWidth;
    }
    if (g.newHeight % 2 != 0) {
        ++g.newHeight;
    }
}

void PadFrame(FrameGeometry& g) {
    const float q = static_cast<float>(g.targetWidth) / g.ratio;
    if (q < static_cast<float>(g.targetHeight)) {
        g.padLeft = g.padRight = 0;
        SplitEven(g.targetHeight - g.newHeight, g.padTop, g.padBottom);
    } else {
        g.padTop = g.padBottom = 0;
        SplitEven(g.targetWidth - g.newWidth, g.padLeft, g.padRight);
    }
}

FrameGeometry FitAndPad(float ratio, int targetWidth, int targetHeight) {
    FrameGeometry g;
    g.ratio = ratio;
    g.targetWidth = targetWidth;
    g.targetHeight = targetHeight;
    FitFrame(g);
    RoundToEven(g);
    PadFrame(g);
    return g;
}

std::string FormatRatio(float ratio) {
    std::array<char, 32> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), ratio, std::chars_format::general, 7);
    return {buffer.data(), result.ptr};
}

} // namespace zvm
