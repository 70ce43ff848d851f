#include "core/PrepareRun.h"

#include "core/CommandLine.h"
#include "core/Cut.h"
#include "core/FileSize.h"
#include "core/Generate.h"
#include "core/Presets.h"
#include "core/RunReasons.h"

#include <utility>

namespace zvm {

SubtitleChoice ResolveSubtitles(const SubtitleChoice& choice, const RunFacts& facts) {
    if (choice.mode != SubtitleMode::Auto) {
        return choice;
    }
    SubtitleChoice resolved{SubtitleMode::None, {}, -1, choice.size};
    if (!facts.subtitleBeside.empty()) {
        resolved.mode = SubtitleMode::File;
        resolved.file = facts.subtitleBeside;
    } else if (facts.subtitleStreams > 0) {
        resolved.mode = SubtitleMode::Stream;
        resolved.stream = 0;
    }
    return resolved;
}

CropChoice ResolveCrop(const CropChoice& choice, const RunFacts& facts) {
    if (choice.mode == CropMode::Auto) {
        return facts.foundCrop.mode == CropMode::Rect ? facts.foundCrop : CropChoice{};
    }
    CropChoice resolved = choice;
    if (resolved.mode == CropMode::Rect && resolved.sourceWidth == 0 && facts.pixelWidth > 0) {
        resolved.sourceWidth = facts.pixelWidth;
        resolved.sourceHeight = facts.pixelHeight;
    }
    return resolved;
}

DeinterlaceMode ResolveDeinterlace(DeinterlaceMode mode, int preset, const RunFacts& facts) {
    const TargetPreset* target = FindPreset(preset);
    const bool later = target != nullptr && NeedsModernForm(*target);
    switch (mode) {
    case DeinterlaceMode::Auto:
        return later && facts.interlaced.value_or(false) ? DeinterlaceMode::On : DeinterlaceMode::Off;
    case DeinterlaceMode::On:
        return facts.interlaced.value_or(true) ? DeinterlaceMode::On : DeinterlaceMode::Off;
    case DeinterlaceMode::Off:
        break;
    }
    return DeinterlaceMode::Off;
}

void AddRead(RunFacts& facts, const RunFacts& read) {
    facts.width = read.width;
    facts.height = read.height;
    facts.duration = read.duration;
    facts.hasAudio = read.hasAudio;
    facts.subtitleStreams = read.subtitleStreams;
    facts.pixelWidth = read.pixelWidth;
    facts.pixelHeight = read.pixelHeight;
    facts.audioStreams = read.audioStreams;
    facts.audioStreamsRead = read.audioStreamsRead;
    facts.foundCrop = read.foundCrop;
    facts.cropWhy = read.cropWhy;
    facts.interlaced = read.interlaced;
    facts.frameRate = read.frameRate;
    facts.pictureLooked = read.pictureLooked;
}

bool NeedsLook(const ConversionRequest& request, const RunFacts& read) {
    const TargetPreset* target = FindPreset(request.preset);
    const bool deinterlacing =
        request.deinterlace == DeinterlaceMode::On ||
        (request.deinterlace == DeinterlaceMode::Auto && target != nullptr && NeedsModernForm(*target));
    return read.width && !read.pictureLooked &&
           (request.crop.mode == CropMode::Auto || (deinterlacing && !read.interlaced));
}

namespace {
// The request with what the facts add: the size read, and the subtitles resolved.
ConversionRequest Completed(const ConversionRequest& request, const RunFacts& facts) {
    ConversionRequest completed = request;
    if (completed.width.empty() && facts.width && facts.height) {
        completed.width = std::to_string(*facts.width);
        completed.height = std::to_string(*facts.height);
    }
    completed.subtitles = ResolveSubtitles(request.subtitles, facts);
    completed.crop = ResolveCrop(request.crop, facts);
    completed.deinterlace = ResolveDeinterlace(request.deinterlace, request.preset, facts);
    if (facts.audioStreamsRead || request.audio.track < 0) {
        const int track = ChooseAudioStream(request.audio, facts.audioStreams);
        completed.audio.track = track;
        if (!request.audio.languages.empty() && request.audio.track < 0 && track >= 0) {
            completed.audio.language = facts.audioStreams[static_cast<std::size_t>(track)].language;
        }
    }
    if (facts.frameRate) {
        completed.sourceFrameRate = facts.frameRate;
    }
    if (facts.hasAudio) {
        completed.silentSource = *facts.hasAudio ? std::nullopt
                                                 : std::optional(ConversionRequest::Silent{
                                                       KeptSeconds(request.cutStart, request.cutEnd, facts.duration)});
    }
    return completed;
}

// What an unattended encoder cannot use, now that the source's duration is known too.
Status CheckUnattended(const GenerateResult& result, const RunFacts& facts) {
    if (Status unusable = CheckEncodable(result); !unusable.ok()) {
        return unusable;
    }
    return CheckCut(result.request, facts.duration);
}
} // namespace

Result<PreparedRun> PrepareRun(const ConversionRequest& request, CommandStyle style, const RunFacts& facts,
                               RunChecks checks) {
    ConversionRequest completed = Completed(request, facts);
    if (request.subtitles.mode == SubtitleMode::File && !facts.subtitleFileFound) {
        return Status::Failure(FailureKind::NotFound, kSubtitleMissing, request.subtitles.file);
    }
    if (facts.audioStreamsRead && completed.audio.track >= static_cast<int>(facts.audioStreams.size())) {
        return Status::Failure(FailureKind::BadInput, kNoSuchAudioStream, std::to_string(completed.audio.track));
    }
    if (Status size = ApplyFileSize(completed, facts.duration); !size.ok()) {
        return size;
    }
    // The window's Convert starts the command box's text, which cannot carry a quote in a name; the
    // queue and the tool start their own commands, which can.
    Result<GenerateResult> generated =
        Generate(completed, style, checks == RunChecks::Unattended ? NameQuotes::Taken : NameQuotes::Refused);
    if (!generated.ok()) {
        return generated.status();
    }
    GenerateResult& result = generated.value();
    if (!result.command) {
        return Status::Failure(FailureKind::BadInput, kNoMovieType);
    }
    if (checks == RunChecks::Unattended) {
        if (Status unusable = CheckUnattended(result, facts); !unusable.ok()) {
            return unusable;
        }
    }
    if (facts.outputIsSource) {
        return Status::Failure(FailureKind::Refused, kOutputIsSource);
    }
    if (facts.outputIsSubtitleFile || facts.outputIsEncoder) {
        return Status::Failure(FailureKind::Refused,
                               facts.outputIsEncoder ? kOutputIsEncoder : kOutputIsSubtitleFile);
    }
    PreparedRun run;
    run.target = TargetFor(result.request, style);
    run.twoPasses = UsesTwoPasses(result.request);
    run.request = std::move(result.request);
    run.geometry = result.geometry;
    run.command = std::move(*result.command);
    if (GetsSilentTrack(run.request)) {
        run.note = kSilentTrack;
    } else if (KeptFilmRate(run.request)) {
        run.note = kFilmRateKept;
    }
    if (request.crop.mode == CropMode::Auto && run.request.crop.mode != CropMode::Rect) {
        run.cropWhy = facts.cropWhy.empty() ? std::string("the picture was not measured") : facts.cropWhy;
    }
    return run;
}

std::vector<std::string> PassCommands(const PreparedRun& run, std::string_view logPrefix) {
    return PassSteps(run.command, run.request.outputPath, run.twoPasses, logPrefix);
}

} // namespace zvm
