#pragma once

#include "core/CommandLine.h"
#include "core/ConversionRequest.h"
#include "core/Fitting.h"
#include "core/Status.h"
#include "core/Validation.h"

#include <optional>
#include <string>

namespace zvm {

struct GenerateResult {
    FrameGeometry geometry;
    // None when no form applies: rows 0 to 3 while no movie type is chosen.
    std::optional<std::string> command;
    // The request as Generate left it: the VCD row overwrites the audio values and clears the movie type.
    ConversionRequest request;
};

// The fit of the request's source into its target screen, computed as Generate computes it; nothing
// while the width or height is not a number above 0, or the target is not a row of the list.
std::optional<FrameGeometry> FitRequest(const ConversionRequest& request);

// Whether the target and form can take the request's crop, sound stream and deinterlacing, and its
// crop rectangle lies inside the picture it is taken from: Generate's own check of them.
Status CheckSourceChoices(const ConversionRequest& r, const TargetPreset& preset, CommandStyle style);

// Checks, fits and assembles. Keeps no state, so the window calls it for Generate and for Convert.
// A refusal (see Validation.h) changes no request. `quotes` says whether a double quote in a file
// name (the subtitle file's too) is refused.
Result<GenerateResult> Generate(const ConversionRequest& request, CommandStyle style = CommandStyle::Classic,
                                NameQuotes quotes = NameQuotes::Refused);

// What no encoder can use, though the window's designed checks let it pass: for the queue and the
// tool, which start encoders unattended. Refuses a bitrate or sample rate outside sane bounds (not
// above 0, or absurdly large or small), a cut that cannot be (see CheckCut) and a fit with a side
// under 2 pixels. Reads the request as
// Generate left it.
Status CheckEncodable(const GenerateResult& result);
// The bitrates and sample rate alone, for a request whose size is still to be read; the VCD row's
// audio values are its own.
Status CheckEncodableRates(const ConversionRequest& request);

} // namespace zvm
