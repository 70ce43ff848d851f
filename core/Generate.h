#pragma once

#include "CommandLine.h"
#include "ConversionRequest.h"
#include "Fitting.h"
#include "Validation.h"

#include <optional>
#include <string>
#include <variant>

namespace zvm {

struct GenerateResult {
    FrameGeometry geometry;
    // None when no form applies: rows 0 to 3 while no movie type is chosen.
    std::optional<std::string> command;
    // The request as Generate left it: the VCD row overwrites the audio values and clears the movie type.
    ConversionRequest request;
};

using GenerateOutcome = std::variant<Refusal, GenerateResult>;

// Checks, fits and assembles. Keeps no state, so the window calls it for Generate and for Convert.
// On a refusal the request is not changed.
GenerateOutcome Generate(const ConversionRequest& request, CommandStyle style = CommandStyle::Classic);

} // namespace zvm
