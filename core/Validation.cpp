#include "core/Validation.h"

#include "core/NumericText.h"
#include "core/Text.h"

#include <array>
#include <utility>
#include <string_view>

namespace zvm {

namespace {
constexpr const char* kQuotePrompt = ZVM_TEXT("zvm", "A filename cannot contain a double quote (\")");

struct PathCheck {
    RequestField field;
    std::string_view emptyPrompt;
    std::string_view title;
};

struct NumberCheck {
    RequestField field;
    std::string_view prompt;
    std::string_view title;
    // Sizes must also be above 0: a height of 0 divides by zero, a negative size is meaningless.
    std::string_view notPositivePrompt;
};

constexpr PathCheck kGenerateInput{RequestField::SourceVideo,
                                   ZVM_TEXT("zvm", "You must enter a valid filename with extention (eg. movie.avi)"),
                                   ZVM_TEXT("zvm", "Enter an input filename!")};
constexpr PathCheck kRunInput{RequestField::SourceVideo,
                              ZVM_TEXT("zvm", "You must enter a valid filename with extension (eg movie.avi)"),
                              ZVM_TEXT("zvm", "Invalid Filename!")};
constexpr PathCheck kOutput{RequestField::OutputPath,
                            ZVM_TEXT("zvm", "Where do you want to save this MP4? (eg. c:\\movie.mp4)"),
                            ZVM_TEXT("zvm", "Enter an output filename!")};

constexpr std::array<NumberCheck, 5> kNumberChecks{{
    {RequestField::Width, ZVM_TEXT("zvm", "You must enter a number for the width"), ZVM_TEXT("zvm", "Invalid Width!"),
     ZVM_TEXT("zvm", "The width must be greater than 0")},
    {RequestField::Height, ZVM_TEXT("zvm", "You must enter a number for the height"), ZVM_TEXT("zvm", "Invalid Height!"),
     ZVM_TEXT("zvm", "The height must be greater than 0")},
    {RequestField::VideoBitrate,
     ZVM_TEXT("zvm", "You must enter a number for the video bitrate"),
     ZVM_TEXT("zvm", "Invalid Video Bitrate!"),
     {}},
    {RequestField::AudioBitrate,
     ZVM_TEXT("zvm", "You must enter a number for the audio bitrate"),
     ZVM_TEXT("zvm", "Invalid Audio Bitrate!"),
     {}},
    {RequestField::SampleRate,
     ZVM_TEXT("zvm", "You must enter a number for the samplerate"),
     ZVM_TEXT("zvm", "Invalid Samplerate!"),
     {}},
}};

const std::string& FieldText(const ConversionRequest& r, RequestField field) {
    switch (field) {
    case RequestField::SourceVideo:
        return r.sourceVideo;
    case RequestField::OutputPath:
        return r.outputPath;
    case RequestField::Width:
        return r.width;
    case RequestField::Height:
        return r.height;
    case RequestField::VideoBitrate:
        return r.videoBitrate;
    case RequestField::AudioBitrate:
        return r.audioBitrate;
    case RequestField::SampleRate:
    case RequestField::Target: // a row, not a text: no check reads it here
        break;
    }
    return r.sampleRate;
}

Status MakeRefusal(RequestField field, std::string_view prompt, std::string_view title) {
    return Refuse(field, std::string(prompt), std::string(title));
}

// Both paths are enclosed in double quotes in the command: a quote inside one would silently
// change the encoder's arguments.
Status Check(const ConversionRequest& r, const PathCheck& check, NameQuotes quotes = NameQuotes::Refused) {
    const std::string& text = FieldText(r, check.field);
    if (text.empty()) {
        return MakeRefusal(check.field, check.emptyPrompt, check.title);
    }
    if (quotes == NameQuotes::Refused && text.find('"') != std::string::npos) {
        return MakeRefusal(check.field, kQuotePrompt, check.title);
    }
    return {};
}

Status Check(const ConversionRequest& r, const NumberCheck& check) {
    const std::optional<double> value = ParseNumber(FieldText(r, check.field));
    if (!value) {
        return MakeRefusal(check.field, check.prompt, check.title);
    }
    if (!check.notPositivePrompt.empty() && !(*value > 0.0)) {
        return MakeRefusal(check.field, check.notPositivePrompt, check.title);
    }
    return {};
}

enum class Size { Given, ToBeRead };

Status CheckNumbers(const ConversionRequest& r, Size size = Size::Given) {
    for (const NumberCheck& check : kNumberChecks) {
        const bool isSize = check.field == RequestField::Width || check.field == RequestField::Height;
        if (isSize && size == Size::ToBeRead) {
            continue;
        }
        if (Status refusal = Check(r, check); !refusal.ok()) {
            return refusal;
        }
    }
    return {};
}

Status GenerateChecks(const ConversionRequest& r, Size size, NameQuotes quotes) {
    if (Status refusal = Check(r, kGenerateInput, quotes); !refusal.ok()) {
        return refusal;
    }
    if (Status refusal = Check(r, kOutput, quotes); !refusal.ok()) {
        return refusal;
    }
    return CheckNumbers(r, size);
}
} // namespace

Status Refuse(RequestField field, std::string prompt, std::string title) {
    return Status::Refusal(std::move(prompt), std::move(title), static_cast<int>(field));
}

RequestField RefusedField(const Status& refusal) {
    return refusal.field() < 0 ? RequestField::SourceVideo : static_cast<RequestField>(refusal.field());
}

Status CheckRequest(const ConversionRequest& r, NameQuotes quotes) {
    return GenerateChecks(r, Size::Given, quotes);
}

Status CheckRequestBeforeSize(const ConversionRequest& r, NameQuotes quotes) {
    return GenerateChecks(r, Size::ToBeRead, quotes);
}

Status CheckRunRequest(const ConversionRequest& r) {
    if (Status refusal = Check(r, kRunInput); !refusal.ok()) {
        return refusal;
    }
    if (Status refusal = CheckNumbers(r); !refusal.ok()) {
        return refusal;
    }
    if (const Status refusal = Check(r, kOutput); !refusal.ok()) {
        return Refuse(RequestField::OutputPath, refusal.message(), {}); // untitled: not shown again
    }
    return {};
}

} // namespace zvm
