#pragma once

#include "core/ConversionRequest.h"

#include <optional>
#include <string>

namespace zvm {

enum class RequestField {
    SourceVideo,
    OutputPath,
    Width,
    Height,
    VideoBitrate,
    AudioBitrate,
    SampleRate,
    Target
};

// The outcome of a failed check. A refusal that is not shown ends Convert silently, because
// Generate has just shown the same complaint.
struct Refusal {
    std::string prompt;
    std::string title;
    RequestField field = RequestField::SourceVideo;
    bool shown = true;

    bool operator==(const Refusal&) const = default;
};

// Generate's seven checks in their fixed order; the first failure wins. Reads the request only.
std::optional<Refusal> CheckRequest(const ConversionRequest& request);

// The same for a request whose size is still to be read from its video: every check but the width's
// and the height's, which wait for the size.
std::optional<Refusal> CheckRequestBeforeSize(const ConversionRequest& request);

// Convert's own checks, run after Generate: its own input file check, the five numeric checks with
// Generate's words, and a silent output file check.
std::optional<Refusal> CheckRunRequest(const ConversionRequest& request);

} // namespace zvm
