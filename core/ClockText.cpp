#include "core/ClockText.h"

#include <cmath>
#include <cstdio>

namespace zvm {

std::string ClockText(double seconds) {
    const long long whole = seconds > 0 ? std::llround(std::fmin(seconds, 1e15)) : 0;
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    }
    return text;
}

} // namespace zvm
