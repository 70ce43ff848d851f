#pragma once

#include <string>

namespace zvm {

// The scaled picture and the borders that pad it to the target screen.
// New size plus pads always equals the target size.
struct FrameGeometry {
    float ratio = 0.0F;
    int targetWidth = 0;
    int targetHeight = 0;
    int newWidth = 0;
    int newHeight = 0;
    int padTop = 0;
    int padBottom = 0;
    int padLeft = 0;
    int padRight = 0;

    bool operator==(const FrameGeometry&) const = default;
};

// Source width over height in double precision, then rounded to single precision.
// All later steps use only this rounded value, as the results depend on it.
float ComputeRatio(double width, double height);

// The three steps of FitAndPad; each reads and fills the geometry record.
// ratio must be positive (infinity allowed), target sides positive and even.
void FitFrame(FrameGeometry& geometry);
void RoundToEven(FrameGeometry& geometry);
void PadFrame(FrameGeometry& geometry);

FrameGeometry FitAndPad(float ratio, int targetWidth, int targetHeight);

// At most seven significant digits, no trailing zeros, independent of the locale: "1.333333", "1.5".
std::string FormatRatio(float ratio);

} // namespace zvm
