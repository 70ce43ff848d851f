#pragma once

#include <string>

namespace zvm {

// A span of time as a clock shows it, to the nearest second: "0:07", "12:34", and from an hour on
// "1:02:03". Negative spans show as "0:00".
std::string ClockText(double seconds);

} // namespace zvm
