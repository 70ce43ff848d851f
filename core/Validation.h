#pragma once

#include "core/ConversionRequest.h"

#include "core/Status.h"

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

// A failed check is a refusal: a Status (see Status::Refusal) whose message is the box's prompt, with
// the box's title and the field that failed. A refusal without a title ends Convert silently,
// because Generate has just shown the same complaint.
Status Refuse(RequestField field, std::string prompt, std::string title);
// The field a refusal is about; SourceVideo for a failure that names none.
RequestField RefusedField(const Status& refusal);

// Where the file names stand: in the window's command text, whose double quotes around a name a quote
// inside it would end (refused, as designed), or in a command the queue and the tool start without a
// shell, which doubles such a quote and so takes any name.
enum class NameQuotes { Refused, Taken };

// Generate's seven checks in their fixed order; the first failure wins. Reads the request only.
Status CheckRequest(const ConversionRequest& request, NameQuotes quotes = NameQuotes::Refused);

// The same for a request whose size is still to be read from its video: every check but the width's
// and the height's, which wait for the size.
Status CheckRequestBeforeSize(const ConversionRequest& request, NameQuotes quotes = NameQuotes::Refused);

// Convert's own checks, run after Generate: its own input file check, the five numeric checks with
// Generate's words, and a silent output file check.
Status CheckRunRequest(const ConversionRequest& request);

} // namespace zvm
