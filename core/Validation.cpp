#include "core/Validation.h"

#include "core/NumericText.h"
#include "core/Text.h"

#include <array>
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

Refusal MakeRefusal(RequestField field, std::string_view prompt, std::string_view title) {
    return Refusal{std::string(prompt), std::string(title), field, true};
}

// Both paths are enclosed in double quotes in the command: a quote inside one would silently
// change the encoder's arguments.
std::optional<Refusal> Check(const ConversionRequest& r, const PathCheck& check) {
    const std::string& text = FieldText(r, check.field);
    if (text.empty()) {
        return MakeRefusal(check.field, check.emptyPrompt, check.title);
    }
    if (text.find('"') != std::string::npos) {
        return MakeRefusal(check.field, kQuotePrompt, check.title);
    }
    return std::nullopt;
}

std::optional<Refusal> Check(const ConversionRequest& r, const NumberCheck& check) {
    const std::optional<double> value = ParseNumber(FieldText(r, check.field));
    if (!value) {
        return MakeRefusal(check.field, check.prompt, check.title);
    }
    if (!check.notPositivePrompt.empty() && !(*value > 0.0)) {
        return MakeRefusal(check.field, check.notPositivePrompt, check.title);
    }
    return std::nullopt;
}

enum class Size { Given, ToBeRead };

std::optional<Refusal> CheckNumbers(const ConversionRequest& r, Size size = Size::Given) {
    for (const NumberCheck& check : kNumberChecks) {
        const bool isSize = check.field == RequestField::Width || check.field == RequestField::Height;
        if (isSize && size == Size::ToBeRead) {
            continue;
        }
        if (auto refusal = Check(r, check)) {
            return refusal;
        }
    }
    return std::nullopt;
}

std::optional<Refusal> GenerateChecks(const ConversionRequest& r, Size size) {
    if (auto refusal = Check(r, kGenerateInput)) {
        return refusal;
    }
    if (auto refusal = Check(r, kOutput)) {
        return refusal;
    }
    return CheckNumbers(r, size);
}
} // namespace

std::optional<Refusal> CheckRequest(const ConversionRequest& r) {
    return GenerateChecks(r, Size::Given);
}

std::optional<Refusal> CheckRequestBeforeSize(const ConversionRequest& r) {
    return GenerateChecks(r, Size::ToBeRead);
}

std::optional<Refusal> CheckRunRequest(const ConversionRequest& r) {
    if (auto refusal = Check(r, kRunInput)) {
        return refusal;
    }
    if (auto refusal = CheckNumbers(r)) {
        return refusal;
    }
    if (auto refusal = Check(r, kOutput)) {
        refusal->shown = false;
        return refusal;
    }
    return std::nullopt;
}

} // namespace zvm
