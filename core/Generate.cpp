#include "core/Generate.h"

#include "core/Cut.h"
#include "core/NumericText.h"
#include "core/Presets.h"
#include "core/Text.h"

#include <array>

namespace zvm {

namespace {
// A new width below the target means the picture is padded at the sides; otherwise it fills the
// width and any border goes above and below.
PadSides SidesFor(const FrameGeometry& g) {
    return g.newWidth < g.targetWidth ? PadSides::LeftRight : PadSides::TopBottom;
}

std::optional<std::string> BuildCommand(ConversionRequest& r, const TargetPreset& preset,
                                        const FrameGeometry& g, CommandStyle style) {
    if (NeedsModernForm(preset)) {
        return TargetCommand(r, preset, g); // the movie type is not theirs to change
    }
    if (preset.form == CommandForm::Vcd) {
        r.movieType = MovieType::None;
        return VcdCommand(r, g, SidesFor(g), style);
    }
    if (r.movieType == MovieType::None) {
        return std::nullopt;
    }
    return Mp4Command(r, g, r.movieType, SidesFor(g), style);
}
// What keeps chosen subtitles out of the command. The classic options predate ffmpeg's filters, so
// only the modern form can draw them; a double quote would end the window's quoted filter.
Status CheckSubtitles(const ConversionRequest& r, const TargetPreset& preset, CommandStyle style, NameQuotes quotes) {
    const SubtitleChoice& s = r.subtitles;
    if (s.mode != SubtitleMode::File && s.mode != SubtitleMode::Stream) {
        return {};
    }
    const auto refuse = [](const char* prompt) {
        return Refuse(RequestField::SourceVideo, prompt, ZVM_TEXT("zvm", "Invalid Subtitles!"));
    };
    if (style == CommandStyle::Classic && !NeedsModernForm(preset)) {
        return refuse(ZVM_TEXT("zvm", "Burned-in subtitles need the modern command form: the classic options cannot draw them"));
    }
    if (s.mode == SubtitleMode::File &&
        (s.file.empty() || (quotes == NameQuotes::Refused && s.file.find('"') != std::string::npos))) {
        return refuse(ZVM_TEXT("zvm", "The subtitle file must be named, and its name cannot contain a double quote (\")"));
    }
    if (s.mode == SubtitleMode::Stream && s.stream < 0) {
        return refuse(ZVM_TEXT("zvm", "Choose which subtitle stream of the video to draw"));
    }
    if (s.size < 0 || s.size > kLargestSubtitleSize) {
        return refuse(ZVM_TEXT("zvm", "The subtitle size must be between 1 and 200 pixels"));
    }
    return {};
}

// Bounds an encoder can use; the window's designed checks only ask for a number.
struct Bound {
    std::string ConversionRequest::*field;
    double least;
    double most;
    const char* message;
};
constexpr std::array<Bound, 3> kBounds{{
    {&ConversionRequest::videoBitrate, 1, 100000,
     ZVM_TEXT("zvm", "The video bitrate must be between 1 and 100000 kbit/s, not %1")},
    {&ConversionRequest::audioBitrate, 1, 1024, ZVM_TEXT("zvm", "The audio bitrate must be between 1 and 1024 kbit/s, not %1")},
    {&ConversionRequest::sampleRate, 8000, 192000,
     ZVM_TEXT("zvm", "The sample rate must be between 8000 and 192000 Hz, not %1")},
}};
} // namespace

// What keeps a crop, a sound stream or deinterlacing out of the command: the classic options can do
// none of them, and a rectangle must lie inside the picture it is taken from.
Status CheckSourceChoices(const ConversionRequest& r, const TargetPreset& preset, CommandStyle style) {
    const CropChoice& c = r.crop;
    const bool classic = style == CommandStyle::Classic && !NeedsModernForm(preset);
    if (classic && (r.audio.track >= 0 || r.deinterlace == DeinterlaceMode::On)) {
        return Refuse(RequestField::SourceVideo,
                      ZVM_TEXT("zvm", "Choosing the sound stream or deinterlacing needs the modern command form"),
                      ZVM_TEXT("zvm", "Invalid Source Choice!"));
    }
    if (c.mode != CropMode::Rect) {
        return {};
    }
    const auto refuse = [](const char* prompt) {
        return Refuse(RequestField::SourceVideo, prompt, ZVM_TEXT("zvm", "Invalid Crop!"));
    };
    if (classic) {
        return refuse(ZVM_TEXT("zvm", "Cropping needs the modern command form: the classic options cannot cut the picture"));
    }
    const int sourceWidth = c.sourceWidth > 0 ? c.sourceWidth : static_cast<int>(ParseNumber(r.width).value_or(0));
    const int sourceHeight =
        c.sourceHeight > 0 ? c.sourceHeight : static_cast<int>(ParseNumber(r.height).value_or(0));
    if (c.width < 2 || c.height < 2 || c.x < 0 || c.y < 0 || c.x + c.width > sourceWidth ||
        c.y + c.height > sourceHeight) {
        return refuse(ZVM_TEXT("zvm", "The crop rectangle must lie inside the picture and keep at least 2 by 2 pixels"));
    }
    return {};
}

Status CheckEncodableRates(const ConversionRequest& request) {
    const TargetPreset* preset = FindPreset(request.preset);
    const bool vcd = preset != nullptr && preset->form == CommandForm::Vcd;
    for (const Bound& bound : kBounds) {
        if (vcd && bound.field != &ConversionRequest::videoBitrate) {
            continue; // written by the VCD rows themselves
        }
        const std::string& text = request.*bound.field;
        const std::optional<double> value = ParseNumber(text);
        if (!value || !(*value >= bound.least && *value <= bound.most)) {
            return Status::Failure(FailureKind::BadInput, bound.message, text);
        }
    }
    return {};
}

Status CheckEncodable(const GenerateResult& result) {
    if (Status rates = CheckEncodableRates(result.request); !rates.ok()) {
        return rates;
    }
    if (Status cut = CheckCut(result.request, std::nullopt); !cut.ok()) {
        return cut;
    }
    const FrameGeometry& g = result.geometry;
    if (g.newWidth < 2 || g.newHeight < 2) {
        return Status::Failure(FailureKind::BadInput,
                               ZVM_TEXT("zvm", "The picture would be %1 pixels, too small for an encoder"),
                               std::to_string(g.newWidth) + "x" + std::to_string(g.newHeight));
    }
    return {};
}

std::optional<FrameGeometry> FitRequest(const ConversionRequest& request) {
    const std::optional<double> width = ParseNumber(request.width);
    const std::optional<double> height = ParseNumber(request.height);
    const TargetPreset* preset = FindPreset(request.preset);
    if (!width || !height || !(*width > 0) || !(*height > 0) || preset == nullptr) {
        return std::nullopt;
    }
    double shownWidth = *width;
    double shownHeight = *height;
    const CropChoice& crop = request.crop;
    if (crop.mode == CropMode::Rect && crop.width > 0 && crop.height > 0) {
        // The fit is the designed one on the kept picture; for a source whose pixels are not square
        // the rectangle is stretched as they are (a factor of exactly 1 otherwise).
        const double across = crop.sourceWidth > 0 ? *width / crop.sourceWidth : 1.0;
        const double down = crop.sourceHeight > 0 ? *height / crop.sourceHeight : 1.0;
        shownWidth = crop.width * across;
        shownHeight = crop.height * down;
    }
    // The picture is stored for pixels of the target's aspect: a 4:3 picture on pixels 10:11 wide
    // takes 11/10 of the square-pixel width. For square pixels the ratio is the designed one exactly.
    const Ratio pixel = preset->pixelAspect;
    return FitAndPad(ComputeRatio(shownWidth * pixel.down, shownHeight * pixel.across), preset->width, preset->height);
}

Result<GenerateResult> Generate(const ConversionRequest& request, CommandStyle style, NameQuotes quotes) {
    if (Status refusal = CheckRequest(request, quotes); !refusal.ok()) {
        return refusal;
    }
    // After the seven checks, so their order stays; no window offers a row the list lacks, but a
    // request from elsewhere may name one.
    const TargetPreset* found = FindPreset(request.preset);
    if (found == nullptr) {
        return Refuse(RequestField::Target, ZVM_TEXT("zvm", "Choose a target screen from the list"),
                      ZVM_TEXT("zvm", "Invalid Target!"));
    }
    const TargetPreset& preset = *found;
    if (Status refusal = CheckSubtitles(request, preset, style, quotes); !refusal.ok()) {
        return refusal;
    }
    if (Status refusal = CheckSourceChoices(request, preset, style); !refusal.ok()) {
        return refusal;
    }
    if (request.bestQuality && style == CommandStyle::Classic && preset.designed) {
        return Refuse(RequestField::Target,
                      ZVM_TEXT("zvm", "Best quality needs the modern command form: the classic options cannot ask for it"),
                      ZVM_TEXT("zvm", "Invalid Target!"));
    }
    GenerateResult result{*FitRequest(request), std::nullopt, request}; // the checks passed: it fits
    if (!preset.audioBitrate.empty()) {
        result.request.audioBitrate = preset.audioBitrate;
    }
    if (!preset.sampleRate.empty()) {
        result.request.sampleRate = preset.sampleRate;
    }
    result.command = BuildCommand(result.request, preset, result.geometry, style);
    return result;
}

} // namespace zvm
