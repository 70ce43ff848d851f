#pragma once

#include <optional>
#include <string_view>

namespace zvm {

// The numeric test of the input checks, exact and independent of the locale.
// Accepts blanks (space, tab) around an optional sign, digits with an optional decimal point
// (12, 12.5, .5, 5.) and an optional exponent (1e3, 2E-2). Refuses everything else, including
// hexadecimal, separators, a decimal comma, nan, inf and values outside the range of a double.
// The value returned is the one the fitting uses.
std::optional<double> ParseNumber(std::string_view text);

} // namespace zvm
